#include "tests/styledtext/styled_text_fixture.h"

#include "platform/fonts/fonts.h"

#include <map>
#include <sstream>

namespace wetest {

namespace {

std::string rule(const std::string& what, int64_t a, int64_t b) {
    std::ostringstream out;
    out << what << " (" << a << ", " << b << ")";
    return out.str();
}

std::string check_runs(WEReference we) {
    const WEInstance& w = WEI(we);
    const WERunRecord* runs = WERuns(we);
    if (w.runCount < 1) return rule("no runs", w.runCount, 0);
    if (pf::get_handle_size(w.hRuns) != int32_t((w.runCount + 1) * sizeof(WERunRecord)))
        return rule("run table size", pf::get_handle_size(w.hRuns), w.runCount);
    if (runs[0].runStart != 0) return rule("first run start", runs[0].runStart, 0);
    if (runs[w.runCount].runStart != w.textLength + 1 || runs[w.runCount].styleIndex != -1)
        return rule("run sentinel", runs[w.runCount].runStart, w.textLength + 1);
    std::map<int32_t, int32_t> uses;
    for (int32_t i = 0; i < w.runCount; ++i) {
        if (runs[i].styleIndex < 0 || runs[i].styleIndex >= w.styleCount) return rule("style index", i, runs[i].styleIndex);
        ++uses[runs[i].styleIndex];
        if (i > 0 && runs[i].runStart >= w.textLength) return rule("run start past the text", i, runs[i].runStart);
        if (runs[i + 1].runStart <= runs[i].runStart) return rule("run starts not rising", i, runs[i].runStart);
        if (i > 0 && runs[i].styleIndex == runs[i - 1].styleIndex) return rule("runs not merged", i, runs[i].styleIndex);
    }
    const WEStyleEntry* styles = WEStyles(we);
    for (int32_t s = 0; s < w.styleCount; ++s)
        if (styles[s].refCount != uses[s]) return rule("reference count of style", s, styles[s].refCount);
    return "";
}

std::string check_lines(WEReference we, int16_t view) {
    const WEInstance& w = WEI(we);
    const WELineRecord* lines = WELines(we, view);
    int32_t n = w.lineCount[view];
    if (n < 1) return rule("no lines", view, n);
    if (pf::get_handle_size(w.hLines[view]) != int32_t((n + 1) * sizeof(WELineRecord)))
        return rule("line table size", view, n);
    if (lines[0].lineStart != 0 || lines[0].lineOrigin != 0) return rule("first line", lines[0].lineStart, lines[0].lineOrigin);
    if (lines[n].lineStart != w.textLength) return rule("line sentinel", lines[n].lineStart, w.textLength);
    for (int32_t i = 0; i < n; ++i) {
        if (lines[i + 1].lineStart <= lines[i].lineStart && w.textLength > 0)
            return rule("line starts not rising", i, lines[i].lineStart);
        if (lines[i + 1].lineOrigin <= lines[i].lineOrigin) return rule("line origins not rising", i, lines[i].lineOrigin);
    }
    return "";
}

}  // namespace

std::string check_invariants(WEReference we) {
    const WEInstance& w = WEI(we);
    if (pf::get_handle_size(w.hText) != w.textLength) return rule("text size", pf::get_handle_size(w.hText), w.textLength);
    if (std::string r = check_runs(we); !r.empty()) return r;
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view)
        if (std::string r = check_lines(we, view); !r.empty()) return r;
    if (w.selStart < 0 || w.selStart > w.selEnd || w.selEnd > w.textLength) return rule("selection", w.selStart, w.selEnd);
    return "";
}

std::vector<RunView> runs_of(WEReference we) {
    std::vector<RunView> out;
    for (int32_t i = 0; i < WEI(we).runCount; ++i) {
        WERunInfo info;
        _WEGetIndStyle(i, info, we);
        const WETextStyle& ts = info.runAttrs.runStyle;
        out.push_back(RunView{info.runStart, ts.tsFont, ts.tsFace, ts.tsSize});
    }
    return out;
}

std::string text_of(WEReference we) { return std::string(WEText(we), size_t(WEI(we).textLength)); }

Snapshot snapshot(WEReference we) {
    Snapshot s{text_of(we), {}, WEI(we).selStart, WEI(we).selEnd};
    for (int32_t i = 0; i < WEI(we).runCount; ++i) {
        WERunInfo info;
        _WEGetIndStyle(i, info, we);
        s.runs.emplace_back(info.runStart, info.runAttrs);
    }
    return s;
}

std::string screenshot_path(const std::string& name) {
    std::filesystem::path folder = std::filesystem::path(QUORVIN_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

void Instance::SetUp() {
    pf::events_reset();
    pf::use_manual_clock(0);
    pf::scrap_reset();
    pf::set_text_antialiasing(false);
    pf::open_port(port, surface, kWidth, kHeight);
    pf::set_port(&port);
    pf::erase_rect(port.port_rect);
}

void Instance::TearDown() {
    if (we) WEDispose(we);
    pf::close_port(port);
    cairo_surface_destroy(surface);
    pf::set_text_antialiasing(true);
}

void Instance::make(const pf::Rect& view, int16_t features) {
    pf::set_port(&port);
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    LongRect r = WERectToLongRect(view);
    ASSERT_EQ(WENew(r, r, features, false, &we), pf::noErr);
}

void Instance::set_text(const std::string& text) {
    select(0, WEI(we).textLength);
    ASSERT_EQ(WEInsert(text.data(), int32_t(text.size()), nullptr, nullptr, we), pf::noErr);
    WEClearUndo(we);
}

void Instance::type(const std::string& keys) {
    for (unsigned char c : keys) WEKey(c, 0, we);
}

void Instance::set_face(int32_t start, int32_t end, uint8_t face) {
    select(start, end);
    WETextStyle ts;
    ts.tsFace = face;
    ASSERT_EQ(WESetStyle(weDoFace | weDoReplaceFace, ts, we), pf::noErr);
}

pf::Point Instance::point_of(int32_t offset, int dv) {
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(offset, p, &height, we);
    return pf::Point{int16_t(p.v + height / 2 + dv), int16_t(p.h)};
}

uint32_t Instance::pixel(int x, int y) {
    pf::surface_flush(port);
    return pf::surface_row(port, y)[x] & 0xFFFFFF;
}

std::vector<uint32_t> Instance::all_pixels() {
    std::vector<uint32_t> all;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) all.push_back(pixel(x, y));
    return all;
}

bool Instance::save_png(const std::string& name) {
    pf::surface_flush(port);
    return cairo_surface_write_to_png(surface, screenshot_path(name).c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace wetest
