// Stand-ins for routines of the recalculation and the cell display text not
// built yet.
#include "core/number_text.h"
#include "formula/cell_display.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"

// A number with the format's decimals (at least 0); currency signs, thousands
// separators and the other format codes wait for the display text.
void get_format_string(unsigned char* text, const uint8_t* format, const double* value, MemoryRef) {
    int16_t decimals = static_cast<int8_t>(format[kFmtDecimals]);
    ExtendedtoStr(text, value, decimals < 0 ? 0 : decimals, true, false, decimalPt);
}

// Recalculation is not built yet: a workbook keeps the results it was read with.
void recalculate_workbook(MemoryRef) {}
