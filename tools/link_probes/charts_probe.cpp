// A chart computing page breaks itself: linked with its own layer alone it
// must fail, for printing is above the charts.
#include "printing/page_breaks.h"

int main() {
    reset_page(nullptr);
    return 0;
}
