// A document's drawing objects become live objects when it is opened and are
// written back from them in the layout they were read in; damaged object
// blocks are refused.
#include <algorithm>

#include "model/layer.h"
#include "objects/object_creation.h"
#include "objects/object_records.h"
#include "objects/object_clipboard.h"
#include "objects/object_store.h"
#include "objects/picture_files.h"
#include "tests/objects/png_sample.h"
#include "tests/files/document_builder.h"
#include "tests/files/document_fixture.h"

namespace {

using built::Bytes;
using built::block_bytes;
using built::operator+;

constexpr size_t kMeaninglessFrom = 72, kRecordSize = 88, kIdOffset = 12;

// An object as this program writes it: the references after the anchor zero.
Bytes stored(const char kind[5], const Bytes& picture, const Bytes& data, const Bytes& points, bool chart = false,
             uint8_t id = 1) {
    Bytes bytes = built::drawing_object(kind, picture, data, points, chart);
    std::fill(bytes.begin() + kMeaninglessFrom, bytes.begin() + kRecordSize, 0);
    bytes[kIdOffset] = 0, bytes[kIdOffset + 1] = id;
    return bytes;
}

// One object of every kind, in this order, with the ids 1 to 11.
Bytes every_kind() {
    Bytes picture(40);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = uint8_t(i * 5 + 1);
    return stored("line", {}, {}, {}, false, 1) + stored("arro", {}, {}, {}, false, 2) +
           stored("darr", {}, {}, {}, false, 3) + stored("rect", {}, {}, {}, false, 4) +
           stored("rndR", {}, {}, {}, false, 5) + stored("oval", {}, {}, {}, false, 6) +
           stored("poly", {}, {0, 3, 0, 10, 0, 20, 1, 0}, {}, false, 7) +
           stored("pncl", {}, {}, {0, 1, 0, 2, 0, 3, 0, 4}, false, 8) +
           stored("text", {}, {0, 3, 'a', 'b', 'c', 0, 0}, {}, false, 9) + stored("PICT", picture, {}, {}, false, 10) +
           stored("pie ", {}, {}, {}, true, 11);
}

bool ends_with(const Bytes& whole, const Bytes& tail) {
    return whole.size() >= tail.size() && std::equal(tail.rbegin(), tail.rend(), whole.rbegin());
}

class ObjectStoreTest : public DocumentTest {
protected:
    MemoryRef first_layer(MemoryRef book) { return find_SpreadSheet_item(book, 0); }

    MemoryRef open_drawn(const Bytes& objects) {
        built::Layer layer = built::simple_layer("Drawn");
        layer.objects = objects;
        write_bytes("Drawn.qrv", built::document(1029, {layer}));
        return open("Drawn.qrv");
    }
};

TEST_F(ObjectStoreTest, EveryKindOpensAsLiveObjectsAndSavesByteForByte) {
    MemoryRef book = open_drawn(every_kind());
    ASSERT_NE(book, nullptr);
    MemoryRef layer = first_layer(book);
    ASSERT_EQ(num_objects(layer), 11);
    EXPECT_EQ(use_layer(layer)->stored_objects, nullptr);
    release_layer(layer);
    const pf::FourCC kinds[] = {kLineObject,    kArrowObject,    kDoubleArrowObject, kRectObject,
                                kRoundRectObject, kOvalObject,   kPolygonObject,     kFreehandObject,
                                kTextObject,    kPictureObject,  pf::four_cc("pie ")};
    for (int i = 0; i < 11; ++i) {
        MemoryRef object = find_object_item(layer, i + 1);
        EXPECT_EQ(pf::FourCC(GetObj_info(object, pf::four_cc("type"))), kinds[i]) << i;
        EXPECT_EQ(use_object(object)->owner, layer);
        release_object(object);
    }
    // Words of a polygon and of a stroke, and a text box's lengths, in host order.
    EXPECT_EQ(block_bytes(use_object(find_object_item(layer, 7))->data), (Bytes{3, 0, 10, 0, 20, 0, 0, 1}));
    EXPECT_EQ(block_bytes(use_object(find_object_item(layer, 8))->points), (Bytes{1, 0, 2, 0, 3, 0, 4, 0}));
    EXPECT_EQ(block_bytes(use_object(find_object_item(layer, 9))->data), (Bytes{3, 0, 'a', 'b', 'c', 0, 0}));
    for (int i : {7, 8, 9}) release_object(find_object_item(layer, i));
    EXPECT_TRUE(GetObj_info(find_object_item(layer, 11), pf::four_cc("isch")));

    ASSERT_EQ(save(book, "Saved.qrv"), 0);
    Bytes saved = bytes_of("Saved.qrv");
    EXPECT_TRUE(ends_with(saved, every_kind()));
    MemoryRef again = open("Saved.qrv");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(num_objects(first_layer(again)), 11);
    ASSERT_EQ(save(again, "Resaved.qrv"), 0);
    EXPECT_EQ(bytes_of("Resaved.qrv"), saved);
}

TEST_F(ObjectStoreTest, ReferencesStoredByAnotherWriterAreDroppedTheRestKept) {
    Bytes foreign = built::drawing_object("oval", {}, {}, {}, false);  // references filled with noise
    MemoryRef book = open_drawn(foreign);
    ASSERT_NE(book, nullptr);
    ASSERT_EQ(num_objects(first_layer(book)), 1);
    ObjectRecord* oval = use_object(find_object_item(first_layer(book), 1));
    EXPECT_EQ(oval->region, nullptr);
    EXPECT_EQ(oval->self, find_object_item(first_layer(book), 1));
    release_object(find_object_item(first_layer(book), 1));
    Bytes expected = foreign;
    std::fill(expected.begin() + kMeaninglessFrom, expected.begin() + kRecordSize, 0);
    EXPECT_EQ(stored_from_objects(first_layer(book)), expected);
}

TEST_F(ObjectStoreTest, ObjectsAddedToALayerAreSavedAndReadBack) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef layer = first_layer(book), rect = nullptr;
    ASSERT_EQ(NewObject(kRectObject, &rect, 0, layer), 1);
    ObjectRecord* record = use_object(rect);
    record->anchor_row = 4, record->anchor_column = 2, record->v_offset = 3, record->width = 77;
    release_object(rect);
    SetObj_info(rect, pf::four_cc("fcol"), 5);
    ASSERT_EQ(save(book, "Made.qrv"), 0);
    MemoryRef again = open("Made.qrv");
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(num_objects(first_layer(again)), 1);
    MemoryRef read = find_object_item(first_layer(again), 1);
    const ObjectRecord copy = *use_object(read);
    release_object(read);
    EXPECT_EQ(copy.kind, kRectObject);
    EXPECT_EQ((std::vector<int>{copy.anchor_row, copy.anchor_column, copy.v_offset, copy.width, copy.fill_fore}),
              (std::vector<int>{4, 2, 3, 77, 5}));
    EXPECT_EQ(stored_from_objects(first_layer(again)), stored_from_objects(layer));
}

