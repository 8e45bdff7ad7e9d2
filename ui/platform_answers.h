// What the engine asks that the platform alone answers: font names, numbers
// and metrics, text widths in the current port, the user's waiting events,
// the foreground and the Command-period key. Filled in by the application at
// start-up, and by test programs of the engine that drive the platform's
// event queue.
#pragma once

void fill_platform_answers();
