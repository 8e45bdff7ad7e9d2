#include "platform/controls/control_look.h"
#include "platform/draw/paint.h"
#include "platform/events/keyboard.h"
#include "platform/menus/menus.h"
#include "platform/screen/screen.h"
#include "tests/platform/toolbox_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using pf::Point;
using pf::Rect;
using toolboxtest::centre;

constexpr const char* kMenus = R"(
MENU 129 "File" {
  title "File"
  item "New" key N command 'new '
  item "Open…" key O
  separator
  item "Save" key S
  item "Save As…" key S shift
  item "Revert" disabled
  item "Recent" submenu 140
  item "Quit" key Q command 'quit'
}
MENU 130 "Edit" {
  title "Edit"
  item "Undo" key Z
  item "Bold" key B bold mark check
}
MENU 131 "Off" {
  title "Off"
  disabled
  item "Hidden" key H
}
MENU 140 "Recent" {
  title "Recent"
  item "First"
  item "Second"
  item "Third"
}
MBAR 128 {
  menus 129 130 131
}
)";

int32_t chosen = 0;

void choose_on_mouse_down(const pf::EventRecord& e) {
    if (e.what == pf::kMouseDown && e.where.v < pf::menu_bar_height()) chosen = pf::menu_select(e.where);
}

struct Menus : toolboxtest::Screen {
    void SetUp() override {
        toolboxtest::Screen::SetUp();
        install(kMenus);
        ASSERT_TRUE(pf::set_menu_bar_from_resource(128));
        pf::insert_menu(pf::get_menu(140), pf::kInsertHierarchicalMenu);
        pf::draw_menu_bar();
        chosen = 0;
    }

    // Rectangle of item `item` of a bar menu when pulled down (its rows, found by
    // the menu's size: items are tracked by the same definition).
    Point item_point(int16_t menu_id, int16_t item) {
        Rect title = pf::menu_title_rect(menu_id);
        pf::MenuRef menu = pf::get_menu_handle(menu_id);
        Rect menu_rect{pf::menu_bar_height(), title.left, 0, 0};
        pf::Port port;
        pf::open_screen_port(port, pf::screen_bounds());
        pf::PortScope scope(&port);
        pf::MenuDefParams params;
        pf::standard_menu_definition(pf::kMenuSizeMsg, menu, menu_rect, params);
        menu_rect.bottom = int16_t(menu_rect.top + menu->menu_height);
        menu_rect.right = int16_t(menu_rect.left + menu->menu_width);
        for (int16_t v = menu_rect.top; v < menu_rect.bottom; ++v) {
            params.hit = Point{v, int16_t(menu_rect.left + 20)};
            pf::standard_menu_definition(pf::kMenuFindItemMsg, menu, menu_rect, params);
            if (params.item_under_mouse == item) {
                pf::close_port(port);
                return Point{int16_t(v + 3), int16_t(menu_rect.left + 20)};
            }
        }
        pf::close_port(port);
        return Point{};
    }

    int32_t drag_in_bar(Point from, Point to) {
        pf::driver_drag(from, to);
        return play();
    }

    // Plays the script, whose first step presses in the bar; answers the choice.
    int32_t play() {
        pf::driver_run_until_idle(choose_on_mouse_down);
        return chosen;
    }
};

void press_key(unsigned char character, uint16_t modifiers = 0) {
    static constexpr struct {
        unsigned char character;
        uint8_t code;
    } kKeys[] = {{pf::kUpArrowChar, pf::kKeyCodeUpArrow},       {pf::kDownArrowChar, pf::kKeyCodeDownArrow},
                 {pf::kLeftArrowChar, pf::kKeyCodeLeftArrow},   {pf::kRightArrowChar, pf::kKeyCodeRightArrow},
                 {pf::kReturnChar, pf::kKeyCodeReturn},         {pf::kEscapeChar, pf::kKeyCodeEscape},
                 {'.', pf::kKeyCodePeriod}};
    for (const auto& key : kKeys)
        if (key.character == character) pf::driver_key(key.code, character, modifiers);
}

int32_t choice(int16_t id, int16_t item) { return (int32_t(id) << 16) | item; }

