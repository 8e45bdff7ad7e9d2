#include "platform/drag/drag.h"
#include "platform/events/events.h"
#include "platform/files/files.h"
#include "platform/host/headless.h"
#include "platform/screen/screen.h"

#include <gtest/gtest.h>

#include "tests/platform/drag_loop.h"
#include "tests/platform/temp_folder.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

using namespace drag_loop;

std::vector<uint8_t> bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// Makes "PICT" when a receiver asks for it.
pf::OSErr send_picture(pf::FourCC type, void* refcon, pf::DragItemRef item, pf::DragRef drag) {
    ++*static_cast<int*>(refcon);
    if (type != pf::four_cc("PICT")) return pf::kBadDragFlavorErr;
    return pf::set_drag_item_flavor_data(drag, item, type, "pic", 3);
}

TEST(DragRecord, FlavoursAreAddedOnceAndReadInPieces) {
    pf::DragRef drag = pf::new_drag();
    EXPECT_EQ(pf::add_drag_item_flavor(drag, 7, pf::kFlavorTypeText, "hello", 5, pf::kFlavorNotSaved), pf::noErr);
    EXPECT_EQ(pf::add_drag_item_flavor(drag, 7, pf::kFlavorTypeText, "again", 5, 0), pf::kDuplicateFlavorErr);
    EXPECT_EQ(pf::add_drag_item_flavor(drag, 3, pf::kFlavorTypeText, nullptr, 4, 0), pf::kParamErr);
    pf::FlavorFlags flags = 0;
    EXPECT_EQ(pf::get_flavor_flags(drag, 7, pf::kFlavorTypeText, flags), pf::noErr);
    EXPECT_EQ(flags, pf::kFlavorNotSaved);
    EXPECT_EQ(pf::get_flavor_flags(drag, 7, pf::kFlavorTypeHfs, flags), pf::kBadDragFlavorErr);
    EXPECT_EQ(pf::get_flavor_flags(drag, 8, pf::kFlavorTypeText, flags), pf::kBadDragItemErr);
    char buffer[8] = {};
    int32_t size = 3;
    EXPECT_EQ(pf::get_flavor_data(drag, 7, pf::kFlavorTypeText, buffer, size, 3), pf::noErr);
    EXPECT_EQ(size, 2);  // only what lies past the offset
    EXPECT_EQ(std::string(buffer, 2), "lo");
    // A promise without a send procedure cannot be kept.
    EXPECT_EQ(pf::add_drag_item_flavor(drag, 7, pf::four_cc("PICT"), nullptr, 0, 0), pf::noErr);
    EXPECT_EQ(pf::get_flavor_data_size(drag, 7, pf::four_cc("PICT"), size), pf::kCantGetFlavorErr);
    pf::dispose_drag(drag);
    uint16_t count = 0;
    EXPECT_EQ(pf::count_drag_items(nullptr, count), pf::kBadDragRefErr);
}

TEST_F(TwoWindows, DragFromAToBDeliversEveryFlavour) {
    int asked = 0;
    fill_drag = [&asked](pf::DragRef drag) {
        pf::add_drag_item_flavor(drag, 1, pf::kFlavorTypeText, "1\t2", 3, 0);
        pf::add_drag_item_flavor(drag, 1, pf::four_cc("PICT"), nullptr, 0, 0);
        pf::add_drag_item_flavor(drag, 2, pf::kFlavorTypeText, "x", 1, 0);
        pf::set_drag_send_proc(drag, send_picture, &asked);
    };
    uint32_t attributes = 0;
    WindowRef dropped_on = nullptr;
    after_drop = [&](pf::DragRef drag) {
        pf::get_drag_attributes(drag, attributes);
        dropped_on = pf::drop_window(drag);
    };
    pf::driver_drag(centre(a), centre(b), 0, 6);
    run();
    EXPECT_EQ(track_result, pf::noErr);
    EXPECT_EQ(dropped_on, b);
    EXPECT_TRUE(attributes & pf::kDragHasLeftSenderWindow);
    EXPECT_FALSE(attributes & pf::kDragInsideSenderWindow);
    EXPECT_EQ(messages, (std::vector<std::string>{"enter B", "in B", "leave B", "drop B"}));
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].data, bytes("1\t2"));
    EXPECT_EQ(received[1].type, pf::four_cc("PICT"));
    EXPECT_EQ(received[1].data, bytes("pic"));
    EXPECT_EQ(received[2].item, 2u);
    EXPECT_EQ(asked, 1);  // the promise is kept once, then the data stays
}

