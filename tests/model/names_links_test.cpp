#include "model/links.h"
#include "model/named_ranges.h"
#include "model_fixture.h"

namespace {

using NamedRanges = ModelTest;

const unsigned char* pstr(const char* text) {
    static unsigned char buffer[4][256];
    static int next = 0;
    unsigned char* out = buffer[next++ % 4];
    out[0] = uint8_t(std::strlen(text));
    std::memcpy(out + 1, text, out[0]);
    return out;
}

TEST_F(NamedRanges, LookUpIgnoresCaseAndMarksAndTheFirstWins) {
    MemoryRef list = pgAllocateNewRef(&mem_globals, kNamedRangeSize, 3, 0, true);
    auto* records = static_cast<uint8_t*>(UseMemory(list));
    set_named_range(records, pstr("Sales"), CellRange{{0, 0}, {9, 0}});
    set_named_range(records + kNamedRangeSize, pstr("SALES"), CellRange{{5, 5}, {6, 6}});
    set_named_range(records + 2 * kNamedRangeSize, pstr("Caf\x8E"), CellRange{{1, 1}, {1, 1}});  // Café
    UnuseMemory(list);
    Set_rangeinfo(layer, list);
    EXPECT_EQ(GetMemoryRefID(list), GetMemoryRefID(workbook));
    CellRange range;
    ASSERT_EQ(find_named_range(Get_rangeinfo(layer), pstr("sAlEs"), &range), 1);
    EXPECT_EQ(range, (CellRange{{0, 0}, {9, 0}}));
    EXPECT_EQ(find_named_range(Get_rangeinfo(layer), pstr("CAFE"), &range), 1);
    EXPECT_EQ(find_named_range(Get_rangeinfo(layer), pstr("Cost"), &range), 0);
    EXPECT_EQ(find_named_range(nullptr, pstr("Sales"), &range), 0);
}

class Links : public ModelTest {
protected:
    int32_t link_count() {
        MemoryRef links = GetSheetLinks(layer);
        return links ? GetMemorySize(links) : 0;
    }
};

TEST_F(Links, TheSameDocumentTwiceMakesOneLink) {
    MemoryRef other = make_workbook("Rates", 5);
    int16_t first = -1, second = -1;
    CheckFileInfo(&first, layer, other, pstr("Rates"));
    CheckFileInfo(&second, layer, other, pstr("Rates"));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(link_count(), 1);
    EXPECT_TRUE(GetSheetFlags(layer) & kLayerHasLinks);
    MemoryRef found = nullptr;
    EXPECT_EQ(find_link_workbook(layer, 0, &found), 1);
    EXPECT_EQ(found, other);
}

TEST_F(Links, SameNameInAnotherFolderIsAnotherDocument) {
    MemoryRef here = make_workbook("Rates", 5), there = make_workbook("Rates", 6);
    int16_t a = -1, b = -1;
    CheckFileInfo(&a, layer, here, pstr("Rates"));
    CheckFileInfo(&b, layer, there, pstr("Rates"));
    EXPECT_NE(a, b);
    EXPECT_EQ(link_count(), 2);
    MemoryRef found = nullptr;
    ASSERT_EQ(find_link_workbook(layer, b, &found), 1);
    EXPECT_EQ(found, there);
}

TEST_F(Links, IdsStayUniqueAfterALinkIsDropped) {
    MemoryRef one = make_workbook("One", 5), two = make_workbook("Two", 5), three = make_workbook("Three", 5);
    int16_t id;
    CheckFileInfo(&id, layer, one, pstr("One"));
    CheckFileInfo(&id, layer, two, pstr("Two"));
    DeleteMemory(GetSheetLinks(layer), 0, 1);  // a clean-up dropped link 0; link 1 stays
    CheckFileInfo(&id, layer, three, pstr("Three"));
    EXPECT_EQ(id, 2);
    CheckFileInfo(&id, layer, nullptr, pstr("Nothing"));
    EXPECT_EQ(link_count(), 2);
}

TEST_F(Links, ANewLinkAfterTheLargestIdTakesTheLowestFreeOne) {
    MemoryRef one = make_workbook("One", 5), two = make_workbook("Two", 5);
    int16_t id;
    CheckFileInfo(&id, layer, one, pstr("One"));
    auto* record = static_cast<uint8_t*>(UseMemory(GetSheetLinks(layer)));
    store_i16(record, INT16_MAX);  // as a file or a paste may leave it
    UnuseMemory(GetSheetLinks(layer));
    CheckFileInfo(&id, layer, two, pstr("Two"));
    EXPECT_EQ(id, 0);
    MemoryRef found = nullptr;
    ASSERT_EQ(find_link_workbook(layer, 0, &found), 1);
    EXPECT_EQ(found, two);
}

TEST_F(Links, OpenDocumentsAreFoundByExactName) {
    MemoryRef other = make_workbook("Rates", 5);
    MemoryRef found = nullptr;
    EXPECT_EQ(MatchFileStr(pstr("Rates"), &found), 1);
    EXPECT_EQ(found, other);
    EXPECT_EQ(MatchFileStr(pstr("rates"), &found), 0);
}

bool confirmations = 0;
bool confirm_yes(const unsigned char*) {
    confirmations = true;
    return true;
}

TEST_F(Links, SavingUnderANewNameRedirectsOtherDocumentsLinks) {
    MemoryRef source = make_workbook("Rates", 5);
    MemoryRef source_layer = add_layer(source);
    int16_t id;
    CheckFileInfo(&id, layer, source, pstr("Rates"));
    set_change_ctr(workbook, 0);
    MemoryRef renamed = make_file_info(-1, 7, "Rates 2024");
    auto* spec = static_cast<uint8_t*>(UseMemory(renamed));
    confirmations = false;
    CheckLinks(spec, pstr("/home/Rates 2024"), source_layer, confirm_yes);
    UnuseMemory(renamed);
    EXPECT_TRUE(confirmations);
    EXPECT_EQ(get_change_ctr(workbook), 1);
    auto* record = static_cast<uint8_t*>(UseMemory(GetSheetLinks(layer)));
    EXPECT_EQ(record[kLinkNameOffset], 10);
    EXPECT_EQ(0, std::memcmp(record + kLinkNameOffset + 1, "Rates 2024", 10));
    EXPECT_EQ(record[kLinkPathOffset], 16);
    UnuseMemory(GetSheetLinks(layer));
    DisposeMemory(renamed);
}

}  // namespace