TEST_F(Menus, BarComesFromItsResourceWithTheHelpMenuLast) {
    pf::MenuRef help = pf::help_menu();
    pf::append_menu_item_text(help, "Quorvin Help");
    pf::insert_menu(pf::new_menu(132, "Window"), 0);
    EXPECT_EQ(pf::menu_bar_ids(), (std::vector<int16_t>{129, 130, 131, 132, pf::help_menu_id()}));
    EXPECT_EQ(help->title, "Help");
    EXPECT_FALSE(pf::menu_title_rect(130).empty());
    EXPECT_LT(pf::menu_title_rect(129).right, pf::menu_title_rect(130).left + 1);
    pf::MenuRef quit = nullptr;
    int16_t item = 0;
    ASSERT_TRUE(pf::get_index_menu_item_with_command_id(pf::four_cc("quit"), 1, &quit, &item));
    EXPECT_EQ(quit->id, 129);
    EXPECT_EQ(item, 8);
}

TEST_F(Menus, PullDownAndChooseRestoresThePixelsBeneath) {
    Point inside_menu = item_point(129, 2);
    uint32_t before = pixel(inside_menu);
    EXPECT_EQ(drag_in_bar(centre(pf::menu_title_rect(129)), inside_menu), choice(129, 2));
    EXPECT_EQ(pixel(inside_menu), before);
    // The chosen menu's title stays highlighted until the application is done.
    EXPECT_EQ(pf::screen_pixel(pf::menu_title_rect(129).left + 2, 5), 0x3B7EE0u);
    pf::hilite_menu(0);
    EXPECT_EQ(pf::screen_pixel(pf::menu_title_rect(129).left + 2, 5), 0xFFFFFFu);
}

TEST_F(Menus, ReleaseOutsideOrOnADisabledItemChoosesNothing) {
    EXPECT_EQ(drag_in_bar(centre(pf::menu_title_rect(129)), item_point(129, 6)), 0);  // Revert is disabled
    EXPECT_EQ(drag_in_bar(centre(pf::menu_title_rect(129)), item_point(129, 3)), 0);  // the separator
    EXPECT_EQ(drag_in_bar(centre(pf::menu_title_rect(129)), Point{400, 600}), 0);
    EXPECT_EQ(drag_in_bar(centre(pf::menu_title_rect(131)), Point{40, pf::menu_title_rect(131).left}), 0);
    // Sliding along the bar switches menus.
    EXPECT_EQ(drag_in_bar(centre(pf::menu_title_rect(129)), item_point(130, 1)), choice(130, 1));
}

TEST_F(Menus, KeyEquivalentsTellShiftAndRefuseDisabledItems) {
    EXPECT_EQ(pf::menu_key('s', pf::kCmdKey), choice(129, 4));
    pf::hilite_menu(0);
    EXPECT_EQ(pf::menu_key('S', pf::kCmdKey | pf::kShiftKey), choice(129, 5));
    EXPECT_EQ(pf::menu_key('s', pf::kCmdKey | pf::kOptionKey), 0);
    EXPECT_EQ(pf::menu_key('s', 0), 0);
    EXPECT_EQ(pf::menu_key('h', pf::kCmdKey), 0);  // its menu is disabled
    pf::disable_menu_item(pf::get_menu_handle(129), 4);
    EXPECT_EQ(pf::menu_key('s', pf::kCmdKey), 0);
    pf::enable_menu_command(pf::four_cc("new "), false);
    EXPECT_EQ(pf::menu_key('n', pf::kCmdKey), 0);
    pf::enable_menu_command(pf::four_cc("new "), true);
    EXPECT_EQ(pf::menu_key('n', pf::kCmdKey), choice(129, 1));
    pf::EventRecord key;
    key.what = pf::kKeyDown;
    key.message = 'z';
    key.modifiers = pf::kCmdKey;
    EXPECT_EQ(pf::menu_event(key), choice(130, 1));
}

