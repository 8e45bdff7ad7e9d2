// Drawing objects, charts, the page format and the print settings of a layer
// are kept as the document stored them and written back unchanged; damaged
// ones are refused as before.
#include <algorithm>

#include "tests/files/document_builder.h"
#include "tests/files/document_fixture.h"

namespace {

using built::Bytes;
using built::block_bytes;
using built::operator+;

Bytes pattern(size_t size, uint8_t seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(seed + i * 31);
    return bytes;
}

Bytes handle_bytes(pf::Handle handle) {
    if (!handle) return {};
    return Bytes(*handle, *handle + pf::get_handle_size(handle));
}

pf::Handle handle_of(const Bytes& bytes) {
    pf::Handle handle = pf::new_handle(pf::Size(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), *handle);
    return handle;
}

// What a layer keeps of the blocks it cannot interpret yet.
struct Kept {
    Bytes page_format, print_settings, objects;
    bool operator==(const Kept&) const = default;
};

Kept kept_of(MemoryRef book, int16_t index) {
    MemoryRef layer = find_SpreadSheet_item(book, index);
    SpreadSheet* sheet = use_layer(layer);
    Kept kept{handle_bytes(sheet->page_format), handle_bytes(sheet->print_settings),
              block_bytes(sheet->stored_objects)};
    release_layer(layer);
    return kept;
}

// A chart, a text box, a freehand stroke and a picture, as stored.
Bytes several_objects() {
    Bytes text_box = {0, 3, 'a', 'b', 'c', 0, 0};
    return built::chart_object() + built::drawing_object("text", {}, text_box, {}, false) +
           built::drawing_object("pncl", {}, {}, {0, 1, 0, 2, 0, 3, 0, 4}, false) +
           built::drawing_object("PICT", pattern(40, 3), {}, {}, false);
}

built::Layer drawn_layer(const std::string& name) {
    built::Layer layer = built::simple_layer(name);
    layer.page_format = pattern(120, 0x51);
    layer.print_settings = pattern(75, 0x17);
    layer.objects = several_objects();
    return layer;
}

bool contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

// Where `needle` starts in `haystack`.
size_t offset_of(const Bytes& haystack, const Bytes& needle) {
    return size_t(std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) - haystack.begin());
}

Bytes framed(const Bytes& bytes) {
    built::Out out;
    out.block(bytes);
    return out.bytes;
}

class KeptBlocksTest : public DocumentTest {
protected:
    // Writes the bytes and expects them refused as a damaged document.
    void expect_refused(const Bytes& bytes) {
        prompts_log::seen.clear();
        write_bytes("Damaged.qrv", bytes);
        EXPECT_EQ(open("Damaged.qrv"), nullptr);
        EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"error -1"}));
        EXPECT_EQ(f_ref, 0);
        EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), 0);
    }
};

TEST_F(KeptBlocksTest, HandBuiltBlocksSurviveOpenSaveOpen) {
    built::Layer drawn = drawn_layer("Drawn");
    write_bytes("Drawn.qrv", built::document(1029, {drawn, built::simple_layer("Plain")}));
    MemoryRef book = open("Drawn.qrv");
    ASSERT_NE(book, nullptr);
    Kept first = kept_of(book, 0);
    EXPECT_EQ(first, (Kept{drawn.page_format, drawn.print_settings, drawn.objects}));
    EXPECT_EQ(kept_of(book, 1), (Kept{{}, {9, 9}, {}}));
    // Nothing stored becomes a live drawing object.
    EXPECT_EQ(GetMemorySize(use_layer(find_SpreadSheet_item(book, 0))->objects), 0);
    release_layer(find_SpreadSheet_item(book, 0));

    ASSERT_EQ(save(book, "Saved.qrv"), 0);
    Bytes saved = bytes_of("Saved.qrv");
    EXPECT_TRUE(contains(saved, framed(drawn.page_format) + framed(drawn.print_settings)));
    EXPECT_TRUE(contains(saved, drawn.objects));
    MemoryRef again = open("Saved.qrv");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(kept_of(again, 0), first);
    EXPECT_EQ(sample::snapshot(again), sample::snapshot(book));
    ASSERT_EQ(save(again, "Resaved.qrv"), 0);
    EXPECT_EQ(bytes_of("Resaved.qrv"), saved);
}

TEST_F(KeptBlocksTest, BlocksGivenToTheWriterSurviveOpenSaveOpen) {
    MemoryRef book = sample::rich_workbook(2);
    Bytes objects = several_objects();
    MemoryRef layer = find_SpreadSheet_item(book, 1);
    SpreadSheet* sheet = use_layer(layer);
    sheet->page_format = handle_of(pattern(90, 1));
    sheet->print_settings = handle_of(pattern(33, 2));
    sheet->stored_objects = Bytes2Memory(&mem_globals, objects.data(), 1, int32_t(objects.size()));
    release_layer(layer);
    Kept given = kept_of(book, 1);

    ASSERT_EQ(save(book, "Given.qrv"), 0);
    Bytes saved = bytes_of("Given.qrv");
    // The last layer's block ends with its objects, and so does the file.
    ASSERT_GE(saved.size(), objects.size());
    EXPECT_TRUE(std::equal(objects.begin(), objects.end(), saved.end() - std::ptrdiff_t(objects.size())));
    MemoryRef opened = open("Given.qrv");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(kept_of(opened, 1), given);
    EXPECT_EQ(kept_of(opened, 0), (Kept{}));
    EXPECT_EQ(sample::snapshot(opened), sample::snapshot(book));
    ASSERT_EQ(save(opened, "Again.qrv"), 0);
    EXPECT_EQ(bytes_of("Again.qrv"), saved);
}

TEST_F(KeptBlocksTest, DamagedObjectsAreRefused) {
    built::Layer layer = built::simple_layer("Drawn");
    auto refused_with = [&](const Bytes& objects) {
        layer.objects = objects;
        // A layer follows, so a part running past the block still lies in the file.
        expect_refused(built::document(1029, {layer, built::simple_layer("Next")}));
    };
    Bytes chart = built::chart_object();
    refused_with(Bytes(chart.begin(), chart.begin() + 40));  // a partial object record
    Bytes negative = chart;
    negative[88] = 0x80;  // the picture's length
    refused_with(negative);
    Bytes past_block = chart;
    past_block[88 + 4 + 2] = 0x01;  // the data's length, a few hundred bytes too long
    refused_with(past_block);
    Bytes short_chart = chart;
    short_chart.resize(chart.size() - 30);  // the chart part cut short
    refused_with(short_chart);
    Bytes flag_without_chart = built::drawing_object("oval", {}, {}, {}, false);
    flag_without_chart.back() = 1;
    refused_with(flag_without_chart);
}

TEST_F(KeptBlocksTest, DamagedPrintDataIsRefused) {
    built::Layer layer = drawn_layer("Drawn");
    Bytes good = built::document(1029, {layer});
    size_t page_format_length = offset_of(good, layer.page_format) - 4;
    size_t print_settings_length = offset_of(good, layer.print_settings) - 4;
    Bytes negative = good;
    negative[page_format_length] = 0xFF;
    expect_refused(negative);
    Bytes past_file = good;
    past_file[print_settings_length + 1] = 0x7F;
    expect_refused(past_file);
    Bytes into_objects = good;  // the print settings swallowing the fields after them
    into_objects[print_settings_length + 3] = uint8_t(layer.print_settings.size() + 20);
    expect_refused(into_objects);
}

}  // namespace
