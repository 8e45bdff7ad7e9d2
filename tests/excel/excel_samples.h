// A BIFF8 workbook stream with something of every record the filter reads,
// for the damage tests and the fuzz seeds.
#pragma once

#include <algorithm>

#include "tests/excel/biff_builder.h"

namespace biff {

inline std::vector<uint8_t> rich_stream() {
    Body head;
    head.u32(3).u32(3).text8("first").u16(6).u8(0).raw("sec");
    Body rest;
    rest.u8(1).u16('o').u16(0x00FC).u16('d');
    rest.wide8(u"dritte");
    Record font{0x0031, Body().u16(200).u16(2).u16(0x7FFF).u16(700).u16(0).u8(1).u8(0).u8(0).u8(0).text8("Times", true).v};
    auto xf = [](uint16_t format) {
        return Record{0x00E0, Body().u16(0).u16(format).u16(1).u8(0x0A).u8(0).u8(0).u8(0).u32(0x1122).u32(0).u16(0).v};
    };
    Record format{0x041E, Body().u16(164).text8("yyyy-mm-dd").v};
    Record supbook{0x01AE, Body().u16(2).u16(0x0401).v};
    Record externsheet{0x0017, Body().u16(1).u16(0).u16(1).u16(1).v};
    std::vector<uint8_t> range = Body().u8(0x3B).u16(0).u16(0).u16(1).u16(0).u16(0).v;
    Record name{0x0018, Body().u16(0).u8(0).u8(4).u16(uint16_t(range.size())).u16(0).u16(0).u32(0).u8(0).raw("Area")
                            .raw(range).v};
    std::vector<uint8_t> shared = Body().u8(0x2C).u16(0).u16(uint16_t(0xC000 | 0xFF)).u8(0x1E).u16(10).u8(0x05).v;
    std::vector<uint8_t> exp = Body().u8(0x01).u16(0).u16(1).v;
    std::vector<uint8_t> three_d = Body().u8(0x3A).u16(0).u16(0).u16(0xC000).v;
    Sheet first{"One", {
        biff::number(0, 0, 1.25, 1), biff::rk(1, 0, (5u << 2) | 2), biff::label_sst(2, 0, 2),
        {0x00BD, Body().u16(3).u16(0).u16(0).u32((7u << 2) | 2).u16(2).u32(0x3FF00000).u16(1).v},
        biff::boolerr(4, 0, 1, false), biff::boolerr(5, 0, 0x2A, true),
        biff::formula(0, 1, exp, 12.5), {0x04BC, Body().u16(0).u16(1).u8(1).u8(1).u16(0).u16(uint16_t(shared.size()))
                                             .raw(shared).v},
        biff::formula(1, 1, exp, 50),
        biff::formula(2, 1, Tokens().area(0, 0, 1, 0).funcvar(4, 1).ref(0, 0).op(0x08).str("x").op(0x0B).v(), 0),
        biff::formula_marked(3, 1, Tokens().str("t").v(), 0, 0), {0x0207, Body().text8("t").v},
        biff::formula(4, 1, three_d, 3),
        {0x007D, Body().u16(0).u16(3).u16(3000).u16(0).u16(0).u16(0).v},
        {0x0208, Body().u16(2).u16(0).u16(2).u16(400).u16(0).u16(0).u32(0).v},
        {0x00E5, Body().u16(1).u16(6).u16(7).u16(0).u16(1).v},
        {0x0012, Body().u16(1).v},
    }};
    Sheet second{"Two", {biff::number(0, 0, 3), {0x0204, Body().cell(1, 0).wide8(u"\u00e9t\u00e9").v}}};
    return biff::workbook(true, {{0x0042, Body().u16(1200).v}, {0x0022, Body().u16(0).v}, font, font, font, font, font,
                                 format, xf(0), xf(164), xf(14), supbook, externsheet, name,
                                 {biff::kSst, head.v}, {biff::kContinue, rest.v}},
                          {first, second});
}

// A sheet of `rows` rows by 12 columns as spreadsheets write large ones: row r
// has eight numbers in A:H, then I = A+B*C, J = SUM(A:H), K = IF(I>J,I-J,J-I)
// and L = I plus L of the row above; rows come in blocks of 32, their ROW
// records (15 points high) ahead of their cells.
inline std::vector<uint8_t> formula_grid(int rows) {
    constexpr int kRowBlock = 32, kNumberColumns = 8, kColumns = 12;
    Sheet sheet{"Data", {}};
    sheet.records.reserve(size_t(rows) * (1 + kColumns));
    for (uint16_t r = 0; r < rows; ++r) {
        if (r % kRowBlock == 0)
            for (int b = r; b < std::min(rows, r + kRowBlock); ++b)
                sheet.records.push_back(row(uint16_t(b), 300, 0, kColumns));
        for (uint16_t c = 0; c < kNumberColumns; ++c) sheet.records.push_back(number(r, c, r * 0.5 + c));
        sheet.records.push_back(formula(r, 8, Tokens().ref(r, 0).ref(r, 1).ref(r, 2).op(0x05).op(0x03).v(), 0));
        sheet.records.push_back(formula(r, 9, Tokens().area(r, 0, r, 7).funcvar(4, 1).v(), 0));
        sheet.records.push_back(formula(
            r, 10,
            Tokens().ref(r, 8).ref(r, 9).op(0x0D).ref(r, 8).ref(r, 9).op(0x04).ref(r, 9).ref(r, 8).op(0x04).funcvar(1, 3).v(),
            0));
        Tokens chain = Tokens().ref(r, 8);
        if (r > 0) chain.ref(uint16_t(r - 1), 11).op(0x03);
        sheet.records.push_back(formula(r, 11, chain.v(), 0));
    }
    return compound_file(workbook(true, {}, {sheet}));
}

// A sheet of `rows` rows of numbers as spreadsheets write them, column by
// column in turn: whole numbers and prices in cents as RK records, fractions
// as NUMBER records.
inline std::vector<uint8_t> number_grid(int rows, int columns) {
    Sheet sheet{"Numbers", {}};
    sheet.records.reserve(size_t(rows) * size_t(columns));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const uint16_t row = uint16_t(r), column = uint16_t(c);
            switch (c % 4) {
            case 0: sheet.records.push_back(rk(row, column, uint32_t(r * columns + c) << 2 | 2)); break;
            case 1: sheet.records.push_back(number(row, column, (r * 7919 + c * 104729) % 1000003 / 1000003.0)); break;
            case 2: sheet.records.push_back(rk(row, column, uint32_t(r % 100) << 2 | 2)); break;
            default: sheet.records.push_back(rk(row, column, uint32_t(r % 1000 * 100 + 10 + c) << 2 | 3)); break;
            }
        }
    return compound_file(workbook(true, {}, {sheet}));
}

