// The links dialog: the documents a layer links to, each opened by itself or
// all of the workbook's at once.
#include <cstring>
#include <string>
#include <vector>

#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "ui/modal_dialog.h"
#include "files/document_file.h"
#include "model/layer.h"
#include "files/link_opening.h"
#include "model/links.h"
#include "model/workbook.h"
#include "platform/controls/controls.h"
#include "ui/app_prefs.h"
#include "window/document_dialogs.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOpenAllItem = 1;
constexpr int16_t kCancelItem = 2;
constexpr int16_t kOpenItem = 3;
constexpr int16_t kWorkbookNameItem = 5;
constexpr int16_t kLinkListItem = 7;
constexpr int16_t kLayerNameItem = 8;
// Where the dialog's position is kept among the preferences' dialog positions.
constexpr int kLinkDialogPositionSlot = 17;

pf::Point& saved_position() { return app_prefs.dialog_positions[kLinkDialogPositionSlot]; }

// Shows a document or layer name exactly as it is spelled.
void show_name(DialogRef dialog, int16_t item, const unsigned char* name) {
    if (pf::DialogItem* text = pf::dialog_item(dialog, item)) text->literal = true;
    SetDText(dialog, item, name);
}

bool same_name(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, size_t(a[0]) + 1) == 0; }

// The listed links: records with a name, in list order.
std::vector<std::vector<uint8_t>> listed_links(MemoryRef layer) {
    std::vector<std::vector<uint8_t>> records;
    MemoryRef links = GetSheetLinks(layer);
    for (int32_t i = 0; links && i < GetMemorySize(links); ++i) {
        std::vector<uint8_t> record(kLinkRecordSize);
        GetMemoryRecord(links, i, record.data());
        if (record[kLinkNameOffset] != 0) records.push_back(std::move(record));
    }
    return records;
}

// A link's row: its file name, or its full path when another link has that
// name too, so that the rows can be told apart.
const unsigned char* row_text(const std::vector<std::vector<uint8_t>>& records, size_t row) {
    const uint8_t* record = records[row].data();
    for (size_t other = 0; other < records.size(); ++other)
        if (other != row && same_name(records[other].data() + kLinkNameOffset, record + kLinkNameOffset) &&
            record[kLinkPathOffset] != 0)
            return record + kLinkPathOffset;
    return record + kLinkNameOffset;
}

// Fills the list with the layer's links; answers the link id of every row.
std::vector<int16_t> list_links(MemoryRef layer, pf::ListHandle list) {
    std::vector<std::vector<uint8_t>> records = listed_links(layer);
    std::vector<int16_t> ids;
    for (size_t row = 0; row < records.size(); ++row) {
        add_list_str(row_text(records, row), list);
        ids.push_back(link_id(records[row].data()));
    }
    if (!ids.empty()) select_list_cell(list, 0, true);
    return ids;
}

// Runs the dialog: kOpenAllItem, kCancelItem, or kOpenItem with the chosen row.
int16_t run_link_dialog(DialogRef dialog, pf::ListHandle list, int16_t* row) {
    for (;;) {
        *row = list ? FindSelect(list) : -1;
        EnableButton(dialog, kOpenItem, *row >= 0);
        pf::EventRecord event;
        int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kOpenAllItem || item == kCancelItem || item == kModalCloseBox) return item == kOpenAllItem ? item : kCancelItem;
        *row = list ? FindSelect(list) : -1;
        if (*row < 0) continue;
        if (item == kOpenItem || (item == kLinkListItem && list_box_double_clicked(dialog, kLinkListItem))) return kOpenItem;
    }
}

}  // namespace

void LinkDialog(MemoryRef layer) {
    DialogRef dialog = StdNewDLOG(kLinkDialog, kOpenAllItem, &saved_position());
    if (!dialog) return;
    MemoryRef workbook = GetWorkSheet(layer);
    unsigned char layer_name[256];
    GetSheetName(layer_name, layer);
    show_name(dialog, kLayerNameItem, layer_name);
    show_name(dialog, kWorkbookNameItem, file_record_of(workbook).spec.name);
    pf::ListHandle list = GetDialogListHandle(dialog, kLinkListItem);
    std::vector<int16_t> ids = list ? list_links(layer, list) : std::vector<int16_t>{};
    pf::draw_dialog(dialog);

    int16_t row = -1;
    int16_t answer = run_link_dialog(dialog, list, &row);
    StdDLOG_close(dialog, &saved_position());
    // The dialog is gone before documents open: they may ask questions of their own.
    if (answer == kOpenAllItem) OpenWorkSheetLinks(workbook, 0);
    else if (answer == kOpenItem && row < int16_t(ids.size())) OpenLinks(layer, ids[size_t(row)]);
}
