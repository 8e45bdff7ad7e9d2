// The drag record, shared by the files of the drag manager.
#pragma once

#include "platform/drag/drag.h"

#include <vector>

namespace pf::drag_detail {

struct Flavour {
    FourCC type = 0;
    FlavorFlags flags = 0;
    std::vector<uint8_t> data;
    bool promised = false;  // to be made by the send procedure
};

struct Item {
    DragItemRef ref = 0;
    Rect bounds{};
    std::vector<Flavour> flavours;
};

}  // namespace pf::drag_detail

namespace pf {

struct DragRecord {
    std::vector<drag_detail::Item> items;
    DragSendDataProc send_proc = nullptr;
    void* send_refcon = nullptr;
    uint16_t modifiers = 0;
    uint16_t down_modifiers = 0;
    uint16_t up_modifiers = 0;
    Point mouse{};
    uint32_t attributes = 0;
    DropKind drop = DropKind::kNotDropped;
    WindowRef drop_window = nullptr;
    WindowRef hilite_window = nullptr;  // the window showing the drag highlight
    Rect hilite_rect{};
};

}  // namespace pf
