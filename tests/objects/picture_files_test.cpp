// Image files become picture objects: a PNG is read into a picture of its
// size and colours, damaged and foreign files are refused with an alert and
// nothing placed, and a placed picture is one undo step that survives saving.
#include <fstream>

#include "ui/alerts.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/picture_files.h"
#include "platform/draw/bits.h"
#include "platform/draw/colour.h"
#include "platform/draw/picture_png.h"
#include "tests/editing/clipboard_fixture.h"
#include "tests/objects/png_sample.h"
#include "tests/platform/temp_folder.h"
#include "window/selection_tracking.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The colour at a point of the picture drawn at its own size.
class DrawnPicture {
public:
    explicit DrawnPicture(const Bytes& picture) {
        const pf::Rect frame = pf::picture_frame(picture.data(), picture.size());
        pf::new_gworld(&world, 32, frame, 0);
        pf::PortScope scope(&world->port);
        drawn = pf::draw_picture_data(picture.data(), picture.size(), frame);
    }
    ~DrawnPicture() { pf::dispose_gworld(world); }
    pf::RGBColor at(int16_t h, int16_t v) const {
        pf::PortScope scope(&world->port);
        return pf::get_pixel_color(h, v);
    }
    pf::OSErr drawn = 0;

private:
    pf::GWorldPtr world = nullptr;
};

bool same(pf::RGBColor a, pf::RGBColor b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }
constexpr pf::RGBColor kRed{0xFFFF, 0, 0}, kBlue{0, 0, 0xFFFF}, kWhite{0xFFFF, 0xFFFF, 0xFFFF};

class PictureFilesTest : public ClipboardTest {
protected:
    TempFolder folder;

    pf::FileSpec file(const std::string& name, const Bytes& bytes) {
        const std::string path = folder.path + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        pf::FileSpec spec{};
        pf::file_spec_from_path(path, spec);
        return spec;
    }
    static ObjectRecord fields(MemoryRef object) {
        ObjectRecord copy = *use_object(object);
        release_object(object);
        return copy;
    }
};

TEST_F(PictureFilesTest, APngBecomesAPictureOfItsSizeAndColoursOverWhite) {
    int16_t error = -1;
    const Bytes picture = picture_from_png(png_sample::halves(), &error);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(pf::picture_frame(picture.data(), picture.size()),
              (pf::Rect{0, 0, png_sample::kHeight, png_sample::kWidth}));
    DrawnPicture drawn(picture);
    EXPECT_EQ(drawn.drawn, pf::noErr);
    EXPECT_TRUE(same(drawn.at(2, 10), kRed));
    EXPECT_TRUE(same(drawn.at(27, 19), kBlue));
    EXPECT_TRUE(same(drawn.at(20, 1), kWhite));  // the transparent band
}

TEST_F(PictureFilesTest, DamagedTruncatedForeignAndOversizedImagesAreRefused) {
    const Bytes good = png_sample::halves();
    Bytes scrambled = good;
    for (size_t i = 40; i < scrambled.size() - 12; ++i) scrambled[i] ^= 0x5A;
    Bytes huge(good.begin(), good.begin() + 33);
    huge[18] = 0x7F;  // width above 8 million
    const std::vector<std::pair<const char*, Bytes>> refused{
        {"empty", {}},
        {"signature only", Bytes(good.begin(), good.begin() + 8)},
        {"header only", Bytes(good.begin(), good.begin() + 33)},
        {"cut in half", Bytes(good.begin(), good.begin() + ptrdiff_t(good.size() / 2))},
        {"scrambled data", scrambled},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!', '!', '!', '!', '!',
                       '!', '!', '!', '!', '!', '!'}},
        {"too large", huge},
    };
    for (const auto& [what, bytes] : refused) {
        int16_t error = 0;
        EXPECT_TRUE(picture_from_png(bytes, &error).empty()) << what;
        EXPECT_NE(error, 0) << what;
    }
    EXPECT_EQ(png_refusal(huge), pf::kFileTooLongErr);
}

