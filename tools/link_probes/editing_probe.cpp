// Editing resolving a script's object specifier itself: linked with its own
// layer alone it must fail, for scripting is above editing.
#include "scripting/object_model.h"

int main() {
    ObjectToken token{};
    return resolve_object(pf::AEDesc{}, token);
}
