// Text interchange: a CSV of 10^6 cells (25,000 rows of 40) read and written,
// in process and through the converter program; CSVs of as many words, in
// Latin letters and in five other scripts, read, beside the floor of such a
// read (the Latin words' fields cut and stored as text cells, unread); a SYLK the
// program wrote of 10^6 numbers read; 10^6 numbers the program made
// written as CSV beside the same numbers read from CSV and written again (in
// process, and as a native document, CSV and SYLK through the converter), and a
// SYLK of 10^5 formulas read, recalculated and written; the same conversions
// timed in the peer spreadsheets when they are installed.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/converter_runs.h"
#include "files/document_saving.h"
#include "files/entry_cells.h"
#include "files/field_cursor.h"
#include "files/sylk.h"
#include "files/text_encoding.h"
#include "files/text_exchange.h"
#include "formula/recalc.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"
#include "tests/files/sample_workbook.h"

namespace {

constexpr int kCsvRows = 25000;
constexpr int kCsvColumns = 40;
constexpr int kSylkRows = 2500;  // 40 formulas to a row

// A folder of the run's own, removed at the end.
struct BenchFolder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quorvin_text_bench_" + std::to_string(getpid()));
    BenchFolder() { std::filesystem::create_directories(path); }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
} bench_folder;

const std::filesystem::path& folder() { return bench_folder.path; }

std::string path_of(const std::string& name) { return (folder() / name).string(); }

void write_file(const std::string& name, const std::string& bytes) {
    std::ofstream(path_of(name), std::ios::binary | std::ios::trunc) << bytes;
}

// Integers, decimals, texts and prices, column by column.
const std::string& csv_source() {
    static const std::string text = [] {
        std::string out;
        out.reserve(8 << 20);
        for (int r = 0; r < kCsvRows; ++r) {
            for (int c = 0; c < kCsvColumns; ++c) {
                if (c) out += ',';
                switch (c % 4) {
                case 0: out += std::to_string(r * kCsvColumns + c); break;
                case 1: out += std::to_string((r * 7919 + c * 104729) % 1000003 / 1000003.0); break;
                case 2: out += "text" + std::to_string(r % 100); break;
                default: out += std::to_string(r % 1000) + "." + std::to_string(10 + c); break;
                }
            }
            out += "\r\n";
        }
        write_file("cells.csv", out);
        return out;
    }();
    return text;
}

// Words of one script a cell, the scripts taking turns cell by cell: Latin
// letters alone, or Japanese, Chinese, Korean, Greek and Cyrillic.
std::string words_csv(bool other_scripts) {
    static const char* const kLatin[] = {"apple", "river", "stone", "garden", "window",
                                         "yellow", "market", "silver", "forest", "bridge"};
    static const char* const kOther[][10] = {
        {"東京", "日本語", "さくら", "ひらがな", "カタカナ", "山田", "学校", "電車", "新聞", "会社"},
        {"北京", "中国", "语言", "电脑", "学习", "朋友", "银行", "飞机", "医生", "铁路"},
        {"서울", "한국어", "사랑", "학교", "친구", "컴퓨터", "음악", "바다", "하늘", "도서관"},
        {"Αθήνα", "λέξη", "θάλασσα", "ήλιος", "βιβλίο", "σπίτι", "νερό", "φίλος", "δρόμος", "ουρανός"},
        {"Москва", "слово", "книга", "город", "вода", "друг", "солнце", "море", "дорога", "небо"},
    };
    std::string out;
    out.reserve(10 << 20);
    for (int r = 0; r < kCsvRows; ++r) {
        for (int c = 0; c < kCsvColumns; ++c) {
            if (c) out += ',';
            const int word = (r * 7 + c * 3) % 10;
            out += other_scripts ? kOther[(r * kCsvColumns + c) % 5][word] : kLatin[word];
        }
        out += "\r\n";
    }
    return out;
}

const std::string& latin_words_csv() {
    static const std::string text = [] {
        std::string csv = words_csv(false);
        write_file("latin_words.csv", csv);
        return csv;
    }();
    return text;
}

const std::string& other_scripts_csv() {
    static const std::string text = [] {
        std::string csv = words_csv(true);
        write_file("other_scripts.csv", csv);
        return csv;
    }();
    return text;
}