// Sheets in reverse order, their cells written out of order and twice, a
// shared string continued past its record, a formula whose text result goes
// on in a CONTINUE record, a run of numbers and a merged range over cells.
inline std::vector<uint8_t> reordered_stream() {
    const std::string long_text(30, 'w');
    Body sst;
    sst.u32(2).u32(2).text8("short").u16(uint16_t(long_text.size())).u8(0).raw(long_text.substr(0, 10));
    Record strings{kSst, sst.v};
    Record strings_rest{kContinue, Body().u8(0).raw(long_text.substr(10)).v};
    std::vector<uint8_t> text_formula = Tokens().str("t").v();
    Sheet first{"Later", {
        number(9, 3, 4.5), label_sst(2, 1, 1), rk(0, 0, (3u << 2) | 2), number(9, 3, 6.5),
        formula_marked(5, 0, text_formula, 0, 0),
        {0x0207, Body().u16(uint16_t(long_text.size())).u8(0).raw(long_text.substr(0, 12)).v},
        {kContinue, Body().u8(0).raw(long_text.substr(12)).v},
        {0x00BD, Body().u16(1).u16(2).u16(0).u32((7u << 2) | 2).u16(0).u32((8u << 2) | 2).u16(3).v},
        label_sst(1, 0, 0), {0x0201, Body().cell(0, 1).v},
        {0x00E5, Body().u16(1).u16(0).u16(1).u16(0).u16(2).v},
    }};
    Sheet second{"Earlier", {rk(3, 3, (1u << 2) | 2), number(0, 0, 2), label_sst(0, 1, 1)}};
    return workbook(true, {strings, strings_rest}, {first, second}, true);
}

// The FILEPASS record another spreadsheet wrote for a workbook whose
// structure it protected without a password (standard RC4 under the default
// password).
inline const uint8_t kOtherProgramsSalt[16] = {0x4e, 0x20, 0x1b, 0x9e, 0xda, 0xbc, 0x82, 0x2c,
                                               0xdb, 0x44, 0x4b, 0x6f, 0x76, 0x42, 0x3b, 0x2e};
inline const char kOtherProgramsVerifier[] =
    "\x78\xb6\x2a\x0b\x8b\x82\xf3\xd2\x6a\xd4\x85\xd8\x2f\x61\x0b\x9f"
    "\x53\xc8\x6e\x45\x77\x2e\x56\x7f\x1e\xb4\x40\x4e\x21\x6d\x50\x78";

inline Record standard_filepass(const uint8_t* salt, const std::string& verifier_and_hash) {
    Body body;
    body.u16(1).u16(1).u16(1);
    body.raw(std::string(reinterpret_cast<const char*>(salt), 16)).raw(verifier_and_hash);
    return {0x002F, body.v};
}

inline Record default_password_filepass() {
    return standard_filepass(kOtherProgramsSalt, std::string(kOtherProgramsVerifier, 32));
}

}  // namespace biff