TEST_F(Menus, HierarchicalChoiceNamesTheSubmenu) {
    Point recent = item_point(129, 7);
    Rect file_title = pf::menu_title_rect(129);
    pf::MenuRef file = pf::get_menu_handle(129);
    // The submenu opens to the right of its item, its first item level with it.
    Point into_submenu{int16_t(recent.v + 20), int16_t(file_title.left + file->menu_width + 20)};
    pf::driver_press(centre(file_title));
    // A tracking loop polls twice a round (button, then mouse): each point is held for two steps.
    for (Point p : {recent, Point{recent.v, int16_t(file_title.left + file->menu_width + 10)}, into_submenu}) {
        pf::driver_move(p);
        pf::driver_move(p);
    }
    pf::driver_release(into_submenu);
    pf::driver_run_until_idle(choose_on_mouse_down);
    EXPECT_EQ(chosen, choice(140, 2));
    // Releasing on the item that leads to the submenu chooses nothing.
    EXPECT_EQ(drag_in_bar(centre(file_title), recent), 0);
}

// Moves the held mouse from `from` to `to` a pixel or two at a time, as a hand
// does; each point is held for the two polls of a tracking round.
void walk(Point from, Point to) {
    int steps = std::max(std::abs(to.v - from.v), std::abs(to.h - from.h)) / 2 + 1;
    for (int i = 1; i <= steps; ++i) {
        Point p{int16_t(from.v + (to.v - from.v) * i / steps), int16_t(from.h + (to.h - from.h) * i / steps)};
        pf::driver_move(p);
        pf::driver_move(p);
    }
}

void hold_still(Point where, int polls) {
    for (int i = 0; i < polls; ++i) pf::driver_move(where);
}

struct Submenus : Menus {
    Rect file_title;
    Point recent;      // on the item that leads to the submenu
    Point third;       // on the submenu's third item
    Point quit;        // on the parent's item below the submenu's item
    int16_t parent_right = 0;

    void SetUp() override {
        Menus::SetUp();
        file_title = pf::menu_title_rect(129);
        recent = item_point(129, 7);
        quit = item_point(129, 8);
        parent_right = int16_t(file_title.left + pf::get_menu_handle(129)->menu_width);
        int16_t row = int16_t(quit.v - recent.v);
        third = Point{int16_t(recent.v + 2 * row), int16_t(parent_right + 20)};
    }

    void pull_down_to_recent() {
        pf::driver_press(centre(file_title));
        walk(centre(file_title), recent);
    }

    int32_t release_at(Point where) {
        pf::driver_release(where);
        return play();
    }
};

TEST_F(Submenus, MovingAlongTheItemAndAcrossKeepsTheSubmenuOpen) {
    pull_down_to_recent();
    Point item_end{recent.v, int16_t(parent_right - 4)};
    walk(recent, item_end);
    walk(item_end, Point{recent.v, int16_t(parent_right + 20)});
    walk(Point{recent.v, int16_t(parent_right + 20)}, third);
    EXPECT_EQ(release_at(third), choice(140, 3));
}

TEST_F(Submenus, ADiagonalPathAcrossTheNextItemReachesTheSubmenu) {
    pull_down_to_recent();
    // Straight for the submenu's third item, across the parent's Quit item.
    walk(recent, third);
    EXPECT_EQ(release_at(third), choice(140, 3));
}

TEST_F(Submenus, ADimmedItemOpensNoSubmenu) {
    pf::disable_menu_item(pf::get_menu_handle(129), 7);
    pull_down_to_recent();
    walk(recent, Point{recent.v, int16_t(parent_right + 20)});
    EXPECT_EQ(release_at(Point{recent.v, int16_t(parent_right + 20)}), 0);
}

TEST_F(Submenus, MovingAwayFromTheSubmenuClosesItAtOnce) {
    pull_down_to_recent();
    walk(recent, quit);  // straight down: not towards the submenu
    // The submenu's place is empty now: a release there chooses nothing.
    walk(quit, third);
    EXPECT_EQ(release_at(third), 0);
}

TEST_F(Submenus, LingeringOnAnotherItemEndsTheGrace) {
    pull_down_to_recent();
    // Halfway along the straight path to the third item: on Quit.
    Point on_quit{quit.v, int16_t((recent.h + third.h) / 2)};
    walk(recent, on_quit);
    hold_still(on_quit, 120);  // a second: longer than the grace
    walk(on_quit, third);
    EXPECT_EQ(release_at(third), 0);
    // Within the grace it would have been reached.
    pull_down_to_recent();
    walk(recent, on_quit);
    walk(on_quit, third);
    EXPECT_EQ(release_at(third), choice(140, 3));
}

