// Small Excel workbooks made in the test: BIFF records byte by byte, the
// globals and sheets of a BIFF8 or BIFF5 workbook with the BOUNDSHEET offsets
// filled in, and the OLE2 compound file around them (written by libgsf).
#pragma once

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace biff {

// The body of one record.
struct Body {
    std::vector<uint8_t> v;
    Body& u8(uint8_t x) { v.push_back(x); return *this; }
    Body& u16(uint16_t x) { return u8(uint8_t(x)).u8(uint8_t(x >> 8)); }
    Body& u32(uint32_t x) { return u16(uint16_t(x)).u16(uint16_t(x >> 16)); }
    Body& f64(double x) {
        uint64_t bits;
        std::memcpy(&bits, &x, 8);
        return u32(uint32_t(bits)).u32(uint32_t(bits >> 32));
    }
    Body& raw(const std::string& bytes) { v.insert(v.end(), bytes.begin(), bytes.end()); return *this; }
    Body& raw(const std::vector<uint8_t>& bytes) { v.insert(v.end(), bytes.begin(), bytes.end()); return *this; }
    // BIFF8 strings: compressed (Latin-1) or UTF-16 when `wide`.
    Body& text8(const std::string& latin1, bool short_length = false) {
        short_length ? u8(uint8_t(latin1.size())) : u16(uint16_t(latin1.size()));
        return u8(0).raw(latin1);
    }
    Body& wide8(const std::u16string& text, bool short_length = false) {
        short_length ? u8(uint8_t(text.size())) : u16(uint16_t(text.size()));
        u8(1);
        for (char16_t c : text) u16(c);
        return *this;
    }
    // BIFF5 byte strings.
    Body& text5(const std::string& bytes, bool short_length = false) {
        short_length ? u8(uint8_t(bytes.size())) : u16(uint16_t(bytes.size()));
        return raw(bytes);
    }
    Body& cell(uint16_t row, uint16_t column, uint16_t xf = 0) { return u16(row).u16(column).u16(xf); }
};

struct Record {
    uint16_t type;
    std::vector<uint8_t> body;
};

inline void append(std::vector<uint8_t>& out, const Record& record) {
    out.push_back(uint8_t(record.type));
    out.push_back(uint8_t(record.type >> 8));
    out.push_back(uint8_t(record.body.size()));
    out.push_back(uint8_t(record.body.size() >> 8));
    out.insert(out.end(), record.body.begin(), record.body.end());
}

struct Sheet {
    std::string name;
    std::vector<Record> records;
    uint8_t kind = 0;  // 0 worksheet, 2 chart
    std::u16string wide_name = {};  // a BIFF8 name in UTF-16, in place of `name`
};

constexpr uint16_t kBof = 0x0809, kEof = 0x000A, kBoundSheet = 0x0085, kSst = 0x00FC, kContinue = 0x003C;

inline Record bof(bool biff8, uint16_t kind) {
    return {kBof, Body().u16(biff8 ? 0x0600 : 0x0500).u16(kind).u16(0).u16(0).u32(0).u32(0).v};
}

// A workbook stream: the globals records given, a BOUNDSHEET per sheet, then
// the sheets, each between its BOF and EOF; in the reverse of their order in
// the workbook when `reversed`.
inline std::vector<uint8_t> workbook(bool biff8, const std::vector<Record>& globals, const std::vector<Sheet>& sheets,
                                     bool reversed = false) {
    std::vector<uint8_t> out;
    append(out, bof(biff8, 0x0005));
    for (const Record& record : globals) append(out, record);
    std::vector<size_t> offset_at;
    for (const Sheet& sheet : sheets) {
        Body body;
        body.u32(0).u8(0).u8(sheet.kind);
        if (!biff8) body.text5(sheet.name, true);
        else if (sheet.wide_name.empty()) body.text8(sheet.name, true);
        else body.wide8(sheet.wide_name, true);
        offset_at.push_back(out.size() + 4);
        append(out, {kBoundSheet, body.v});
    }
    append(out, {kEof, {}});
    for (size_t n = 0; n < sheets.size(); ++n) {
        const size_t i = reversed ? sheets.size() - 1 - n : n;
        uint32_t offset = uint32_t(out.size());
        std::memcpy(out.data() + offset_at[i], &offset, 4);
        append(out, bof(biff8, sheets[i].kind == 2 ? 0x0020 : 0x0010));
        for (const Record& record : sheets[i].records) append(out, record);
        append(out, {kEof, {}});
    }
    return out;
}

// A storage of a compound file, beside the workbook, with streams of its own.
struct Storage {
    std::string name;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> streams;
};

inline void write_stream(GsfOutfile* parent, const std::string& name, const std::vector<uint8_t>& bytes) {
    GsfOutput* child = gsf_outfile_new_child(parent, name.c_str(), FALSE);
    gsf_output_write(child, bytes.size(), bytes.data());
    gsf_output_close(child);
    g_object_unref(child);
}

// The stream in an OLE2 compound file under `name`, after the storages given.
inline std::vector<uint8_t> compound_file(const std::vector<uint8_t>& stream, const char* name = "Workbook",
                                          const std::vector<Storage>& storages = {}) {
    gsf_init();
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* container = gsf_outfile_msole_new(memory);
    for (const Storage& storage : storages) {
        GsfOutfile* folder = GSF_OUTFILE(gsf_outfile_new_child(container, storage.name.c_str(), TRUE));
        for (const auto& [stream_name, bytes] : storage.streams) write_stream(folder, stream_name, bytes);
        gsf_output_close(GSF_OUTPUT(folder));
        g_object_unref(folder);
    }
    write_stream(container, name, stream);
    gsf_output_close(GSF_OUTPUT(container));
    g_object_unref(container);
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
    std::vector<uint8_t> file(bytes, bytes + gsf_output_size(memory));
    g_object_unref(memory);  // closed with the container
    return file;
}

// Cell records.
inline Record number(uint16_t row, uint16_t column, double value, uint16_t xf = 0) {
    return {0x0203, Body().cell(row, column, xf).f64(value).v};
}
inline Record rk(uint16_t row, uint16_t column, uint32_t rk_value, uint16_t xf = 0) {
    return {0x027E, Body().cell(row, column, xf).u32(rk_value).v};
}
inline Record label_sst(uint16_t row, uint16_t column, uint32_t index, uint16_t xf = 0) {
    return {0x00FD, Body().cell(row, column, xf).u32(index).v};
}
inline Record boolerr(uint16_t row, uint16_t column, uint8_t value, bool error) {
    return {0x0205, Body().cell(row, column).u8(value).u8(error ? 1 : 0).v};
}
// A ROW record: `height` in twips (bit 15 marks the default height), set by
// hand unless `by_hand` is false (then it follows the fonts), cells in
// columns [first, last).
inline Record row(uint16_t row, uint16_t height, uint16_t first = 0, uint16_t last = 0, bool by_hand = true) {
    uint16_t flags = by_hand ? 0x0140 : 0x0100;
    return {0x0208, Body().u16(row).u16(first).u16(last).u16(height).u16(0).u16(0).u16(flags).u16(0).v};
}
// A formula with a number result (or a marked result: kind 0 text, 1 boolean, 2 error).
inline Record formula(uint16_t row, uint16_t column, const std::vector<uint8_t>& tokens, double result) {
    Body body;
    body.cell(row, column).f64(result).u16(0).u32(0);
    return {0x0006, body.u16(uint16_t(tokens.size())).raw(tokens).v};
}
inline Record formula_marked(uint16_t row, uint16_t column, const std::vector<uint8_t>& tokens, uint8_t kind,
                             uint8_t value) {
    Body body;
    body.cell(row, column).u8(kind).u8(0).u8(value).u8(0).u8(0).u8(0).u16(0xFFFF).u16(0).u32(0);
    return {0x0006, body.u16(uint16_t(tokens.size())).raw(tokens).v};
}

// The internal SUPBOOK of a workbook of `sheets` sheets and an EXTERNSHEET
// whose one entry is its first sheet, then a NAME (BIFF8) of the range the
// tokens give through that entry.
inline std::vector<Record> name_of_range(uint16_t sheets, const std::string& text, const std::vector<uint8_t>& range) {
    return {{0x01AE, Body().u16(sheets).u16(0x0401).v},
            {0x0017, Body().u16(1).u16(0).u16(0).u16(0).v},
            {0x0018, Body().u16(0).u8(0).u8(uint8_t(text.size())).u16(uint16_t(range.size())).u16(0).u16(0).u32(0).u8(0)
                         .raw(text).raw(range).v}};
}

// Formula tokens.
struct Tokens {
    Body b;
    Tokens& num(double x) { b.u8(0x1F).f64(x); return *this; }
    Tokens& integer(uint16_t x) { b.u8(0x1E).u16(x); return *this; }
    Tokens& str(const std::string& s) { b.u8(0x17).u8(uint8_t(s.size())).u8(0).raw(s); return *this; }
    Tokens& op(uint8_t code) { b.u8(code); return *this; }
    // BIFF8 references; relative rows and columns unless absolute.
    Tokens& ref(uint16_t row, uint16_t column, bool absolute = false) {
        b.u8(0x24).u16(row).u16(uint16_t(column | (absolute ? 0 : 0xC000)));
        return *this;
    }
    Tokens& area(uint16_t r1, uint16_t c1, uint16_t r2, uint16_t c2) {
        b.u8(0x25).u16(r1).u16(r2).u16(uint16_t(c1 | 0xC000)).u16(uint16_t(c2 | 0xC000));
        return *this;
    }
    Tokens& func(uint16_t index) { b.u8(0x21).u16(index); return *this; }
    Tokens& funcvar(uint16_t index, uint8_t count) { b.u8(0x22).u8(count).u16(index); return *this; }
    std::vector<uint8_t> v() const { return b.v; }
};

}  // namespace biff
