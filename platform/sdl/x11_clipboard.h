// The system clipboard over X11 selections: the CLIPBOARD selection owned by a
// window of our own on a connection of our own, offering TARGETS, TIMESTAMP,
// text (UTF8_STRING, text/plain;charset=utf-8, STRING) and pictures
// (image/png), large data sent and received in INCR steps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pf {

struct ClipboardOffer;

// Connects to the X display; false when there is none (another clipboard is used).
bool x11_clipboard_open();
void x11_clipboard_close();
// Answers other programs' requests and notes a new owner of the clipboard;
// the host calls it whenever it takes input or waits.
void x11_clipboard_pump();
// The descriptor to wait on for the clipboard's traffic, -1 when closed.
int x11_clipboard_descriptor();

bool x11_clipboard_text(std::string& utf8);
bool x11_clipboard_png(std::vector<uint8_t>& png);
void x11_clipboard_offer(const ClipboardOffer& offer);

}  // namespace pf
