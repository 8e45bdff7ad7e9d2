// Printing opening the spelling engine itself: linked with its own layer alone
// it must fail, for spelling is above printing.
#include "spelling/spelling.h"

int main() {
    init_spell();
    return 0;
}
