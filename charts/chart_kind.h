// Charts as a kind of drawing object: their procedures in the objects' table.
#pragma once

// Registers the chart kinds with the drawing objects (at start-up).
void register_chart_kind();
