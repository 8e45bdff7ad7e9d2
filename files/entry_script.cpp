// Texts whose style runs set them in several scripts.
#include "files/entry_script.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "files/text_encoding.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "files/entry_cells.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/cell_letters.h"
#include "model/text_runs.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "platform/text/text.h"

namespace {

// Two runs that set their text alike, whatever their places.
bool same_style(const uint8_t* a, const uint8_t* b) {
    return std::memcmp(a + kRunFont, b + kRunFont, kRunEntrySize - kRunFont) == 0;
}

}  // namespace

namespace {

std::string_view chars(const uint8_t* bytes, int32_t length) {
    return std::string_view(reinterpret_cast<const char*>(bytes), size_t(std::max(length, 0)));
}

std::string_view text_of(const uint8_t* cell) { return chars(_formulaPtr_(cell), _formulaLength_(cell)); }
std::string_view runs_of(const uint8_t* cell) { return chars(_stylePtr_(cell), _styleLength_(cell)); }

}  // namespace

int16_t value_script(const uint8_t* cell, int16_t font) {
    const int16_t own = pf::font_to_script(font);
    if (_cellType_(cell) == kCellFormula) return text_result_script(_resultType_(cell), own);
    if (_cellType_(cell) != kCellText || _styleLength_(cell) <= 0) return own;
    return runs_script(text_of(cell), runs_of(cell), font);
}

std::string cell_field_utf8(const uint8_t* cell, std::string_view field, int16_t font) {
    std::string utf8;
    append_cell_field_utf8(cell, field, font, utf8);
    return utf8;
}

void append_cell_field_utf8(const uint8_t* cell, std::string_view field, int16_t font, std::string& out) {
    const bool styled = _cellType_(cell) == kCellText && _styleLength_(cell) > 0 && field == text_of(cell);
    if (styled) {
        out += styled_text_utf8(field, runs_of(cell), font);
        return;
    }
    const bool result = _cellType_(cell) == kCellFormula && _resultType_(cell) > 0 &&
                        field == chars(_resultPtr_(cell), _resultLength_(cell));
    if (!result || !has_high_bytes(field)) append_cell_text_utf8(field, font, out);
    else pf::append_script_utf8(field, value_script(cell, font), out);
}

bool spell_entry_in_one_script(std::string_view text, std::string_view runs, int16_t font, OneScriptEntry& out) {
    const pf::ScriptText whole = pf::spell_in_a_script(styled_text_utf8(text, runs, font));
    if (whole.unmapped > 0) return false;
    const int16_t target_font = pf::script_font(whole.script);
    OneScriptEntry spelled;
    spelled.script = whole.script;
    std::string respelled_run;
    int16_t count = 0;
    spelled.runs.assign(2, '\0');
    for (const TextRun& run : text_runs(runs, text.size())) {
        const std::string utf8 =
            pf::script_to_utf8(text.substr(run.start, run.end - run.start), run_script(run, font));
        if (!pf::utf8_to_script(utf8, whole.script, respelled_run) && !utf8.empty()) return false;
        std::string entry(reinterpret_cast<const char*>(run.entry), kRunEntrySize);
        auto* bytes = reinterpret_cast<uint8_t*>(entry.data());
        if (pf::font_to_script(run_font(run, font)) != whole.script) store_i16(bytes + kRunFont, target_font);
        store_i32(bytes + kRunStart, int32_t(spelled.text.size()));
        spelled.text += respelled_run;
        const auto* last = reinterpret_cast<const uint8_t*>(spelled.runs.data()) + spelled.runs.size() - kRunEntrySize;
        if (count > 0 && same_style(last, bytes)) continue;
        spelled.runs += entry;
        ++count;
    }
    if (count == 0) spelled.text = whole.bytes;
    else store_i16(reinterpret_cast<uint8_t*>(spelled.runs.data()), count);
    out = std::move(spelled);
    return true;
}

namespace {

// A part of a text and the script it is spelled in.
struct ScriptPiece {
    int16_t script;
    std::string utf8;
};

bool ascii_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class PieceList {
public:
    PieceList(const pf::ScriptLetters& letters, int16_t script) : letters_(letters), current_(script) {}

    // A stretch of spaces or a word of ASCII: in the current script.
    void add_neutral(size_t first, size_t last) { add(current_, letters_.text(first, last)); }

    // A word in the script that spells it, the current one first; a word
    // none spells whole, character by character.
    void add_word(size_t first, size_t last, ScriptedText& out) {
        const int16_t script = letters_.script_spelling(first, last, current_);
        if (script >= 0) add(current_ = script, letters_.text(first, last));
        else add_characters(first, last, out);
    }

    std::vector<ScriptPiece>& pieces() { return pieces_; }

private:
    void add(int16_t script, std::string_view utf8) {
        if (pieces_.empty() || pieces_.back().script != script) pieces_.push_back(ScriptPiece{script, {}});
        pieces_.back().utf8 += utf8;
    }

    void add_characters(size_t first, size_t last, ScriptedText& out) {
        for (size_t k = first; k < last; ++k) {
            const int16_t script = letters_.well_formed(k) ? letters_.script_spelling(k, k + 1, current_) : -1;
            if (script >= 0) {
                add(current_ = script, letters_.text(k, k + 1));
                continue;
            }
            const char32_t c = letters_.character(k);
            add(current_, "?");
            ++out.unspelled;
            if (out.unspelled_characters.find(c) == std::u32string::npos) out.unspelled_characters.push_back(c);
        }
    }

    const pf::ScriptLetters& letters_;
    int16_t current_;
    std::vector<ScriptPiece> pieces_;
};

// The text in pieces: words (stretches between ASCII spaces) in the scripts
// that spell them, spaces and ASCII words in the script before them.
std::vector<ScriptPiece> script_pieces(const pf::ScriptLetters& letters, int16_t script, ScriptedText& out) {
    PieceList list(letters, script);
    for (size_t k = 0; k < letters.size();) {
        const size_t first = k;
        const bool space = ascii_space(letters.text(k, k + 1)[0]);
        bool ascii = true;
        for (; k < letters.size() && ascii_space(letters.text(k, k + 1)[0]) == space; ++k)
            ascii = ascii && letters.character(k) < 0x80 && letters.well_formed(k);
        if (space || ascii) list.add_neutral(first, k);
        else list.add_word(first, k, out);
    }
    return std::move(list.pieces());
}

std::string run_entry(int32_t start, int16_t font, const RunLook& look) {
    std::string entry(kRunEntrySize, '\0');
    auto* bytes = reinterpret_cast<uint8_t*>(entry.data());
    store_i32(bytes + kRunStart, start);
    store_i16(bytes + kRunFont, font);
    bytes[kRunFace] = look.face;
    store_i16(bytes + kRunFontSize, look.size);
    for (int k = 0; k < 3; ++k) store_u16(bytes + kRunColour + 2 * k, look.colour[k]);
    return entry;
}

}  // namespace

