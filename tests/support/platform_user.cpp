// In test programs that link the application the user is the platform's
// event queue.
#include "platform/events/events.h"
#include "tests/support/user_events.h"

void forget_user_events() { pf::events_reset(); }
