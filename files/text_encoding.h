// Encodings of text files at the host boundary: files are read in whatever
// encoding they come in (UTF-8 with or without a byte-order mark, UTF-16, or
// the program's own Mac Roman) and written as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_manager.h"

// Text encoding numbers of the Unicode forms the text reader tries.
constexpr uint32_t kEncodingUTF16 = 256;
constexpr uint32_t kEncodingNonLossyASCII = 3071;
constexpr uint32_t kEncodingUTF8 = 134217984;

struct DecodedText {
    std::string text;        // Mac Roman, or UTF-8 when `scripted`
    int32_t unmapped = 0;    // characters Mac Roman cannot hold, each now "?"
    int32_t guessed = 0;     // bytes above 127 of text in no Unicode form, taken as Mac Roman
    // The text holds characters Mac Roman cannot spell and stays UTF-8: each
    // of its fields is spelled in a script of its own (spell_field).
    bool scripted = false;
};

// The bytes of a text file as Mac Roman. A UTF-8 or UTF-16 byte-order mark
// decides and is dropped; text whose zero bytes fall as in UTF-16 is taken
// for UTF-16; text that is valid UTF-8 with bytes above 127 is UTF-8;
// anything else is Mac Roman, its bytes above 127 counted as guessed: such a
// file may as well have been written in another 8-bit encoding. A NUL byte left in the text becomes "?",
// counted with the characters Mac Roman cannot hold.
DecodedText decode_text_file(std::string_view bytes);

// Mac Roman text as UTF-8 for a file.
std::string encode_text_file(std::string_view mac_roman);

// One field of scripted text in the first installed script that spells it
// (platform/text/scripts.h); what no script spells becomes "?", counted in
// `unmapped`. Answers the font number that sets the field in its script, or
// -1 for Roman text, which keeps the cell's font.
int16_t spell_field(std::string& field, int32_t& unmapped);

// Whether the text holds a byte outside ASCII.
bool has_high_bytes(std::string_view text);

// The text of a cell set in `font` (a font number; a script font's text is in
// that script's encoding) as UTF-8 for a file or another program.
std::string encode_cell_text(std::string_view text, int16_t font);

// A scripted text as Mac Roman, each character Mac Roman cannot spell a "?"
// counted in `unmapped`: for readers that keep one script.
void unscript_text(DecodedText& decoded);

// Converts bytes in one of the encodings above (a byte-order mark honoured)
// to Mac Roman, into a new block; null when the bytes are not of that
// encoding. `count` receives the characters converted.
MemoryRef GetMacEncodedString(MemoryGlobals* globals, const uint8_t* bytes, int32_t length, uint32_t encoding,
                              int32_t* count);