ScriptedText spell_text_in_scripts(std::string_view utf8, const RunLook& look) {
    ScriptedText out;
    const int16_t own = pf::font_to_script(look.font);
    out.script = pf::append_spelled_by_tables(utf8, own, out.text);
    if (out.script >= 0) return out;
    const pf::ScriptLetters letters(utf8);
    out.script = letters.append_in_script_spelling(0, letters.size(), own, out.text);
    if (out.script >= 0) return out;
    std::vector<ScriptPiece> pieces = script_pieces(letters, own, out);
    out.script = pieces.size() == 1 ? pieces[0].script : -1;
    if (pieces.size() > 1) {
        out.runs.assign(2, '\0');
        store_i16(reinterpret_cast<uint8_t*>(out.runs.data()), int16_t(pieces.size()));
    }
    std::string bytes;
    for (const ScriptPiece& piece : pieces) {
        if (!pf::utf8_to_script(piece.utf8, piece.script, bytes))
            bytes = pf::spell_in_script(piece.utf8, piece.script).bytes;
        if (pieces.size() > 1)
            out.runs += run_entry(int32_t(out.text.size()),
                                  piece.script == own ? look.font : pf::script_font(piece.script), look);
        out.text += bytes;
    }
    return out;
}

std::string run_table_of(const ScriptedText& text, const RunLook& look) {
    if (!text.runs.empty()) return text.runs;
    std::string table(2, '\0');
    store_i16(reinterpret_cast<uint8_t*>(table.data()), 1);
    const bool own = text.script == pf::font_to_script(look.font);
    return table + run_entry(0, own ? look.font : pf::script_font(text.script), look);
}

void set_runs_look(std::string& runs, const RunLook& look) {
    const int16_t own = pf::font_to_script(look.font);
    const int16_t count = runs.size() >= 2 ? load_i16(reinterpret_cast<const uint8_t*>(runs.data())) : 0;
    for (int16_t i = 0; i < count && size_t(2 + (i + 1) * kRunEntrySize) <= runs.size(); ++i) {
        auto* entry = reinterpret_cast<uint8_t*>(runs.data()) + 2 + size_t(i) * kRunEntrySize;
        const int16_t script = pf::font_to_script(load_i16(entry + kRunFont));
        runs.replace(size_t(entry - reinterpret_cast<uint8_t*>(runs.data())) + kRunFont, kRunEntrySize - kRunFont,
                     run_entry(0, script == own ? look.font : pf::script_font(script), look), kRunFont,
                     kRunEntrySize - kRunFont);
    }
}

RunLook field_look(const uint8_t* header, MemoryRef layer) {
    RunLook look;
    look.font = format_font_in(header, layer);
    look.size = header[kFmtSize] > 200 ? Get_Default_Size(layer) : header[kFmtSize];
    return look;
}

const uint8_t* spell_field_for_cell(std::string& field, std::string& runs, const uint8_t* header, uint8_t* spelled,
                                    MemoryRef layer, int32_t& unspelled, std::u32string* characters) {
    if (!has_high_bytes(field)) {
        runs.clear();
        return header;
    }
    return spell_field_for_cell(field, runs, header, field_look(header, layer), spelled, unspelled, characters);
}

const uint8_t* spell_field_for_cell(std::string& field, std::string& runs, const uint8_t* header, const RunLook& look,
                                    uint8_t* spelled, int32_t& unspelled, std::u32string* characters) {
    runs.clear();
    if (!has_high_bytes(field)) return header;
    ScriptedText text = spell_text_in_scripts(field, look);
    unspelled += text.unspelled;
    if (characters)
        for (char32_t c : text.unspelled_characters)
            if (characters->find(c) == std::u32string::npos) characters->push_back(c);
    field = std::move(text.text);
    if (!text.runs.empty()) runs = std::move(text.runs);
    if (text.script < 0 || text.script == pf::font_to_script(look.font)) return header;
    std::memcpy(spelled, header, kCellHeaderSize);
    SetFormatByte(spelled, kFmtFont, pf::script_font(text.script), false);
    return spelled;
}
