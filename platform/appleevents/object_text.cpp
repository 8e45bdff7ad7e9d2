// A recursive-descent parser of object specifier texts.
#include "platform/appleevents/object_text.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/text/scripts.h"

namespace pf {

namespace {

struct Word {
    const char* text;
    FourCC code;
};

constexpr Word kClassWords[] = {
    {"application", kClassApplication}, {"document", kClassDocument}, {"window", kClassWindow},
    {"layer", kClassLayer},             {"cell", kClassCell},         {"range", kClassRange},
};
constexpr Word kPropertyWords[] = {
    {"value", kPropValue}, {"formula", kPropFormula}, {"name", kPropName}, {"selection", kPropSelection}};

struct Parser {
    std::string_view text;
    size_t at = 0;
    std::string error;

    void skip_space() {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    }
    bool at_end() {
        skip_space();
        return at >= text.size();
    }
    // The next bare word (letters, digits, $, :, -), not consumed.
    std::string_view peek_word() {
        skip_space();
        size_t end = at;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '$' ||
                                     text[end] == ':' || text[end] == '-'))
            ++end;
        return text.substr(at, end - at);
    }
    std::string_view take_word() {
        std::string_view w = peek_word();
        at += w.size();
        return w;
    }
    bool fail(const std::string& message) {
        if (error.empty()) error = message + " at character " + std::to_string(at + 1);
        return false;
    }
};

bool same_word(std::string_view a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return i == a.size() && !b[i];
}

template <size_t N>
FourCC code_of(std::string_view word, const Word (&words)[N]) {
    for (const Word& w : words)
        if (same_word(word, w.text)) return w.code;
    return 0;
}

AEDesc specifier(FourCC want, FourCC form, const AEDesc& data, const AEDesc& container) {
    AEDesc spec;
    ae_create_list(true, spec);
    spec.type = kTypeObjectSpecifier;
    ae_put_key_ptr(spec, kKeyDesiredClass, kTypeType, &want, 4);
    ae_put_key_desc(spec, kKeyContainer, container);
    ae_put_key_ptr(spec, kKeyForm, kTypeEnumerated, &form, 4);
    ae_put_key_desc(spec, kKeyData, data);
    return spec;
}

bool parse_quoted(Parser& p, AEDesc& data) {
    std::string utf8;
    for (++p.at; p.at < p.text.size() && p.text[p.at] != '"'; ++p.at) {
        if (p.text[p.at] == '\\' && p.at + 1 < p.text.size()) ++p.at;
        utf8 += p.text[p.at];
    }
    if (p.at >= p.text.size()) return p.fail("unfinished quoted name");
    ++p.at;
    // Mac Roman where it spells the whole text, as before; else UTF-8, whole.
    std::string roman;
    if (!utf8_to_script(utf8, kScriptRoman, roman))
        return ae_create_desc(kTypeUtf8Text, utf8.data(), utf8.size(), data) == noErr;
    return ae_create_desc(kTypeText, roman.data(), roman.size(), data) == noErr;
}

bool parse_test(Parser& p, AEDesc& data);

// The key of an element: an index, a quoted name, or (cells and ranges) a reference.
bool parse_key(Parser& p, FourCC want, FourCC& form, AEDesc& data) {
    p.skip_space();
    if (p.at < p.text.size() && p.text[p.at] == '"') {
        form = kFormName;
        return parse_quoted(p, data);
    }
    std::string_view word = p.take_word();
    if (word.empty()) return p.fail("expected an index, a name or a reference");
    if (same_word(word, "whose")) {
        form = kFormTest;
        return parse_test(p, data);
    }
    char* end = nullptr;
    const std::string digits(word);
    long index = std::strtol(digits.c_str(), &end, 10);
    if (end && *end == 0 && index != 0 && index > -100000 && index < 100000) {
        form = kFormIndex;
        int32_t number = int32_t(index);
        return ae_create_desc(kTypeLong, &number, sizeof number, data) == noErr;
    }
    if (want != kClassCell && want != kClassRange) return p.fail("expected an index or a quoted name");
    form = kFormName;
    return ae_create_desc(kTypeText, word.data(), word.size(), data) == noErr;
}