// A first column of numbers and 39 formulas to each row, each on its left
// neighbour and the row above.
const std::string& sylk_source() {
    static const std::string text = [] {
        std::string out = "ID;PBENCH\r\n";
        for (int r = 1; r <= kSylkRows; ++r) {
            out += "C;Y" + std::to_string(r) + ";X1;K" + std::to_string(r) + "\r\n";
            for (int c = 2; c <= kCsvColumns + 1; ++c)
                out += "C;X" + std::to_string(c) + ";K0;E" + (r > 1 ? "RC[-1]+R[-1]C*0.5" : "RC[-1]*2") + "\r\n";
        }
        out += "E\r\n";
        write_file("formulas.slk", out);
        return out;
    }();
    return text;
}

struct Session {
    sample::Session session;
    Session() {
        pf::resources_install(resource_bundle_data(), resource_bundle_size());
        Init_Quorvin_Globals();
    }
};

MemoryRef read_layer(const std::string& bytes, bool sylk) {
    MemoryRef layer = sample::new_layer(sample::new_workbook());
    int16_t error = sylk ? read_sylk_bytes(bytes, layer) : read_text_bytes(bytes, kCommaSeparator, layer, nullptr);
    return error ? nullptr : layer;
}

void dispose(MemoryRef layer) { DisposeWorkSheet(GetWorkSheet(layer)); }

void time_csv_read(benchmark::State& state, const std::string& csv) {
    Session s;
    for (auto _ : state) {
        MemoryRef layer = read_layer(csv, false);
        if (!layer) state.SkipWithError("read failed");
        state.PauseTiming();
        if (layer) dispose(layer);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCsvRows * kCsvColumns);
}

void BM_CsvRead(benchmark::State& state) { time_csv_read(state, csv_source()); }

void BM_CsvReadLatinWords(benchmark::State& state) { time_csv_read(state, latin_words_csv()); }

void BM_CsvReadOtherScripts(benchmark::State& state) { time_csv_read(state, other_scripts_csv()); }

// The floor of a CSV read: the Latin words' fields cut and stored as text
// cells of the default format, in row records made as the reader makes them,
// nothing read of what they hold.
void BM_CsvReadFloor(benchmark::State& state) {
    Session s;
    const std::string& csv = latin_words_csv();
    uint8_t header[kCellHeaderSize];
    GetDefaultFormat(header);
    for (auto _ : state) {
        MemoryRef layer = sample::new_layer(sample::new_workbook());
        CellBlockRows rows;
        rows.reserve(csv.size() * 4);
        std::string cells, field;
        FieldCursor cursor{csv, 0, ',', true};
        for (int16_t row = 0; !cursor.at_end(); ++row) {
            cells.clear();
            for (int16_t column = 0;; ++column) {
                cursor.next_field(field);
                append_cell_record(cells, CellRecordParts{.header = header,
                                                          .column = column,
                                                          .type = kCellText,
                                                          .label_note = {},
                                                          .label_length = 0,
                                                          .number = {},
                                                          .body = field,
                                                          .tail = {},
                                                          .tail_is_style = false,
                                                          .result_type = kResultNone});
                if (cursor.at_line_end()) break;
                ++cursor.pos;
            }
            rows.append(row, cells);
            cursor.skip_line_end();
        }
        rows.install(layer);
        state.PauseTiming();
        dispose(layer);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCsvRows * kCsvColumns);
}

void BM_CsvWrite(benchmark::State& state) {
    Session s;
    MemoryRef layer = read_layer(csv_source(), false);
    for (auto _ : state) benchmark::DoNotOptimize(layer_text(layer, FieldSource::formulas, kCommaSeparator));
    state.SetItemsProcessed(state.iterations() * kCsvRows * kCsvColumns);
}

// Integers, fractions and prices with no typed text, as results and the
// numbers of a native document are.
MemoryRef made_numbers_layer() {
    MemoryRef layer = sample::new_layer(sample::new_workbook());
    sample::Bytes store;
    store.reserve(size_t(kCsvRows) * kCsvColumns * 40);
    for (int r = 0; r < kCsvRows; ++r) {
        const size_t row = store.size();
        store.resize(row + kRowHeaderSize);
        for (int c = 0; c < kCsvColumns; ++c) {
            double value = c % 3 == 0   ? double(r * kCsvColumns + c)
                           : c % 3 == 1 ? (r * 7919 + c * 104729) % 1000003 / 1000003.0
                                        : r % 1000 + (10 + c) / 100.0;
            sample::Bytes cell = sample::constant_cell(int16_t(c), value, "");
            store.insert(store.end(), cell.begin(), cell.end());
        }
        _SetRowID_(store.data() + row, int16_t(r));
        _SetRowLength_(store.data() + row, uint32_t(store.size() - row));
    }
    sample::install_cells(layer, store);
    return layer;
}