TEST_F(Menus, AClickOnATitleLeavesTheMenuOpenForTheNextClick) {
    Point title = centre(pf::menu_title_rect(129));
    Point open_item = item_point(129, 2);
    uint32_t before = pixel(open_item);
    pf::driver_click(title);
    pf::driver_click(open_item);
    EXPECT_EQ(play(), choice(129, 2));
    EXPECT_EQ(pixel(open_item), before);

    // Clicks on a disabled item or a separator leave it open; a click outside closes it.
    pf::driver_click(title);
    pf::driver_click(item_point(129, 6));
    pf::driver_click(item_point(129, 3));
    pf::driver_click(Point{400, 600});
    EXPECT_EQ(play(), 0);
    EXPECT_EQ(pixel(open_item), before);
    EXPECT_EQ(pf::screen_pixel(pf::menu_title_rect(129).left + 2, 5), 0xFFFFFFu);

    // The mouse passing over an item highlights it: Return then chooses it.
    pf::driver_click(title);
    pf::driver_move(item_point(129, 4));
    press_key(pf::kReturnChar);
    EXPECT_EQ(play(), choice(129, 4));
}

TEST_F(Menus, APressOutsideAnOpenMenuClosesItAndItsReleaseChoosesNothing) {
    Point title = centre(pf::menu_title_rect(129));
    Point outside{400, 600};
    Point item = item_point(129, 4);
    uint32_t before = pixel(item);
    pf::driver_click(title);
    pf::driver_press(outside);
    pf::driver_move(item);
    pf::driver_release(item);
    EXPECT_EQ(play(), 0);
    EXPECT_EQ(pixel(item), before);
}

int mouse_downs = 0;

void count_and_choose(const pf::EventRecord& e) {
    if (e.what == pf::kMouseDown) ++mouse_downs;
    choose_on_mouse_down(e);
}

TEST_F(Menus, AClickOnADimmedTitleEndsTheChoiceAndLetsTheNextClickThrough) {
    Point dimmed = centre(pf::menu_title_rect(131));
    uint32_t unlit = pixel(dimmed);
    mouse_downs = 0;
    chosen = -1;
    pf::driver_click(dimmed);
    pf::driver_click(Point{400, 600});
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar, 0);
    pf::driver_run_until_idle(count_and_choose);
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(mouse_downs, 2);
    EXPECT_EQ(pixel(dimmed), unlit);

    // Dragged from an enabled title to the dimmed one and let go there: no title stays lit.
    pf::driver_drag(centre(pf::menu_title_rect(129)), dimmed);
    EXPECT_EQ(play(), 0);
    EXPECT_EQ(pixel(dimmed), unlit);
}

TEST_F(Menus, AClickOnAnotherTitleSwitchesMenusAndOnTheOpenTitleClosesIt) {
    pf::driver_click(centre(pf::menu_title_rect(129)));
    pf::driver_click(centre(pf::menu_title_rect(130)));
    pf::driver_click(item_point(130, 1));
    EXPECT_EQ(play(), choice(130, 1));
    pf::hilite_menu(0);

    pf::driver_click(centre(pf::menu_title_rect(129)));
    pf::driver_click(centre(pf::menu_title_rect(129)));
    EXPECT_EQ(play(), 0);
    // A press on the open menu dragged to an item still chooses it.
    pf::driver_click(centre(pf::menu_title_rect(129)));
    pf::driver_drag(centre(pf::menu_title_rect(129)), item_point(129, 4));
    EXPECT_EQ(play(), choice(129, 4));
}

