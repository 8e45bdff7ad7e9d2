// The calculation library's alerts: a code names the alert in its low half
// and a number the alert shows in its high half.
#pragma once

#include <cstdint>

// Shows the alert of the code and answers the button (1 for a code without
// an alert).
int16_t quorvin_alert(int32_t code);
