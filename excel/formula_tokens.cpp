#include "excel/formula_tokens.h"

#include <cmath>
#include <string_view>

#include "core/number_text.h"
#include "excel/excel_text.h"
#include "formula/function_table.h"
#include "model/calc_globals.h"

namespace {

constexpr int kGridLimit = 32000;  // rows and columns this program has
// A formula of 255 bytes in a script (the longest typed) is at most three
// times as long in UTF-8.
constexpr size_t kMaxFormulaText = 3 * 255;

// Binding strength in this program's grammar: "&" binds loosest, then one
// comparison, sums, products, powers; atoms bind tightest.
enum Level : int { kConcat = 1, kCompare = 2, kSum = 3, kProduct = 4, kPower = 5, kAtom = 9 };

struct Operand {
    std::string text;
    int level;
};

// A formula that cannot be written here, with the name of the function that
// stopped it when a function did.
struct Unconvertible {
    std::string function;
};

// Appends an operand, in parentheses when its level asks for them.
void append_operand(std::string& out, const Operand& operand, bool wrap) {
    if (wrap) out += '(';
    out += operand.text;
    if (wrap) out += ')';
}

std::string wrapped(const Operand& operand, bool wrap) {
    std::string out;
    append_operand(out, operand, wrap);
    return out;
}

std::string column_letters(int column) {
    unsigned char letters[8];
    NumberToColumn(letters, int16_t(column));
    return std::string(reinterpret_cast<const char*>(letters + 1), letters[0]);
}

std::string number_text(double value) {
    std::string out = round_trip_number(value);
    for (char& c : out)
        if (c == '.') c = char(decimalPt);
    return out;
}

class Converter {
public:
    Converter(const FormulaContext& context, ByteCursor tokens, bool nested = false)
        : context_(context), tokens_(tokens), nested_(nested) {}

    std::string convert() {
        stack_.reserve(8);
        while (tokens_.left() > 0) {
            size_t start = tokens_.at;
            uint8_t code = tokens_.u8();
            operands_key_.clear();
            operands_keyed_ = false;
            token(code);
            key_ += char(code);
            if (operands_keyed_)
                key_ += operands_key_;
            else
                key_.append(reinterpret_cast<const char*>(tokens_.data + start + 1), tokens_.at - start - 1);
        }
        if (stack_.size() != 1) excel_damaged("formula tokens unbalanced");
        std::string text;
        text.reserve(stack_.back().text.size() + 1);
        text += '=';
        text += stack_.back().text;
        return text;
    }

    const std::string& key() const { return key_; }
    int final_level() const { return stack_.empty() ? kAtom : stack_.back().level; }

private:
    const FormulaContext& context_;
    ByteCursor tokens_;
    bool nested_;  // inside a shared formula, which cannot refer to another
    std::vector<Operand> stack_;
    // The tokens with every relative row and column as an offset from the
    // formula's cell: equal keys give equal stored formulas.
    std::string key_;
    std::string operands_key_;  // of the token being read, when not its bytes
    bool operands_keyed_ = false;

    BiffVersion version() const { return context_.book->version; }
    bool biff8() const { return version() == kBiff8; }

    Operand pop() {
        if (stack_.empty()) excel_damaged("formula tokens unbalanced");
        Operand top = std::move(stack_.back());
        stack_.pop_back();
        return top;
    }
    // Longer texts cannot be typed into a cell here, so no formula is kept.
    void push(std::string text, int level) {
        if (text.size() > kMaxFormulaText) throw Unconvertible{};
        stack_.push_back(Operand{std::move(text), level});
    }

    void token(uint8_t code) {
        if (code >= 0x20) return operand_token(code >= 0x40 ? uint8_t((code & 0x1F) | 0x20) : code);
        switch (code) {
        case 0x03: return binary("+", kSum);
        case 0x04: return binary("-", kSum);
        case 0x05: return binary("*", kProduct);
        case 0x06: return binary("/", kProduct);
        case 0x07: return binary("^", kPower);
        case 0x08: return binary("&", kConcat);
        case 0x09: return binary("<", kCompare);
        case 0x0A: return binary("<=", kCompare);
        case 0x0B: return binary("=", kCompare);
        case 0x0C: return binary(">=", kCompare);
        case 0x0D: return binary(">", kCompare);
        case 0x0E: return binary("<>", kCompare);
        case 0x12: return;  // unary plus
        case 0x13: return negate();
        case 0x14: return percent();
        case 0x15: return;  // parentheses: placed by the levels instead
        case 0x16: return push("", kAtom);  // a missing argument
        case 0x17: return text_constant();
        case 0x19: return attribute();
        case 0x1C: return error_constant(tokens_.u8());
        case 0x1D: return push(tokens_.u8() ? "TRUE" : "FALSE", kAtom);
        case 0x1E: return push(std::to_string(tokens_.u16()), kAtom);
        case 0x1F: return number(tokens_.f64());
        case 0x01: return shared_formula();
        default: throw Unconvertible{};  // tables, intersections, unions, ranges, extended tokens
        }
    }

