// The flavours of a range: plain text, the "styl" style scrap and the object soup;
// copying them out, reading them back with every count and offset checked, the
// clipboard operations, and the byte order of stored style scraps.
#include "styledtext/styled_text_internal.h"

#include "platform/scrap/scrap.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {

// One entry of a "styl" block, as its fields lie in the block.
struct ScrapEntry {
    int32_t start;
    int16_t height, ascent, font;
    uint8_t face, unused;
    int16_t size;
    uint16_t red, green, blue;
};
static_assert(sizeof(ScrapEntry) == kScrapEntrySize);

int16_t scrap_count(pf::Handle scrap) {
    if (pf::get_handle_size(scrap) < kScrapHeaderSize) return 0;
    int16_t n = 0;
    std::memcpy(&n, *scrap, sizeof n);
    return n;
}

void set_scrap_count(pf::Handle scrap, int16_t n) { std::memcpy(*scrap, &n, sizeof n); }

ScrapEntry scrap_entry(pf::Handle scrap, int32_t k) {
    ScrapEntry e;
    std::memcpy(&e, *scrap + kScrapHeaderSize + k * kScrapEntrySize, sizeof e);
    return e;
}

void set_scrap_entry(pf::Handle scrap, int32_t k, const ScrapEntry& e) {
    std::memcpy(*scrap + kScrapHeaderSize + k * kScrapEntrySize, &e, sizeof e);
}

ScrapEntry entry_of(const WERunAttributes& a, int32_t start) {
    const WETextStyle& ts = a.runStyle;
    return ScrapEntry{start, a.runHeight, a.runAscent, ts.tsFont, ts.tsFace, 0, ts.tsSize,
                      ts.tsColor.red, ts.tsColor.green, ts.tsColor.blue};
}

bool same_style(const ScrapEntry& a, const ScrapEntry& b) {
    return a.height == b.height && a.ascent == b.ascent && a.font == b.font && a.face == b.face && a.size == b.size &&
           a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Ensures the block holds at least its header (an empty scrap).
pf::OSErr ensure_header(pf::Handle scrap) {
    if (pf::get_handle_size(scrap) >= kScrapHeaderSize) return pf::noErr;
    if (pf::OSErr err = pf::set_handle_size(scrap, kScrapHeaderSize)) return err;
    set_scrap_count(scrap, 0);
    return pf::noErr;
}

}  // namespace

// ---- Checking and byte order ------------------------------------------------------------------

pf::OSErr _WECheckStyleScrap(pf::Handle scrap) {
    if (!scrap) return pf::kNilHandleErr;
    pf::Size size = pf::get_handle_size(scrap);
    if (size < kScrapHeaderSize) return pf::kParamErr;
    int16_t n = scrap_count(scrap);
    if (n < 0 || kScrapHeaderSize + int64_t(n) * kScrapEntrySize > size) return pf::kParamErr;
    return pf::noErr;
}

namespace {

uint16_t byte_swapped(uint16_t v) { return __builtin_bswap16(v); }
uint32_t byte_swapped(uint32_t v) { return __builtin_bswap32(v); }

template <typename T>
void swap_field(char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    value = byte_swapped(value);
    std::memcpy(at, &value, sizeof value);
}

// Swaps every multi-byte field of `n` entries and of the count.
void swap_scrap(pf::Handle scrap, int16_t n) {
    swap_field<uint16_t>(*scrap);
    for (int32_t k = 0; k < n; ++k) {
        char* e = *scrap + kScrapHeaderSize + k * kScrapEntrySize;
        swap_field<uint32_t>(e + offsetof(ScrapEntry, start));
        for (size_t field : {offsetof(ScrapEntry, height), offsetof(ScrapEntry, ascent), offsetof(ScrapEntry, font),
                             offsetof(ScrapEntry, size), offsetof(ScrapEntry, red), offsetof(ScrapEntry, green),
                             offsetof(ScrapEntry, blue)})
            swap_field<uint16_t>(e + field);
    }
}

}  // namespace