constexpr Word kOperatorWords[] = {{"=", kOpEquals},  {">", kOpGreater},      {">=", kOpGreaterOrEqual},
                                   {"<", kOpLess},    {"<=", kOpLessOrEqual}, {"contains", kOpContains}};

// The operator: a run of comparison signs or a word.
FourCC parse_operator(Parser& p) {
    p.skip_space();
    size_t end = p.at;
    while (end < p.text.size() && (p.text[end] == '<' || p.text[end] == '>' || p.text[end] == '=')) ++end;
    std::string_view op = end > p.at ? p.text.substr(p.at, end - p.at) : p.peek_word();
    p.at += op.size();
    return code_of(op, kOperatorWords);
}

// "whose" PROPERTY OPERATOR VALUE: the comparison record.
bool parse_test(Parser& p, AEDesc& data) {
    FourCC property = code_of(p.take_word(), kPropertyWords);
    if (!property) return p.fail("expected a property after \"whose\"");
    FourCC op = parse_operator(p);
    if (!op) return p.fail("expected a comparison");
    AEDesc value, examined, data_of_property;
    p.skip_space();
    if (p.at < p.text.size() && p.text[p.at] == '"') {
        if (!parse_quoted(p, value)) return false;
    } else {
        size_t end_of_number = p.at;
        while (end_of_number < p.text.size() && std::strchr("0123456789.+-eE", p.text[end_of_number]) &&
               p.text[end_of_number])
            ++end_of_number;
        const std::string number(p.text.substr(p.at, end_of_number - p.at));
        p.at = end_of_number;
        char* end = nullptr;
        double v = std::strtod(number.c_str(), &end);
        if (number.empty() || *end) return p.fail("expected a number or a quoted text");
        ae_create_desc(kTypeDouble, &v, sizeof v, value);
    }
    examined.type = kTypeExamined;
    ae_create_desc(kTypeType, &property, 4, data_of_property);
    ae_create_list(true, data);
    data.type = kTypeComparison;
    ae_put_key_ptr(data, kKeyOperator, kTypeEnumerated, &op, 4);
    ae_put_key_desc(data, kKeyObject1, specifier(kClassProperty, kFormProperty, data_of_property, examined));
    ae_put_key_desc(data, kKeyObject2, value);
    return true;
}

bool parse_specifier(Parser& p, AEDesc& out, int depth);

// "of" and a container, or the application when the text ends.
bool parse_container(Parser& p, AEDesc& container, int depth) {
    if (p.at_end()) {
        container = AEDesc{};
        return true;
    }
    if (!same_word(p.take_word(), "of")) return p.fail("expected \"of\"");
    return parse_specifier(p, container, depth + 1);
}

bool parse_specifier(Parser& p, AEDesc& out, int depth) {
    if (depth >= kMaxObjectTextDepth) return p.fail("too deeply nested");
    std::string_view word = p.take_word();
    AEDesc container;
    if (FourCC property = code_of(word, kPropertyWords)) {
        if (!parse_container(p, container, depth)) return false;
        AEDesc data;
        ae_create_desc(kTypeType, &property, 4, data);
        out = specifier(kClassProperty, kFormProperty, data, container);
        return true;
    }
    FourCC want = object_class_code(word);
    if (!want) return p.fail("unknown word \"" + std::string(word) + "\"");
    if (want == kClassApplication) return parse_container(p, out, depth) && (out = AEDesc{}, true);
    FourCC form = 0;
    AEDesc data;
    if (!parse_key(p, want, form, data)) return false;
    if (!parse_container(p, container, depth)) return false;
    out = specifier(want, form, data, container);
    return true;
}

}  // namespace

FourCC object_class_code(std::string_view word) {
    if (FourCC code = code_of(word, kClassWords)) return code;
    if (word.size() > 1 && (word.back() == 's' || word.back() == 'S')) return code_of(word.substr(0, word.size() - 1), kClassWords);
    return 0;
}

bool parse_object_text(std::string_view text, AEDesc& out, std::string& error) {
    Parser p{text, 0, {}};
    bool ok = parse_specifier(p, out, 0);
    if (ok && !p.at_end()) ok = p.fail("unexpected text");
    error = p.error;
    return ok;
}

}  // namespace pf
