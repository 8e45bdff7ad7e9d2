#include "core/invariant_checks.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool enforced = false;

}  // namespace

bool invariant_checks_enforced() { return enforced; }
void enforce_invariant_checks() { enforced = true; }

void invariant_broken(const char* module, int number, const char* what) {
    if (number > 0)
        std::fprintf(stderr, "quorvin: invariant %d of %s broken: %s\n", number, module, what);
    else
        std::fprintf(stderr, "quorvin: the states of %s broken: %s\n", module, what);
    std::abort();
}
