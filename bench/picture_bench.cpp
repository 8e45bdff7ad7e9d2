// Playing back small pictures (about 2 KB) whose shapes are far larger than
// the port, or whose records are many: the cost follows what the port shows.
// Each is drawn at its own frame and scaled onto a small rectangle, as a
// picture in a window or a button is.
#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

#include "bench_port.h"
#include "platform/draw/draw.h"
#include "platform/draw/picture.h"
#include "platform/draw/picture_format.h"

namespace {

using pf::pict::Writer;

constexpr int kWidth = 96, kHeight = 64;
constexpr size_t kPictureSize = 2048;
constexpr pf::Rect kHuge{-32000, -32000, 32000, 32000};

// A version 2 picture of the port's size: the opcodes `first` writes, then
// those `repeat` writes, again and again until the picture is about 2 KB.
std::vector<uint8_t> picture(const std::function<void(Writer&)>& first, const std::function<void(Writer&)>& repeat) {
    Writer w;
    w.u16(0);
    w.rect(pf::Rect{0, 0, kHeight, kWidth});
    w.u16(pf::pict::kVersion);
    w.u16(0x02FF);
    w.u16(pf::pict::kHeader);
    for (int i = 0; i < 12; ++i) w.u16(0);
    first(w);
    while (w.bytes.size() < kPictureSize) repeat(w);
    w.align();
    w.u16(pf::pict::kEndPic);
    return w.bytes;
}

void play(benchmark::State& state, const std::vector<uint8_t>& data) {
    BenchPort bench(kWidth, kHeight);
    const pf::Rect frame = pf::picture_frame(data.data(), data.size());
    for (auto _ : state) {
        pf::draw_picture_data(data.data(), data.size(), frame);
        pf::draw_picture_data(data.data(), data.size(), pf::Rect{-10, -10, 70, 100});
    }
}

// Framed ovals of the whole coordinate space, again and again ("the same oval").
void BM_HugeOvals(benchmark::State& state) {
    play(state, picture(
                    [](Writer& w) {
                        w.u16(pf::pict::kOvalBase);
                        w.rect(kHuge);
                    },
                    [](Writer& w) { w.u16(pf::pict::kSameOvalBase); }));
}
BENCHMARK(BM_HugeOvals)->Unit(benchmark::kMillisecond);

// Framed and painted round rectangles with huge corners.
void BM_HugeRoundRects(benchmark::State& state) {
    play(state, picture(
                    [](Writer& w) {
                        w.u16(pf::pict::kOvSize);
                        w.point(pf::Point{30000, 30000});
                        w.u16(pf::pict::kRRectBase + 1);
                        w.rect(kHuge);
                    },
                    [](Writer& w) { w.u16(pf::pict::kSameRRectBase); }));
}
BENCHMARK(BM_HugeRoundRects)->Unit(benchmark::kMillisecond);

// Arcs of a huge oval.
void BM_HugeArcs(benchmark::State& state) {
    play(state, picture(
                    [](Writer& w) {
                        w.u16(pf::pict::kArcBase + 1);
                        w.rect(kHuge);
                        w.u16(10);
                        w.u16(300);
                    },
                    [](Writer& w) {
                        w.u16(pf::pict::kSameArcBase);
                        w.u16(20);
                        w.u16(200);
                    }));
}
BENCHMARK(BM_HugeArcs)->Unit(benchmark::kMillisecond);

// A region of many boxes: a first line of many inversion points, then lines
// that each turn one more point over.
void write_region_of_many_boxes(Writer& w, uint16_t opcode) {
    Writer region;
    region.rect(pf::Rect{0, 0, 600, 800});
    region.u16(0);
    for (int16_t h = 0; h < 400; h += 2) region.u16(uint16_t(h));
    region.u16(0x7FFF);
    for (int16_t v = 1; v < 250; ++v) {
        region.u16(uint16_t(v));
        region.u16(uint16_t(400 + v));
        region.u16(0x7FFF);
    }
    region.u16(250);
    for (int16_t h = 0; h < 400; h += 2) region.u16(uint16_t(h));
    for (int16_t v = 1; v < 250; ++v) region.u16(uint16_t(400 + v));
    region.u16(0x7FFF);
    region.u16(0x7FFF);
    w.u16(opcode);
    w.u16(uint16_t(region.bytes.size() + 2));
    w.raw(region.bytes.data(), region.bytes.size());
}

void BM_PaintedRegionOfManyBoxes(benchmark::State& state) {
    play(state, picture([](Writer& w) { write_region_of_many_boxes(w, pf::pict::kRgnBase + 1); },
                        [](Writer& w) { w.u16(pf::pict::kNop); }));
}
BENCHMARK(BM_PaintedRegionOfManyBoxes)->Unit(benchmark::kMillisecond);

// The same region framed with a wide pen.
void BM_FramedRegionOfManyBoxes(benchmark::State& state) {
    play(state, picture(
                    [](Writer& w) {
                        w.u16(pf::pict::kPnSize);
                        w.point(pf::Point{30, 30});
                        write_region_of_many_boxes(w, pf::pict::kRgnBase);
                    },
                    [](Writer& w) { w.u16(pf::pict::kNop); }));
}
BENCHMARK(BM_FramedRegionOfManyBoxes)->Unit(benchmark::kMillisecond);

// Text at the largest size.
void BM_HugeText(benchmark::State& state) {
    play(state, picture(
                    [](Writer& w) {
                        w.u16(pf::pict::kTxSize);
                        w.u16(32000);
                    },
                    [](Writer& w) {
                        w.u16(pf::pict::kLongText);
                        w.point(pf::Point{100, -20});
                        w.u8(40);
                        for (int i = 0; i < 40; ++i) w.u8(uint8_t('A' + i % 26));
                        w.align();
                    }));
}
BENCHMARK(BM_HugeText)->Unit(benchmark::kMillisecond);

}  // namespace
