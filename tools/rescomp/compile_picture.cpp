// Pictures (PICT) from drawing commands, written as version-2 picture opcodes.
#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {

namespace {

const NamedValue kShapeCommands[] = {
    {"frame_rect", pf::kPicFrameRect},          {"paint_rect", pf::kPicFrameRect + 1},
    {"erase_rect", pf::kPicFrameRect + 2},      {"invert_rect", pf::kPicFrameRect + 3},
    {"frame_oval", pf::kPicFrameOval},          {"paint_oval", pf::kPicFrameOval + 1},
    {"erase_oval", pf::kPicFrameOval + 2},      {"invert_oval", pf::kPicFrameOval + 3},
    {nullptr, 0},
};

const NamedValue kRoundRectCommands[] = {
    {"frame_round_rect", pf::kPicFrameRoundRect},     {"paint_round_rect", pf::kPicFrameRoundRect + 1},
    {"erase_round_rect", pf::kPicFrameRoundRect + 2}, {"invert_round_rect", pf::kPicFrameRoundRect + 3},
    {nullptr, 0},
};

const NamedValue kPenModes[] = {
    {"pat_copy", 8}, {"pat_or", 9}, {"pat_xor", 10}, {"pat_bic", 11},
    {"not_pat_copy", 12}, {"not_pat_or", 13}, {"not_pat_xor", 14}, {"not_pat_bic", 15},
    {nullptr, 0},
};

const NamedValue kFaces[] = {
    {"plain", 0}, {"bold", pf::kFaceBold}, {"italic", pf::kFaceItalic}, {"underline", pf::kFaceUnderline},
    {"outline", pf::kFaceOutline}, {"shadow", pf::kFaceShadow}, {"condense", pf::kFaceCondense},
    {"extend", pf::kFaceExtend}, {nullptr, 0},
};

const NamedValue kSourceModes[] = {
    {"copy", 0}, {"or", 1}, {"xor", 2}, {"bic", 3}, {"not_copy", 4}, {"not_or", 5}, {"not_xor", 6}, {"not_bic", 7},
    {nullptr, 0},
};

// "bits top left [mode]" and the image rows after it: a one-bit image copied to (top, left).
bool write_bits(const std::vector<Line>& body, size_t& index, ByteWriter& writer, Diagnostics& diagnostics) {
    LineCursor cursor(body[index], diagnostics);
    ++cursor.pos;
    int16_t top = cursor.int16("top"), left = cursor.int16("left");
    int64_t mode = cursor.at_end() ? 0 : named_or_number(cursor, kSourceModes, 0, 63, "transfer mode");
    cursor.finish();
    size_t width = 0, height = 0;
    std::vector<uint8_t> values;
    ++index;
    if (!read_bit_rows(body, index, width, height, values, diagnostics) || !cursor.ok) return false;
    if (height == 0 || width > 2048 || height > 2048) {
        diagnostics.error(body[index - 1].at, "'bits' is followed by 1 to 2048 image rows of '#' and '.'");
        return false;
    }
    uint16_t row_bytes = uint16_t((width + 15) / 16 * 2);
    pf::Rect bounds{0, 0, int16_t(height), int16_t(width)};
    writer.u16(pf::kPicBitsRect);
    writer.u16(row_bytes);
    writer.rect(bounds);
    writer.rect(bounds);
    writer.rect({top, left, int16_t(top + height), int16_t(left + width)});
    writer.u16(unsigned(mode));
    for (size_t row = 0; row < height; ++row) {
        for (size_t byte = 0; byte < row_bytes; ++byte) {
            unsigned bits = 0;
            for (size_t bit = 0; bit < 8; ++bit) {
                size_t column = byte * 8 + bit;
                bits = bits << 1 | (column < width ? values[row * width + column] : 0);
            }
            writer.u8(bits);
        }
    }
    return true;
}

void write_point(ByteWriter& writer, LineCursor& cursor) {
    writer.u16(uint16_t(cursor.int16("v")));
    writer.u16(uint16_t(cursor.int16("h")));
}

void write_color(ByteWriter& writer, uint16_t opcode, LineCursor& cursor) {
    writer.u16(opcode);
    for (const char* part : {"red", "green", "blue"}) writer.u16(cursor.uint16(part));
}

// One drawing command; false for a word that names none.
bool write_command(const std::string& command, LineCursor& cursor, ByteWriter& writer) {
    int64_t opcode = 0;
    if (find_named(kShapeCommands, command, opcode)) {
        writer.u16(unsigned(opcode));
        writer.rect(cursor.rect());
    } else if (find_named(kRoundRectCommands, command, opcode)) {
        pf::Rect rect = cursor.rect();
        int16_t oval_width = cursor.int16("oval width"), oval_height = cursor.int16("oval height");
        writer.u16(pf::kPicOvalSize);
        writer.u16(uint16_t(oval_height));
        writer.u16(uint16_t(oval_width));
        writer.u16(unsigned(opcode));
        writer.rect(rect);
    } else if (command == "line") {
        writer.u16(pf::kPicLine);
        write_point(writer, cursor);
        write_point(writer, cursor);
    } else if (command == "text") {
        writer.u16(pf::kPicLongText);
        write_point(writer, cursor);
        writer.pstring(cursor.pstring("text"));
        writer.pad_to_even();
    } else if (command == "pen_size") {
        int16_t width = cursor.int16("pen width"), height = cursor.int16("pen height");
        writer.u16(pf::kPicPenSize);
        writer.u16(uint16_t(height));
        writer.u16(uint16_t(width));
    } else if (command == "pen_mode") {
        writer.u16(pf::kPicPenMode);
        writer.u16(uint16_t(named_or_number(cursor, kPenModes, 0, 255, "pen mode")));
    } else if (command == "pen_pattern") {
        std::vector<uint8_t> pattern;
        const Token* token = cursor.peek();
        if (cursor.ok && (!token || !append_hex(*token, pattern) || pattern.size() != 8))
            cursor.fail("expected 16 hex digits (8 rows) after 'pen_pattern'");
        ++cursor.pos;
        writer.u16(pf::kPicPenPattern);
        pattern.resize(8);
        writer.out.insert(writer.out.end(), pattern.begin(), pattern.end());
    } else if (command == "fore_color" || command == "back_color") {
        write_color(writer, command == "fore_color" ? pf::kPicForeColor : pf::kPicBackColor, cursor);
    } else if (command == "font") {
        writer.u16(pf::kPicTextFont);
        writer.u16(uint16_t(cursor.int16("font number")));
    } else if (command == "size") {
        writer.u16(pf::kPicTextSize);
        writer.u16(uint16_t(cursor.integer(1, 32767, "text size")));
    } else if (command == "face") {
        unsigned face = 0;
        while (cursor.ok && !cursor.at_end()) face |= unsigned(named_or_number(cursor, kFaces, 0, 127, "face"));
        writer.u16(pf::kPicTextFace);
        writer.u8(face);
        writer.pad_to_even();
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool compile_picture(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    std::vector<uint8_t> ops;
    ByteWriter op_writer{ops};
    pf::Rect frame;
    bool has_frame = false;
    bool ok = true;
    for (size_t index = 0; index < source.body.size();) {
        const Line& line = source.body[index];
        if (line.tokens[0].kind == TokenKind::Word && line.tokens[0].text == "bits") {
            ok = write_bits(source.body, index, op_writer, diagnostics) && ok;
            continue;
        }
        ok = read_field_line(line, source.type, diagnostics, [&](const std::string& command, LineCursor& cursor) {
            if (command != "frame") return write_command(command, cursor, op_writer);
            frame = cursor.rect();
            has_frame = true;
            return true;
        }) && ok;
        ++index;
    }
    if (!has_frame) {
        diagnostics.error(source.at, "'PICT' needs a 'frame top left bottom right' line");
        return false;
    }
    ByteWriter writer{out.data};
    writer.u16(0);  // size, set below
    writer.rect(frame);
    writer.u16(pf::kPicVersion);
    writer.u16(pf::kPicVersion2);
    writer.u16(pf::kPicHeader);
    writer.u16(0xFFFE);  // extended header: version -2, reserved, 72 dpi both ways, source rectangle, reserved
    writer.u16(0);
    writer.u32(0x00480000);
    writer.u32(0x00480000);
    writer.rect(frame);
    writer.u32(0);
    writer.u16(pf::kPicClipRegion);
    writer.u16(10);
    writer.rect(frame);
    out.data.insert(out.data.end(), ops.begin(), ops.end());
    writer.u16(pf::kPicEnd);
    out.data[0] = uint8_t(out.data.size() >> 8);
    out.data[1] = uint8_t(out.data.size());
    return ok;
}

}  // namespace rescomp