TEST_F(ObjectStoreTest, DamagedObjectsAddNothing) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef layer = first_layer(book);
    Bytes whole = every_kind();
    for (size_t cut : {size_t(1), size_t(87), size_t(100), whole.size() - 1}) {
        Bytes shortened(whole.begin(), whole.begin() + long(cut));
        EXPECT_EQ(objects_from_stored(layer, shortened), kDamagedFileErr) << cut;
        EXPECT_EQ(num_objects(layer), 0);
    }
    Bytes too_long = stored("pncl", {}, {}, {1, 2, 3, 4});
    too_long[kRecordSize + 8 + 3] = 200;  // the points block's length runs past the end
    EXPECT_EQ(objects_from_stored(layer, too_long), kDamagedFileErr);
    EXPECT_EQ(num_objects(layer), 0);
}

TEST_F(ObjectStoreTest, ADocumentWithADamagedObjectIsRefused) {
    Bytes objects = every_kind();
    objects.pop_back();
    built::Layer layer = built::simple_layer("Drawn");
    layer.objects = objects;
    write_bytes("Damaged.qrv", built::document(1029, {layer}));
    EXPECT_EQ(open("Damaged.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"error -1"}));
}

}  // namespace

namespace {

TEST_F(ObjectStoreTest, ObjectsOfEveryToolAreSavedAndReadBackByteForByte) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef layer = first_layer(book);
    for (int16_t tool = 3; tool <= 12; ++tool) {
        const auto at = int16_t(tool * 20);
        const std::vector<pf::Point> stroke{{at, 30}, {int16_t(at + 15), 60}, {int16_t(at + 5), 90}, {int16_t(at + 30), 95}};
        ASSERT_NE(make_drawn_object(layer, 0, tool_object_kind(tool), stroke), nullptr) << "tool " << tool;
    }
    ASSERT_EQ(num_objects(layer), 10);
    ASSERT_EQ(save(book, "Tools.qrv"), 0);
    MemoryRef again = open("Tools.qrv");
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(num_objects(first_layer(again)), 10);
    EXPECT_EQ(stored_from_objects(first_layer(again)), stored_from_objects(layer));
    EXPECT_EQ(pf::FourCC(GetObj_info(find_object_item(first_layer(again), 9), pf::four_cc("type"))), kTriangleObject);
}

}  // namespace

namespace {

TEST_F(ObjectStoreTest, APictureReadFromAnImageFileIsSavedAndReadBackByteForByte) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef layer = first_layer(book);
    write_bytes("Sample.png", png_sample::halves());
    int16_t error = 0;
    MemoryRef picture = picture_object_from_file(spec("Sample.png"), &error);
    ASSERT_NE(picture, nullptr);
    PasteObject(picture, layer, 0);
    ASSERT_EQ(save(book, "Pictured.qrv"), 0);
    MemoryRef again = open("Pictured.qrv");
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(num_objects(first_layer(again)), 1);
    EXPECT_EQ(stored_from_objects(first_layer(again)), stored_from_objects(layer));
    ASSERT_EQ(save(again, "Resaved.qrv"), 0);
    EXPECT_EQ(bytes_of("Resaved.qrv"), bytes_of("Pictured.qrv"));
}

}  // namespace
