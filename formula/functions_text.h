// The computations behind the text functions, on length-prefixed texts of at
// most 255 bytes. In a double-byte script a character is one byte or a first
// byte and a second byte; the byte forms count bytes but never split a
// character, the character forms count characters. Positions and counts are
// 1-based as the user types them. Functions that can fail answer an error
// code (0 for success) and leave the result in `out` only on success.
#pragma once

#include <cstdint>

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
// The first letter of every word in upper case.
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
