#include "draw_test_support.h"

#include "platform/draw/picture.h"
#include "platform/draw/picture_format.h"
#include "platform/draw/text.h"

#include <random>
#include <tuple>

namespace {

using drawtest::ImagePort;
using drawtest::Rgn;
using pf::Rect;

struct Pictures : ImagePort {
    // Draws directly, then records the same drawing and plays it back: the pixels must match.
    template <typename Draw>
    void expect_playback_equals_drawing(Draw draw) {
        draw();
        std::vector<uint32_t> direct = snapshot();
        pf::erase_rect(port.port_rect);
        pf::PicHandle pic = pf::open_picture(port.port_rect);
        draw();
        pf::close_picture();
        EXPECT_EQ(pf::draw_picture(pic, port.port_rect), pf::noErr);
        EXPECT_EQ(snapshot(), direct);
        pf::kill_picture(pic);
    }
};

// Draws with most recorded calls: state changes, every shape kind, lines, text, bits
// and clipping.
void draw_sample() {
    pf::rgb_fore_color({0, 0, 0x9999});
    pf::paint_oval({2, 2, 20, 30});
    pf::rgb_fore_color(pf::kBlackColor);
    pf::pen_size(2, 1);
    pf::frame_round_rect({4, 32, 22, 60}, 8, 6);
    pf::pen_normal();
    pf::fill_rect({24, 2, 40, 20}, pf::kGrayPattern);
    pf::paint_arc({24, 22, 44, 42}, 30, 200);
    pf::move_to(0, 47);
    pf::line_to(63, 30);
    pf::PolyHandle tri = pf::open_poly();
    pf::move_to(44, 24);
    pf::line_to(60, 30);
    pf::line_to(46, 44);
    pf::line_to(44, 24);
    pf::close_poly();
    pf::invert_poly(tri);
    pf::kill_poly(tri);
    Rgn ring, hole;
    pf::oval_region(ring, {26, 44, 46, 64});
    pf::oval_region(hole, {31, 49, 41, 59});
    pf::diff_region(ring, hole, ring);
    pf::set_clip(ring);
    pf::paint_rect({0, 0, 48, 64});
    pf::clip_rect({-32767, -32767, 32767, 32767});
    const uint8_t bits[] = {0xF0, 0x0F, 0xAA, 0x55};
    pf::copy_bits(pf::BitMap{bits, 1, {0, 0, 4, 8}, 1}, {0, 0, 4, 8}, {40, 24, 44, 32}, pf::kSrcXor);
    pf::text_font(0);
    pf::text_size(9);
    pf::move_to(4, 45);
    pf::draw_text("Pic");
}

TEST_F(Pictures, PlaybackDrawsExactlyWhatWasRecorded) {
    draw_sample();
    std::vector<uint32_t> direct = snapshot();
    pf::erase_rect(port.port_rect);

    pf::PicHandle pic = pf::open_picture(port.port_rect);
    ASSERT_NE(pic, nullptr);
    draw_sample();
    pf::close_picture();
    for (uint32_t px : snapshot()) ASSERT_EQ(px, drawtest::kWhite) << "recording draws nothing";

    EXPECT_EQ(pf::picture_frame(pic->data.data(), pic->data.size()), port.port_rect);
    EXPECT_EQ(pf::draw_picture(pic, port.port_rect), pf::noErr);
    EXPECT_EQ(snapshot(), direct);
    EXPECT_EQ(port.pen_size, (pf::Point{1, 1})) << "the port's state is put back";
    pf::kill_picture(pic);
}

TEST_F(Pictures, JustifiedTextKeepsItsSpreadWords) {
    auto draw = [] {
        pf::move_to(2, 20);
        pf::draw_justified("ab cd ef", 11 * pf::kFixedOne);
    };
    expect_playback_equals_drawing(draw);
}

TEST_F(Pictures, TurnedTextIsKeptAsItsImage) {
    auto draw = [] {
        pf::text_size(12);
        pf::rgb_fore_color({0, 0, 0x9999});
        pf::move_to(20, 40);
        pf::draw_text_turned("Up", pf::Turn::kUp);
        pf::move_to(40, 4);
        pf::draw_text_turned("Dn", pf::Turn::kDown);
    };
    expect_playback_equals_drawing(draw);
}

TEST_F(Pictures, PlaybackScalesTheFrameOntoTheDestination) {
    pf::PicHandle pic = pf::open_picture({0, 0, 10, 10});
    pf::paint_rect({0, 0, 5, 5});
    pf::close_picture();
    EXPECT_EQ(pf::draw_picture(pic, {20, 20, 40, 40}), pf::noErr);
    EXPECT_EQ(at(20, 20), drawtest::kBlack);
    EXPECT_EQ(at(29, 29), drawtest::kBlack);
    EXPECT_EQ(at(30, 30), drawtest::kWhite);
    EXPECT_EQ(at(19, 19), drawtest::kWhite);
    pf::kill_picture(pic);
}

TEST_F(Pictures, PlaybackStaysInsideTheCallersClip) {
    pf::PicHandle pic = pf::open_picture(port.port_rect);
    pf::paint_rect(port.port_rect);
    pf::close_picture();
    pf::clip_rect({0, 0, 10, 10});
    pf::draw_picture(pic, port.port_rect);
    EXPECT_EQ(at(9, 9), drawtest::kBlack);
    EXPECT_EQ(at(10, 9), drawtest::kWhite);
    EXPECT_EQ(pf::region_bounds(port.clip_rgn), (Rect{0, 0, 10, 10}));
    pf::kill_picture(pic);
}

struct Comment {
    int16_t kind;
    std::vector<uint8_t> data;
};

void collect_comment(int16_t kind, const uint8_t* data, size_t size, void* context) {
    static_cast<std::vector<Comment>*>(context)->push_back({kind, std::vector<uint8_t>(data, data + size)});
}

TEST_F(Pictures, CommentsReachTheCommentProcedure) {
    pf::PicHandle pic = pf::open_picture({0, 0, 10, 10});
    pf::pic_comment(190, nullptr, 0);
    const uint8_t text_begin[] = {1, 0, 0x01, 0x0E, 0, 0};
    pf::pic_comment(150, text_begin, sizeof text_begin);
    pf::close_picture();
    std::vector<Comment> seen;
    pf::set_picture_comment_proc(collect_comment, &seen);
    EXPECT_EQ(pf::draw_picture(pic, {0, 0, 10, 10}), pf::noErr);
    pf::set_picture_comment_proc(nullptr, nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, 190);
    EXPECT_TRUE(seen[0].data.empty());
    EXPECT_EQ(seen[1].kind, 150);
    EXPECT_EQ(seen[1].data, std::vector<uint8_t>(text_begin, text_begin + 6));
    pf::kill_picture(pic);
}

TEST_F(Pictures, HugeScalingWorksOnlyOnWhatShows) {
    // Scaled a thousandfold, the picture's arc, polygon and bits cover far more than the
    // port; only the port's pixels are worked out.
    pf::PicHandle pic = pf::open_picture({0, 0, 64, 64});
    pf::paint_arc({0, 0, 64, 64}, 10, 300);
    pf::PolyHandle tri = pf::open_poly();
    pf::move_to(0, 0);
    pf::line_to(63, 10);
    pf::line_to(10, 63);
    pf::close_poly();
    pf::invert_poly(tri);
    pf::kill_poly(tri);
    const uint8_t bits[] = {0xA5};
    pf::copy_bits(pf::BitMap{bits, 1, {0, 0, 1, 8}, 1}, {0, 0, 1, 8}, {0, 0, 64, 64}, pf::kSrcXor);
    pf::close_picture();
    EXPECT_EQ(pf::draw_picture(pic, {-32000, -32000, 32000, 32000}), pf::noErr);
    pf::kill_picture(pic);
}

TEST_F(Pictures, FontsAreNamedAndFoundByName) {
    pf::PicHandle pic = pf::open_picture(port.port_rect);
    pf::text_font(pf::kMonacoFont);
    pf::move_to(2, 20);
    pf::draw_text("m");
    pf::close_picture();
    std::string bytes(pic->data.begin(), pic->data.end());
    EXPECT_NE(bytes.find("Monaco"), std::string::npos) << "the font's name goes with its number";
    pf::kill_picture(pic);

    // Another program's picture numbers Monaco 200: the name decides.
    pf::pict::Writer w;
    w.u16(0);
    w.rect(port.port_rect);
    w.u16(pf::pict::kVersion);
    w.u16(0x02FF);
    w.u16(pf::pict::kFontName);
    w.u16(3 + 6);
    w.u16(200);
    w.u8(6);
    w.raw(reinterpret_cast<const uint8_t*>("Monaco"), 6);
    w.align();
    w.u16(pf::pict::kTxFont);
    w.u16(200);
    w.u16(pf::pict::kLongText);
    w.point({20, 30});
    w.u8(1);
    w.u8('m');
    w.align();
    w.u16(pf::pict::kEndPic);
    EXPECT_EQ(pf::draw_picture_data(w.bytes.data(), w.bytes.size(), port.port_rect), pf::noErr);
    std::vector<uint32_t> played = snapshot();
    pf::erase_rect(port.port_rect);
    pf::text_font(pf::kMonacoFont);
    pf::move_to(30, 20);
    pf::draw_text("m");
    EXPECT_EQ(played, snapshot());
}

TEST(PictureFiles, PictureIsFoundAfterTheFileHeaderOrAtTheStart) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 4, 4);
    pf::Port port;
    pf::open_port(port, surface, 4, 4);
    pf::PortScope scope(&port);
    pf::PicHandle pic = pf::open_picture({0, 0, 4, 4});
    pf::close_picture();
    std::vector<uint8_t> file(512, 0);
    file.insert(file.end(), pic->data.begin(), pic->data.end());
    size_t length = 0;
    EXPECT_EQ(pf::picture_in_file(file.data(), file.size(), length), file.data() + 512);
    EXPECT_EQ(length, pic->data.size());
    EXPECT_EQ(pf::picture_in_file(pic->data.data(), pic->data.size(), length), pic->data.data());
    std::vector<uint8_t> junk(600, 0x41);
    EXPECT_EQ(pf::picture_in_file(junk.data(), junk.size(), length), nullptr);
    EXPECT_EQ(length, 0u);
    pf::kill_picture(pic);
    pf::close_port(port);
    cairo_surface_destroy(surface);
}

