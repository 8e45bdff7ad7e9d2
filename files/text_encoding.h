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

// The form of a text file as read, so that a save writes it back alike: its
// encoding (with or without a byte-order mark) and the line end it uses.
enum class TextFileEncoding : uint8_t { utf8, utf8_marked, utf16_little, utf16_big, utf16_little_marked, utf16_big_marked };
enum class TextLineEnds : uint8_t { crlf, lf, cr };
struct TextFileForm {
    TextFileEncoding encoding = TextFileEncoding::utf8;
    TextLineEnds line_ends = TextLineEnds::crlf;
};

struct DecodedText {
    std::string text;        // Mac Roman, or UTF-8 when `scripted`
    int32_t unmapped = 0;    // characters Mac Roman cannot hold, each now "?"
    int32_t guessed = 0;     // bytes above 127 of text in no Unicode form, taken as Mac Roman
    // The text holds characters Mac Roman cannot spell and stays UTF-8: each
    // of its fields is spelled in scripts of its own (spell_field_for_cell).
    bool scripted = false;
    // The encoding read and the first line end found (CR LF when none is).
    TextFileForm form;
};

// The bytes of a text file as Mac Roman. A UTF-8 or UTF-16 byte-order mark
// decides and is dropped; text whose zero bytes fall as in UTF-16 is taken
// for UTF-16; text that is valid UTF-8 with bytes above 127 is UTF-8;
// anything else is Mac Roman, its bytes above 127 counted as guessed: such a
// file may as well have been written in another 8-bit encoding. A NUL byte left in the text becomes "?",
// counted with the characters Mac Roman cannot hold.
DecodedText decode_text_file(std::string_view bytes);

// The bytes that end a line in the form.
std::string_view line_end_text(TextLineEnds line_ends);
// What a file in the encoding starts with: its byte-order mark, or nothing.
std::string_view encoding_mark(TextFileEncoding encoding);
// UTF-8 text in the encoding (without a mark); false when it cannot be converted.
bool encode_in(std::string_view utf8, TextFileEncoding encoding, std::string& out);

// Mac Roman text as UTF-8 for a file.
std::string encode_text_file(std::string_view mac_roman);


// Whether the text holds a byte outside ASCII.
bool has_high_bytes(std::string_view text);

// The text of a cell set in `font` (a font number; a script font's text is in
// that script's encoding) as UTF-8 for a file or another program.
std::string encode_cell_text(std::string_view text, int16_t font);
// The same appended to `out`.
void append_cell_text_utf8(std::string_view text, int16_t font, std::string& out);

// A scripted text as Mac Roman, each character Mac Roman cannot spell a "?"
// counted in `unmapped`: for readers that keep one script.
void unscript_text(DecodedText& decoded);
