#include "printing/header_footer.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/memory_use.h"
#include "platform/system/international.h"

namespace {

int16_t load16(const uint8_t* p) {
    int16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

void store16(uint8_t* p, int16_t v) { std::memcpy(p, &v, 2); }

HeaderPart decode(const uint8_t* record) {
    HeaderPart part;
    part.alignment = load16(record + kHeaderPartAlignment);
    part.font = load16(record + kHeaderPartFont);
    part.size = load16(record + kHeaderPartFontSize);
    part.face = record[kHeaderPartFace];
    part.colour = record[kHeaderPartColour];
    const uint8_t* text = record + kHeaderPartTextOffset;
    part.text.assign(reinterpret_cast<const char*>(text + 1), std::min<size_t>(text[0], kHeaderPartTextCapacity));
    return part;
}

void encode(const HeaderPart& part, uint8_t* record) {
    std::memset(record, 0, kHeaderPartSize);
    store16(record + kHeaderPartAlignment, part.alignment);
    store16(record + kHeaderPartFont, part.font);
    store16(record + kHeaderPartFontSize, part.size);
    record[kHeaderPartFace] = part.face;
    record[kHeaderPartColour] = part.colour;
    const size_t length = std::min<size_t>(part.text.size(), kHeaderPartTextCapacity);
    record[kHeaderPartTextOffset] = uint8_t(length);
    std::memcpy(record + kHeaderPartTextOffset + 1, part.text.data(), length);
}

std::string field_text(char code, const HeaderFields& fields, bool* known) {
    *known = true;
    switch (std::tolower(static_cast<unsigned char>(code))) {
        case 'd': return pf::date_string(fields.now, pf::DateForm::short_date);
        case 't': return pf::time_string(fields.now, false);
        case 'p': return std::to_string(fields.page);
        case 'n': return std::to_string(fields.pages);
        case 'l': return fields.layer;
        case 'f': return fields.file;
        default: *known = false; return {};
    }
}

}  // namespace

std::vector<HeaderPart> header_parts_of(MemoryRef list) {
    std::vector<HeaderPart> parts;
    if (!list) return parts;
    const int32_t count = GetByteSize(list) / kHeaderPartSize;
    MemoryUse<const uint8_t> records(list);
    for (int32_t i = 0; i < count; ++i) parts.push_back(decode(records + i * kHeaderPartSize));
    return parts;
}

MemoryRef header_parts_list(const std::vector<HeaderPart>& parts) {
    if (parts.empty()) return nullptr;
    std::vector<uint8_t> bytes(parts.size() * kHeaderPartSize);
    for (size_t i = 0; i < parts.size(); ++i) encode(parts[i], bytes.data() + i * kHeaderPartSize);
    return Bytes2Memory(&mem_globals, bytes.data(), kHeaderPartSize, int32_t(parts.size()));
}

namespace {

int16_t alignment_of(const HeaderPart& part) {
    return part.alignment == kHeaderCentre || part.alignment == kHeaderRight ? part.alignment : kHeaderLeft;
}

}  // namespace

std::string aligned_text(const std::vector<HeaderPart>& parts, int16_t alignment) {
    for (const HeaderPart& part : parts)
        if (alignment_of(part) == alignment) return part.text;
    return {};
}

std::vector<HeaderPart> with_aligned_texts(std::vector<HeaderPart> parts, const std::string texts[3]) {
    for (int i = 0; i < 3; ++i) {
        const std::string text = texts[i].substr(0, kHeaderPartTextCapacity);
        auto first = std::find_if(parts.begin(), parts.end(),
                                  [&](const HeaderPart& part) { return alignment_of(part) == kHeaderAlignments[i]; });
        if (first != parts.end()) {
            first->text = text;
        } else if (!text.empty()) {
            HeaderPart made;
            made.alignment = kHeaderAlignments[i];
            made.text = text;
            parts.push_back(made);
        }
    }
    return parts;
}

std::string expand_header_fields(const std::string& text, const HeaderFields& fields) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        bool known = false;
        if (text[i] == '^' && i + 1 < text.size()) {
            std::string value = field_text(text[i + 1], fields, &known);
            if (known) {
                out += value;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}