pf::OSErr WEStyleScrapToBigEndian(pf::Handle scrap) {
    if (pf::OSErr err = _WECheckStyleScrap(scrap)) return err;
    if constexpr (std::endian::native == std::endian::little) swap_scrap(scrap, scrap_count(scrap));
    return pf::noErr;
}

pf::OSErr WEStyleScrapFromBigEndian(pf::Handle scrap) {
    if (!scrap || pf::get_handle_size(scrap) < kScrapHeaderSize) return pf::kParamErr;
    int16_t n = 0;
    std::memcpy(&n, *scrap, sizeof n);
    if constexpr (std::endian::native == std::endian::little) n = int16_t(byte_swapped(uint16_t(n)));
    if (n < 0 || kScrapHeaderSize + int64_t(n) * kScrapEntrySize > pf::get_handle_size(scrap)) return pf::kParamErr;
    if constexpr (std::endian::native == std::endian::little) swap_scrap(scrap, n);
    return pf::noErr;
}

// ---- Copying a range ------------------------------------------------------------------------------

pf::OSErr WECopyRange(int32_t start, int32_t end, pf::Handle text, pf::Handle styles, pf::Handle soup,
                      WEReference we) {
    const WEInstance& w = WEI(we);
    start = _WEPinInRange(start, 0, w.textLength);
    end = _WEPinInRange(end, 0, w.textLength);
    _WEReorder(&start, &end);
    if (text) {
        if (pf::OSErr err = pf::set_handle_size(text, end - start)) return err;
        std::memcpy(*text, WEText(we) + start, size_t(end - start));
    }
    if (soup)
        if (pf::OSErr err = pf::set_handle_size(soup, 0)) return err;
    int32_t first = _WEOffsetToRun(start, we);
    int32_t last = end > start ? _WEOffsetToRun(end - 1, we) : first - 1;
    if (styles) {
        int32_t n = last - first + 1;
        if (pf::OSErr err = pf::set_handle_size(styles, kScrapHeaderSize + n * kScrapEntrySize)) return err;
        set_scrap_count(styles, int16_t(n));
        WERunInfo info;
        for (int32_t run = first; run <= last; ++run) {
            _WEGetIndStyle(run, info, we);
            set_scrap_entry(styles, run - first, entry_of(info.runAttrs, std::max(info.runStart - start, 0)));
        }
    }
    if (soup) {
        WERunInfo info;
        for (int32_t run = first; run <= last; ++run) {
            _WEGetIndStyle(run, info, we);
            if (info.runAttrs.runStyle.tsObject && info.runStart >= start)
                if (pf::OSErr err = _WEAppendObject(soup, info, info.runStart - start)) return err;
        }
    }
    return pf::noErr;
}

// ---- Reading flavours back -----------------------------------------------------------------------

pf::OSErr _WEApplyStyleScrap(int32_t start, int32_t end, pf::Handle scrap, WEReference we) {
    if (pf::OSErr err = _WECheckStyleScrap(scrap)) return err;
    int16_t n = scrap_count(scrap);
    end = _WEPinInRange(end, 0, WEI(we).textLength);
    start = _WEPinInRange(start, 0, end);
    for (int32_t k = 0; k < n; ++k) {
        ScrapEntry e = scrap_entry(scrap, k);
        int64_t from = int64_t(start) + e.start;
        int64_t to = k + 1 < n ? int64_t(start) + scrap_entry(scrap, k + 1).start : end;
        from = std::clamp<int64_t>(from, start, end);
        to = std::clamp<int64_t>(to, start, end);
        if (from >= to) continue;
        WETextStyle ts;
        ts.tsFont = e.font;
        ts.tsFace = e.face;
        ts.tsSize = e.size;
        ts.tsColor = pf::RGBColor{e.red, e.green, e.blue};
        if (pf::OSErr err = _WESetStyleRange(int32_t(from), int32_t(to), weDoAll, ts, we)) return err;
    }
    return pf::noErr;
}

namespace {

#pragma pack(push, 1)
struct SoupHeader {
    int32_t offset;
    uint32_t kind;
    uint32_t zero;
    int32_t dataSize;
    int16_t height, width;
    uint8_t reserved[26];
};
#pragma pack(pop)
static_assert(sizeof(SoupHeader) == kSoupHeaderSize);

}  // namespace