TEST_F(Pictures, EveryTruncationIsRefusedWithoutHarm) {
    pf::PicHandle pic = pf::open_picture(port.port_rect);
    draw_sample();
    pf::close_picture();
    for (size_t length = 0; length < pic->data.size(); ++length)
        EXPECT_EQ(pf::draw_picture_data(pic->data.data(), length, port.port_rect), pf::kBadPictureErr) << length;
    pf::kill_picture(pic);
}

TEST_F(Pictures, RandomBytesAfterAValidHeaderNeverCrash) {
    pf::PicHandle pic = pf::open_picture(port.port_rect);
    pf::close_picture();
    std::vector<uint8_t> header(pic->data.begin(), pic->data.end() - 2);  // without the end opcode
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> data = header;
        int extra = int(random() % 200);
        for (int i = 0; i < extra; ++i) data.push_back(uint8_t(random()));
        pf::draw_picture_data(data.data(), data.size(), port.port_rect);
    }
    pf::kill_picture(pic);
}

TEST_F(Pictures, ReadsVersionOnePictures) {
    const uint8_t v1[] = {0x00, 0x00, 0, 0, 0, 0, 0, 10, 0, 10,  // size, frame
                          0x11, 0x01,                             // version 1
                          0x31, 0, 2, 0, 3, 0, 4, 0, 6,           // paint rect
                          0xFF};
    EXPECT_EQ(pf::draw_picture_data(v1, sizeof v1, {0, 0, 10, 10}), pf::noErr);
    EXPECT_EQ(map(2, 1, 7, 5),
              ".....\n"
              ".###.\n"
              ".###.\n"
              ".....\n");
}

