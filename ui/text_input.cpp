#include "ui/text_input.h"

#include "ui/system_info.h"
#include "platform/events/clock.h"
#include "platform/system/system.h"

void* gActiveTSM = nullptr;

namespace {

constexpr int32_t kShortHelpDelay = 20;
constexpr uint32_t kHelpDelayHold = 60;

struct HelpDelay {
    int32_t saved = pf::kDefaultHelpTagDelay;
    uint32_t shortened_at = 0;
};

HelpDelay help;

}  // namespace

void InitTSMTE() {
    if (!TSMTE_Available()) return;
    g_system.flags |= kSysInputGlue;
    int32_t response = 0;
    if (pf::query_capability(pf::four_cc("tmTE"), response) == pf::noErr && (response & 1))
        g_system.flags |= kSysInlineInput;
}

void QuitTSMTE() {
    if (!(g_system.flags & kSysInlineInput)) return;
    g_system.flags &= ~kSysInlineInput;
    gActiveTSM = nullptr;
}

void InitHelpDelay() { help.saved = pf::help_tag_delay(); }

void DisposeHelpDelay() { pf::set_help_tag_delay(help.saved); }

void ResetHelpDelay(int16_t flag) {
    if (flag == 0) {
        pf::set_help_tag_delay(kShortHelpDelay);
        help.shortened_at = pf::tick_count();
        return;
    }
    if (pf::tick_count() - help.shortened_at > kHelpDelayHold) pf::set_help_tag_delay(help.saved);
}
