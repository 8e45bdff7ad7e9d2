// The computations behind the text functions, on length-prefixed texts of at
// most 255 bytes. In a double-byte script a character is one byte or a first
// byte and a second byte; the byte forms count bytes but never split a
// character, the character forms count characters. Positions and counts are
// 1-based as the user types them. Functions that can fail answer an error
// code (0 for success) and leave the result in `out` only on success.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using TextBuffer = unsigned char[256];

int32_t text_characters(const unsigned char* text, int16_t script);

// Leftmost, rightmost and middle bytes or characters; counts at least 0,
// starts at least 1 (the callers check).
void left_bytes(const unsigned char* text, int32_t count, unsigned char* out, int16_t script);
void left_characters(const unsigned char* text, int32_t count, unsigned char* out, int16_t script);
void right_bytes(const unsigned char* text, int32_t count, unsigned char* out, int16_t script);
void right_characters(const unsigned char* text, int32_t count, unsigned char* out, int16_t script);
void middle_bytes(const unsigned char* text, int32_t start, int32_t count, unsigned char* out,
                  int16_t script);
void middle_characters(const unsigned char* text, int32_t start, int32_t count, unsigned char* out,
                       int16_t script);

// The 1-based position of `find` in `within` from `start`, in bytes or in
// characters, case-sensitive or not; 0 when it does not occur.
int32_t FindTextB(const unsigned char* find, const unsigned char* within, int32_t start,
                   bool ignore_case);
int32_t find_characters(const unsigned char* find, const unsigned char* within, int32_t start,
                        bool ignore_case, int16_t script);

// Whether a text holds only ASCII, which reads alike in every script.
bool plain_ascii(const unsigned char* text);
// How many of `length` bytes of text of the script fit in `limit` without
// splitting a character.
int32_t whole_character_bytes(const uint8_t* bytes, int32_t length, int32_t limit, int16_t script);

// One character of the script (its bytes) in upper or lower case: the letter
// of the other case when its script spells it (in Roman, the Mac Roman case
// pairs), else the character as it is.
std::string character_in_case(std::string_view character, bool upper, int16_t script);
// The text in upper or lower case, in place, character by character.
void change_text_case(unsigned char* text, bool upper, int16_t script);

// Two texts joined into `out`, as much as 255 bytes hold without splitting a
// character; answers the script of the joined text. A text of plain ASCII
// takes the other's script; texts of two scripts are spelled again in the
// first script that spells both, each character none spells becoming "?",
// counted in `unspelled`.
int16_t join_texts(const unsigned char* left, int16_t left_script, const unsigned char* right,
                   int16_t right_script, unsigned char* out, int32_t* unspelled);
// The script a text made of pieces of `text` and `other` is in: the script of
// whichever goes beyond ASCII, `text`'s first.
int16_t common_script(const unsigned char* text, int16_t script, const unsigned char* other, int16_t other_script);

// Replaces occurrence `instance` of `old_text` (every one for 0); an empty
// old text changes nothing.
void substitute_text(const unsigned char* text, const unsigned char* old_text,
                     const unsigned char* new_text, int32_t instance, unsigned char* out);
// `count` copies of text, as many as fit in 255 bytes.
void repeat_text(const unsigned char* text, int32_t count, unsigned char* out);
// Leading spaces dropped, runs of spaces made one.
void trim_spaces(const unsigned char* text, unsigned char* out);
// Bytes below 32 dropped.
void drop_control_characters(const unsigned char* text, unsigned char* out);
// The first letter of every word in upper case, as character_in_case raises it.
void capitalise_words(const unsigned char* text, unsigned char* out, int16_t script);
// `count` bytes or characters from `start` replaced by `new_text`; a start
// below 1 or a negative count gives "#VALUE!".
int16_t replace_bytes(const unsigned char* text, double start, double count,
                      const unsigned char* new_text, unsigned char* out);
int16_t replace_characters(const unsigned char* text, double start, double count,
                           const unsigned char* new_text, unsigned char* out, int16_t script);

// Code of the first character (67): the byte, or for a double-byte first
// character its JIS X 0208 code; "#TVALUE!" for an empty text.
int16_t character_code(const unsigned char* text, int16_t script, double* code);
// The text of a code (68): one byte for 1..255, the Shift_JIS bytes of a
// JIS X 0208 code; anything else "#VALUE!".
int16_t character_of_code(double code, unsigned char* out);

// Same bytes, by the script's collation with case and marks counting.
bool texts_exact(const unsigned char* a, const unsigned char* b);
