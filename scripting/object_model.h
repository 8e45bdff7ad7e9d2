// The object model that scripts address: the application, its documents and
// document windows (by index from the front, or by name), the layers of a
// document (by index or name), cells and ranges of a layer (by reference text,
// "B2", "A1:C4", or a named range), the selection, and the properties value,
// formula and name.

// Specifiers are the records of platform/appleevents/object_text.h.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/appleevents/appleevents.h"
#include "platform/appleevents/object_text.h"
#include "platform/windows/windows.h"

// What a specifier resolves to: an object, or one property of it.
struct ObjectToken {
    pf::FourCC object_class = pf::kClassApplication;
    pf::WindowRef window = nullptr;  // documents: their front window
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;
    CellRange range{};
    pf::FourCC property = 0;  // 0: the object itself
};

// Resolves a specifier (or a null descriptor: the application).
pf::OSErr resolve_object(const pf::AEDesc& specifier, ObjectToken& token);

// The name of an object (Mac Roman): a document's, a window's title, a layer's.
std::string object_name(const ObjectToken& token);

// Counting the elements of a class in a container.
pf::OSErr count_elements(const ObjectToken& container, pf::FourCC element_class, long& count);

// The document windows from front to back, and the workbook each shows.
pf::WindowRef nth_document_window(long index);
long document_window_count();
