// The required Apple events: open application (the start-up action), open and
// print documents, quit, show preferences; and the one entry through which
// every document is opened from an event, the recent-documents menu or the
// saved workspace.
#pragma once

#include <cstdint>

#include "platform/appleevents/appleevents.h"
#include "platform/files/files.h"

void InstallAppleEvents();
pf::OSErr handle_open_app(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr handle_open_docs(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr handle_print_docs(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr handle_quit_app(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr handle_app_prefs(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
void AppInitHandler();
pf::OSErr AppOpenHandler(const pf::FileSpec* spec);
int16_t is_file_open(const pf::FileSpec* spec);
