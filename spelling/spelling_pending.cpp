// There is no spelling dialog yet.
#include "spelling/spelling_services.h"

bool is_spelling_window(pf::WindowRef) { return false; }
