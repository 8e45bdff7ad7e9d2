// Until alerts are drawn, the requests are kept in order for inspection.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AlertRequest {
    int16_t alert_id;
    int16_t kind;
    std::string text;  // Mac Roman
};

std::vector<AlertRequest>& alert_requests();
