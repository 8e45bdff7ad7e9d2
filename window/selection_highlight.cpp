// Selection highlighting.
#include "window/selection_highlight.h"

// Layers are not drawn in windows yet: there is no frame to invert.
void FrameCells(MemoryRef) {}
void AntRect(MemoryRef, CellPoint, CellPoint) {}
