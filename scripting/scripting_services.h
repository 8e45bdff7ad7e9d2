// Services of the Apple event object model that the required events call:
// the object-model handlers and their installation, the required-parameter
// check, file specifications from descriptors and the layer of a window.
#pragma once

#include <cstdint>

#include "platform/appleevents/appleevents.h"
#include "core/memory_manager.h"
#include "platform/files/files.h"
#include "platform/windows/windows.h"

pf::OSErr DoSetData(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr DoGetData(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr DoGetDataSize(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr DoCountElements(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr DoObjectsExist(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr DoNewElement(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
pf::OSErr DoSelect(const pf::AppleEvent* event, pf::AppleEvent* reply, long refcon);
void InstallObjectCallbacks();
void InstallAccessors();
void InstallCoercions();

// 0 when no required parameter was missed, -1715 when one was, else the error.
pf::OSErr GotRequiredParams(const pf::AppleEvent* event);
// The file specification of a file-specification (or coercible) descriptor.
pf::OSErr GetSpecFromDescriptor(const pf::AEDesc* descriptor, pf::FileSpec* spec);
// The layer shown by a document window, from the window's task; null for no
// window or a window without a task reference.
MemoryRef sheetRefFromWindow(pf::WindowRef window);
