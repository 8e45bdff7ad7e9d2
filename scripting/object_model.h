// The Apple event object model for the required events: the object-model
// handlers and their installation, the required-parameter check and file
// specifications from descriptors.
#pragma once

#include <cstdint>

#include "platform/appleevents/appleevents.h"
#include "platform/files/files.h"

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
