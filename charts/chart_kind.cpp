#include "charts/chart_kind.h"

#include "charts/chart_commands.h"
#include "charts/chart_drawing.h"
#include "charts/chart_links.h"
#include "charts/chart_record.h"
#include "charts/chart_values.h"
#include "objects/object_kinds.h"

void register_chart_kind() {
    register_object_kind(ObjectKindProcs{
        .owns_kind = is_chart_kind,
        .draw = draw_chart_object,
        .stored_part_length = stored_chart_length,
        .part_from_stored = chart_from_stored,
        .stored_from_part = stored_from_chart,
        .keep_copied_values = keep_chart_values,
        .settle_pasted_chain = settle_chart_values,
        .data_source = GetChart_Data,
        .set_data_source = SetChart_Data,
        .part_reads_layer = chart_reads_layer,
        .shift_part_data = shift_chart_data,
        .keep_part_placement = keep_chart_placement,
        .restore_part_placement = restore_chart_placement,
        .shift_other_layers = shift_other_layers_charts,
        .restore_other_layers = restore_other_layers_charts,
        .set_menus = set_chart_menus,
    });
}
