// The closing of documents: the save question, closing every window of a
// workbook, and the close procedure of a document window.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "ui/task_manager.h"

// The result of the last Save or Save As: 0 saved, else cancelled or failed.
extern int16_t cxl_save;

// Asks whether to save the record's workbook before it closes (the close
// reason kCloseForQuit words the question for quitting). Save saves that
// workbook, whatever window is in front; a save that leaves changes unsaved
// (one layer of several written as text) stops the close. 1 to go on
// closing, 0 to stop.
int16_t AskSaveChanges(MemoryRef record, uint32_t reason);
// Closes every window of the record's workbook after one save question;
// nothing closes when the user cancels. 1 when they closed.
int16_t CloseFrontWorkSheet(MemoryRef record);
// Takes a document window down without touching its workbook: its editing
// ends, it leaves the Window menu, its layer forgets it, its task and record
// go.
void discard_doc_window(WindowRef window);
// Save (or, with save_as, Save As) of the record's workbook, whatever window
// is in front; sets and answers cxl_save.
int16_t save_window_workbook(MemoryRef record, bool save_as);
// Closes the workbook's windows in layer order, each through its close
// procedure; stops at the first that does not close.
void close_workbook_windows(MemoryRef workbook);
// Whether the workbook has changes a close would lose.
bool workbook_dirty(MemoryRef workbook);