namespace {

TEST_F(Links, LinksRecordTheFullPathOfTheLinkedFile) {
    MemoryRef other = make_workbook("Rates", 2);  // in the root folder
    int16_t id;
    CheckFileInfo(&id, layer, other, pstr("Rates"));
    auto* record = static_cast<uint8_t*>(UseMemory(GetSheetLinks(layer)));
    std::string path(reinterpret_cast<char*>(record + kLinkPathOffset + 1), record[kLinkPathOffset]);
    UnuseMemory(GetSheetLinks(layer));
    EXPECT_EQ(path, "/Rates");
}

TEST_F(Links, LongNamesWithTheSameShortFormAreDifferentFiles) {
    MemoryRef a = make_workbook(std::string(56, 'x') + "\xC9", 5);
    MemoryRef b = make_workbook(std::string(56, 'x') + "\xC9", 5);
    for (auto [book, key] : {std::pair{a, 1}, std::pair{b, 2}}) {
        auto* name = static_cast<uint8_t*>(UseMemory(Get_fileinfo(book))) + kFileSpecNameOffset;
        name[58] = 0xA5;
        name[59] = 0x4B;
        name[63] = uint8_t(key);
        UnuseMemory(Get_fileinfo(book));
    }
    int16_t first, second;
    CheckFileInfo(&first, layer, a, pstr("x"));
    CheckFileInfo(&second, layer, b, pstr("x"));
    EXPECT_NE(first, second);
}

}  // namespace