TEST_F(TwoWindows, ModifiersOfThePressAndTheReleaseAreKept) {
    uint16_t now = 0, down = 0, up = 0;
    after_drop = [&](pf::DragRef drag) { pf::get_drag_modifiers(drag, now, down, up); };
    pf::driver_drag(centre(a), centre(b), pf::kOptionKey, 3);
    run();
    EXPECT_TRUE(down & pf::kOptionKey);
    EXPECT_TRUE(up & pf::kOptionKey);
}

TEST_F(TwoWindows, ADropOnTheDesktopIsNotAccepted) {
    pf::DropKind kind = pf::DropKind::kNotDropped;
    after_drop = [&kind](pf::DragRef drag) { pf::get_drop_location(drag, kind); };
    pf::driver_drag(centre(b), Point{400, 320}, 0, 4);  // below both windows
    run();
    EXPECT_EQ(track_result, pf::kDragNotAcceptedErr);
    EXPECT_EQ(kind, pf::DropKind::kDesktop);
    EXPECT_EQ(messages, (std::vector<std::string>{"enter B", "in B", "leave B"}));
    EXPECT_TRUE(received.empty());
}

TEST_F(TwoWindows, AWindowWithoutReceiverRefusesAndAClickIsNoDrag) {
    pf::driver_drag(centre(b), centre(a), 0, 4);
    run();
    EXPECT_EQ(track_result, pf::kDragNotAcceptedErr);
    pf::driver_click(centre(a));
    run();
    EXPECT_EQ(track_result, pf::kUserCanceledErr);
    EXPECT_TRUE(received.empty());
}

TEST_F(TwoWindows, FilesAndTextDroppedByAnotherProgramReachTheWindowUnderTheMouse) {
    TempFolder folder;
    std::string sales = folder.path + "/sales.txt", costs = folder.path + "/costs.txt";
    std::ofstream(sales) << "1\t2\n";
    std::ofstream(costs) << "3\n";
    pf::driver_drop_files(centre(b), {sales, costs});
    run();
    EXPECT_EQ(messages, (std::vector<std::string>{"enter B", "in B", "leave B", "drop B"}));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].item, 2u);
    ASSERT_EQ(received[0].type, pf::kFlavorTypeHfs);
    ASSERT_EQ(received[0].data.size(), sizeof(pf::HfsFlavor));
    pf::HfsFlavor file;
    std::memcpy(&file, received[0].data.data(), sizeof file);
    std::string back;
    ASSERT_EQ(pf::path_from_file_spec(file.spec, back), pf::noErr);
    EXPECT_EQ(std::filesystem::canonical(back), std::filesystem::canonical(sales));
    EXPECT_EQ(file.file_type, pf::four_cc("TEXT"));

    received.clear();
    pf::driver_drop_text(centre(b), "caf\xC3\xA9\nbar");
    run();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].type, pf::kFlavorTypeText);
    EXPECT_EQ(received[0].data, bytes("caf\x8E\rbar"));  // Mac Roman, CR line ends
    // Text Mac Roman cannot spell all of comes in UTF-8 beside it.
    received.clear();
    pf::driver_drop_text(centre(b), "\u6771\u4eac\nbar");
    run();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].data, bytes("??\rbar"));
    EXPECT_EQ(received[1].item, received[0].item);
    EXPECT_EQ(received[1].type, pf::kFlavorTypeUnicodeText);
    EXPECT_EQ(received[1].data, bytes("\u6771\u4eac\rbar"));

    // Dropped on the desktop, or a file gone before it arrived: nobody receives anything.
    received.clear();
    pf::driver_drop_files(Point{400, 320}, {sales});
    run();
    pf::driver_drop_files(centre(b), {folder.path + "/gone.txt"});
    run();
    EXPECT_TRUE(received.empty());
}

// Drags from A's centre to `target` in eight steps while B tracks the drag with
// `tracker` and the host presents the screen with `present` (its own again after).
void drag_watched(WindowRef a, WindowRef b, Point target, pf::DragTrackingHandler tracker, void (*present)()) {
    pf::HostProcs procs = pf::headless_host_procs();
    procs.present = present;
    pf::host_install(procs);
    pf::remove_tracking_handler(track, b);
    pf::install_tracking_handler(tracker, b, nullptr);
    pf::driver_drag(TwoWindows::centre(a), target, 0, 8);
    run();
    pf::host_install(pf::headless_host_procs());
}

