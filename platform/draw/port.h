// Ports: the records every drawing call works on (colours, patterns, transfer modes,
// face bits, the port and its drawing state), the current port, origins, clip, pen,
// colours and text state.
#pragma once

#include "platform/draw/region.h"
#include "platform/types.h"

#include <cstdint>

typedef struct _cairo_surface cairo_surface_t;

namespace pf {

// Colour with 16-bit channels.
struct RGBColor {
    uint16_t red = 0;
    uint16_t green = 0;
    uint16_t blue = 0;
    friend bool operator==(const RGBColor&, const RGBColor&) = default;
};

constexpr RGBColor kBlackColor{0, 0, 0};
constexpr RGBColor kWhiteColor{0xFFFF, 0xFFFF, 0xFFFF};

// 8x8 one-bit pattern: row v is pat[v], bit 0x80 is the leftmost pixel. Set bits take
// the fore colour, clear bits the back colour.
struct Pattern {
    uint8_t pat[8] = {};
    friend bool operator==(const Pattern&, const Pattern&) = default;
};

constexpr Pattern kBlackPattern{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
constexpr Pattern kWhitePattern{{0, 0, 0, 0, 0, 0, 0, 0}};
constexpr Pattern kGrayPattern{{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
constexpr Pattern kLightGrayPattern{{0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}};
constexpr Pattern kDarkGrayPattern{{0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}};

// Transfer modes. Source modes apply to copied bits and text, pattern modes to the pen
// and to fills.
enum : int16_t {
    kSrcCopy = 0, kSrcOr = 1, kSrcXor = 2, kSrcBic = 3,
    kNotSrcCopy = 4, kNotSrcOr = 5, kNotSrcXor = 6, kNotSrcBic = 7,
    kPatCopy = 8, kPatOr = 9, kPatXor = 10, kPatBic = 11,
    kNotPatCopy = 12, kNotPatOr = 13, kNotPatXor = 14, kNotPatBic = 15,
    kBlend = 32,          // source and destination mixed by the op colour (colour.h)
    kTransparent = 36,    // source pixels of the back colour (white for colour sources) left out
    kGrayishTextOr = 49,  // dimmed text
    kHiliteMode = 50,     // swaps the back colour and the highlight colour
};

// Text face bits.
enum : uint8_t {
    kBold = 1, kItalic = 2, kUnderline = 4, kOutline = 8,
    kShadow = 16, kCondense = 32, kExtend = 64,
};

// What a port draws into.
enum class SurfaceKind : uint8_t { kImage, kPdf };

// The state of a port that drawing code sets and puts back: pen, patterns, colours, text.
struct DrawingState {
    // Pen. The pen hangs below and to the right of its location.
    Point pen_loc{};
    Point pen_size{1, 1};  // v = height, h = width
    int16_t pen_mode = kPatCopy;
    Pattern pen_pat = kBlackPattern;
    Pattern back_pat = kWhitePattern;
    Pattern fill_pat = kBlackPattern;
    int16_t pen_visible = 0;  // hide_pen lowers it: while negative nothing is drawn

    RGBColor fg_color = kBlackColor;
    RGBColor bg_color = kWhiteColor;

    // Text state, drawn by platform/draw/text.h.
    int16_t text_font = 0;
    int16_t text_size = 0;  // 0 = the font's default size
    uint8_t text_face = 0;
    int16_t text_mode = kSrcOr;
    int32_t sp_extra = 0;  // extra width for spaces, 16.16 fixed
};

struct Port : DrawingState {
    // Target. For an image surface, pixel (x, y) of the surface is local point
    // (h = x + bounds.left, v = y + bounds.top). For a PDF page the same holds in points.
    cairo_surface_t* surface = nullptr;
    SurfaceKind kind = SurfaceKind::kImage;
    bool on_screen = false;  // changes are marked dirty on the screen
    Rect bounds{};           // the surface's extent in local coordinates
    // A window's port draws into the window's own surface: surface pixel (0, 0) lies at
    // this global point, and every change is reported to `changed` (local coordinates)
    // instead of marking the screen.
    Point surface_origin{};
    void (*changed)(const Port& port, const Rect& local) = nullptr;
    Rect port_rect{};        // the port's own area in local coordinates

    // Both in local coordinates; drawing is clipped to port_rect, vis_rgn and clip_rgn.
    RgnHandle vis_rgn = nullptr;
    RgnHandle clip_rgn = nullptr;

    // Recordings in progress (open_region, open_poly, open_picture), or null.
    struct RegionRecording* region_recording = nullptr;
    struct Polygon* poly_recording = nullptr;
    struct PictureRecorder* picture = nullptr;
};

// Makes a port on an image or PDF surface (not owned by the port) whose area is the
// whole surface with origin (0, 0): bounds and port_rect = {0, 0, height, width}, clip
// region wide open, visible region = port_rect. close_port frees the port's regions and
// ends the recordings left open on it.
void open_port(Port& port, cairo_surface_t* surface, int width, int height);
void close_port(Port& port);

// A new image surface (RGB24) for a port of width x height pixels. Memory for
// a few windows' pixels is held back: when the surface cannot be had, that
// reserve is given up and the surface tried again, so that an alert saying
// memory is short can still be drawn; a later surface made without it takes
// the reserve back. When even that fails the surface is cairo's error surface:
// it holds no pixels, and drawing on a port over it does nothing.
cairo_surface_t* new_port_surface(int width, int height);
// Whether the port's surface holds pixels to draw on.
bool has_pixels(const Port& port);

// A port on the screen (platform/screen), covering the screen area `global` with its
// top-left at local (0, 0). Drawing marks the screen dirty.
void open_screen_port(Port& port, const Rect& global);

// The current port; every drawing call draws into it.
Port* get_port();
void set_port(Port* port);

// Moves the local coordinate system so that the port's top-left is (h, v): bounds,
// port_rect and vis_rgn shift; clip_rgn and pen location keep their numbers.
void set_origin(int16_t h, int16_t v);

// Clip region: copies in and out (the port keeps its own region).
void set_clip(RgnHandle rgn);
void get_clip(RgnHandle rgn);
void clip_rect(const Rect& r);

// Pen.
void move_to(int16_t h, int16_t v);
void move(int16_t dh, int16_t dv);
Point get_pen();
void pen_size(int16_t width, int16_t height);
void pen_mode(int16_t mode);
void pen_pat(const Pattern& pat);
void back_pat(const Pattern& pat);
void pen_normal();  // size 1x1, mode pattern copy, black pattern
void hide_pen();
void show_pen();

// Colours of the current port.
void rgb_fore_color(const RGBColor& c);
void rgb_back_color(const RGBColor& c);
void get_fore_color(RGBColor& c);
void get_back_color(RGBColor& c);

// Text state of the current port.
void text_font(int16_t font);
void text_size(int16_t size);
void text_face(uint8_t face);
void text_mode(int16_t mode);

// What restore_port_state puts back: the drawing state and the clip region.
struct PortState {
    DrawingState drawing;
    RgnHandle clip_rgn = nullptr;  // owned by the state until restored or released
};

// Saves the state of `port`; restore_port_state puts it back and frees the saved clip.
// release_port_state frees a saved state that will not be restored.
PortState save_port_state(const Port& port);
void restore_port_state(Port& port, PortState& state);
void release_port_state(PortState& state);

// Sets the current port for a scope and puts the previous one back.
struct PortScope {
    explicit PortScope(Port* port) : saved(get_port()) { set_port(port); }
    ~PortScope() { set_port(saved); }
    PortScope(const PortScope&) = delete;
    PortScope& operator=(const PortScope&) = delete;
    Port* saved;
};

// Converts between the current port's local coordinates and global coordinates
// (surface coordinates moved by the port's surface_origin).
void local_to_global(Point& pt);
void global_to_local(Point& pt);

}  // namespace pf
