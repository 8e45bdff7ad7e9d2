// R1C1 expressions to formula text, and stored formulas to R1C1.
#include "files/sylk_formula.h"

#include <cstring>

#include "core/number_text.h"
#include "files/formula_walk.h"
#include "files/sylk_format.h"
#include "model/compiled_formula.h"
#include "formula/function_table.h"
#include "formula/reference_text.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/workbook.h"

namespace {

constexpr std::string_view kOffSheet = "Offsheet";

// ---- Reading ---------------------------------------------------------------

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_operator(uint8_t c) {
    switch (c) {
    case '+': case '-': case '*': case '/': case '=': case '<': case '>': case '^': case '&': case '%':
    case 0xAD: case 0xB2: case 0xB3: case 0xD6:
        return true;
    default:
        return false;
    }
}

bool ends_run(uint8_t c) {
    return is_operator(c) || c == '(' || c == ')' || c == '!' || c == ',' || c == '"' || c == '\'' || c == '[' ||
           c == ']';
}

struct ExpressionReader {
    std::string_view text;
    size_t pos = 0;
    CellPoint at;
    MemoryRef layer;
    std::string out;
    bool unheld_layer = false;  // a layer name the workbook read into lacks

    bool at_end() const { return pos >= text.size(); }
    char peek(size_t ahead = 0) const { return pos + ahead < text.size() ? text[pos + ahead] : '\0'; }
};

// One part of a reference after its "R" or "C": the 1-based line it names.
// False when the part is malformed.
bool read_part(ExpressionReader& r, int32_t own, int32_t* line, bool* absolute) {
    if (r.peek() == '[') {
        size_t close = r.text.find(']', r.pos);
        int32_t offset = 0;
        if (close == std::string_view::npos || !read_integer(r.text.substr(r.pos + 1, close - r.pos - 1), &offset))
            return false;
        r.pos = close + 1;
        *line = own + offset;
        *absolute = false;
        return true;
    }
    size_t start = r.pos;
    while (is_digit(r.peek())) ++r.pos;
    *absolute = r.pos > start;
    if (!*absolute) {
        *line = own;
        return true;
    }
    return read_integer(r.text.substr(start, r.pos - start), line);
}

// Letters, digits, "." and "_", and the characters beyond ASCII but for the
// operators among them (the comparisons and the division sign).
bool is_name_char(char c) {
    return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '_' ||
           (uint8_t(c) >= 0x80 && !is_operator(uint8_t(c)));
}

// An "R" that begins a reference: not inside a name such as SEARCH.
bool starts_reference(const ExpressionReader& r) {
    char next = r.peek(1);
    if (r.pos > 0 && is_name_char(r.text[r.pos - 1])) return false;
    return r.peek() == 'R' && (next == 'C' || next == '[' || is_digit(next) || next == '+' || next == '-');
}

// "R" row "C" column at the reader; false (nothing read) when it is none.
bool read_reference(ExpressionReader& r) {
    const size_t start = r.pos;
    ++r.pos;
    int32_t row = 0, column = 0;
    bool row_absolute = false, column_absolute = false;
    if (r.peek() == '+' || r.peek() == '-') {  // a signed offset without brackets
        r.pos = start;
        return false;
    }
    if (!read_part(r, r.at.v + 1, &row, &row_absolute) || r.peek() != 'C') {
        r.pos = start;
        return false;
    }
    ++r.pos;
    if (!read_part(r, r.at.h + 1, &column, &column_absolute) || is_name_char(r.peek()) || r.peek() == '(' ||
        r.peek() == '!') {
        r.pos = start;
        return false;
    }
    if (column_absolute) r.out.push_back('$');
    unsigned char letters[8];
    NumberToColumn(letters, int16_t(column >= 1 && column <= kLastCell + 1 ? column - 1 : kLastCell + 1));
    r.out.append(reinterpret_cast<const char*>(letters + 1), letters[0]);
    if (row_absolute) r.out.push_back('$');
    r.out.append(std::to_string(row));
    return true;
}

// `raw` as it stands in the expression, escapes undecoded.
void put_layer_name(ExpressionReader& r, std::string_view raw) {
    const std::string name = unescape_value(raw, true);
    MemoryRef workbook = r.layer ? GetWorkSheet(r.layer) : nullptr;
    unsigned char pname[256];
    pname[0] = uint8_t(name.size() > 255 ? 255 : name.size());
    std::memcpy(pname + 1, name.data(), pname[0]);
    int16_t index = workbook ? FindSheetName(pname, workbook) : -1;
    if (index >= 0) {
        r.out.append(std::to_string(index + 1));
    } else {
        r.out.append(name);
        r.unheld_layer = true;
    }
    r.out.push_back(':');
}

void put_document(ExpressionReader& r, std::string_view raw) {
    r.out.push_back('\'');
    r.out.append(unescape_value(raw, true));
    r.out.append("'!");
}

// A layer part: "[document]" first, then one layer or two joined by ":".
void put_layers(ExpressionReader& r, std::string_view name) {
    if (!name.empty() && name[0] == '[') {
        size_t close = name.find(']');
        if (close != std::string_view::npos) {
            put_document(r, name.substr(1, close - 1));
            name = name.substr(close + 1);
        }
    }
    if (name.empty()) return;
    size_t colon = name.find(':');
    if (colon != std::string_view::npos) {
        put_layer_name(r, name.substr(0, colon));
        name = name.substr(colon + 1);
    }
    put_layer_name(r, name);
}

void copy_quoted(ExpressionReader& r) {
    size_t close = r.text.find('"', r.pos + 1);
    size_t end = close == std::string_view::npos ? r.text.size() : close + 1;
    r.out.append(unescape_value(r.text.substr(r.pos, end - r.pos), false));
    r.pos = end;
}

// The text from the reader's character up to `closer`, the reader moved past
// it; false (the rest copied as it stands) when nothing closes it.
bool enclosed(ExpressionReader& r, char closer, std::string_view* inside) {
    size_t close = r.text.find(closer, r.pos + 1);
    if (close == std::string_view::npos) {
        r.out.append(r.text.substr(r.pos));
        r.pos = r.text.size();
        return false;
    }
    *inside = r.text.substr(r.pos + 1, close - r.pos - 1);
    r.pos = close + 1;
    return true;
}

// A layer part between single quotes, a doubled quote standing for one.
void read_quoted_layer(ExpressionReader& r) {
    size_t close = r.pos + 1;
    std::string name;
    for (; close < r.text.size(); ++close) {
        if (r.text[close] != '\'') {
            name.push_back(r.text[close]);
        } else if (close + 1 < r.text.size() && r.text[close + 1] == '\'') {
            name.push_back('\'');
            ++close;
        } else {
            break;
        }
    }
    if (close >= r.text.size()) {
        r.out.append(r.text.substr(r.pos));
        r.pos = r.text.size();
        return;
    }
    r.pos = close + 1;
    put_layers(r, name);
    if (r.peek() == '!') ++r.pos;
}

void read_document(ExpressionReader& r) {
    std::string_view path;
    if (enclosed(r, ']', &path)) put_document(r, path);
}

// A run of plain characters: a layer name when it ends at "!", else its
// first character.
void read_run(ExpressionReader& r) {
    size_t end = r.pos;
    while (end < r.text.size() && !ends_run(uint8_t(r.text[end]))) ++end;
    if (end > r.pos && end < r.text.size() && r.text[end] == '!') {
        put_layers(r, r.text.substr(r.pos, end - r.pos));
        r.pos = end + 1;
        return;
    }
    uint8_t c = uint8_t(r.text[r.pos++]);
    // A decimal point between digits is written as the system's.
    if (c == '.' && r.pos >= 2 && is_digit(r.text[r.pos - 2]) && is_digit(r.peek())) c = decimalPt;
    if (c >= 32) r.out.push_back(char(c));
}

// ---- Writing ---------------------------------------------------------------

void put_part(std::string& out, char letter, int32_t stored, bool absolute) {
    out.push_back(letter);
    if (absolute) {
        out.append(std::to_string(stored + 1));
    } else if (stored != 0) {
        out.push_back('[');
        if (stored > 0) out.push_back('+');
        out.append(std::to_string(stored));
        out.push_back(']');
    }
}

void put_corner(std::string& out, uint8_t marker, int16_t row, int16_t column) {
    const bool known = is_position_marker(marker);
    put_part(out, 'R', row, !known || marker_first_absolute(marker));
    put_part(out, 'C', column, !known || marker_second_absolute(marker));
}

// A layer by its name; one the file cannot name (outside the workbook, or
// without a name) as the layer no workbook has, so that its cells keep their
// values when read. Only the layers of a linked document come here so: the
// writer keeps the formulas that name such layers from the own workbook as
// values.
std::string layer_name_of(int32_t index, MemoryRef workbook) {
    unsigned char name[32];
    name[0] = 0;
    if (index >= 0 && index < kMaxLayers && workbook && index < num_SpreadSheets(workbook))
        GetSheetName(name, find_SpreadSheet_item(workbook, index));
    if (name[0] == 0) return std::string(kOffSheet);
    return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
}

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A cell in either notation: a column's letters then digits (Q1, FY24), or
// R1C1 forms (R1C1, RC, R2).
bool reads_as_cell(std::string_view name) {
    constexpr size_t kMostColumnLetters = 4;
    size_t letters = 0;
    while (letters < name.size() && is_letter(name[letters])) ++letters;
    size_t digits = letters;
    while (digits < name.size() && is_digit(name[digits])) ++digits;
    if (letters > 0 && letters <= kMostColumnLetters && digits > letters && digits == name.size()) return true;
    // R1C1 forms: "R", digits, "C", digits.
    size_t at = 0;
    if (at < name.size() && (name[at] == 'R' || name[at] == 'r')) {
        ++at;
        while (at < name.size() && is_digit(name[at])) ++at;
    }
    if (at < name.size() && (name[at] == 'C' || name[at] == 'c')) {
        ++at;
        while (at < name.size() && is_digit(name[at])) ++at;
    }
    return at > 0 && at == name.size();
}

bool reads_as_function(std::string_view name) {
    if (name.empty() || name.size() > 31) return false;
    unsigned char upper[32];
    upper[0] = uint8_t(name.size());
    for (size_t i = 0; i < name.size(); ++i)
        upper[i + 1] = uint8_t(name[i] >= 'a' && name[i] <= 'z' ? name[i] - 'a' + 'A' : name[i]);
    return function_number_of(upper) != 0;
}

// Whether a reader takes the name before "!" as a layer only between single
// quotes: a name with a character other than a letter, a digit, "." or "_",
// one that begins with neither a letter nor "_", and one that reads as a
// cell or a function.
bool needs_quotes(std::string_view name) {
    if (name.empty() || !(is_letter(name[0]) || name[0] == '_' || uint8_t(name[0]) >= 0x80)) return true;
    for (char c : name)
        if (!is_name_char(c)) return true;
    return reads_as_cell(name) || reads_as_function(name);
}

// The name between single quotes, a quote in it doubled.
void put_quoted(std::string& out, std::string_view names) {
    out.push_back('\'');
    for (char c : names) {
        if (c == '\'') out.push_back('\'');
        out.push_back(c);
    }
    out.push_back('\'');
}

// The layer part: nothing for the formula's own layer, else one name or two
// joined by ":", quoted where a reader would take a name for something else
// (or a quote was opened before a document's path). A linked document's
// layers are always named.
void put_layers_of(std::string& out, const StoredReference& ref, MemoryRef layer, bool of_link, bool quote_open) {
    int32_t first = 0, last = 0;
    reference_layers(ref, layer ? GetSheetID(layer) : 0, &first, &last);
    if (!of_link && layer && first == last && first == GetSheetID(layer)) return;
    MemoryRef workbook = layer ? GetWorkSheet(layer) : nullptr;
    const std::string first_name = layer_name_of(first, workbook);
    std::string names = first_name;
    bool quoted = needs_quotes(first_name);
    if (last != first) {
        const std::string last_name = layer_name_of(last, workbook);
        names += ':' + last_name;
        quoted = quoted || needs_quotes(last_name);
    }
    if (quote_open) {
        out.append(names);
        out.push_back('\'');
    } else if (quoted) {
        put_quoted(out, names);
    } else {
        out.append(names);
    }
    out.push_back('!');
}

// `of_link` after a linked document's path; `quote_open` when that path,
// holding a space, opened a quote before it.
void put_reference(std::string& out, const StoredReference& ref, MemoryRef layer, bool of_link, bool quote_open) {
    if (ref.three_d)
        put_layers_of(out, ref, layer, of_link, quote_open);
    else if (quote_open)
        out.push_back('\'');
    if (ref.kind == ReferenceKind::name) {
        out.append(reinterpret_cast<const char*>(ref.name + 1), ref.name[0]);
        return;
    }
    put_corner(out, ref.markers[0], ref.top, ref.left);
    // A range keeps both corners, even of one cell: functions that take a
    // range refuse a single reference.
    if (ref.kind == ReferenceKind::range) {
        out.push_back(':');
        put_corner(out, ref.markers[1], ref.bottom, ref.right);
    }
}

// Answers whether a quote was opened.
bool put_link(std::string& out, int16_t link, MemoryRef layer) {
    unsigned char path[256];
    path[0] = 0;
    if (layer) GetFileStr(link, path, layer);
    std::string_view text(reinterpret_cast<const char*>(path + 1), path[0]);
    if (text.find(' ') != std::string_view::npos) out.push_back('\'');
    out.push_back('[');
    out.append(text);
    out.push_back(']');
    return text.find(' ') != std::string_view::npos;
}

}  // namespace

