// No dictionaries are opened until the spelling engine exists.
#include "spelling/spelling.h"

void init_spell() {}
void close_spell() {}

// There is no spelling dialog yet.
bool is_spelling_window(pf::WindowRef) { return false; }
