// What the engine's lower layers ask of its upper ones, answered by those
// layers: every program with the engine installs these at start-up, before
// it reads a document (the application after its own answers).
#pragma once

// The undo records' disposal (core's undo lists), formula texts, the user's
// stop, the error reports of long changes and the recalculation's restart
// after an undo record is written (the model), and the Excel
// workbook reader (the format table).
void install_engine_answers();
