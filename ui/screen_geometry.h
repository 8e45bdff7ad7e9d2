// Screen and window geometry that depends on the system version (title bar,
// frame, usable screen area, where a new document window goes), the cursor and
// its busy and calculation animations, and the few hand-drawn elements that
// palettes and dialogs share.
#pragma once

#include <cstdint>

#include "platform/draw/draw.h"
#include "platform/windows/windows.h"
#include "resource_ids.h"

// ---- Geometry ---------------------------------------------------------------------
int16_t title_bar_height();
int16_t wind_left_extra();
pf::Point get_global_loc(pf::WindowRef window);
void GetScreenRect(pf::Rect* rect);
int16_t FindPositionScreen(pf::Point point, pf::Rect* area);
bool checkonscreen(pf::Point point);
// A document window: title (length-prefixed), placement bounds or none, the
// command bar window or none, the stagger step.
pf::WindowRef JustMakeWindow(const unsigned char* title, const pf::Rect* bounds, pf::WindowRef bar,
                             int16_t stagger);
bool MouseInRect(const pf::Rect* rect, bool use_highlight);

// ---- Cursors ------------------------------------------------------------------------
constexpr int16_t kArrowCursor = 0;
constexpr int16_t kTextCursor = 1;
constexpr int16_t kForgetCursor = 151;

void SetCursorTo(int16_t id);
void SpinAppCursor(int16_t n);
void SpinCalcCursor();
int16_t current_cursor_id();
// Back to the state at start (tests).
void reset_cursor_state();

// ---- Drawing ------------------------------------------------------------------------
void InvertButton(const pf::Rect* rect, bool use_highlight);
void msDrawThemeButton(const pf::Rect* rect, int16_t kind, int16_t state, int16_t value, int16_t depth);
void ShadeFrame(const pf::Rect* rect, const pf::RGBColor* fill, bool raised);
void msDrawThemePopupArrow(const pf::Rect* rect, int16_t size, int16_t state, int16_t depth);
void DrawColorTriangle(pf::Point point, int16_t direction);
void DrawDropShadow(const pf::Rect* rect);
// A 16 x 16 one-bit image at the point in the port: CURS resource_id placed by
// its hot spot when index < 1, else image `index` of SICN resource_id; dim greys
// it by half; mode 0 draws it through its mask (the cursor's, else itself),
// other modes are transfer modes.
void Draw_Bitmap(pf::Port* port, int16_t mode, int16_t resource_id, pf::Point point, bool dim, int16_t index);