pf::OSErr _WEApplySoup(int32_t start, pf::Handle soup, WEReference we) {
    pf::Size size = pf::get_handle_size(soup);
    for (pf::Size at = 0; at + kSoupHeaderSize <= size;) {
        SoupHeader header;
        std::memcpy(&header, *soup + at, sizeof header);
        if (header.dataSize < 0 || at + kSoupHeaderSize + header.dataSize > size) return pf::kParamErr;
        int64_t offset = int64_t(start) + header.offset;
        if (header.offset < 0 || offset >= WEI(we).textLength) return pf::kParamErr;
        pf::Handle data = nullptr;
        if (pf::OSErr err = _WEAllocate(header.dataSize, kAllocTempFirst, &data)) return err;
        std::memcpy(*data, *soup + at + kSoupHeaderSize, size_t(header.dataSize));
        WEObjectReference object = nullptr;
        if (pf::OSErr err = _WENewObject(header.kind, data, we, &object)) {
            pf::dispose_handle(data);
            return err;
        }
        WETextStyle ts;
        ts.tsObject = object;
        if (pf::OSErr err = _WESetStyleRange(int32_t(offset), int32_t(offset) + 1, weDoObject, ts, we)) {
            _WEFreeObject(object);
            return err;
        }
        at += kSoupHeaderSize + header.dataSize;
    }
    return pf::noErr;
}

// ---- Extending the saved flavours of typing ------------------------------------------------------------

pf::OSErr _WEPrependStyle(pf::Handle scrap, const WERunInfo& run, int32_t shift) {
    if (pf::OSErr err = ensure_header(scrap)) return err;
    int16_t n = scrap_count(scrap);
    ScrapEntry fresh = entry_of(run.runAttrs, 0);
    int32_t from = 1;
    if (n == 0 || !same_style(scrap_entry(scrap, 0), fresh)) {
        if (pf::OSErr err = _WEInsertSlot(scrap, &fresh, 0, kScrapEntrySize)) {
            return err;
        }
        // The slot went in before the count; move the count back to the front.
        std::memmove(*scrap, *scrap + kScrapEntrySize, kScrapHeaderSize);
        set_scrap_entry(scrap, 0, fresh);
        set_scrap_count(scrap, ++n);
    }
    for (int32_t k = from; k < n; ++k) {
        ScrapEntry e = scrap_entry(scrap, k);
        e.start += shift;
        set_scrap_entry(scrap, k, e);
    }
    return pf::noErr;
}

pf::OSErr _WEAppendStyle(pf::Handle scrap, const WERunInfo& run, int32_t offset) {
    if (pf::OSErr err = ensure_header(scrap)) return err;
    int16_t n = scrap_count(scrap);
    ScrapEntry fresh = entry_of(run.runAttrs, offset);
    if (n > 0 && same_style(scrap_entry(scrap, n - 1), fresh)) return pf::noErr;
    if (pf::OSErr err = pf::ptr_and_hand(&fresh, scrap, kScrapEntrySize)) return err;
    set_scrap_count(scrap, int16_t(n + 1));
    return pf::noErr;
}

namespace {

pf::OSErr soup_entry(const WERunInfo& run, int32_t offset, std::vector<char>& out) {
    WEObjectReference object = run.runAttrs.runStyle.tsObject;
    pf::Handle data = (*object)->data;
    int32_t size = data ? pf::get_handle_size(data) : 0;
    SoupHeader header{};
    header.offset = offset;
    header.kind = (*object)->kind;
    header.dataSize = size;
    header.height = (*object)->height;
    header.width = (*object)->width;
    out.resize(kSoupHeaderSize + size_t(size));
    std::memcpy(out.data(), &header, sizeof header);
    if (size) std::memcpy(out.data() + kSoupHeaderSize, *data, size_t(size));
    return pf::noErr;
}

}  // namespace