TEST_F(Menus, KeysMoveOverEnabledItemsIntoSubmenusAndAlongTheBar) {
    // File: New, Open…, separator, Save, Save As…, Revert (disabled), Recent ▸, Quit.
    pf::driver_click(centre(pf::menu_title_rect(129)));
    for (unsigned char key : {pf::kDownArrowChar, pf::kDownArrowChar, pf::kDownArrowChar})  // over the separator
        press_key(key);
    press_key(pf::kDownArrowChar);
    press_key(pf::kDownArrowChar);  // over Revert to Recent
    press_key(pf::kRightArrowChar);  // Recent's submenu, First
    press_key(pf::kDownArrowChar);
    press_key(pf::kReturnChar);
    EXPECT_EQ(play(), choice(140, 2));
    pf::hilite_menu(0);

    pf::driver_click(centre(pf::menu_title_rect(129)));
    press_key(pf::kUpArrowChar);  // round to Quit
    press_key(pf::kUpArrowChar);  // Recent
    press_key(pf::kReturnChar);   // opens the submenu rather than choosing
    press_key(pf::kLeftArrowChar);
    press_key(pf::kUpArrowChar);  // over Revert to Save As…
    press_key(pf::kReturnChar);
    EXPECT_EQ(play(), choice(129, 5));
    pf::hilite_menu(0);

    // Right from an item without a submenu goes to the next title; Left from the first goes round to the last.
    pf::driver_click(centre(pf::menu_title_rect(129)));
    press_key(pf::kRightArrowChar);
    press_key(pf::kReturnChar);
    EXPECT_EQ(play(), choice(130, 1));
    pf::hilite_menu(0);
    pf::driver_click(centre(pf::menu_title_rect(129)));
    press_key(pf::kLeftArrowChar);  // the disabled menu: nothing to choose
    press_key(pf::kReturnChar);
    press_key(pf::kLeftArrowChar);
    press_key(pf::kDownArrowChar);
    press_key(pf::kReturnChar);
    EXPECT_EQ(play(), choice(130, 2));
}

TEST_F(Menus, EscapeAndCommandPeriodCloseWithoutAChoice) {
    Point open_item = item_point(129, 1);
    uint32_t before = pixel(open_item);
    for (uint16_t modifiers : {uint16_t(0), pf::kCmdKey}) {
        pf::driver_click(centre(pf::menu_title_rect(129)));
        press_key(pf::kDownArrowChar);
        press_key(modifiers ? '.' : pf::kEscapeChar, modifiers);
        chosen = -1;
        EXPECT_EQ(play(), 0);
        EXPECT_EQ(pixel(open_item), before);
        EXPECT_EQ(pf::screen_pixel(pf::menu_title_rect(129).left + 2, 5), 0xFFFFFFu);
    }
}

// Pops the menu up as a mouse-down handler does: the press is taken first.
int32_t pop_up_on_press(pf::MenuRef menu, int16_t item) {
    pf::EventRecord down;
    if (!pf::get_next_event(pf::kMouseDownMask, down)) return -1;
    return pf::pop_up_menu_select(menu, down.where.v, down.where.h, item);
}

// Window drawing not yet on the screen when a pop-up opens (its button lit) is
// put there first: the pixels saved beneath the menu, and given back when it
// closes, are the window's as drawn.
TEST_F(Menus, WindowDrawingPendingAsAPopUpOpensLiesBeneathIt) {
    pf::WindowRef window = pf::new_window(Rect{100, 100, 300, 500}, nullptr, true, pf::kPlainDialogBoxProc,
                                          pf::kFirstWindowOfClass, false, 0);
    Point at{200, 300};
    Point inside_menu{int16_t(at.v + 3), int16_t(at.h + 20)};
    pf::driver_click(at);
    press_key(pf::kEscapeChar);
    pf::EventRecord down;
    ASSERT_TRUE(pf::get_next_event(pf::kMouseDownMask, down));
    {
        pf::PortScope scope(pf::window_port(window));
        pf::fill_rect_color(Rect{0, 0, 200, 400}, pf::RGBColor{0xFFFF, 0, 0});  // not yet on the screen
    }
    EXPECT_EQ(pf::pop_up_menu_select(pf::get_menu_handle(140), down.where.v, down.where.h, 1), 0);
    EXPECT_EQ(pf::screen_pixel(inside_menu.h, inside_menu.v), 0xFF0000u);  // before any later composing
    pf::dispose_window(window);
}