TEST_F(Pictures, ALineOpcodeCutShortDrawsNothing) {
    const uint8_t header[] = {0x00, 0x00, 0, 0, 0, 0, 0, 10, 0, 10, 0x11, 0x01};
    const std::vector<std::vector<uint8_t>> cut = {
        {0x20, 0, 2, 0, 3, 0, 8},  // line: the end point's column is missing
        {0x21, 0, 7},              // line from the pen: the column is missing
        {0x22, 0, 2, 0, 3, 4},     // short line: the vertical step is missing
        {0x23, 5},                 // short line from the pen: the vertical step is missing
    };
    for (const auto& opcode : cut) {
        std::vector<uint8_t> data(header, header + sizeof header);
        data.insert(data.end(), opcode.begin(), opcode.end());
        pf::erase_rect(port.port_rect);
        EXPECT_EQ(pf::draw_picture_data(data.data(), data.size(), {0, 0, 10, 10}), pf::kBadPictureErr);
        EXPECT_EQ(map(0, 0, 10, 10).find('#'), std::string::npos) << int(opcode[0]);
    }
}

// A picture of one bits opcode, its record written by `body`.
std::vector<uint8_t> bits_picture(uint16_t opcode, const Rect& frame, void (*body)(pf::pict::Writer&)) {
    pf::pict::Writer w;
    w.u16(0);
    w.rect(frame);
    w.u16(pf::pict::kVersion);
    w.u16(0x02FF);
    w.u16(opcode);
    body(w);
    w.align();
    w.u16(pf::pict::kEndPic);
    return w.bytes;
}

