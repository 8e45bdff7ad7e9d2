// A workbook with the private clipboard emptied around each test, and the
// cells of a layer read back as text for comparison.
#pragma once

#include <cmath>
#include <string>

#include "ui/alerts.h"
#include "editing/clipboard.h"
#include "formula/error_values.h"
#include "undo_fixture.h"

class ClipboardTest : public UndoTest {
protected:
    void SetUp() override {
        UndoTest::SetUp();
        alert_requests().clear();
    }
    void TearDown() override {
        ClobberScrap(0);
        UndoTest::TearDown();
    }

    int16_t copy(CellRange range) { return copy_range(layer, range, false); }
    int16_t paste(CellRange selection) { return paste_range(layer, selection); }

    // A cell as "type:contents", "" when there is none: C the number, T the
    // text, F the formula text, 0 a format-only cell.
    std::string cell(int16_t row, int16_t column) {
        uint8_t* at = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&at, &length, CellPoint{row, column}, layer)) return "";
        switch (_cellType_(at)) {
            case kCellConstant: {
                const double value = load_f64(_formulaPtr_(at));
                if (checkValue(&value)) return "E:" + std::to_string(checkValue(&value));
                std::string number = std::to_string(value);
                number.erase(number.find_last_not_of('0') + 1);
                if (number.back() == '.') number.pop_back();
                return "C:" + number;
            }
            case kCellText:
                return "T:" + std::string(reinterpret_cast<const char*>(_formulaPtr_(at)), size_t(_formulaLength_(at)));
            case kCellFormula: return "F:" + formula(row, column);
            default: return "0:";
        }
    }

    uint8_t format_code(int16_t row, int16_t column) {
        uint8_t* at = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&at, &length, CellPoint{row, column}, layer)) return 0;
        return at[kFmtCode];
    }

    void set_format_code(int16_t row, int16_t column, uint8_t code) {
        uint8_t* at = nullptr;
        int16_t length = 0;
        ASSERT_TRUE(get_cell_ptr(&at, &length, CellPoint{row, column}, layer));
        at[kFmtCode] = code;
    }

    bool alert_says(const std::string& part) {
        for (const AlertRequest& request : alert_requests())
            if (request.text.find(part) != std::string::npos) return true;
        return false;
    }
};
