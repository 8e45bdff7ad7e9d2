// The layer's object list and selection, copies of objects and chains, and
// the properties read and set by tag.
#include <gtest/gtest.h>

#include "model/layer.h"
#include "objects/object_records.h"
#include "tests/files/sample_workbook.h"

namespace {

class ObjectRecordsTest : public ::testing::Test {
protected:
    sample::Session session;
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef layer = find_SpreadSheet_item(book, 0);

    MemoryRef made(pf::FourCC kind) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        return object;
    }
    int16_t id_of(MemoryRef object) { return int16_t(GetObj_info(object, pf::four_cc("id  "))); }
    MemoryRef link_of(MemoryRef object) { return reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("link"))); }
};

TEST_F(ObjectRecordsTest, NewObjectsTakeTheDefaultsAndFreshIds) {
    MemoryRef line = made(kLineObject), oval = made(kOvalObject);
    const ObjectRecord record = *use_object(oval);
    release_object(oval);
    EXPECT_EQ((std::vector<int>{record.line_size, record.line_pattern, record.frame, record.height, record.width}),
              (std::vector<int>{1, 4, 1, 20, 20}));
    EXPECT_EQ(record.self, oval);
    EXPECT_EQ(record.owner, layer);
    EXPECT_NE(id_of(line), id_of(oval));
    EXPECT_EQ(num_objects(layer), 2);
    EXPECT_EQ(find_object_item(layer, 2), oval);
    EXPECT_EQ(find_object_item(layer, 0), nullptr);
    EXPECT_EQ(find_object_item(layer, 3), nullptr);
    EXPECT_EQ(find_object_id(layer, id_of(line)), line);
    EXPECT_EQ(find_object_id(layer, -5), nullptr);
}

TEST_F(ObjectRecordsTest, SelectionHoldsEachObjectOnceAndLosesRemovedObjects) {
    MemoryRef a = made(kRectObject), b = made(kTextObject);
    add_selected(layer, b);
    add_selected(layer, a);
    add_selected(layer, b);
    EXPECT_EQ(get_selected_object(layer, 1), b);
    EXPECT_EQ(get_selected_object(layer, 2), a);
    EXPECT_EQ(get_selected_object(layer, 3), nullptr);
    EXPECT_EQ(is_object_selected(layer, a), 2);
    removeobject(layer, b);  // no dangling selected entry once it is gone
    EXPECT_EQ(is_object_selected(layer, b), 0);
    EXPECT_EQ(get_selected_object(layer, 1), a);
    EXPECT_EQ(num_objects(layer), 1);
    ClobberObject(b);
    ClobberAllObjects(layer);
    EXPECT_EQ(num_objects(layer), 0);
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);
}

TEST_F(ObjectRecordsTest, ListsOfIdsFollowListOrderBothWays) {
    MemoryRef a = made(kRectObject), b = made(kOvalObject), c = made(kLineObject);
    MemoryRef objects = use_layer(layer)->objects;
    release_layer(layer);
    switch_objects(objects, a, c);
    switch_objects(objects, nullptr, b);  // absent: nothing changes
    EXPECT_EQ(find_object_item(layer, 1), c);
    MemoryRef ids = create_id_list(objects);
    ASSERT_EQ(GetMemorySize(ids), 3);
    int16_t first;
    GetMemoryRecord(ids, 0, &first);
    EXPECT_EQ(first, id_of(c));
    MemoryRef again = create_obj_list(ids, layer);
    EXPECT_EQ((std::vector<MemoryRef>{GetIndObject(again, 1), GetIndObject(again, 2), GetIndObject(again, 3)}),
              (std::vector<MemoryRef>{c, b, c}));
    DisposeMemory(ids), DisposeMemory(again);
    switch_objects(objects, c, a);
}

