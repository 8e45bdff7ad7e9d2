#include "tools/rescomp/compile.h"
namespace rescomp {
static bool not_yet(const ResourceSource& s, Diagnostics& d) { d.error(s.at, type_text(s.type) + " is not supported yet"); return false; }
#define NOT_YET(name) bool name(const ResourceSource& s, Compiled&, Diagnostics& d) { return not_yet(s, d); }
NOT_YET(compile_dialog) NOT_YET(compile_item_list) NOT_YET(compile_alert) NOT_YET(compile_control)
NOT_YET(compile_cursor) NOT_YET(compile_pattern_list) NOT_YET(compile_color_table) NOT_YET(compile_color_icon)
NOT_YET(compile_small_icon) NOT_YET(compile_small_icon_list) NOT_YET(compile_picture)
}