void time_csv_writes(benchmark::State& state, MemoryRef layer) {
    for (auto _ : state) benchmark::DoNotOptimize(encode_text_file(layer_text(layer, FieldSource::formulas, kCommaSeparator)));
    state.SetItemsProcessed(state.iterations() * kCsvRows * kCsvColumns);
    dispose(layer);
}

void BM_CsvWriteMadeNumbers(benchmark::State& state) {
    Session s;
    time_csv_writes(state, made_numbers_layer());
}

// The same numbers once written as CSV and read back, so typed.
void BM_CsvWriteReadNumbers(benchmark::State& state) {
    Session s;
    MemoryRef made = made_numbers_layer();
    const std::string csv = encode_text_file(layer_text(made, FieldSource::formulas, kCommaSeparator));
    dispose(made);
    MemoryRef layer = read_layer(csv, false);
    if (!layer) {
        state.SkipWithError("read failed");
        return;
    }
    time_csv_writes(state, layer);
}

// 10^6 numbers in a SYLK the program wrote, its table of number formats with
// them, read.
void BM_SylkReadWritten(benchmark::State& state) {
    Session s;
    MemoryRef made = made_numbers_layer();
    const std::string sylk = sylk_layer_text(made);
    dispose(made);
    for (auto _ : state) {
        MemoryRef layer = read_layer(sylk, true);
        if (!layer) {
            state.SkipWithError("read failed");
            break;
        }
        state.PauseTiming();
        dispose(layer);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCsvRows * kCsvColumns);
}

void BM_SylkReadRecalculateWrite(benchmark::State& state) {
    Session s;
    const std::string& sylk = sylk_source();
    for (auto _ : state) {
        MemoryRef layer = read_layer(sylk, true);
        if (!layer) {
            state.SkipWithError("read failed");
            break;
        }
        ResetWorkbookCalc(GetWorkSheet(layer));
        calculate_workbook(GetWorkSheet(layer), kNoTickLimit);
        benchmark::DoNotOptimize(sylk_layer_text(layer));
        state.PauseTiming();
        dispose(layer);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kSylkRows * kCsvColumns);
}

// ---- Whole conversions by program --------------------------------------------

