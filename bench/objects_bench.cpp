// Drawing objects: redrawing a window whose pane holds 1,000 objects of every
// kind spread over the cells in view, and finding the object under a point
// among them.
#include <benchmark/benchmark.h>

#include "formatted_window.h"
#include "objects/object_drawing.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"

namespace {

constexpr int kObjectCount = 1000;
constexpr pf::FourCC kKinds[] = {kLineObject, kArrowObject, kRectObject, kRoundRectObject, kOvalObject, kTextObject};

void fill_objects(MemoryRef layer) {
    for (int i = 0; i < kObjectCount; ++i) {
        MemoryRef object = nullptr;
        NewObject(kKinds[i % std::size(kKinds)], &object, 0, layer);
        ObjectUse record(object);
        record->anchor_row = int16_t(i % 30), record->anchor_column = int16_t(i / 30 % 10);
        record->v_offset = int16_t(i % 7), record->h_offset = int16_t(i % 11);
        record->height = int16_t(10 + i % 25), record->width = int16_t(20 + i % 40);
        record->fill_pattern = uint8_t(i % 3);
        record.release();
        ObjectLocation(object, layer);
    }
}

void BM_RedrawPaneWithObjects(benchmark::State& state) {
    bench_window::Window window(false);
    fill_objects(window.layer);
    SetActiveRects(window.layer);
    const pf::Rect all{0, 0, bench_window::kHeight, bench_window::kWidth};
    for (auto _ : state) window.draw(all);
}
BENCHMARK(BM_RedrawPaneWithObjects)->Unit(benchmark::kMillisecond);

void BM_HitTestAmongObjects(benchmark::State& state) {
    bench_window::Window window(false);
    fill_objects(window.layer);
    SetActiveRects(window.layer);
    int16_t step = 0;
    for (auto _ : state) {
        pf::Rect rect;
        int16_t handle;
        step = int16_t((step + 37) % 400);
        benchmark::DoNotOptimize(
            MouseinObject(&rect, pf::Point{int16_t(20 + step), int16_t(40 + step)}, &handle, 0, window.layer));
    }
}
BENCHMARK(BM_HitTestAmongObjects)->Unit(benchmark::kMicrosecond);

}  // namespace
