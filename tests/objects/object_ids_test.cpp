// Drawing-object ids stay unique in a layer after a document is read: objects
// made, pasted, undone and redone in a reopened document never take the id of
// an object read from the file, so undo acts on the object it recorded and a
// save keeps every object.
#include <algorithm>
#include <set>

#include "charts/chart_record.h"
#include "editing/undo.h"
#include "model/layer.h"
#include "objects/object_clipboard.h"
#include "objects/object_records.h"
#include "objects/object_store.h"
#include "objects/object_undo.h"
#include "tests/files/document_builder.h"
#include "tests/files/document_fixture.h"

namespace {

using built::Bytes;
using built::operator+;

constexpr size_t kIdOffset = 12;

// A stored object of the kind with the id given.
Bytes stored_with_id(const char kind[5], int16_t id, const Bytes& data = {}, const Bytes& points = {},
                     bool chart = false) {
    Bytes bytes = built::drawing_object(kind, {}, data, points, chart);
    bytes[kIdOffset] = uint8_t(uint16_t(id) >> 8), bytes[kIdOffset + 1] = uint8_t(id);
    return bytes;
}

// Every kind of object and a chart, with the ids 1 to 11.
Bytes every_kind_numbered() {
    return stored_with_id("line", 1) + stored_with_id("arro", 2) + stored_with_id("darr", 3) +
           stored_with_id("rect", 4) + stored_with_id("rndR", 5) + stored_with_id("oval", 6) +
           stored_with_id("poly", 7, {0, 3, 0, 10, 0, 20, 1, 0}) +
           stored_with_id("pncl", 8, {}, {0, 1, 0, 2, 0, 3, 0, 4}) +
           stored_with_id("text", 9, {0, 3, 'a', 'b', 'c', 0, 0}) + stored_with_id("PICT", 10) +
           stored_with_id("pie ", 11, {}, {}, true);
}

// What identifies an object across a save: its kind and its place.
struct Seen {
    pf::FourCC kind;
    int16_t id, anchor_row, width;
    bool operator<(const Seen& other) const { return id < other.id; }
    bool operator==(const Seen&) const = default;
};

class ObjectIdsTest : public DocumentTest {
protected:
    MemoryRef book = nullptr, layer = nullptr;

    void open_objects(const Bytes& objects) {
        built::Layer stored = built::simple_layer("Drawn");
        stored.objects = objects;
        write_bytes("Drawn.qrv", built::document(1029, {stored}));
        reopen("Drawn.qrv");
    }
    void reopen(const std::string& name) {
        book = open(name);
        ASSERT_NE(book, nullptr);
        layer = find_SpreadSheet_item(book, 0);
    }

    std::vector<Seen> objects() {
        std::vector<Seen> seen;
        for (MemoryRef object : layer_objects(layer)) {
            const ObjectRecord r = *use_object(object);
            release_object(object);
            seen.push_back(Seen{r.kind, r.id, r.anchor_row, r.width});
        }
        return seen;
    }
    std::set<int16_t> ids() {
        std::set<int16_t> unique;
        for (const Seen& object : objects()) unique.insert(object.id);
        return unique;
    }
    bool ids_unique() { return ids().size() == objects().size(); }

    // A new object of the kind made as a user makes one (undoable); a chart
    // kind gets a chart block.
    MemoryRef make(pf::FourCC kind) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 1, layer), 1);
        if (is_chart_kind(kind))
            SetObj_info(object, pf::four_cc("chrt"),
                        reinterpret_cast<intptr_t>(NewChartRecord(GetMemoryGlobals(layer), CellRange{{0, 0}, {2, 1}})));
        ObjectRecord* record = use_object(object);
        record->anchor_row = 30, record->width = 99;
        release_object(object);
        return object;
    }
};

std::vector<pf::FourCC> every_made_kind() {
    std::vector<pf::FourCC> kinds = {kLineObject,    kArrowObject,   kDoubleArrowObject, kRectObject,
                                     kRoundRectObject, kOvalObject, kPolygonObject,     kFreehandObject,
                                     kTextObject,    kPictureObject};
    for (int16_t tool = kFirstChartTool; tool <= kLastChartTool; ++tool) kinds.push_back(chart_kind_of_tool(tool));
    return kinds;
}

TEST_F(ObjectIdsTest, ObjectsMadeInAReopenedDocumentTakeNewIdsThroughUndoRedoAndSave) {
    open_objects(every_kind_numbered());
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(save(book, "Saved.qrv"), 0);
    reopen("Saved.qrv");
    const std::vector<Seen> read = objects();
    ASSERT_EQ(read.size(), 11u);
    for (size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].id, int16_t(i + 1));

    for (pf::FourCC kind : every_made_kind()) {
        SCOPED_TRACE(std::string(reinterpret_cast<const char*>(&kind), 4));
        const std::vector<Seen> before = objects();
        make(kind);
        const std::vector<Seen> after = objects();
        ASSERT_EQ(after.size(), before.size() + 1);
        EXPECT_EQ(ids().count(after.back().id), 1u);
        EXPECT_TRUE(ids_unique());
        DoUndo(book);
        EXPECT_EQ(objects(), before);
        DoRedo(book);
        EXPECT_EQ(objects(), after);
    }
    const std::vector<Seen> made = objects();
    ASSERT_EQ(save(book, "Resaved.qrv"), 0);
    reopen("Resaved.qrv");
    EXPECT_EQ(objects(), made);
    EXPECT_TRUE(ids_unique());
}

TEST_F(ObjectIdsTest, UndoOfAChangeToANewChartActsOnThatChart) {
    open_objects(stored_with_id("rect", 1) + stored_with_id("pie ", 2, {}, {}, true));
    ASSERT_NE(layer, nullptr);
    const std::vector<Seen> read = objects();
    const pf::FourCC column = chart_kind_of_tool(kFirstChartTool + 2);
    MemoryRef chart = make(column);
    record_object_attributes({chart}, layer, kUndoChartEdited);
    SetObj_info(chart, pf::four_cc("type"), intptr_t(pf::four_cc("pie ")));
    DoUndo(book);
    EXPECT_EQ(pf::FourCC(GetObj_info(chart, pf::four_cc("type"))), column);
    const std::vector<Seen> now = objects();
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(std::vector<Seen>(now.begin(), now.begin() + 2), read);
    DoUndo(book);  // the new chart goes, the objects read stay
    EXPECT_EQ(objects(), read);
}

TEST_F(ObjectIdsTest, IdsSharedOrMissingInAFileAreMadeUnique) {
    // As a document saved while ids were shared could hold them.
    open_objects(stored_with_id("rect", 3) + stored_with_id("oval", 3) + stored_with_id("line", 0) +
                 stored_with_id("text", 7, {0, 1, 'x', 0, 0}));
    ASSERT_NE(layer, nullptr);
    const std::vector<Seen> read = objects();
    ASSERT_EQ(read.size(), 4u);
    EXPECT_TRUE(ids_unique());
    EXPECT_EQ(read[0].id, 3);
    EXPECT_EQ(read[3].id, 7);
    EXPECT_GT(read[1].id, 7);
    EXPECT_GT(read[2].id, 7);
    MemoryRef made = make(kOvalObject);
    EXPECT_TRUE(ids_unique());
    EXPECT_EQ(find_object_id(layer, use_object(made)->id), made);
    release_object(made);
    PasteObject(find_object_item(layer, 1), layer, 1);  // a copy of the rectangle pasted
    EXPECT_EQ(objects().size(), 6u);
    EXPECT_TRUE(ids_unique());
}

}  // namespace
