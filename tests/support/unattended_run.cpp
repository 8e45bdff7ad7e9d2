// Linked into every test program: no person answers alerts or file dialogs there,
// so they are answered at once (Return for alerts, Escape for file dialogs).
// Tests that drive a dialog themselves turn this off for their own duration.
#include "ui/alerts.h"

namespace {

const bool unattended_for_tests = [] {
    set_unattended_run(true);
    return true;
}();

}  // namespace
