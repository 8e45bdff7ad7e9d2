// Every button, check box and radio button of the application's dialogs and
// alerts shows its whole label: a label wider than its item is cut with an
// ellipsis ("Change Name" read "Change ...").
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fonts/fonts.h"
#include "platform/resources/resource_format.h"
#include "platform/resources/resource_templates.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

namespace {

constexpr int kButtonTextInset = 4;  // each side of a push button's title
constexpr int kBoxAndGap = 12 + 5;   // a check box or radio button's box before its title

// The room an item gives its label, 0 for items without one.
int label_room(const pf::DialogItemTemplate& item) {
    switch (item.kind) {
        case pf::kButtonItem: return item.box.width() - 2 * kButtonTextInset;
        case pf::kCheckBoxItem:
        case pf::kRadioButtonItem: return item.box.width() - kBoxAndGap;
        default: return 0;
    }
}

TEST(DialogLabels, EveryButtonAndBoxShowsItsWholeLabel) {
    ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
    pf::TextStyle dialog_text;
    dialog_text.font = pf::kSystemFont;
    dialog_text.size = 12;
    std::vector<std::string> cut;
    for (int16_t id : pf::resource_ids(pf::kItemListType)) {
        const pf::Resource* list = pf::get_resource(pf::kItemListType, id);
        std::vector<pf::DialogItemTemplate> items;
        ASSERT_TRUE(list && pf::decode_item_list(list->bytes, items)) << "DITL " << id;
        for (const pf::DialogItemTemplate& item : items) {
            const int room = label_room(item);
            if (room > 0 && pf::font_text_width(dialog_text, item.text) > room)
                cut.push_back("DITL " + std::to_string(id) + " \"" + item.text + "\"");
        }
    }
    std::string report;
    for (const std::string& label : cut) report += label + "\n";
    EXPECT_TRUE(cut.empty()) << report;
}

}  // namespace