pf::OSErr _WEPrependObject(pf::Handle soup, const WERunInfo& run, int32_t shift) {
    if (!run.runAttrs.runStyle.tsObject) return pf::noErr;
    pf::Size size = pf::get_handle_size(soup);
    for (pf::Size at = 0; at + kSoupHeaderSize <= size;) {
        SoupHeader header;
        std::memcpy(&header, *soup + at, sizeof header);
        header.offset += shift;
        std::memcpy(*soup + at, &header, sizeof header);
        at += kSoupHeaderSize + std::max(header.dataSize, 0);
    }
    std::vector<char> entry;
    soup_entry(run, 0, entry);
    if (pf::OSErr err = pf::set_handle_size(soup, size + pf::Size(entry.size()))) return err;
    std::memmove(*soup + entry.size(), *soup, size_t(size));
    std::memcpy(*soup, entry.data(), entry.size());
    return pf::noErr;
}

pf::OSErr _WEAppendObject(pf::Handle soup, const WERunInfo& run, int32_t offset) {
    if (!run.runAttrs.runStyle.tsObject) return pf::noErr;
    std::vector<char> entry;
    soup_entry(run, offset, entry);
    return pf::ptr_and_hand(entry.data(), soup, pf::Size(entry.size()));
}

// ---- Clipboard --------------------------------------------------------------------------------------

namespace {

pf::OSErr put_flavour(pf::FourCC type, pf::Handle data) {
    pf::Size size = pf::get_handle_size(data);
    if (size == 0) return pf::noErr;
    return pf::put_scrap(type, *data, size_t(size));
}

// A handle that disposes itself.
struct OwnedHandle {
    pf::Handle h = nullptr;
    ~OwnedHandle() { _WEForgetHandle(&h); }
};

}  // namespace

pf::OSErr WECopy(WEReference we) {
    const WEInstance& w = WEI(we);
    if (w.selStart == w.selEnd) return pf::noErr;
    if (pf::OSErr err = pf::zero_scrap()) return err;
    WEObjectReference object = nullptr;
    if (WEGetSelectedObject(&object, we) == pf::noErr) {
        pf::Handle data = (*object)->data;
        return data ? put_flavour((*object)->kind, data) : pf::noErr;
    }
    OwnedHandle text, styles, soup;
    constexpr int16_t mode = kAllocClear | kAllocTempFirst;
    if (pf::OSErr err = _WEAllocate(0, mode, &text.h)) return err;
    if (pf::OSErr err = _WEAllocate(0, mode, &styles.h)) return err;
    if (pf::OSErr err = _WEAllocate(0, mode, &soup.h)) return err;
    if (pf::OSErr err = WECopyRange(w.selStart, w.selEnd, text.h, styles.h, soup.h, we)) return err;
    if (pf::OSErr err = put_flavour(pf::kScrapText, text.h)) return err;
    if (pf::OSErr err = put_flavour(kTypeStyles, styles.h)) return err;
    return put_flavour(kTypeSoup, soup.h);
}

pf::OSErr WECut(WEReference we) {
    if (pf::OSErr err = WECopy(we)) return err;
    pf::OSErr err = WEDelete(we);
    if (!err)
        if (WEActionReference action = WEPendingAction(we)) (*action)->kind = weAKCut;
    return err;
}

pf::OSErr WEPaste(WEReference we) {
    std::vector<uint8_t> text, styles;
    if (pf::get_scrap(pf::kScrapText, text) != pf::noErr) return weNoScrapErr;
    OwnedHandle scrap;
    if (pf::get_scrap(kTypeStyles, styles) == pf::noErr) {
        scrap.h = pf::ptr_to_hand(styles.data(), pf::Size(styles.size()));
        // A damaged style block is left out: the text is pasted in the present style.
        if (scrap.h && _WECheckStyleScrap(scrap.h) != pf::noErr) _WEForgetHandle(&scrap.h);
    }
    return WEPasteText(text.data(), int32_t(text.size()), scrap.h, we);
}

pf::OSErr WEPasteText(const void* text, int32_t length, pf::Handle styles, WEReference we) {
    pf::OSErr err = WEInsert(text, length, styles, nullptr, we);
    if (!err)
        if (WEActionReference action = WEPendingAction(we)) (*action)->kind = weAKPaste;
    return err;
}