    void operand_token(uint8_t code) {
        switch (code) {
        case 0x21: return function(tokens_.u16(), -1);
        case 0x22: {
            int count = tokens_.u8() & 0x7F;
            return function(tokens_.u16() & 0x7FFF, count);
        }
        case 0x24: return push(cell_reference(false), kAtom);
        case 0x25: return push(area_reference(false), kAtom);
        case 0x2C: return push(cell_reference(true), kAtom);
        case 0x2D: return push(area_reference(true), kAtom);
        case 0x26:  // memory areas: the tokens of their subexpression follow
        case 0x27:
        case 0x28: return tokens_.skip(6);
        case 0x29:
        case 0x2E: return tokens_.skip(2);
        case 0x23: return defined_name();
        case 0x3A: return three_d(false);
        case 0x3B: return three_d(true);
        case 0x39: return external_name();
        default: throw Unconvertible{};  // arrays, names, reference errors, external names
        }
    }

    void binary(const char* op, int level) {
        Operand right = pop(), left = pop();
        bool wrap_left, wrap_right;
        if (level == kConcat) {  // any expression, then "&" and sums
            wrap_left = false;
            wrap_right = right.level < kSum;
        } else if (level == kCompare) {  // one comparison of two sums
            wrap_left = left.level <= kCompare;
            wrap_right = right.level <= kCompare;
        } else {  // left-associative
            wrap_left = left.level < level;
            wrap_right = right.level <= level;
        }
        std::string text;
        text.reserve(left.text.size() + right.text.size() + 6);
        append_operand(text, left, wrap_left);
        text += op;
        append_operand(text, right, wrap_right);
        push(std::move(text), level);
    }

    void negate() {
        Operand operand = pop();
        push("-" + wrapped(operand, operand.level < kPower), kSum);
    }

    void percent() {
        Operand operand = pop();
        push(wrapped(operand, operand.level < kProduct) + "/100", kProduct);
    }

    void number(double value) {
        if (!std::isfinite(value)) throw Unconvertible{};
        push(number_text(value), kAtom);
    }

    void text_constant() {
        size_t count = tokens_.u8();
        RawText raw;
        if (biff8()) {
            raw.wide = tokens_.u8() & 0x01;
            const uint8_t* p = tokens_.bytes(count * (raw.wide ? 2 : 1));
            raw.bytes.assign(reinterpret_cast<const char*>(p), count * (raw.wide ? 2 : 1));
        } else {
            const uint8_t* p = tokens_.bytes(count);
            raw.bytes.assign(reinterpret_cast<const char*>(p), count);
        }
        ExcelTextDecoder decoder{context_.book->code_page, 0};
        if (biff8() && !raw.wide) decoder.code_page = 1200;
        std::string text = decoder.utf8(raw);
        if (text.find('"') != std::string::npos) throw Unconvertible{};
        push("\"" + text + "\"", kAtom);
    }

    void error_constant(uint8_t code) {
        if (code != kXlErrNA) throw Unconvertible{};
        push("NA", kAtom);
    }

    void attribute() {
        uint8_t options = tokens_.u8();
        uint16_t data = tokens_.u16();
        if (options & 0x04) tokens_.skip((size_t(data) + 1) * 2);  // CHOOSE's jump table
        if (options & 0x10) {                                     // SUM of one argument
            Operand operand = pop();
            push("SUM(" + operand.text + ")", kAtom);
        }
    }

