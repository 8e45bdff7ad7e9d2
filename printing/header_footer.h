// Headers and footers of a layer: the list of `HeaderFooterPart` records
// (72 bytes each: i16 alignment -1 right, 1 centre, otherwise left; i16 font,
// negative for the layer's; i16 size, above 200 for the layer's; u8 face;
// u8 colour index + 1; a 64-byte length-prefixed text), read into plain
// values and made from them, and the field codes of their texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "model/header_part_record.h"

constexpr int16_t kHeaderLeft = 0;
constexpr int16_t kHeaderCentre = 1;
constexpr int16_t kHeaderRight = -1;
// The alignments in the order the editor shows them.
constexpr int16_t kHeaderAlignments[3] = {kHeaderLeft, kHeaderCentre, kHeaderRight};
constexpr int16_t kHeaderLayerFont = -1;
constexpr int16_t kHeaderLayerSize = 255;

struct HeaderPart {
    int16_t alignment = kHeaderLeft;
    int16_t font = kHeaderLayerFont;
    int16_t size = kHeaderLayerSize;
    uint8_t face = 0;
    uint8_t colour = 0;
    std::string text;  // Mac Roman, at most 63 bytes
};

std::vector<HeaderPart> header_parts_of(MemoryRef list);
// A new list of the parts (texts cut to 63 bytes); null for none.
MemoryRef header_parts_list(const std::vector<HeaderPart>& parts);

// The text of the first part of an alignment ("" when there is none).
std::string aligned_text(const std::vector<HeaderPart>& parts, int16_t alignment);
// The parts with the first part of each alignment given the text for it
// (left, centre, right), a part made where there was none and the text is
// not empty; every other part stays as it was.
std::vector<HeaderPart> with_aligned_texts(std::vector<HeaderPart> parts, const std::string texts[3]);

// What the field codes stand for on one printed page.
struct HeaderFields {
    uint32_t now = 0;   // calendar seconds: ^d the date, ^t the time
    int16_t page = 1;   // ^p
    int16_t pages = 1;  // ^n
    std::string layer;  // ^l
    std::string file;   // ^f
};

// The text with "^d", "^t", "^p", "^l", "^f" and "^n" replaced (either
// case); any other "^" stays as it stands.
std::string expand_header_fields(const std::string& text, const HeaderFields& fields);