// The headless host's presenting, with a look at the screen when a test asks for one.
bool capture_next = false;
int changed_on_outline = -1;
Rect outline_seen{};
void present_and_capture() {
    pf::headless_host_procs().present();
    if (!capture_next) return;
    capture_next = false;
    changed_on_outline = 0;
    for (int16_t h = outline_seen.left; h < outline_seen.right; ++h)
        if (pf::screen_pixel(h, outline_seen.top) != 0x00FF00) ++changed_on_outline;
    pf::screen_write_png((std::filesystem::path(QUORVIN_BINARY_DIR) / "drag_outline.png").string());
}

pf::OSErr capture_in_b(int16_t message, WindowRef window, void* refcon, pf::DragRef drag) {
    if (message == pf::kDragTrackingInWindow && !capture_next && changed_on_outline < 0) {
        Point mouse;
        pf::get_drag_mouse(drag, mouse);
        outline_seen = Rect{int16_t(mouse.v - 20), int16_t(mouse.h - 30), int16_t(mouse.v + 20), int16_t(mouse.h + 30)};
        capture_next = true;
    }
    return track(message, window, refcon, drag);
}

TEST_F(TwoWindows, TheOutlineFollowsTheMouseAndGoesAway) {
    drag_watched(a, b, Point{int16_t(centre(b).v + 20), int16_t(centre(b).h + 10)}, capture_in_b, present_and_capture);
    EXPECT_EQ(changed_on_outline, 30);  // every other pixel of the grey top edge
    pf::compose_screen();
    for (int16_t h = outline_seen.left; h < outline_seen.right; ++h)
        ASSERT_EQ(pf::screen_pixel(h, outline_seen.top), 0x00FF00u) << h;
}

}  // namespace

