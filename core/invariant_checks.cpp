#include "core/invariant_checks.h"

#include <cstdio>
#include <cstdlib>

void invariant_broken(const char* module, int number, const char* what) {
    if (number > 0)
        std::fprintf(stderr, "quorvin: invariant %d of %s broken: %s\n", number, module, what);
    else
        std::fprintf(stderr, "quorvin: the states of %s broken: %s\n", module, what);
    std::abort();
}
