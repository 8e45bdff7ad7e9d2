#include "ui/edit_refusals.h"

#include "model/undo_record.h"

int16_t refuse_with_alert(MemoryRef layer, int16_t code) {
    layer_alert(layer, code);
    return code;
}