    void function(uint16_t index, int count) {
        int fixed = 0;
        const char* name = excel_function_name(index, &fixed);
        if (!name) throw Unconvertible{};
        if (count < 0) count = fixed;
        if (count < 0) throw Unconvertible{};  // written with a fixed count Excel knows and this map does not
        if (size_t(count) > stack_.size()) excel_damaged("formula tokens unbalanced");
        std::vector<std::string> arguments;
        for (auto operand = stack_.end() - count; operand != stack_.end(); ++operand) arguments.push_back(operand->text);
        stack_.resize(stack_.size() - size_t(count));
        if (!excel_call_converts(name, arguments)) throw Unconvertible{name};
        std::string own_name = name;
        unsigned char pascal[32];
        pascal[0] = uint8_t(own_name.size());
        own_name.copy(reinterpret_cast<char*>(pascal + 1), own_name.size());
        if (own_name.size() > 30 || function_number_of(pascal) == 0) throw Unconvertible{own_name};
        if (arguments.empty()) return push(own_name, kAtom);
        std::string text = own_name + "(";
        for (size_t i = 0; i < arguments.size(); ++i) {
            if (i) text += char(listSep);
            text += arguments[i];
        }
        push(text + ")", kAtom);
    }

    // A row or column of a reference: absolute, relative to nothing (a plain
    // reference), or an offset from the formula's cell (shared formulas).
    struct Coordinate {
        int value;
        bool relative;
    };

    std::string coordinate_text(const Coordinate& row, const Coordinate& column) const {
        if (row.value < 0 || row.value >= kGridLimit || column.value < 0 || column.value >= kGridLimit)
            throw Unconvertible{};
        return (column.relative ? "" : "$") + column_letters(column.value) + (row.relative ? "" : "$") +
               std::to_string(row.value + 1);
    }

    // The row and column of one corner. BIFF8 keeps the relative flags in
    // the column word; older versions in the row word, with an 8-bit column.
    void read_corner(uint16_t row_word, uint16_t column_word, bool offsets, Coordinate& row, Coordinate& column) {
        bool row_relative, column_relative;
        int row_value, column_value;
        if (biff8()) {
            row_relative = column_word & 0x8000;
            column_relative = column_word & 0x4000;
            row_value = offsets && row_relative ? int16_t(row_word) : row_word;
            column_value = offsets && column_relative ? int8_t(column_word & 0xFF) : column_word & 0xFF;
        } else {
            row_relative = row_word & 0x8000;
            column_relative = row_word & 0x4000;
            int row_bits = row_word & 0x3FFF;
            row_value = offsets && row_relative ? (row_bits ^ 0x2000) - 0x2000 : row_bits;
            column_value = offsets && column_relative ? int8_t(column_word) : column_word & 0xFF;
        }
        if (offsets && row_relative) row_value += context_.row;
        if (offsets && column_relative) column_value += context_.column;
        row = {row_value, row_relative};
        column = {column_value, column_relative};
        add_to_key(row, context_.row);
        add_to_key(column, context_.column);
    }

    void add_to_key(const Coordinate& coordinate, int origin) {
        int32_t value = coordinate.relative ? coordinate.value - origin : coordinate.value;
        operands_key_ += coordinate.relative ? 'r' : 'a';
        operands_key_.append(reinterpret_cast<const char*>(&value), sizeof value);
        operands_keyed_ = true;
    }

    std::string cell_reference(bool offsets) {
        uint16_t row_word = tokens_.u16();
        uint16_t column_word = biff8() ? tokens_.u16() : tokens_.u8();
        Coordinate row, column;
        read_corner(row_word, column_word, offsets, row, column);
        return coordinate_text(row, column);
    }

    std::string area_reference(bool offsets) {
        uint16_t first_row = tokens_.u16(), last_row = tokens_.u16();
        uint16_t first_column = biff8() ? tokens_.u16() : tokens_.u8();
        uint16_t last_column = biff8() ? tokens_.u16() : tokens_.u8();
        Coordinate top, left, bottom, right;
        read_corner(first_row, first_column, offsets, top, left);
        read_corner(last_row, last_column, offsets, bottom, right);
        int last_grid_row = biff8() ? 0xFFFF : 0x3FFF;
        if (!offsets && top.value == 0 && bottom.value == last_grid_row)  // whole columns
            return (left.relative ? "" : "$") + column_letters(left.value) + ":" + (right.relative ? "" : "$") +
                   column_letters(right.value);
        if (!offsets && left.value == 0 && right.value == 0xFF)  // whole rows
            return (top.relative ? "" : "$") + std::to_string(top.value + 1) + ":" + (bottom.relative ? "" : "$") +
                   std::to_string(bottom.value + 1);
        return coordinate_text(top, left) + ":" + coordinate_text(bottom, right);
    }