TEST_F(Menus, PopUpClickedInPlaceStaysOpen) {
    pf::MenuRef menu = pf::get_menu_handle(140);
    Point at{200, 300};
    pf::driver_click(at);
    pf::driver_click(Point{450, 20});
    EXPECT_EQ(pop_up_on_press(menu, 3), 0);
    // Item 3 is under the click; Down goes round to the first.
    pf::driver_click(at);
    press_key(pf::kDownArrowChar);
    press_key(pf::kReturnChar);
    EXPECT_EQ(pop_up_on_press(menu, 3), choice(140, 1));
    // A click on an item chooses it.
    pf::driver_click(at);
    pf::driver_click(Point{int16_t(at.v + 30), int16_t(at.h + 10)});
    EXPECT_EQ(pop_up_on_press(menu, 2), choice(140, 3));
}

TEST_F(Menus, PopUpPutsTheItemUnderThePointButNeverAboveTheBar) {
    pf::MenuRef menu = pf::get_menu_handle(140);
    Point at{200, 300};
    pf::driver_press(at);
    pf::driver_move(Point{int16_t(at.v + 2), int16_t(at.h + 5)});
    pf::driver_release(Point{int16_t(at.v + 2), int16_t(at.h + 5)});
    EXPECT_EQ(pf::pop_up_menu_select(menu, at.v, at.h, 3), choice(140, 3));

    // Near the top, the menu moves down below the bar: item 3 is no longer under the point.
    Point high{5, 300};
    Point below_bar{int16_t(pf::menu_bar_height() + 6), 310};
    pf::driver_press(high);
    pf::driver_move(below_bar);
    pf::driver_release(below_bar);
    EXPECT_EQ(pf::pop_up_menu_select(menu, high.v, high.h, 3), choice(140, 1));
}

// Near the bottom of the screen a pop-up moves up to fit, so that another item
// than its current one lies under the press: a press held there and let go in
// place chooses nothing; leaving that item and coming back to it chooses it.
TEST_F(Menus, APopUpMovedToFitKeepsItsValueOnAPressHeldAndLetGoInPlace) {
    pf::MenuRef menu = pf::get_menu_handle(140);
    const Point low{int16_t(pf::screen_bounds().bottom - 12), 300};
    const Point above{int16_t(low.v - 40), 310};
    auto hold = [&](Point at) {
        for (int step = 0; step < 200; ++step) pf::driver_move(at);  // longer than a click
    };
    pf::driver_press(low);
    hold(low);
    pf::driver_release(low);
    press_key(pf::kEscapeChar);
    EXPECT_EQ(pop_up_on_press(menu, 1), 0);

    pf::driver_press(low);
    hold(low);
    hold(above);
    hold(low);
    pf::driver_release(low);
    EXPECT_EQ(pop_up_on_press(menu, 1), choice(140, 3));
}

TEST_F(Menus, SmallFontPopUpsAreSmaller) {
    pf::MenuRef menu = pf::get_menu_handle(140);
    pf::Port port;
    pf::open_screen_port(port, pf::screen_bounds());
    pf::PortScope scope(&port);
    Rect r{};
    pf::MenuDefParams params;
    pf::standard_menu_definition(pf::kMenuSizeMsg, menu, r, params);
    int16_t standard_height = menu->menu_height;
    pf::set_menu_font(menu, pf::kApplFont, 9);
    pf::standard_menu_definition(pf::kMenuSizeMsg, menu, r, params);
    EXPECT_LT(menu->menu_height, standard_height);
    pf::close_port(port);
}

