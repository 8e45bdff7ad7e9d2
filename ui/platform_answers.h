// What the engine asks that the platform alone answers: font names, numbers
// and metrics, text widths in the current port, the user's waiting events,
// the foreground and the Command-period key. Filled in by the application at
// start-up.
#pragma once

void fill_platform_answers();