    // A name of the workbook, by its number: used by name when it became a
    // named range of the formula's own layer.
    void defined_name() {
        if (version() == kBiff4) throw Unconvertible{};
        uint16_t number = tokens_.u16();
        tokens_.skip(biff8() ? 2 : 12);
        const std::vector<ExcelName>& names = context_.book->names;
        if (number == 0 || number > names.size()) throw Unconvertible{};
        const ExcelName& name = names[number - 1];
        if (!name.usable || name.sheet != context_.sheet) throw Unconvertible{};
        push(name.name, kAtom);
    }

    // A name of an add-in or another workbook: never converted; an add-in
    // function's name ("_xlfn.DAYS") is told as the function's.
    void external_name() {
        if (!biff8()) throw Unconvertible{};
        const uint16_t entry = tokens_.u16(), number = tokens_.u16();
        tokens_.skip(2);
        const ExcelBook& book = *context_.book;
        if (entry >= book.extern_sheets.size()) throw Unconvertible{};
        const int supbook = book.extern_sheets[entry].supbook;
        if (supbook < 0 || size_t(supbook) >= book.extern_names.size()) throw Unconvertible{};
        const std::vector<std::string>& names = book.extern_names[size_t(supbook)];
        if (number == 0 || number > names.size()) throw Unconvertible{};
        std::string name = names[number - 1];
        constexpr std::string_view kFuturePrefix = "_xlfn.";
        if (name.compare(0, kFuturePrefix.size(), kFuturePrefix) == 0) name.erase(0, kFuturePrefix.size());
        throw Unconvertible{name};
    }

    // A reference to other sheets: the sheets, then an ordinary reference.
    void three_d(bool area) {
        ExcelSheetRange sheets;
        if (biff8()) {
            uint16_t entry = tokens_.u16();
            if (entry >= context_.book->extern_sheets.size()) throw Unconvertible{};
            sheets = context_.book->extern_sheets[entry];
        } else {
            int16_t extern_index = tokens_.i16();
            tokens_.skip(8);
            sheets.first = tokens_.i16();
            sheets.last = tokens_.i16();
            if (extern_index >= 0) throw Unconvertible{};  // another workbook
        }
        std::string prefix = layer_prefix(sheets.first);
        if (sheets.last != sheets.first) prefix += layer_prefix(sheets.last);
        operands_key_ += prefix;
        push(prefix + (area ? area_reference(false) : cell_reference(false)), kAtom);
    }

    std::string layer_prefix(int sheet) const {
        const std::vector<int>& layers = *context_.layer_of_sheet;
        if (sheet < 0 || size_t(sheet) >= layers.size() || layers[size_t(sheet)] < 0) throw Unconvertible{};
        return "$" + std::to_string(layers[size_t(sheet)] + 1) + ":";
    }

    // A cell of a shared formula: the tokens kept for its range, read with
    // the cell's own position.
    void shared_formula() {
        uint16_t row = tokens_.u16();
        uint16_t column = version() == kBiff4 ? tokens_.u8() : tokens_.u16();
        if (nested_ || !context_.shared || !stack_.empty() || tokens_.left() != 0) throw Unconvertible{};
        for (const SharedFormula& shared : *context_.shared) {
            if (row < shared.first_row || row > shared.last_row || column < shared.first_column ||
                column > shared.last_column)
                continue;
            Converter inner(context_, ByteCursor{shared.tokens.data(), shared.tokens.size(), 0}, true);
            std::string text = inner.convert();
            push(text.substr(1), inner.final_level());
            operands_key_ = inner.key();
            operands_keyed_ = true;
            return;
        }
        throw Unconvertible{};  // an array formula
    }
};

}  // namespace

ConvertedFormula excel_formula_text(const uint8_t* tokens, size_t length, const FormulaContext& context) {
    try {
        Converter converter(context, ByteCursor{tokens, length, 0});
        std::string text = converter.convert();
        return ConvertedFormula{std::move(text), converter.key(), {}};
    } catch (const Unconvertible& stopped) {
        return ConvertedFormula{{}, {}, stopped.function};
    }
}