bool on_path(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

bool run(const std::string& command) {
    int status = std::system((command + " >/dev/null 2>&1 </dev/null").c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// One conversion per iteration: `command` of the input file into an output.
void time_program(benchmark::State& state, const std::string& tool, const std::string& command) {
    if (!on_path(tool) && !std::filesystem::exists(tool)) {
        state.SkipWithError((tool + " is not installed").c_str());
        return;
    }
    for (auto _ : state)
        if (!run(command)) state.SkipWithError(("failed: " + command).c_str());
}

void BM_ConverterCsv(benchmark::State& state) {
    csv_source();
    time_program(state, converter_path(), quoted(converter_path()) + " " + quoted(path_of("cells.csv")) + " " +
                                              quoted(path_of("ours.csv")));
}

// Peak memory of reading the 10^6 cells of the CSV, or of the same cells as
// SYLK, beyond what the converter takes for one cell, by cell.
void BM_ConverterPeakMemory(benchmark::State& state) {
    const bool sylk = state.range(0) != 0;
    write_file("one.csv", "1\r\n");
    csv_source();
    const std::string in = sylk ? "cells.slk" : "cells.csv";
    if (sylk && !run(quoted(converter_path()) + " " + quoted(path_of("cells.csv")) + " " + quoted(path_of(in)))) {
        state.SkipWithError("no SYLK to read");
        return;
    }
    long peak = 0, base = 0;
    for (auto _ : state) {
        peak = converter_peak_bytes(path_of(in), path_of("peak.csv"));
        base = converter_peak_bytes(path_of("one.csv"), path_of("peak_one.csv"));
    }
    if (!peak || !base) state.SkipWithError("the converter failed");
    state.counters["bytes_per_cell"] = double(peak - base) / (kCsvRows * kCsvColumns);
}

// The made numbers as a native document, and that document converted to CSV
// and to SYLK: the same numbers as text, to be read back. False when any fails.
bool made_numbers_files() {
    static const bool made = [] {
        Session s;
        MemoryRef layer = made_numbers_layer();
        pf::FileSpec spec;
        pf::file_spec_from_path(path_of("made.qrv"), spec);
        const bool saved = save_workbook_file(layer, kWholeWorkbook, spec, kFormatNative, false, true) == 0;
        dispose(layer);
        auto convert_to = [](const std::string& out) {
            return run(quoted(converter_path()) + " " + quoted(path_of("made.qrv")) + " " + quoted(path_of(out)));
        };
        return saved && convert_to("made.csv") && convert_to("made.slk");
    }();
    return made;
}

void time_converter_to_csv(benchmark::State& state, const std::string& in) {
    if (!made_numbers_files()) {
        state.SkipWithError("the made numbers could not be saved");
        return;
    }
    time_program(state, converter_path(),
                 quoted(converter_path()) + " " + quoted(path_of(in)) + " " + quoted(path_of("made_out.csv")));
}

void BM_ConverterMadeNumbers(benchmark::State& state) { time_converter_to_csv(state, "made.qrv"); }

void BM_ConverterReadNumbers(benchmark::State& state) { time_converter_to_csv(state, "made.csv"); }

void BM_ConverterReadSylkNumbers(benchmark::State& state) { time_converter_to_csv(state, "made.slk"); }

void BM_ConverterSylk(benchmark::State& state) {
    sylk_source();
    time_program(state, converter_path(), quoted(converter_path()) + " " + quoted(path_of("formulas.slk")) + " " +
                                              quoted(path_of("ours.slk")));
}

void BM_ConverterOtherScripts(benchmark::State& state) {
    other_scripts_csv();
    time_program(state, converter_path(), quoted(converter_path()) + " " + quoted(path_of("other_scripts.csv")) + " " +
                                              quoted(path_of("ours_scripts.csv")));
}

std::string office(const std::string& in, const std::string& filter) {
    return "soffice -env:UserInstallation=file://" + path_of("office-profile") + " --headless --norestore --convert-to " +
           quoted(filter) + " --outdir " + quoted(path_of("office")) + " " + quoted(path_of(in));
}

void BM_OfficeCsv(benchmark::State& state) {
    csv_source();
    time_program(state, "soffice", office("cells.csv", "csv"));
}

void BM_OfficeSylk(benchmark::State& state) {
    sylk_source();
    time_program(state, "soffice", office("formulas.slk", "slk"));
}

void BM_GnumericCsv(benchmark::State& state) {
    csv_source();
    time_program(state, "ssconvert", "ssconvert " + quoted(path_of("cells.csv")) + " " + quoted(path_of("gnumeric.csv")));
}

void BM_OfficeOtherScripts(benchmark::State& state) {
    other_scripts_csv();
    time_program(state, "soffice", office("other_scripts.csv", "csv"));
}

void BM_GnumericOtherScripts(benchmark::State& state) {
    other_scripts_csv();
    time_program(state, "ssconvert",
                 "ssconvert " + quoted(path_of("other_scripts.csv")) + " " + quoted(path_of("gnumeric_scripts.csv")));
}

void BM_GnumericSylk(benchmark::State& state) {
    sylk_source();
    time_program(state, "ssconvert",
                 "ssconvert " + quoted(path_of("formulas.slk")) + " " + quoted(path_of("gnumeric.slk")));
}

BENCHMARK(BM_CsvRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvReadLatinWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvReadOtherScripts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvReadFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvWriteMadeNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvWriteReadNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SylkReadWritten)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SylkReadRecalculateWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConverterCsv)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConverterMadeNumbers)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConverterReadNumbers)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConverterReadSylkNumbers)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConverterSylk)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConverterOtherScripts)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConverterPeakMemory)->ArgName("sylk")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
// The peers start a whole program for each conversion (the office one warms
// its profile on the first): a few runs each.
BENCHMARK(BM_OfficeCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OfficeSylk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GnumericCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GnumericSylk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OfficeOtherScripts)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GnumericOtherScripts)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
