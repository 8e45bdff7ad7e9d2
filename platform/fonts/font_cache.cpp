// Font instances: glyphs, whole-pixel widths and metrics of a font in a size and face.
//
// Widths come from a scaled font without hinting whose metrics cairo rounds to whole
// pixels, so they are the same for every surface and anti-aliasing setting; the
// drawing fonts only render glyphs at positions made of those widths.
#include "platform/draw/draw.h"
#include "platform/fonts/font_instance.h"
#include "platform/text/mac_roman.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

namespace pf {

namespace {

bool antialiasing = true;

FT_Library freetype() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        FT_Init_FreeType(&lib);
        return lib;
    }();
    return library;
}

// A cairo face for a source; faces live as long as the process. A synthesised slant
// is not the face's: it is in the scaled fonts' matrix (see make_scaled_font).
cairo_font_face_t* font_face_for(const FontSource& source) {
    using Key = std::tuple<std::string, int, bool>;
    static std::map<Key, cairo_font_face_t*> faces;
    Key key{source.file, source.index, source.embolden};
    if (auto it = faces.find(key); it != faces.end()) return it->second;
    FT_Face ft_face = nullptr;
    cairo_font_face_t* face = nullptr;
    if (freetype() && !source.file.empty() &&
        FT_New_Face(freetype(), source.file.c_str(), source.index, &ft_face) == 0) {
        face = cairo_ft_font_face_create_for_ft_face(ft_face, 0);
        if (source.embolden) cairo_ft_font_face_set_synthesize(face, CAIRO_FT_SYNTHESIZE_BOLD);
    } else {
        face = cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }
    faces.emplace(key, face);
    return face;
}

// The slant of a face made italic by us, as the horizontal shift per unit of height
// (about 12 degrees). It is a shear of the scaled font's matrix, which a PDF page
// keeps as it keeps any text matrix; slanting the glyph outlines inside the font
// instead would print upright, as the page embeds the face's own outlines.
constexpr double kSynthesisedSlant = 0.2126;

cairo_scaled_font_t* make_scaled_font(cairo_font_face_t* face, int size, bool slant, cairo_antialias_t antialias,
                                      cairo_hint_style_t hint_style) {
    cairo_matrix_t font_matrix, ctm;
    cairo_matrix_init(&font_matrix, size, 0, slant ? -kSynthesisedSlant * size : 0, size, 0, 0);
    cairo_matrix_init_identity(&ctm);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias);
    cairo_font_options_set_hint_style(options, hint_style);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_scaled_font_t* font = cairo_scaled_font_create(face, &font_matrix, &ctm, options);
    cairo_font_options_destroy(options);
    return font;
}

// Width added to each drawn character by the emulated faces.
int face_extra_width(uint8_t face) {
    int extra = (face & kShadow) ? 2 : (face & kOutline) ? 1 : 0;
    if (face & kExtend) ++extra;
    if (face & kCondense) --extra;
    return extra;
}

bool draws_nothing(unsigned char byte) { return byte < 32 || byte == 127; }