TEST_F(ObjectRecordsTest, DuplicatesAreDeepAndChainsKeepTheirOrder) {
    MemoryRef a = made(kPolygonObject), b = made(kTextObject);
    const uint8_t words[] = {1, 0, 2, 0};
    SetObj_info(a, pf::four_cc("data"), reinterpret_cast<intptr_t>(Bytes2Memory(&mem_globals, words, 1, 4)));
    SetObj_info(a, pf::four_cc("link"), reinterpret_cast<intptr_t>(b));
    MemoryRef alone = DuplicateObject(1, a);
    EXPECT_EQ(link_of(alone), nullptr);
    MemoryRef chain = DuplicateObject(0, a);
    ASSERT_NE(link_of(chain), nullptr);
    EXPECT_EQ(link_of(link_of(chain)), nullptr);
    EXPECT_EQ(GetObj_info(link_of(chain), pf::four_cc("type")), kTextObject);
    auto data = reinterpret_cast<MemoryRef>(GetObj_info(chain, pf::four_cc("data")));
    EXPECT_NE(data, reinterpret_cast<MemoryRef>(GetObj_info(a, pf::four_cc("data"))));
    EXPECT_EQ(GetByteSize(data), 4);
    EXPECT_EQ(use_object(chain)->self, chain);
    release_object(chain);
    ResetObjectID(chain, layer);
    EXPECT_NE(id_of(chain), id_of(a));
    EXPECT_NE(id_of(link_of(chain)), id_of(b));
    ClobberObjList(chain);
    ClobberObject(alone);
}

TEST_F(ObjectRecordsTest, PropertiesByTag) {
    MemoryRef arrow = made(kArrowObject), pencil = made(kFreehandObject), box = made(kTextObject);
    EXPECT_TRUE(GetObj_info(arrow, pf::four_cc("isln")));
    EXPECT_FALSE(GetObj_info(pencil, pf::four_cc("isln")));
    EXPECT_TRUE(GetObj_info(pencil, pf::four_cc("islt")));
    EXPECT_FALSE(GetObj_info(box, pf::four_cc("islt")));
    EXPECT_FALSE(GetObj_info(box, pf::four_cc("isch")));
    SetObj_info(box, pf::four_cc("prot"), 1);
    SetObj_info(box, pf::four_cc("updt"), 1);
    SetObj_info(box, pf::four_cc("prot"), 0);
    EXPECT_EQ(use_object(box)->flags, kObjectUpdate);
    release_object(box);
    const pf::FourCC bytes[] = {pf::four_cc("fcol"), pf::four_cc("bcol"), pf::four_cc("lfcl"),
                                pf::four_cc("bfcl"), pf::four_cc("pat "), pf::four_cc("lpat"),
                                pf::four_cc("lsiz"), pf::four_cc("fram"), pf::four_cc("info")};
    for (int i = 0; i < 9; ++i) SetObj_info(box, bytes[i], 300 + i);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(GetObj_info(box, bytes[i]), (300 + i) & 0xFF) << i;
    EXPECT_FALSE(GetObj_info(box, pf::four_cc("ised")));
    use_layer(layer)->edited_object = box;
    release_layer(layer);
    EXPECT_TRUE(GetObj_info(box, pf::four_cc("ised")));
    use_layer(layer)->edited_object = nullptr;
    release_layer(layer);
    EXPECT_EQ(GetObj_info(box, pf::four_cc("zzzz")), 0);
}

}  // namespace

namespace {

TEST_F(ObjectRecordsTest, ACopiedLayerHasCopiesOfItsObjects) {
    MemoryRef a = made(kOvalObject), b = made(kTextObject);
    MemoryRef clone = CloneLayer(true, layer);
    ASSERT_NE(clone, nullptr);
    ASSERT_EQ(num_objects(clone), 2);
    MemoryRef copy = find_object_item(clone, 2);
    EXPECT_NE(copy, b);
    EXPECT_EQ(id_of(copy), id_of(b));
    EXPECT_EQ(use_object(copy)->owner, clone);
    release_object(copy);
    EXPECT_EQ(GetObj_info(find_object_item(clone, 1), pf::four_cc("type")), kOvalObject);
    EXPECT_EQ(num_objects(CloneLayer(false, layer)), 0);  // the layout alone
    (void)a;
}

}  // namespace
