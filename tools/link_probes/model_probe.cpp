// A model routine that turns a stored formula into its text itself: linked
// with the model alone it must fail, for the formula layer is not there.
#include "formula/formula_text.h"

int main() {
    const uint8_t formula[] = {'='};
    return Interpret(0, formula, formula + 1, nullptr, nullptr) != nullptr;
}
