#include "core/string_utils.h"

#include <algorithm>
#include <cstring>

#include "core/foundation_services.h"
#include "platform/text/text.h"

namespace {

// Sets the length byte, cut at 255.
void set_pstring_length(unsigned char* s, int length) {
    s[0] = static_cast<unsigned char>(std::min(length, kMaxPStringLength));
}

// The script of the current port's font.
int16_t current_script() { return foundation_services.script_of_port(); }

}  // namespace

std::string pstring_text(const unsigned char* s) {
    return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : std::string();
}

void set_pstring(unsigned char* dest, std::string_view text, size_t limit) {
    size_t n = std::min({text.size(), limit, size_t(kMaxPStringLength)});
    dest[0] = static_cast<unsigned char>(n);
    std::memcpy(dest + 1, text.data(), n);
}

void ConcatPString(unsigned char* dest, const unsigned char* src) {
    int room = kMaxPStringLength - dest[0];
    int n = std::min<int>(src[0], room);
    std::memmove(dest + 1 + dest[0], src + 1, n);
    set_pstring_length(dest, dest[0] + n);
}

void FrontConcat(const unsigned char* prefix, unsigned char* dest) {
    int n = std::min<int>(prefix[0], kMaxPStringLength);
    if (n == 0) return;
    int kept = std::min<int>(dest[0], kMaxPStringLength - n);
    std::memmove(dest + 1 + n, dest + 1, kept);
    std::memmove(dest + 1, prefix + 1, n);
    set_pstring_length(dest, n + kept);
}

void AppendChar(unsigned char* dest, unsigned char ch) {
    if (dest[0] >= kMaxPStringLength) return;
    dest[++dest[0]] = ch;
}

void DeletePString(unsigned char* s, int16_t index, int16_t count) {
    int length = s[0];
    if (index <= 0 || count <= 0 || index > length) return;
    if (index + count <= length + 1) {
        std::memmove(s + index, s + index + count, length + 1 - index - count);
        s[0] = static_cast<unsigned char>(length - count);
    } else {
        s[0] = static_cast<unsigned char>(index - 1);
    }
}

void copy(const unsigned char* src, unsigned char* dest, int16_t index, int16_t count) {
    int length = src[0];
    if (index < 1 || index > length || count < 1) {
        dest[0] = 0;
        return;
    }
    int n = std::min<int>(count, length - index + 1);
    std::memmove(dest + 1, src + index, n);
    dest[0] = static_cast<unsigned char>(n);
}

int16_t Pos(const unsigned char* s, unsigned char ch) {
    const void* found = std::memchr(s + 1, ch, s[0]);
    return found ? static_cast<int16_t>(static_cast<const unsigned char*>(found) - s) : 0;
}

// Compares as if each text were zero-terminated, without writing into either buffer:
// past its end a text reads as 0. Texts that agree everywhere order by length.
int16_t pstrcmp(const unsigned char* a, const unsigned char* b) {
    int longest = std::max(a[0], b[0]);
    for (int i = 1; i <= longest; ++i) {
        int ca = i <= a[0] ? a[i] : 0;
        int cb = i <= b[0] ? b[i] : 0;
        if (ca != cb) return static_cast<int16_t>(ca - cb);
    }
    return static_cast<int16_t>(a[0] - b[0]);
}

void mc2pstr(char* s) {
    size_t length = std::min<size_t>(std::strlen(s), kMaxPStringLength);
    std::memmove(s + 1, s, length);
    s[0] = static_cast<char>(length);
}

void mp2cstr(unsigned char* s) {
    int length = s[0];
    std::memmove(s, s + 1, length);
    s[length] = 0;
}

unsigned char* Num_To_String(int32_t n, unsigned char* dest) {
    unsigned char digits[12];
    int count = 0;
    int64_t magnitude = n < 0 ? -int64_t(n) : int64_t(n);
    do {
        digits[count++] = static_cast<unsigned char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    int length = 0;
    if (n < 0) dest[++length] = '-';
    while (count > 0) dest[++length] = digits[--count];
    dest[0] = static_cast<unsigned char>(length);
    return dest;
}

int32_t count_characters(const unsigned char* text, int32_t length, int16_t script) {
    if (script < 0) script = current_script();
    const char* bytes = reinterpret_cast<const char*>(text);
    int32_t characters = 0;
    for (int32_t i = 0; i < length; ++characters)
        i += pf::character_byte_type(bytes + i, 0, script) == -1 ? 2 : 1;
    return characters;
}

int16_t count_str_characters(const unsigned char* s, int16_t script) {
    return static_cast<int16_t>(count_characters(s + 1, s[0], script));
}

int16_t BlockCompare(const void* a, const void* b, int32_t n) {
    if (n < 1) return 1;
    return std::memcmp(a, b, n) == 0 ? 1 : 0;
}

void BlockClear(void* address, int32_t n) {
    if (n > 0) std::memset(address, 0, n);
}

void Set_Rect(pf::Rect& rect, int16_t left, int16_t top, int16_t right, int16_t bottom) {
    rect.top = top;
    rect.left = left;
    rect.bottom = bottom;
    rect.right = right;
}

void Offset_Rect(pf::Rect& rect, int16_t dh, int16_t dv) {
    rect.left += dh;
    rect.right += dh;
    rect.top += dv;
    rect.bottom += dv;
}

void Inset_Rect(pf::Rect& rect, int16_t dh, int16_t dv) {
    rect.left += dh;
    rect.right -= dh;
    rect.top += dv;
    rect.bottom -= dv;
}

void Set_Pt(pf::Point& point, int16_t h, int16_t v) {
    point.h = h;
    point.v = v;
}

int16_t Pt_In_Rect(pf::Point point, const pf::Rect& rect) {
    return point.h >= rect.left && point.h < rect.right && point.v >= rect.top &&
           point.v < rect.bottom;
}

std::string fill_figures(std::string_view text, const std::vector<std::string>& figures) {
    std::string filled;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') {
            size_t n = size_t(text[++i] - '0');
            if (n < figures.size()) filled += figures[n];
            continue;
        }
        filled += text[i];
    }
    return filled;
}
