// Stand-ins for editing routines not built yet.
#include "editing/editing_commands.h"


