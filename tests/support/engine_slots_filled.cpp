// Test programs that link the application get its services from the start,
// as the program does at start-up.
#include "app/engine_slots.h"

namespace {

const bool installed = (install_app_services(), true);

}  // namespace
