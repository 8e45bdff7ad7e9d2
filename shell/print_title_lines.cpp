#include "shell/print_title_lines.h"

#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"

namespace {

// The layer keeps the last line first.
int16_t* title_fields(SpreadSheet* sheet, bool rows) { return rows ? sheet->print_title_rows : sheet->print_title_columns; }

}  // namespace

TitleLines stored_title_lines(MemoryRef layer, bool rows) {
    LayerUse sheet(layer);
    const int16_t* fields = title_fields(sheet, rows);
    return TitleLines{fields[1], fields[0]};
}

void store_title_lines(MemoryRef layer, bool rows, TitleLines lines) {
    LayerUse sheet(layer);
    int16_t* fields = title_fields(sheet, rows);
    fields[0] = lines.last;
    fields[1] = lines.first;
    sheet.release();
    increment_change_ctr(layer);
}
