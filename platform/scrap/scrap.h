// The clipboard: data by four-character flavour type, with a change count that
// moves whenever this or any other program replaces the clipboard. "TEXT"
// (Mac Roman, lines ending in CR) is exchanged with the system clipboard as
// UTF-8 with LF line ends and "PICT" as a PNG image; other flavours stay
// within the program.
#pragma once

#include "platform/files/files.h"
#include "platform/types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

constexpr FourCC kScrapText = four_cc("TEXT");
constexpr FourCC kScrapPicture = four_cc("PICT");
// The text in UTF-8, lines ending in CR, where "TEXT" cannot hold it all: text
// of other scripts. Put after "TEXT", it is what the system clipboard
// carries; text adopted from other programs has it when Mac Roman lacks some
// of its characters.
constexpr FourCC kScrapUnicodeText = four_cc("utf8");
constexpr OSErr kNoScrapFlavourErr = -102;
// Another program's picture is larger than a picture may be (kLargestPictureSide
// of picture_png.h), as an image file would be too long to read: the clipboard
// has "PICT", but its bytes are not taken.
constexpr OSErr kScrapPictureTooLargeErr = kFileTooLongErr;

// Moves whenever the clipboard is emptied here or replaced by another program.
int32_t scrap_change_count();
// Empties the clipboard (here and on the system) and moves the change count.
OSErr zero_scrap();
// Adds or replaces one flavour; "TEXT" and "PICT" also go to the system clipboard.
// kParamErr for a size without data.
OSErr put_scrap(FourCC flavour, const void* data, size_t size);
bool scrap_has_flavour(FourCC flavour);
// The flavour's bytes; kNoScrapFlavourErr when the clipboard has none,
// kScrapPictureTooLargeErr for a picture too large to take.
OSErr get_scrap(FourCC flavour, std::vector<uint8_t>& data);

// Hosts call this when the system clipboard may have changed; the next query
// compares it with what was last seen.
void scrap_system_changed();
// The characters of the text another program last put on the system
// clipboard that Mac Roman cannot hold ("TEXT" has "?" in their place), each
// once, in order of appearance; U+FFFD stands for malformed UTF-8.
std::u32string scrap_text_unmapped();
// Text from other programs (UTF-8) as a "TEXT" flavour: Mac Roman, CR line ends.
std::vector<uint8_t> scrap_text_from_utf8(std::string_view utf8);
// The same text as a "utf8" flavour (CR line ends) when Mac Roman cannot
// spell all of it; empty when "TEXT" holds it whole.
std::vector<uint8_t> scrap_unicode_text_from_utf8(std::string_view utf8);
// A "TEXT" flavour as other programs take it: UTF-8, LF line ends.
std::string scrap_text_to_utf8(const std::vector<uint8_t>& text);
// A "utf8" flavour as other programs take it: LF line ends.
std::string scrap_unicode_text_to_utf8(const std::vector<uint8_t>& text);

// Forgets everything (tests).
void scrap_reset();

}  // namespace pf
