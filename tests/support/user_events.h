// Forgets the user's waiting events and held keys between tests: the
// stand-in user's in the engine's test programs, the platform's event queue
// in those that link the application.
#pragma once

void forget_user_events();