uint32_t glyph_of(cairo_scaled_font_t* font, const std::string& utf8) {
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    uint32_t index = 0;
    if (cairo_scaled_font_text_to_glyphs(font, 0, 0, utf8.data(), int(utf8.size()), &glyphs, &count, nullptr,
                                         nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
        count > 0)
        index = uint32_t(glyphs[0].index);
    cairo_glyph_free(glyphs);
    return index;
}

int whole_pixels_up(double v) { return int(std::ceil(v - 0.01)); }

CharGlyph measure_character(cairo_scaled_font_t* measure, const std::string& utf8, uint8_t face) {
    CharGlyph c;
    c.glyph = glyph_of(measure, utf8);
    cairo_glyph_t g{c.glyph, 0, 0};
    cairo_text_extents_t te;
    cairo_scaled_font_glyph_extents(measure, &g, 1, &te);
    c.width = int16_t(std::max(0, int(std::lround(te.x_advance)) + face_extra_width(face)));
    return c;
}

// What a byte standing alone draws: nothing for control characters and the
// lead bytes of two-byte characters.
bool byte_draws_nothing(unsigned char byte, int16_t script) {
    return draws_nothing(byte) || script_lead_byte(byte, script);
}

void measure_glyphs(FontInstance& f, cairo_scaled_font_t* measure) {
    for (int b = 0; b < 256; ++b) {
        const unsigned char byte = uint8_t(b);
        if (byte_draws_nothing(byte, f.script)) {
            f.glyph[b] = kNoGlyph;
            f.width[b] = 0;
            continue;
        }
        const std::string utf8 = script_to_utf8(std::string_view(reinterpret_cast<const char*>(&byte), 1), f.script);
        const CharGlyph c = measure_character(measure, utf8, f.face);
        f.glyph[b] = c.glyph;
        f.width[b] = c.width;
    }
}

void measure_font(FontInstance& f, cairo_scaled_font_t* measure) {
    cairo_font_extents_t fe;
    cairo_scaled_font_extents(measure, &fe);
    int ascent = whole_pixels_up(fe.ascent);
    int descent = whole_pixels_up(fe.descent);
    int leading = std::max(0, int(std::lround(fe.height)) - ascent - descent);
    if (f.face & (kOutline | kShadow)) ++ascent;
    if (f.face & kShadow) descent += 2;
    else if (f.face & kOutline) ++descent;
    f.info.ascent = int16_t(ascent);
    f.info.descent = int16_t(descent);
    f.info.leading = int16_t(leading);
    f.info.widMax = *std::max_element(std::begin(f.width), std::end(f.width));
}

std::unique_ptr<FontInstance> make_instance(const TextStyle& style) {
    auto f = std::make_unique<FontInstance>();
    f->size = style.size > 0 ? style.size : kDefaultFontSize;
    f->face = style.face;
    f->script = font_to_script(style.font);
    const FontSource source = resolve_font_source(style.font, style.face & kBold, style.face & kItalic);
    cairo_font_face_t* face = font_face_for(source);
    cairo_scaled_font_t* measure =
        make_scaled_font(face, f->size, source.slant, CAIRO_ANTIALIAS_GRAY, CAIRO_HINT_STYLE_NONE);
    measure_glyphs(*f, measure);
    measure_font(*f, measure);
    if (double_byte_script(f->script)) f->measure = measure;  // for the two-byte characters to come
    else cairo_scaled_font_destroy(measure);
    f->drawing[0] = make_scaled_font(face, f->size, source.slant, CAIRO_ANTIALIAS_NONE, CAIRO_HINT_STYLE_FULL);
    f->drawing[1] = make_scaled_font(face, f->size, source.slant, CAIRO_ANTIALIAS_GRAY, CAIRO_HINT_STYLE_SLIGHT);
    return f;
}

uint64_t style_key(const TextStyle& style) {
    int16_t size = style.size > 0 ? style.size : kDefaultFontSize;
    return (uint64_t(uint16_t(style.font)) << 24) | (uint64_t(uint16_t(size)) << 8) | style.face;
}

}  // namespace

const FontInstance& font_instance(const TextStyle& style) {
    static std::unordered_map<uint64_t, std::unique_ptr<FontInstance>> instances;
    static uint64_t last_key = ~uint64_t(0);
    static const FontInstance* last = nullptr;
    uint64_t key = style_key(style);
    if (key == last_key) return *last;
    auto& slot = instances[key];
    if (!slot) slot = make_instance(style);
    last_key = key;
    last = slot.get();
    return *last;
}

CharGlyph character_glyph(const FontInstance& font, std::string_view text, size_t i, size_t& length) {
    const unsigned char lead = uint8_t(text[i]);
    length = 1;
    if (!font.measure || !script_lead_byte(lead, font.script) || i + 1 >= text.size())
        return CharGlyph{font.glyph[lead], font.width[lead]};
    length = 2;
    const uint16_t key = uint16_t(lead << 8 | uint8_t(text[i + 1]));
    auto it = font.pairs.find(key);
    if (it == font.pairs.end()) {
        const std::string utf8 = script_to_utf8(text.substr(i, 2), font.script);
        it = font.pairs.emplace(key, measure_character(font.measure, utf8, font.face)).first;
    }
    return it->second;
}

FontInfo font_info(const TextStyle& style) { return font_instance(style).info; }

int font_char_width(const TextStyle& style, unsigned char byte) { return font_instance(style).width[byte]; }

int32_t two_byte_text_advance(const FontInstance& font, std::string_view text) {
    int32_t width = 0;
    for (size_t i = 0, length = 1; i < text.size(); i += length) width += character_glyph(font, text, i, length).width;
    return width;
}

int font_text_width(const TextStyle& style, std::string_view text) { return text_advance(font_instance(style), text); }

void set_text_antialiasing(bool on) { antialiasing = on; }
bool text_antialiasing() { return antialiasing; }

}  // namespace pf