void placement(pf::pict::Writer& w, const Rect& r) {
    w.rect(r);  // source
    w.rect(r);  // destination
    w.u16(pf::kSrcCopy);
}

TEST_F(Pictures, ReadsPackedBitmapRows) {
    auto picture = bits_picture(pf::pict::kPackBitsRect, {0, 0, 2, 64}, [](pf::pict::Writer& w) {
        w.u16(8);  // row bytes: from 8 on, rows are packed
        w.rect({0, 0, 2, 64});
        placement(w, {0, 0, 2, 64});
        const uint8_t rows[] = {2, 0xF9, 0xFF,                                 // 0xFF eight times
                                7, 0x03, 0xF0, 0x0F, 0x00, 0xFF, 0xFD, 0x00};  // four bytes, then 0 four times
        w.raw(rows, sizeof rows);
    });
    EXPECT_EQ(pf::draw_picture_data(picture.data(), picture.size(), {0, 0, 2, 64}), pf::noErr);
    EXPECT_EQ(map(0, 0, 34, 2),
              "##################################\n"
              "####........####........########..\n");
    auto overrun = bits_picture(pf::pict::kPackBitsRect, {0, 0, 1, 64}, [](pf::pict::Writer& w) {
        w.u16(8);
        w.rect({0, 0, 1, 64});
        placement(w, {0, 0, 1, 64});
        const uint8_t row[] = {3, 0x7F, 0xAA, 0xAA};  // a literal run longer than its row
        w.raw(row, sizeof row);
    });
    EXPECT_EQ(pf::draw_picture_data(overrun.data(), overrun.size(), {0, 0, 1, 64}), pf::kBadPictureErr);
}