namespace {

// The highlight B shows while the drag is over it: what the screen showed on
// its frame's top row and inside it, then after the drag.
uint32_t hilite_pixel = 0, inside_pixel = 0;
bool hilite_captured = false;
Point hilite_corner{};
void present_hilite() {
    pf::headless_host_procs().present();
    if (hilite_captured || hilite_corner.h == 0) return;
    hilite_captured = true;
    hilite_pixel = pf::screen_pixel(int16_t(hilite_corner.h + 40), int16_t(hilite_corner.v + 1));
    inside_pixel = pf::screen_pixel(int16_t(hilite_corner.h + 40), int16_t(hilite_corner.v + 3));
    pf::screen_write_png((std::filesystem::path(QUORVIN_BINARY_DIR) / "drag_hilite.png").string());
}

pf::OSErr hilite_in_b(int16_t message, WindowRef window, void* refcon, pf::DragRef drag) {
    const Rect content = pf::window_content_rect(window);
    if (message == pf::kDragTrackingInWindow) {
        uint32_t attributes = 0;
        pf::get_drag_attributes(drag, attributes);
        if (attributes & pf::kDragHasLeftSenderWindow && pf::drag_hilite_window(drag) != window) {
            pf::show_drag_hilite(drag, window, Rect{0, 0, int16_t(content.bottom - content.top), int16_t(content.right - content.left)});
            hilite_corner = Point{content.top, content.left};
        }
    }
    return track(message, window, refcon, drag);
}

TEST_F(TwoWindows, TheWindowUnderTheDragShowsItsHighlightUntilTheDragLeaves) {
    drag_watched(a, b, Point{int16_t(centre(b).v + 30), centre(b).h}, hilite_in_b, present_hilite);
    ASSERT_TRUE(hilite_captured);
    EXPECT_EQ(hilite_pixel, 0xFF00FFu) << "the frame is the green inverted";
    EXPECT_EQ(inside_pixel, 0x00FF00u) << "two pixels wide";
    pf::compose_screen();
    EXPECT_EQ(pf::screen_pixel(int16_t(hilite_corner.h + 40), int16_t(hilite_corner.v + 1)), 0x00FF00u)
        << "gone with the drag";

    pf::DragRef drag = pf::new_drag();
    EXPECT_EQ(pf::show_drag_hilite(drag, b, Rect{0, 0, 3, 3}), pf::kParamErr);
    EXPECT_EQ(pf::drag_hilite_window(drag), nullptr);
    pf::dispose_drag(drag);
}

// A host with another program beside our windows that takes every drop
// made while `taking`, reading the drag's offer as it would.
struct OtherProgram {
    pf::OutsideDragOffer make_offer;
    int passes = 0;
    bool taking = true;
    bool asked_to_drop = false;
    pf::ClipboardOffer taken;
};
OtherProgram other;

void begin_outside(pf::OutsideDragOffer offer) { other.make_offer = std::move(offer); }
void follow_outside() { ++other.passes; }
bool end_outside(bool drop) {
    other.asked_to_drop = drop;
    if (!drop || !other.taking) return false;
    other.taken = other.make_offer();
    return true;
}

class DragToOtherProgram : public TwoWindows {
  protected:
    void SetUp() override {
        TwoWindows::SetUp();
        other = OtherProgram{};
        pf::HostProcs procs = pf::headless_host_procs();
        procs.begin_outside_drag = begin_outside;
        procs.follow_outside_drag = follow_outside;
        procs.end_outside_drag = end_outside;
        pf::host_install(procs);
    }
    void TearDown() override {
        pf::host_install(pf::headless_host_procs());
        TwoWindows::TearDown();
    }
};

TEST_F(DragToOtherProgram, ADropTakenByAnotherProgramGetsTheTextAndPictureAsTheClipboardGivesThem) {
    int asked = 0;
    fill_drag = [&asked](pf::DragRef drag) {
        pf::add_drag_item_flavor(drag, 1, pf::kFlavorTypeText, "own", 3, pf::kFlavorSenderOnly);
        pf::add_drag_item_flavor(drag, 2, pf::kFlavorTypeText, "1\t\xA5" "2\r", 5, 0);
        pf::add_drag_item_flavor(drag, 2, pf::four_cc("PICT"), nullptr, 0, 0);
        pf::set_drag_send_proc(drag, send_picture, &asked);
    };
    pf::DropKind kind = pf::DropKind::kNotDropped;
    after_drop = [&kind](pf::DragRef drag) { pf::get_drop_location(drag, kind); };
    pf::driver_drag(centre(a), Point{400, 320}, 0, 4);  // off our windows
    run();
    EXPECT_EQ(track_result, pf::noErr);
    EXPECT_EQ(kind, pf::DropKind::kOtherProgram);
    EXPECT_GT(other.passes, 0);
    EXPECT_TRUE(received.empty());  // none of our windows receives it
    EXPECT_TRUE(other.taken.has_text);
    EXPECT_EQ(other.taken.utf8, "1\t\u2022" "2\n");  // Mac Roman bullet, CR as LF
    ASSERT_TRUE(other.taken.png);
    EXPECT_EQ(asked, 0);  // the picture is made only when the other program reads it
}

TEST_F(DragToOtherProgram, ARefusedOrCancelledDragIsOursAsBefore) {
    fill_drag = [](pf::DragRef drag) { pf::add_drag_item_flavor(drag, 1, pf::kFlavorTypeText, "x", 1, 0); };
    other.taking = false;
    pf::driver_drag(centre(a), centre(b), 0, 4);
    run();
    EXPECT_EQ(track_result, pf::noErr);
    EXPECT_EQ(messages.back(), "drop B");
    EXPECT_FALSE(other.taken.has_text);
    pf::driver_click(centre(a));
    run();
    EXPECT_EQ(track_result, pf::kUserCanceledErr);
    EXPECT_FALSE(other.asked_to_drop);  // a click drops nothing anywhere
}

TEST(DragOffer, PicturesOnlyForTheSenderAndDragsWithoutTextOfferNoText) {
    pf::DragRef drag = pf::new_drag();
    pf::add_drag_item_flavor(drag, 1, pf::four_cc("PICT"), "pic", 3, pf::kFlavorSenderOnly);
    pf::add_drag_item_flavor(drag, 1, pf::kFlavorTypeHfs, "file", 4, 0);
    const pf::ClipboardOffer offer = pf::drag_offer_for_others(drag);
    EXPECT_FALSE(offer.has_text);
    EXPECT_FALSE(offer.png);
    pf::dispose_drag(drag);
}

}  // namespace