TEST_F(Menus, MetacharactersMakeItemsAndPlainTextIsKeptAsItIs) {
    pf::MenuRef menu = pf::new_menu(150, "Test");
    pf::append_menu(menu, "Undo/Z;(-;Bold<B;(Gone;Ticked!\x12");
    ASSERT_EQ(pf::count_menu_items(menu), 5);
    EXPECT_EQ(pf::get_menu_item_text(menu, 1), "Undo");
    EXPECT_EQ(pf::get_item_key(menu, 1), 'Z');
    EXPECT_EQ(pf::get_menu_item_text(menu, 2), "-");
    EXPECT_FALSE(pf::is_menu_item_enabled(menu, 2));
    EXPECT_EQ(pf::get_item_style(menu, 3), pf::kFaceBold);
    EXPECT_FALSE(pf::is_menu_item_enabled(menu, 4));
    EXPECT_EQ(pf::get_item_mark(menu, 5), pf::kCheckMark);

    pf::insert_menu_item_text(menu, "(Layer/1;!<B", 1);
    EXPECT_EQ(pf::get_menu_item_text(menu, 2), "(Layer/1;!<B");
    EXPECT_TRUE(pf::is_menu_item_enabled(menu, 2));
    EXPECT_EQ(pf::get_item_key(menu, 2), 0);
    pf::delete_menu_item(menu, 1);
    EXPECT_EQ(pf::get_menu_item_text(menu, 1), "(Layer/1;!<B");
    pf::delete_menu_items(menu, 2, 100);
    EXPECT_EQ(pf::count_menu_items(menu), 1);
    pf::delete_menu_item(menu, 9);  // out of range: nothing
    EXPECT_EQ(pf::count_menu_items(menu), 1);
    pf::dispose_menu(menu);
}

// The pixels of a menu drawn by the standard definition at the top left of
// the screen.
std::vector<uint32_t> drawn_menu(pf::MenuRef menu) {
    pf::Port port;
    pf::open_screen_port(port, pf::screen_bounds());
    pf::PortScope scope(&port);
    Rect r{40, 0, 0, 0};
    pf::MenuDefParams params;
    pf::standard_menu_definition(pf::kMenuSizeMsg, menu, r, params);
    r = Rect{40, 0, int16_t(40 + menu->menu_height), menu->menu_width};
    pf::standard_menu_definition(pf::kMenuDrawMsg, menu, r, params);
    std::vector<uint32_t> pixels;
    for (int v = r.top; v < r.bottom; ++v)
        for (int h = r.left; h < r.right; ++h) pixels.push_back(pf::screen_pixel(h, v));
    pf::close_port(port);
    return pixels;
}

// An item in UTF-8 (a name no one script spells) reads as it was given and is
// drawn letter by letter, never with "?" for what Roman lacks; a text set
// later in Mac Roman is taken as Mac Roman again.
TEST_F(Menus, AUtf8ItemIsDrawnInTheFontsOfItsScripts) {
    const std::string mixed = "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv";
    pf::MenuRef menu = pf::new_menu(151, "Names");
    pf::append_menu_item_text(menu, "");
    pf::set_menu_item_utf8_text(menu, 1, mixed);
    EXPECT_EQ(pf::get_menu_item_text(menu, 1), mixed);
    EXPECT_TRUE(pf::menu_item(menu, 1)->utf8);
    const std::vector<uint32_t> letters = drawn_menu(menu);
    pf::set_menu_item_utf8_text(menu, 1, "Rozpo?et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv");
    EXPECT_NE(drawn_menu(menu), letters) << "the Czech letter is drawn, not a mark";
    pf::set_menu_item_utf8_text(menu, 1, "Rozpo\xC4\x8D" "et ??????.qrv");
    EXPECT_NE(drawn_menu(menu), letters) << "the Cyrillic letters are drawn, not marks";
    pf::set_menu_item_utf8_text(menu, 1, "Zürich");
    const std::vector<uint32_t> roman = drawn_menu(menu);
    pf::set_menu_item_text(menu, 1, "Z\x9Frich");
    EXPECT_FALSE(pf::menu_item(menu, 1)->utf8);
    EXPECT_EQ(drawn_menu(menu), roman) << "a Roman text draws as its Mac Roman item";
    pf::dispose_menu(menu);
}

