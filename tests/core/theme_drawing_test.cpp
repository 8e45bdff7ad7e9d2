// The shared hand-drawn elements, drawn into a window and written as a PNG.
#include "../app/app_fixture.h"
#include "ui/screen_geometry.h"
#include "platform/draw/draw.h"
#include "platform/screen/screen.h"

namespace {

uint32_t pixel_at(pf::WindowRef window, int16_t v, int16_t h) {
    pf::compose_screen();
    pf::Rect content = pf::window_content_rect(window);
    return pf::screen_pixel(content.left + h, content.top + v);
}

}  // namespace

TEST_F(AppTest, SharedElementsDrawWhereTheyAreAsked) {
    pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{120, 40, 320, 440});
    pf::show_window(w);
    pf::PortScope scope(pf::window_port(w));
    pf::erase_rect(pf::window_port(w)->port_rect);

    pf::Rect button{10, 10, 40, 60};
    msDrawThemeButton(&button, 3, 1, 0, 32);
    pf::Rect pressed{10, 70, 40, 120};
    msDrawThemeButton(&pressed, 3, 2, 0, 32);
    pf::Rect one_bit{10, 130, 40, 180};
    msDrawThemeButton(&one_bit, 3, 1, 0, 1);
    pf::Rect placard{60, 10, 90, 120};
    pf::RGBColor fill{0xEEEE, 0xEEEE, 0xEEEE};
    ShadeFrame(&placard, &fill, true);
    pf::Rect arrow{100, 10, 110, 30};
    msDrawThemePopupArrow(&arrow, 2, 1, 32);
    DrawColorTriangle(pf::Point{105, 60}, 1);
    DrawColorTriangle(pf::Point{105, 80}, 2);
    DrawColorTriangle(pf::Point{105, 100}, 3);
    pf::Rect shadowed{130, 10, 160, 80};
    DrawDropShadow(&shadowed);
    Draw_Bitmap(nullptr, 0, 200, pf::Point{145, 120}, false, 0);
    Draw_Bitmap(nullptr, 0, 181, pf::Point{145, 150}, true, 0);
    pf::compose_screen();
    pf::screen_write_png(QUORVIN_BINARY_DIR "/shared_elements.png");

    EXPECT_NE(pixel_at(w, 25, 35), 0xFFFFFFu);   // button face
    EXPECT_EQ(pixel_at(w, 10, 10), 0x777777u);   // its dark edge
    EXPECT_EQ(pixel_at(w, 60, 10), 0xFFFFFFu);   // raised placard: light top-left
    EXPECT_EQ(pixel_at(w, 89, 60), 0x888888u);   // and grey bottom edge
    EXPECT_EQ(pixel_at(w, 100, 14), 0x000000u);  // the arrow's top row
    EXPECT_EQ(pixel_at(w, 104, 14), 0x000000u);  // its point
    EXPECT_EQ(pixel_at(w, 160, 40), 0x000000u);  // the shadow below the frame
    pf::dispose_window(w);
}
