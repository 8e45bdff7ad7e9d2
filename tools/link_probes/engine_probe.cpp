// An engine routine that draws: linked with the engine alone it must fail,
// for the drawing library is not there.
#include "platform/draw/shapes.h"

int main() {
    pf::line_to(0, 0);
    return 0;
}
