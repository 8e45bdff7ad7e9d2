// No dictionaries are opened until the spelling engine exists.
#include "spelling/spelling_services.h"

void init_spell() {}
void close_spell() {}
