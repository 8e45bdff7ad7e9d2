#include "platform/events/events.h"

#include "platform/appleevents/appleevents.h"
#include "platform/events/events_internal.h"
#include "platform/host/host.h"
#include "platform/text/text.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace pf {

namespace {

// A bounded queue: when it is full new events are dropped, as a user who types
// faster than the program reads loses the last keys rather than the first.
constexpr size_t kQueueCapacity = 256;
// The longest single host wait inside a longer sleep, so that the clock is re-read often.
constexpr int kWaitSliceMs = 16;

std::deque<EventRecord> queue;

struct EventSource {
    EventSourceProc proc;
    EventSourceOrder order;
};
std::vector<EventSource> sources;

// Over a copy: a source may add or remove sources (its own among them) while it runs.
bool ask_sources(EventSourceOrder order, uint16_t mask, EventRecord& event, bool take) {
    const std::vector<EventSource> asked = sources;
    for (const EventSource& source : asked)
        if (source.order == order && source.proc(mask, event, take)) return true;
    return false;
}

bool find_queued(uint16_t mask, EventRecord& event, bool take) {
    auto it = std::find_if(queue.begin(), queue.end(), [mask](const EventRecord& e) {
        return (event_mask_of(e.what) & mask) != 0;
    });
    if (it == queue.end()) return false;
    event = *it;
    if (take) queue.erase(it);
    return true;
}

// A key event taken: the keyboard's script is the one it was typed in.
void follow_typing_script(const EventRecord& event) {
    const uintptr_t script = (event.message & kKeyScriptMask) >> 16;
    if ((event.what == kKeyDown || event.what == kAutoKey) && script > 0) set_keyboard_script(int16_t(script - 1));
}

// The first available event of the mask: sources before the queue (activate
// events), the queue, then sources after it (updates, high-level events).
bool find_event(uint16_t mask, EventRecord& event, bool take) {
    const bool found = ask_sources(EventSourceOrder::kBeforeQueue, mask, event, take) ||
                       find_queued(mask, event, take) ||
                       ask_sources(EventSourceOrder::kAfterQueue, mask, event, take);
    if (found && take) follow_typing_script(event);
    return found;
}

bool mouse_moved_event(uint16_t mask, RgnHandle mouse_region, EventRecord& event) {
    if (!mouse_region || !(mask & kOSMask)) return false;
    if (point_in_region(events_detail::input_state().mouse, mouse_region)) return false;
    stamp_event(event);
    event.what = kOSEvent;
    event.message = uintptr_t(kMouseMovedMessage) << 24;
    return true;
}

void make_null_event(EventRecord& event) {
    stamp_event(event);
    event.what = kNullEvent;
    event.message = 0;
}

// Waits for host input until `deadline` (ticks) has come; false when it has.
bool wait_until(uint32_t deadline) {
    uint32_t now = tick_count();
    if (int32_t(deadline - now) <= 0) return false;
    uint64_t remaining = ticks_to_milliseconds(deadline - now);
    host_wait(int(std::min<uint64_t>(remaining, kWaitSliceMs)));
    return true;
}

// An event of that kind and message, stamped with the time, mouse and modifiers.
EventRecord stamped_event(uint16_t kind, uintptr_t message) {
    EventRecord event;
    stamp_event(event);
    event.what = kind;
    event.message = message;
    return event;
}

// An Apple event sent to ourselves becomes a high-level event: the message
// holds the event class, the point the event id (high half in v, low in h).
void post_high_level_event(FourCC event_class, FourCC event_id) {
    EventRecord event = stamped_event(kHighLevelEvent, event_class);
    event.where = Point{int16_t(event_id >> 16), int16_t(event_id & 0xFFFF)};
    post_event_record(event);
}

const bool apple_events_connected = (ae_set_post_hook(post_high_level_event), true);

}  // namespace

FourCC high_level_event_id(const EventRecord& event) {
    return (FourCC(uint16_t(event.where.v)) << 16) | uint16_t(event.where.h);
}

bool events_detail::queue_holds(uint16_t mask) {
    EventRecord ignored;
    return find_queued(mask, ignored, false);
}

void stamp_event(EventRecord& event) {
    event.when = tick_count();
    event.where = events_detail::input_state().mouse;
    event.modifiers = current_modifiers();
}

uint16_t event_mask_of(uint16_t kind) {
    if (kind == kHighLevelEvent) return kHighLevelEventMask;
    if (kind == kOSEvent) return kOSMask;
    return kind < 16 ? uint16_t(1u << kind) : 0;
}

bool post_event_record(const EventRecord& event) {
    if (queue.size() >= kQueueCapacity) return false;
    queue.push_back(event);
    return true;
}

bool post_event(uint16_t kind, uintptr_t message) { return post_event_record(stamped_event(kind, message)); }

bool wait_next_event(uint16_t mask, EventRecord& event, uint32_t sleep, RgnHandle mouse_region) {
    uint32_t deadline = tick_count() + sleep;
    for (;;) {
        events_detail::poll_host();
        events_detail::repeat_held_key();
        events_detail::deliver_wheel_events();
        if (find_event(mask, event, true)) return true;
        if (mouse_moved_event(mask, mouse_region, event)) return true;
        if (!wait_until(deadline)) break;
    }
    make_null_event(event);
    return false;
}

bool get_next_event(uint16_t mask, EventRecord& event) {
    return wait_next_event(mask, event, 0, nullptr);
}

bool take_event(uint16_t mask, EventRecord& event, uint32_t timeout) {
    uint32_t deadline = tick_count() + timeout;
    for (;;) {
        events_detail::poll_host();
        if (find_event(mask, event, true)) return true;
        if (!wait_until(deadline)) break;
    }
    make_null_event(event);
    return false;
}

bool event_avail(uint16_t mask, EventRecord& event) {
    events_detail::poll_host();
    if (find_event(mask, event, false)) return true;
    make_null_event(event);
    return false;
}

void flush_events(uint16_t mask, uint16_t stop_mask) {
    auto stop = std::find_if(queue.begin(), queue.end(), [stop_mask](const EventRecord& e) {
        return (event_mask_of(e.what) & stop_mask) != 0;
    });
    queue.erase(std::remove_if(queue.begin(), stop,
                               [mask](const EventRecord& e) { return (event_mask_of(e.what) & mask) != 0; }),
                stop);
}

int queued_event_count() { return int(queue.size()); }

void add_event_source(EventSourceProc proc, EventSourceOrder order) {
    remove_event_source(proc);
    sources.push_back(EventSource{proc, order});
}

void remove_event_source(EventSourceProc proc) {
    std::erase_if(sources, [proc](const EventSource& s) { return s.proc == proc; });
}

uint32_t double_click_time() { return 30; }
uint32_t caret_time() { return 30; }

void events_reset() {
    queue.clear();
    sources.clear();
    events_detail::clear_wheel_events();
    events_detail::reset_key_repeat();
    events_detail::input_state() = events_detail::InputState{};
    set_wheel_proc(nullptr);
    ae_set_post_hook(post_high_level_event);
}

}  // namespace pf