// A chunk is taken only when the file holds it whole: one claiming about 2 GB
// in a file of a hundred bytes is refused before anything is decoded.
TEST_F(PictureFilesTest, AChunkClaimingMoreThanTheFileHoldsIsRefused) {
    const Bytes good = png_sample::halves();
    const Bytes text_chunk{0x7F, 0x00, 0x00, 0x00, 't', 'E', 'X', 't', 'K', 'e', 'y', 0, 'v', 0, 0, 0, 0};
    Bytes claiming(good.begin(), good.begin() + 33);  // signature and header
    claiming.insert(claiming.end(), text_chunk.begin(), text_chunk.end());
    claiming.insert(claiming.end(), good.begin() + 33, good.end());
    EXPECT_EQ(png_refusal(claiming), kUnreadablePictureErr);
    int16_t error = 0;
    EXPECT_TRUE(picture_from_png(claiming, &error).empty());
    EXPECT_EQ(error, kUnreadablePictureErr);
    EXPECT_TRUE(pf::png_to_picture(claiming).empty());  // as a picture another program put on the clipboard
    Bytes no_end(good.begin(), good.end() - 12);
    EXPECT_EQ(png_refusal(no_end), kUnreadablePictureErr);
    EXPECT_EQ(png_refusal(good), 0);
    EXPECT_EQ(place_picture_file(layer, file("Claiming.png", claiming)), 0);
    EXPECT_EQ(num_objects(layer), 0);
}

TEST_F(PictureFilesTest, ImageFilesAreTestedAndReadWhileOthersAreRefused) {
    const pf::FileSpec png = file("Sample.png", png_sample::halves());
    const pf::FileSpec text = file("Notes.txt", Bytes(40, 'x'));
    EXPECT_EQ(CanOpenGraphicsFile(png), 0);
    EXPECT_EQ(CanOpenGraphicsFile(text), kUnreadablePictureErr);
    pf::PicHandle picture = nullptr;
    EXPECT_EQ(MakePictFromFile(png, &picture), 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(pf::picture_frame(picture->data.data(), picture->data.size()).width(), png_sample::kWidth);
    pf::kill_picture(picture);
    EXPECT_EQ(MakePictFromFile(text, &picture), kUnreadablePictureErr);
    EXPECT_EQ(picture, nullptr);
    pf::FileSpec missing = png;
    missing.name[1] = 'Z';
    EXPECT_NE(CanOpenGraphicsFile(missing), 0);
    EXPECT_NE(MakePictFromFile(missing, &picture), 0);
}

TEST_F(PictureFilesTest, APlacedPictureLandsAtTheSelectionSelectedAndUndoTakesItAway) {
    CellRange range{{5, 3}, {6, 4}};
    LSelect(range.topLeft, &range, nullptr, 0, layer);
    ASSERT_EQ(place_picture_file(layer, file("Sample.png", png_sample::halves())), 1);
    ASSERT_EQ(num_objects(layer), 1);
    MemoryRef placed = find_object_item(layer, 1);
    const ObjectRecord r = fields(placed);
    EXPECT_EQ(r.kind, kPictureObject);
    EXPECT_EQ((std::vector<int>{r.height, r.width}), (std::vector<int>{png_sample::kHeight, png_sample::kWidth}));
    EXPECT_EQ(GetObj_Location(placed).topLeft, (CellPoint{5, 3}));
    EXPECT_EQ(get_selected_object(layer, 1), placed);
    EXPECT_EQ(undo_kind(), kUndoNewObject);
    DoUndo(workbook);
    EXPECT_EQ(num_objects(layer), 0);
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);
    DoRedo(workbook);
    EXPECT_EQ(num_objects(layer), 1);
}

TEST_F(PictureFilesTest, AnUnreadableFileIsRefusedWithAnAlertAndNothingPlaced) {
    Bytes cut = png_sample::halves();
    cut.resize(cut.size() - 30);
    EXPECT_EQ(place_picture_file(layer, file("Cut.png", cut)), 0);
    EXPECT_EQ(num_objects(layer), 0);
    ASSERT_FALSE(alert_requests().empty());
    EXPECT_NE(alert_requests().back().text.find("Cut.png"), std::string::npos);
}

TEST_F(PictureFilesTest, DroppedPicturesCascadeByOneCellAsOneUndoStep) {
    int16_t error = 0;
    const pf::FileSpec png = file("Sample.png", png_sample::halves());
    std::vector<MemoryRef> items{picture_object_from_file(png, &error), nullptr, picture_object_from_file(png, &error)};
    EXPECT_EQ(drop_picture_objects(items, CellPoint{2, 1}, layer), 2);
    ASSERT_EQ(num_objects(layer), 2);
    EXPECT_EQ(GetObj_Location(find_object_item(layer, 1)).topLeft, (CellPoint{2, 1}));
    EXPECT_EQ(GetObj_Location(find_object_item(layer, 2)).topLeft, (CellPoint{4, 3}));
    EXPECT_NE(GetObj_info(find_object_item(layer, 1), pf::four_cc("id  ")),
              GetObj_info(find_object_item(layer, 2), pf::four_cc("id  ")));
    EXPECT_EQ(get_selected_object(layer, 2), find_object_item(layer, 2));
    DoUndo(workbook);
    EXPECT_EQ(num_objects(layer), 0);
}

}  // namespace