std::string sylk_expression_to_formula(std::string_view expression, CellPoint at, MemoryRef layer, bool* unheld_layer) {
    ExpressionReader r{expression, 0, at, layer, "="};
    if (r.peek() == '=') ++r.pos;
    while (!r.at_end()) {
        const char c = r.peek();
        if (c == char(kEscape)) {
            const auto* p = reinterpret_cast<const uint8_t*>(r.text.data() + r.pos);
            r.out.push_back(char(EscFilter(&p, reinterpret_cast<const uint8_t*>(r.text.data() + r.text.size()))));
            r.pos = size_t(reinterpret_cast<const char*>(p) - r.text.data()) + 1;
        } else if (c == '!') {
            ++r.pos;
        } else if (c == '"') {
            copy_quoted(r);
        } else if (c == '\'') {
            read_quoted_layer(r);
        } else if (starts_reference(r) && read_reference(r)) {
        } else if (c == '[') {
            read_document(r);
        } else if (c == ';' && r.peek(1) == ';') {
            // Some spreadsheets separate arguments by a (doubled) semicolon.
            r.out.push_back(char(listSep));
            r.pos += 2;
        } else if (c == ',') {
            r.out.push_back(char(listSep));
            ++r.pos;
        } else if (ends_run(uint8_t(c))) {
            r.out.push_back(c);
            ++r.pos;
        } else {
            read_run(r);
        }
    }
    if (unheld_layer) *unheld_layer = r.unheld_layer;
    return r.out;
}

