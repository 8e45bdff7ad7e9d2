#include "shell/print_title_lines.h"

#include "model/layer.h"
#include "model/workbook.h"

namespace {

// The layer keeps the last line first.
int16_t* title_fields(SpreadSheet* sheet, bool rows) { return rows ? sheet->print_title_rows : sheet->print_title_columns; }

}  // namespace

TitleLines stored_title_lines(MemoryRef layer, bool rows) {
    const int16_t* fields = title_fields(use_layer(layer), rows);
    const TitleLines lines{fields[1], fields[0]};
    release_layer(layer);
    return lines;
}

void store_title_lines(MemoryRef layer, bool rows, TitleLines lines) {
    int16_t* fields = title_fields(use_layer(layer), rows);
    fields[0] = lines.last;
    fields[1] = lines.first;
    release_layer(layer);
    increment_change_ctr(layer);
}