// A 4 x 4 grid of coloured boxes, 10 pixels each, as graphical menus are made.
constexpr int kBox = 10;
void grid_definition(int16_t message, pf::MenuRef menu, Rect& r, pf::MenuDefParams& params) {
    switch (message) {
        case pf::kMenuSizeMsg:
            menu->menu_width = menu->menu_height = 4 * kBox;
            break;
        case pf::kMenuPopUpMsg:
            r = Rect{params.top, params.left, int16_t(params.top + 4 * kBox), int16_t(params.left + 4 * kBox)};
            break;
        case pf::kMenuDrawMsg:
            for (int item = 1; item <= 16; ++item) {
                int row = (item - 1) / 4, column = (item - 1) % 4;
                uint16_t level = uint16_t(item * 0x0F00);
                pf::fill_rect_color(Rect{int16_t(r.top + row * kBox), int16_t(r.left + column * kBox),
                                         int16_t(r.top + row * kBox + kBox), int16_t(r.left + column * kBox + kBox)},
                                    pf::RGBColor{level, 0, 0});
            }
            break;
        case pf::kMenuFindItemMsg: {
            int row = (params.hit.v - r.top) / kBox, column = (params.hit.h - r.left) / kBox;
            params.item_under_mouse = params.item_selected = int16_t(row * 4 + column + 1);
            break;
        }
        default:
            break;
    }
}

TEST_F(Menus, CustomDefinitionDrawsAndHitTests) {
    pf::register_menu_definition(251, grid_definition);
    install(R"(
MENU 145 "Colours" {
  title "Colours"
  definition 251
}
)");
    pf::MenuRef colours = pf::get_menu(145);
    ASSERT_NE(colours, nullptr);
    Point at{100, 100};
    Point box_7{int16_t(at.v + kBox + 4), int16_t(at.h + 2 * kBox + 4)};  // row 2, column 3
    pf::driver_press(at);
    pf::driver_move(box_7);
    pf::driver_release(box_7);
    EXPECT_EQ(pf::pop_up_menu_select(colours, at.v, at.h, 1), choice(145, 7));

    // Drawn where it pops up, then gone again.
    pf::Port port;
    pf::open_screen_port(port, pf::screen_bounds());
    pf::set_port(&port);
    Rect r{at.v, at.h, int16_t(at.v + 40), int16_t(at.h + 40)};
    pf::MenuDefParams params;
    grid_definition(pf::kMenuDrawMsg, colours, r, params);
    EXPECT_EQ(pf::screen_pixel(box_7.h, box_7.v), uint32_t(pf::pixel_of(pf::RGBColor{7 * 0x0F00, 0, 0}) & 0xFFFFFF));
    pf::close_port(port);
    pf::dispose_menu(colours);
}

// Writes the screen while a menu is open, for people to look at.
std::string capture_path;
void capture_composer() {
    pf::compose_screen();
    Rect title = pf::menu_title_rect(129);
    if (pf::screen_pixel(title.left + 4, pf::menu_bar_height() + 4) == (pf::pixel_of(pf::kLookMenu) & 0xFFFFFF))
        pf::screen_write_png(capture_path);
}

TEST_F(Menus, ScreenshotOfAMenuPulledDown) {
    pf::WindowRef doc = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes,
                                          Rect{60, 40, 300, 400});
    pf::set_window_title(doc, "Sheet 1");
    pf::show_window(doc);
    pf::driver_run_until_idle([](const pf::EventRecord& e) {
        if (e.what == pf::kUpdateEvent) {
            pf::WindowRef w = reinterpret_cast<pf::WindowRef>(e.message);
            pf::begin_update(w);
            pf::end_update(w);
        }
    });
    capture_path = toolboxtest::screenshot_path("menu_pulled_down.png");
    std::filesystem::remove(capture_path);
    pf::host_set_composer(capture_composer);
    drag_in_bar(centre(pf::menu_title_rect(129)), item_point(129, 5));
    pf::host_set_composer(toolboxtest::guarded_compose);
    EXPECT_TRUE(std::filesystem::exists(capture_path));

    // Opened by a click, "Save As…" highlighted from the keyboard (the last screen
    // written before Escape closes it).
    capture_path = toolboxtest::screenshot_path("menu_keyboard_highlight.png");
    std::filesystem::remove(capture_path);
    pf::host_set_composer(capture_composer);
    pf::driver_click(centre(pf::menu_title_rect(129)));
    for (int i = 0; i < 4; ++i) press_key(pf::kDownArrowChar);
    press_key(pf::kEscapeChar);
    play();
    pf::host_set_composer(toolboxtest::guarded_compose);
    EXPECT_TRUE(std::filesystem::exists(capture_path));
}

}  // namespace
