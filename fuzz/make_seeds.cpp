// fuzz_seeds FOLDER: writes a small seed corpus for every harness into
// FOLDER/<harness name>, built by the same code the tests build their inputs with.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "charts/chart_record.h"
#include "files/document_saving.h"
#include "fuzz/fuzz_drawing.h"
#include "fuzz/fuzz_support.h"
#include "platform/appleevents/ae_flatten.h"
#include "platform/appleevents/object_text.h"
#include "platform/draw/draw.h"
#include "platform/draw/picture.h"
#include "platform/draw/text.h"
#include "platform/resources/resource_file.h"
#include "ui/app_prefs.h"
#include "tests/excel/excel_samples.h"
#include "tests/files/document_builder.h"
#include "tests/files/older_document_builder.h"
#include "tests/objects/png_sample.h"

namespace {

using Seeds = std::vector<std::vector<uint8_t>>;

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

const char* const kFormulas[] = {
    "=1+2*3", "=-(A1)^2", "=50%+(1+1)%", "=1.5E-3+.5", "=A1*2+SUM($B$1:B3)", "=$A$1+A$1+$A1+A1",
    "=SUM(A:C)+SUM(2:5)", "=2:A1+1:2:B2:C3", "=\"text, (with) 'quotes'\"&\"\"", "=A1<>B1", "=IF(A1>0,\"p\",\"n\")",
    "=VLOOKUP(A1,$B$1:$C$100,2)", "=INDEX(A1:C3,2,2)", "=LOOKUP(4,A1:A1)", "=ROW(B7)+COLUMNS(A1:C1)",
    "=DDB(100,1,1E10,1E10)", "=MID(\"abc\",2)&LEFT(\"abc\",1)", "=DATE(99,12,31)", "=SUM(1,,2)", "=AUHT32000", "=Total*2+2:Total+$1:2:A1",
};

Seeds document_seeds() {
    Seeds seeds;
    MemoryRef book = sample::rich_workbook(2);
    pf::FileSpec spec;
    const std::string path = fuzz_folder() + "/Rich.qrv";
    pf::file_spec_from_path(path, spec);
    if (save_workbook_file(find_SpreadSheet_item(book, 0), kWholeWorkbook, spec, kFormatNative, false, false) == 0)
        seeds.push_back(file_bytes(path));
    fuzz_close_workbook(book);
    for (int version : {768, 771, 1024, 1025, 1026, 1027, 1028, 1029})
        seeds.push_back(built::document(version, {built::simple_layer("A"), built::simple_layer("B")}));
    return seeds;
}

// Layer blocks alone: the harness puts the document header before them.
Seeds older_layer_seeds() {
    older::Layer empty;
    return Seeds{older::layer_block(older::full_layer()), older::layer_block(empty)};
}

Seeds formula_text_seeds() {
    Seeds seeds;
    for (const char* formula : kFormulas) seeds.emplace_back(formula, formula + std::strlen(formula));
    return seeds;
}

Seeds formula_token_seeds() {
    Seeds seeds;
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    for (const char* formula : kFormulas) {
        std::vector<uint8_t> stored;
        if (fuzz_parse_formula(reinterpret_cast<const uint8_t*>(formula), std::strlen(formula), CellPoint{5, 4}, layer,
                               stored))
            seeds.push_back(stored);
    }
    fuzz_close_workbook(workbook);
    return seeds;
}

Seeds picture_seeds() {
    fuzz_use_image_port();
    pf::PicHandle pic = pf::open_picture(pf::Rect{0, 0, 48, 64});
    pf::frame_oval({4, 6, 30, 40});
    pf::pen_size(3, 2);
    pf::move_to(60, 2);
    pf::line_to(-20, 300);
    pf::line(5, -4);
    pf::pen_normal();
    pf::invert_rect({10, 10, 20, 50});
    pf::erase_round_rect({30, 2, 46, 30}, 6, 4);
    pf::move_to(2, 40);
    pf::draw_text("Seed");
    pf::close_picture();
    Seeds seeds{pic->data};
    pf::kill_picture(pic);
    return seeds;
}

Seeds resource_sidecar_seeds() {
    const std::string path = fuzz_write_file("Preferences", nullptr, 0);
    pf::FileSpec spec;
    pf::file_spec_from_path(path, spec);
    int16_t ref = 0;
    pf::resource_file_create(spec, pf::four_cc("QRVA"), pf::four_cc("Qref"));
    if (pf::resource_file_open(spec, pf::kReadWritePermission, ref) != pf::noErr) return {};
    std::vector<uint8_t> alias;
    if (pf::new_alias(spec, alias) == pf::noErr)
        pf::resource_file_add(ref, pf::four_cc("alis"), 128, nullptr, alias.data(), alias.size());
    pf::resource_file_add(ref, pf::four_cc("STR "), 5, reinterpret_cast<const unsigned char*>("\x04Name"), "\x02hi", 3);
    pf::resource_file_close(ref);
    return Seeds{file_bytes(pf::resource_sidecar_path(path))};
}

Seeds prefs_seeds() {
    AppPrefs prefs;
    ParameterFactorySettings(&prefs);
    prefs.items[0] = pf::FileSpec{pf::kSystemVolume, 0x01020304, "\x05" "Sales"};
    std::vector<uint8_t> bytes(kPrefsFileSize);
    prefs_to_file_bytes(prefs, bytes.data());
    return Seeds{bytes};
}

Seeds text_seeds() {
    // The first byte chooses the separator: odd for commas, even for tabs.
    const std::string texts[] = {
        std::string("\x01") + "Item,Price,When\r\n\"Nut, brass\",1.25,3/4/99\r\n\"say \"\"hi\"\"\",12.5%,=SUM(B2:B2)\r\n",
        std::string("\x00", 1) + "\xEF\xBB\xBFName\tValue\nCaf\xC3\xA9\t-1.5E3\n'0012\t10:30 PM\n",
        std::string("\x01") + "\"multi\nline\",,\r\r\n1,2,3\n",
    };
    Seeds seeds;
    for (const std::string& text : texts) seeds.emplace_back(text.begin(), text.end());
    return seeds;
}

Seeds sylk_seeds() {
    const std::string texts[] = {
        "ID;PQRV\r\nP;PGeneral\r\nP;P0.00\r\nF;P1;FF2R;X1;Y1\r\nC;Y1;X1;K1.5\r\nC;X2;K\"a;;b\"\r\n"
        "C;Y2;X1;K3;ER1C1*2\r\nC;X2;K#DIV/0!;E1/0\r\nW;N1;2 3;12\r\nNN;NTotal;ER1C1:R2C1\r\nE\r\n",
        "ID;P\r\nO;V4\r\nC;Y1;X1;K36526\r\nF;SDM4;Y1;X1\r\nB;Y1;X1\r\nE\r\n",
    };
    Seeds seeds;
    for (const std::string& text : texts) seeds.emplace_back(text.begin(), text.end());
    return seeds;
}

// Files of this program and of others: layer references, pictures of
// currencies and separators, dates the calendar cannot show, texts of
// other scripts.
Seeds sylk_round_trip_seeds() {
    Seeds seeds = sylk_seeds();
    const std::string texts[] = {
        "ID;PQUORVIN;N;E;B0\r\nP;PGeneral\r\nP;P\xE2\x82\xAC#,##0.00\r\nP;P#,##0.00\r\nP;Pm/d/yy\r\n"
        "F;P1;FG2D;U2 32;Y1;X1\r\nC;K2.5\r\nF;P2;FF2D;X2\r\nC;K1256.4\r\nF;P3;FG0G;X3\r\nC;K100000\r\n"
        "C;Y2;X1;K105;E'Q1'!RC[-1]+RC[-1]\r\nC;X2;K7;EFY24!R1C1\r\nC;X3;K3;E'It''s'!R1C1*3\r\nE\r\n",
        "ID;PWXL;N;E\r\nP;PGeneral\r\nP;P[$-411]ge.m.d\r\nP;FMS Gothic;M220\r\nF;P1;FG0G;SM4;Y1;X1\r\n"
        "C;K12\r\nC;X2;K\"\xE6\x97\xA5\xE6\x9C\xAC\"\r\nC;X3;K4;E'\xE6\x97\xA5'!R1C1\r\nE\r\n",
    };
    for (const std::string& text : texts) seeds.emplace_back(text.begin(), text.end());
    return seeds;
}

// A bare workbook stream, one whose sheets and cells lie out of order, and
// globals alone.
Seeds excel_seeds() {
    std::vector<uint8_t> stream = biff::rich_stream();
    std::vector<uint8_t> reordered = biff::reordered_stream();
    std::vector<uint8_t> globals = biff::workbook(true, {}, {});
    return Seeds{stream, reordered, globals};
}

// The records after FILEPASS of an encrypted workbook, in clear: its sheets'
// offsets count the BOF and FILEPASS the harness puts before them.
Seeds excel_encrypted_seeds() {
    const biff::Record filepass = biff::default_password_filepass();
    const std::vector<uint8_t> stream =
        biff::workbook(true, {filepass}, {{"One", {biff::number(0, 0, 42), biff::rk(1, 1, (7u << 2) | 2)}}});
    const size_t after_filepass = 4 + 16 + 4 + filepass.body.size();
    return Seeds{std::vector<uint8_t>(stream.begin() + long(after_filepass), stream.end())};
}

Seeds png_seeds() { return Seeds{png_sample::halves()}; }

// Stored drawing objects: shapes, a polygon, a text box, a picture and a chart.
Seeds objects_seeds() {
    std::vector<uint8_t> every;
    for (const std::vector<uint8_t>& object :
         {built::drawing_object("rect", {}, {}, {}, false), built::drawing_object("poly", {}, {0, 3, 0, 10, 0, 20, 1, 0}, {}, false),
          built::drawing_object("text", {}, {0, 3, 'a', 'b', 'c', 0, 0}, {}, false),
          built::drawing_object("PICT", std::vector<uint8_t>(40, 7), {}, {}, false),
          built::drawing_object("pie ", {}, {}, {}, true)})
        every.insert(every.end(), object.begin(), object.end());
    return Seeds{every, built::chart_object()};
}

// A get event for a cell of a named document, flattened.
// A stored chart part: the fixed fields and two series formats, and one
// without series formats.
Seeds chart_seeds() {
    std::vector<uint8_t> chart(kStoredChartSize + 4 + 2 * kChartUserDataSize);
    for (size_t i = 0; i < kStoredChartSize; ++i) chart[i] = uint8_t(i * 13 + 1);
    chart[kStoredChartSize + 3] = 2 * kChartUserDataSize;
    std::vector<uint8_t> plain(kStoredChartSize + 4, 0);
    return {chart, plain};
}

Seeds apple_event_seeds() {
    pf::AEDesc self, spec;
    pf::ae_address_of_self(self);
    pf::AppleEvent event;
    pf::ae_create_apple_event(pf::four_cc("core"), pf::four_cc("getd"), self, 1, 0, event);
    std::string error;
    pf::parse_object_text("value of range A1:B2 of layer 1 of document \"Budget\"", spec, error);
    pf::ae_put_param_desc(event, pf::kKeyDirectObject, spec);
    std::vector<uint8_t> bytes;
    pf::ae_flatten(event, bytes);
    return Seeds{bytes};
}

// Three get requests written one after the other on a connection, each with
// its length first.
Seeds scripting_requests_seeds() {
    std::vector<uint8_t> connection;
    for (const std::vector<uint8_t>& flat : apple_event_seeds()) {
        pf::AEDesc event;
        if (pf::ae_unflatten(flat.data(), flat.size(), event) != pf::noErr) continue;
        const std::vector<uint8_t> message = pf::ae_flat_message(event);
        for (int i = 0; i < 3; ++i) connection.insert(connection.end(), message.begin(), message.end());
    }
    return Seeds{connection};
}

// One line per harness: its name (fuzz/<name>_fuzz.cpp) and its seeds.
const std::pair<const char*, std::function<Seeds()>> kHarnessSeeds[] = {
    {"document", document_seeds},
    {"older_layer", older_layer_seeds},
    {"formula_text", formula_text_seeds},
    {"formula_tokens", formula_token_seeds},
    {"picture", picture_seeds},
    {"resource_sidecar", resource_sidecar_seeds},
    {"prefs", prefs_seeds},
    {"text", text_seeds},
    {"sylk", sylk_seeds},
    {"sylk_round_trip", sylk_round_trip_seeds},
    {"excel", excel_seeds},
    {"excel_encrypted", excel_encrypted_seeds},
    {"png", png_seeds},
    {"objects", objects_seeds},
    {"apple_event", apple_event_seeds},
    {"chart", chart_seeds},
    {"scripting_requests", scripting_requests_seeds},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    fuzz_start_application();
    for (const auto& [name, make] : kHarnessSeeds) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / name;
        std::filesystem::remove_all(folder);  // no seed of an earlier build is left
        std::filesystem::create_directories(folder);
        int number = 0;
        for (const std::vector<uint8_t>& seed : make()) {
            std::ofstream out(folder / ("seed-" + std::to_string(++number)), std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(seed.data()), std::streamsize(seed.size()));
        }
        fuzz_empty_folder();
    }
    return 0;
}