TEST_F(Pictures, ReadsDirectPixelsPackedByComponent) {
    auto picture = bits_picture(pf::pict::kDirectBitsRect, {0, 0, 1, 3}, [](pf::pict::Writer& w) {
        w.u32(0xFF);
        w.u16(0x8000 | 12);
        w.rect({0, 0, 1, 3});
        w.u16(0);
        w.u16(4);  // packed by component
        w.u32(0);
        w.u32(0x00480000);
        w.u32(0x00480000);
        w.u16(16);
        w.u16(32);
        w.u16(3);
        w.u16(8);
        w.u32(0);
        w.u32(0);
        w.u32(0);
        placement(w, {0, 0, 1, 3});
        // Red, green and blue planes of three pixels: red, green, white.
        const uint8_t row[] = {10, 8, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF};
        w.raw(row, sizeof row);
    });
    EXPECT_EQ(pf::draw_picture_data(picture.data(), picture.size(), {0, 0, 1, 3}), pf::noErr);
    EXPECT_EQ(at(0, 0), 0xFF0000u);
    EXPECT_EQ(at(1, 0), 0x00FF00u);
    EXPECT_EQ(at(2, 0), drawtest::kWhite);
}

TEST_F(Pictures, ReadsIndexedPixelMapsWithTheirColourTable) {
    auto picture = bits_picture(pf::pict::kPackBitsRect, {0, 0, 1, 2}, [](pf::pict::Writer& w) {
        w.u16(0x8000 | 2);
        w.rect({0, 0, 1, 2});
        w.u16(0);
        w.u16(0);
        w.u32(0);
        w.u32(0x00480000);
        w.u32(0x00480000);
        w.u16(0);
        w.u16(8);
        w.u16(1);
        w.u16(8);
        w.u32(0);
        w.u32(0);
        w.u32(0);
        w.u32(0);  // table seed
        w.u16(0);  // flags
        w.u16(1);  // two entries
        for (auto [value, r, g, b] : {std::tuple{0, 0, 0, 0xFFFF}, {1, 0xFFFF, 0, 0}}) {
            w.u16(uint16_t(value));
            w.u16(uint16_t(r));
            w.u16(uint16_t(g));
            w.u16(uint16_t(b));
        }
        placement(w, {0, 0, 1, 2});
        w.u8(1);  // rows under 8 bytes are not packed
        w.u8(0);
    });
    EXPECT_EQ(pf::draw_picture_data(picture.data(), picture.size(), {0, 0, 1, 2}), pf::noErr);
    EXPECT_EQ(at(0, 0), 0xFF0000u);
    EXPECT_EQ(at(1, 0), 0x0000FFu);
}

TEST(PictureRegions, RecordsRoundTrip) {
    Rgn complex;
    for (Rect r : {Rect{0, 0, 10, 10}, Rect{5, 20, 30, 25}, Rect{12, 3, 14, 40}, Rect{40, 0, 41, 1}}) {
        Rgn piece(r);
        pf::xor_region(complex, piece, complex);
    }
    Rgn ring, hole;
    pf::oval_region(ring, {50, 50, 80, 90});
    pf::oval_region(hole, {55, 60, 75, 80});
    pf::diff_region(ring, hole, ring);
    pf::union_region(complex, ring, complex);
    Rgn plain({3, 4, 5, 6});
    for (pf::RgnHandle rgn : {complex.h, plain.h}) {
        pf::pict::Writer w;
        pf::pict::write_region(w, rgn);
        pf::ByteReader r{w.bytes};
        Rgn back;
        ASSERT_TRUE(pf::pict::read_region(r, back));
        EXPECT_TRUE(pf::equal_region(rgn, back));
        EXPECT_EQ(r.left(), 0u);
    }
}

TEST(PictureRegions, DamagedRecordsAreRefused) {
    Rgn two({0, 0, 4, 4});
    Rgn other({10, 10, 14, 14});
    pf::union_region(two, other, two);
    pf::pict::Writer w;
    pf::pict::write_region(w, two);
    for (size_t cut = 0; cut < w.bytes.size(); ++cut) {
        std::vector<uint8_t> bytes(w.bytes.begin(), w.bytes.begin() + cut);
        pf::ByteReader r{bytes};
        Rgn back;
        EXPECT_FALSE(pf::pict::read_region(r, back)) << cut;
    }
}

}  // namespace
