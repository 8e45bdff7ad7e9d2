// The fixed capability table.
#include "platform/system/system.h"
#include "platform/text/scripts.h"

namespace pf {
namespace {

struct Capability {
    FourCC selector;
    int32_t response;
};

constexpr Capability kCapabilities[] = {
    {four_cc("sysv"), kSystemVersion},
    {four_cc("help"), 1},          // help tags present
    {four_cc("evnt"), 0x3},        // Apple events (bit 0) with scripting support (bit 1)
    {four_cc("ascr"), 0x0100},     // scripting component version
    {four_cc("sysa"), 2},          // the current architecture
    {four_cc("appr"), 0x1},        // themed appearance present
    {four_cc("apvr"), 0x0110},     // appearance version 1.1
    {four_cc("cbon"), 0x0140},     // toolbox version 1.4
    {four_cc("tsmv"), 0x0150},     // text services present
    {four_cc("tmTE"), 0x1},        // inline input in text fields
    {four_cc("drag"), 0x1},        // drag and drop
    {four_cc("qd  "), 0x0200},     // colour drawing
    {four_cc("nav "), 0x1},        // navigation dialogs
};

}  // namespace

OSErr query_capability(FourCC selector, int32_t& response) {
    if (selector == four_cc("scr#")) {  // enabled scripts
        response = script_count();
        return noErr;
    }
    for (const Capability& c : kCapabilities) {
        if (c.selector == selector) {
            response = c.response;
            return noErr;
        }
    }
    response = 0;
    return kCapabilityUnknownErr;
}

}  // namespace pf
