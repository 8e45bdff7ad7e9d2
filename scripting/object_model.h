// The object model that scripts address: the application, its documents and
// document windows (by index from the front, or by name), the layers of a
// document (by index or name), cells and ranges of a layer (by reference text,
// "B2", "A1:C4", or a named range), the selection, and the properties value,
// formula and name.

// Specifiers are the records of platform/appleevents/object_text.h. Also the
// handlers the required events install, their callbacks and coercions, the
// required-parameter check, file specifications from descriptors and the
// layer of a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/appleevents/appleevents.h"
#include "platform/files/files.h"
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
    // Cells that a test picked (object_class kClassCell): these, not `range`.
    bool picked = false;
    std::vector<CellPoint> cells;
};

// Resolves a specifier (or a null descriptor: the application).
pf::OSErr resolve_object(const pf::AEDesc& specifier, ObjectToken& token);

// The name of an object in UTF-8, whole: a document's (its file's name), a
// window's title, a layer's.
std::string object_name(const ObjectToken& token);

// Counting the elements of a class in a container.
pf::OSErr count_elements(const ObjectToken& container, pf::FourCC element_class, long& count);

// Cell data: a value (a number, a text, an error's text, an empty text for an
// empty cell) and the text a cell shows in the entry line (a formula with its
// "="); formula results are brought up to date before values are read.
using CellReader = pf::AEDesc (*)(MemoryRef layer, CellPoint where);
pf::AEDesc cell_value(MemoryRef layer, CellPoint where);
pf::AEDesc cell_formula(MemoryRef layer, CellPoint where);
void finish_recalculation(MemoryRef layer);

// Texts between scripts and cells. A cell's text in a script other than
// Roman answers in UTF-8 ("utf8"), Roman text in Mac Roman ("TEXT") as it
// always did; `font` is the font the text is set in (the layer's default
// resolved).
pf::AEDesc cell_text_desc(std::string_view bytes, int16_t font);
// A cell's value text (`bytes`, its own text or a formula's text result) in
// the same way, decoded by the value's script (each run of a text by its own).
pf::AEDesc cell_value_desc(const uint8_t* cell, std::string_view bytes, int16_t font);
// A name or other text (UTF-8) as an answer: Mac Roman ("TEXT") when that
// spells it whole, as Roman texts always answered, else UTF-8 ("utf8").
pf::AEDesc text_desc(std::string_view utf8);
// The entry a value gives, UTF-8: a "utf8" text as it is, anything else
// coerced to Mac Roman text ("TEXT", numbers) and read as Roman.
// kAEEventFailedErr, and `refusal` saying why, when no installed script
// spells some character.
pf::OSErr entry_of_value(const pf::AEDesc& value, std::string& utf8, std::string& refusal);

// The document windows from front to back, and the workbook each shows.
pf::WindowRef nth_document_window(long index);
// The frontmost window that shows a layer of the workbook.
pf::WindowRef front_window_of(MemoryRef workbook);
long document_window_count();

// The object-model handlers and their installation.
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
