// Stand-ins for printing routines not built yet.
#include "printing/header_dialog.h"
#include "platform/screen/cursor.h"

// No editor yet: the button beeps and nothing changes.
int16_t HeaderDialog(MemoryRef*, bool) {
    pf::sys_beep(1);
    return 0;
}
