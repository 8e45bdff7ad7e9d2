// Stand-ins for evaluator state not built yet.
#include "model/model_services.h"

// The evaluator's value register.
double g_value = 0;

// Formula text: no cell holds a stored formula yet, so a formula's text is empty.
MemoryRef Interpret(int32_t, const uint8_t*, const uint8_t*, MemoryRef layer, MemoryGlobals* globals) {
    if (!globals) globals = GetMemoryGlobals(layer);
    return pgAllocateNewRef(globals, 1, 0, 255, false);
}