namespace {

// The own layer, or another layer of the workbook with a name.
bool own_or_named(int32_t index, void* context) {
    MemoryRef layer = static_cast<MemoryRef>(context);
    if (index == GetSheetID(layer)) return true;
    MemoryRef workbook = GetWorkSheet(layer);
    if (!workbook || index < 0 || index >= num_SpreadSheets(workbook)) return false;
    unsigned char name[32];
    GetSheetName(name, find_SpreadSheet_item(workbook, index));
    return name[0] != 0;
}

}  // namespace

bool sylk_names_every_layer(const uint8_t* formula, int32_t length, MemoryRef layer) {
    return !layer || formula_layers_kept(formula, length, GetSheetID(layer), own_or_named, layer);
}

void formula_to_sylk(const uint8_t* formula, int32_t length, CellPoint, MemoryRef layer, std::string& out) {
    bool quote_open = false, of_link = false;
    walk_formula(formula, length, [&](const FormulaToken& token) {
        switch (token.kind) {
        case FormulaTokenKind::small_int: out.append(std::to_string(token.value)); break;
        case FormulaTokenKind::function: {
            const unsigned char* name = function_name(token.value);
            out.append(reinterpret_cast<const char*>(name + 1), name[0]);
            if (function_takes_no_arguments(token.value)) out.append("()");
            break;
        }
        case FormulaTokenKind::link:
            quote_open = put_link(out, token.value, layer);
            of_link = true;
            break;
        case FormulaTokenKind::reference:
            put_reference(out, token.ref, layer, of_link, quote_open);
            quote_open = of_link = false;
            break;
        default: out.append(reinterpret_cast<const char*>(token.start), size_t(token.length)); break;
        }
        return true;
    });
}
