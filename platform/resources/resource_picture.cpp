// Decoding the version-2 picture opcodes that compiled PICT resources hold.
#include "platform/resources/byte_reader.h"
#include "platform/resources/resource_format.h"
#include "platform/resources/resource_templates.h"

namespace pf {

namespace {

bool is_shape(uint16_t opcode, uint16_t first) { return opcode >= first && opcode <= first + 3; }

// Reads the data of one drawing opcode into `op`; false for an opcode outside the subset.
bool read_op(ByteReader& reader, PictureOp& op) {
    uint16_t opcode = op.opcode;
    if (is_shape(opcode, kPicFrameRect) || is_shape(opcode, kPicFrameRoundRect) || is_shape(opcode, kPicFrameOval)) {
        op.rect = reader.rect();
    } else if (opcode == kPicLine) {
        op.from = reader.point();
        op.to = reader.point();
    } else if (opcode == kPicLongText) {
        op.from = reader.point();
        op.text = reader.pstring();
    } else if (opcode == kPicPenSize || opcode == kPicOvalSize) {
        op.from = reader.point();
    } else if (opcode == kPicForeColor || opcode == kPicBackColor) {
        op.red = reader.u16();
        op.green = reader.u16();
        op.blue = reader.u16();
    } else if (opcode == kPicPenPattern) {
        for (uint8_t& row : op.pattern) row = reader.u8();
    } else if (opcode == kPicBitsRect) {
        op.row_bytes = reader.u16();
        op.bounds = reader.rect();
        op.source = reader.rect();
        op.rect = reader.rect();
        op.value = reader.i16();
        if (op.row_bytes & 0x8000 || op.bounds.height() < 0) return false;  // colour pixel maps are not read
        auto data = reader.take(size_t(op.row_bytes) * size_t(op.bounds.height()));
        op.bits.assign(data.begin(), data.end());
    } else if (opcode == kPicTextFace) {
        op.value = reader.u8();
    } else if (opcode == kPicTextFont || opcode == kPicTextSize || opcode == kPicPenMode) {
        op.value = reader.i16();
    } else {
        return false;
    }
    reader.skip_to_even();
    return reader.ok;
}

}  // namespace

bool decode_picture(ResourceBytes bytes, PictureCommands& out) {
    ByteReader reader{bytes};
    reader.u16();  // the size's low 16 bits: not trusted
    out.frame = reader.rect();
    out.ops.clear();
    if (reader.u16() != kPicVersion || reader.u16() != kPicVersion2) return false;
    while (reader.ok) {
        PictureOp op;
        op.opcode = reader.u16();
        if (op.opcode == kPicEnd) return reader.ok;
        if (op.opcode == kPicNop) continue;
        if (op.opcode == kPicHeader) {
            reader.take(24);
        } else if (op.opcode == kPicClipRegion) {
            uint16_t size = reader.u16();
            if (size < 2) return false;
            reader.take(size - 2u);
            reader.skip_to_even();
        } else if (read_op(reader, op)) {
            out.ops.push_back(op);
        } else {
            return false;
        }
    }
    return false;
}

}  // namespace pf
