// The one driver of recalculation: a workbook calculated for a budget of
// ticks, by the windows' idle one step at a time and by callers without
// windows (the converter, scripting, the fuzzers) through to the end.
#include "formula/recalc.h"

#include "model/workbook.h"
#include "platform/events/clock.h"

namespace {

// A caller whose pass keeps changing values and whose circle is never found
// stops after this many steps.
constexpr int kMaxSteps = 10000;

struct Budget {
    bool limited = false;
    uint32_t start = 0;
    uint32_t ticks = 0;
};

Budget running_budget;

// The budget of one call, the one of an enclosing call back when it ends.
class BudgetScope {
public:
    explicit BudgetScope(uint32_t ticks) : enclosing_(running_budget) {
        const bool limited = ticks != kNoTickLimit;
        running_budget = Budget{limited, limited ? pf::tick_count() : 0, ticks};
    }
    ~BudgetScope() { running_budget = enclosing_; }
    BudgetScope(const BudgetScope&) = delete;
    BudgetScope& operator=(const BudgetScope&) = delete;

private:
    Budget enclosing_;
};

bool has_unfinished_layer(MemoryRef workbook) {
    for (int16_t index = 0; index < num_SpreadSheets(workbook); ++index)
        if (GetIndexCalcCycle(workbook, index) != kCycleDone) return true;
    return false;
}

}  // namespace

bool calc_budget_spent() {
    return running_budget.limited && pf::tick_count() - running_budget.start >= running_budget.ticks;
}

bool calculate_workbook(MemoryRef workbook, uint32_t budget, CalcPace pace) {
    if (!workbook) return true;
    const BudgetScope scope(budget);
    if (pace == CalcPace::one_step) return StepWorkbookCalc(workbook) || !has_unfinished_layer(workbook);
    for (int step = 0; step < kMaxSteps && has_unfinished_layer(workbook); ++step) {
        if (StepWorkbookCalc(workbook)) return true;
        if (calc_budget_spent()) break;
    }
    return !has_unfinished_layer(workbook);
}
