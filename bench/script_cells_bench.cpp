// Drawing a 1280 x 800 window of text cells set in the double-byte scripts'
// fonts (Japanese, Simplified Chinese, Korean) against the same window of
// Roman text cells of about the same width.
#include <benchmark/benchmark.h>

#include <string>

#include "formatted_window.h"
#include "platform/text/scripts.h"

namespace {

using bench_window::kColumns;
using bench_window::kHeight;
using bench_window::kRows;
using bench_window::kWidth;
using bench_window::Window;

constexpr int16_t kCjkScripts[] = {pf::kScriptJapanese, pf::kScriptSimpChinese, pf::kScriptKorean};
const char* const kCjkTexts[] = {"東京都の売上", "北京市的销售", "서울시의 매출"};

std::string in_script(const char* utf8, int16_t script) {
    std::string bytes;
    pf::utf8_to_script(utf8, script, bytes);
    return bytes;
}

void roman_cell(uint8_t* cell, int, int) { store_u16(cell + kFmtFont, 1); }
void cjk_cell(uint8_t* cell, int, int column) {
    store_u16(cell + kFmtFont, uint16_t(pf::script_font(kCjkScripts[column % 3])));
}

void fill(Window& window, bool cjk) {
    for (int16_t row = 0; row < kRows; ++row)
        for (int16_t column = 0; column < kColumns; ++column) {
            const std::string n = std::to_string(row);
            if (cjk)
                window.put(row, column, kCellText, in_script(kCjkTexts[column % 3], kCjkScripts[column % 3]) + n,
                           cjk_cell);
            else
                window.put(row, column, kCellText, "Sales of city " + n, roman_cell);
        }
}

void BM_RedrawScreenOfRomanCells(benchmark::State& state) {
    Window window(false);
    fill(window, false);
    const pf::Rect all{0, 0, kHeight - 15, kWidth - 15};
    window.draw(all);
    for (auto _ : state) window.draw(all);
}

void BM_RedrawScreenOfCjkCells(benchmark::State& state) {
    Window window(false);
    fill(window, true);
    const pf::Rect all{0, 0, kHeight - 15, kWidth - 15};
    window.draw(all);  // glyphs of two-byte characters are measured on first use
    for (auto _ : state) window.draw(all);
}

BENCHMARK(BM_RedrawScreenOfRomanCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawScreenOfCjkCells)->Unit(benchmark::kMillisecond);

}  // namespace
