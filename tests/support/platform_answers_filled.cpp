// Test programs of the engine that drive the platform (its fonts, its event
// queue) get the platform's answers from the start.
#include "ui/platform_answers.h"

namespace {

const bool filled = (fill_platform_answers(), true);

}  // namespace
