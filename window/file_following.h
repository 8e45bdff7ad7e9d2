// Open documents follow their files: a file renamed (or moved to the trash)
// while its document is open is found again by its alias; the document's
// windows take the new name. A document whose file went to the trash or was
// deleted closes when it has no changes, else stays open with its changes and
// the user is told once.
#pragma once

#include "core/memory_manager.h"

// Follows the file of the document window's workbook; false when the
// document was closed.
bool follow_document_file(MemoryRef record);
// Forgets the files of documents no longer open.
void forget_closed_documents();
