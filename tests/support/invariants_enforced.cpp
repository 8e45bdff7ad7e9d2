// Linked into every test program: a broken invariant of the engine ends the
// test program that broke it.
#include "core/invariant_checks.h"

namespace {

const bool enforced = (enforce_invariant_checks(), true);

}  // namespace
