// Text resources (STR#, 'STR '), the version resource and opaque bytes.
#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {

bool compile_string_list(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    if (source.body.size() > 32767) {
        diagnostics.error(source.at, "a string list holds at most 32767 items");
        return false;
    }
    ByteWriter writer{out.data};
    writer.u16(unsigned(source.body.size()));
    bool ok = true;
    for (const Line& line : source.body) {
        LineCursor cursor(line, diagnostics);
        writer.pstring(cursor.pstring("string list item"));
        cursor.finish();
        ok = ok && cursor.ok;
    }
    out.string_count = int(source.body.size());
    return ok;
}

bool compile_string(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    if (source.body.size() != 1) {
        diagnostics.error(source.at, "'STR ' holds exactly one line of text");
        return false;
    }
    LineCursor cursor(source.body[0], diagnostics);
    ByteWriter{out.data}.pstring(cursor.pstring("string"));
    cursor.finish();
    return cursor.ok;
}

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool append_hex(const Token& token, std::vector<uint8_t>& out) {
    const std::string& digits = token.text;
    if (token.kind == TokenKind::String || token.kind == TokenKind::FourCharCode || digits.size() % 2) return false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        int high = hex_value(digits[i]), low = hex_value(digits[i + 1]);
        if (high < 0 || low < 0) return false;
        out.push_back(uint8_t(high * 16 + low));
    }
    return true;
}

bool compile_opaque(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    bool ok = true;
    for (const Line& line : source.body) {
        for (const Token& token : line.tokens) {
            if (!append_hex(token, out.data)) {
                diagnostics.error(line.at, "expected hex bytes (pairs of hex digits), found '" + token.text + "'");
                ok = false;
                break;
            }
        }
    }
    return ok;
}

namespace {

const NamedValue kStages[] = {
    {"development", pf::kDevelopmentStage}, {"alpha", pf::kAlphaStage},
    {"beta", pf::kBetaStage},               {"release", pf::kReleaseStage},
    {nullptr, 0},
};

// "major.minor[.bugfix]" into the two packed bytes of a 'vers' resource.
bool parse_version_number(const std::string& text, uint8_t& major_bcd, uint8_t& minor_and_fix) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    size_t pos = 0;
    while (count < 3) {
        size_t end = text.find('.', pos);
        std::string part = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (part.empty() || part.size() > 2 || part.find_first_not_of("0123456789") != std::string::npos) return false;
        parts[count++] = std::stoi(part);
        if (end == std::string::npos) break;
        pos = end + 1;
        if (count == 3) return false;
    }
    if (parts[1] > 9 || parts[2] > 9) return false;
    major_bcd = uint8_t((parts[0] / 10) << 4 | (parts[0] % 10));
    minor_and_fix = uint8_t(parts[1] << 4 | parts[2]);
    return true;
}

}  // namespace

bool compile_version(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    uint8_t major = 0, minor = 0, stage = pf::kReleaseStage, prerelease = 0;
    uint16_t region = 0;
    std::string short_text, long_text;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key == "version") {
            const Token* token = cursor.peek();
            if (!token || !parse_version_number(token->text, major, minor))
                cursor.fail("expected a version such as 1.0.2 (minor and bug-fix parts 0 to 9)");
            ++cursor.pos;
        } else if (key == "stage") {
            stage = uint8_t(named_or_number(cursor, kStages, 0, 255, "stage"));
        } else if (key == "prerelease") {
            prerelease = uint8_t(cursor.integer(0, 255, "prerelease"));
        } else if (key == "region") {
            region = cursor.uint16("region");
        } else if (key == "short") {
            short_text = cursor.pstring("short version");
        } else if (key == "long") {
            long_text = cursor.pstring("long version");
        } else {
            return false;
        }
        return true;
    });
    ByteWriter writer{out.data};
    writer.u8(major);
    writer.u8(minor);
    writer.u8(stage);
    writer.u8(prerelease);
    writer.u16(region);
    writer.pstring(short_text);
    writer.pstring(long_text);
    return ok;
}

}  // namespace rescomp
