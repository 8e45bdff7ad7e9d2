// Recalculation at idle time: every formula cell of a layer is evaluated in
// passes that vary their order (rows, rows bottom-up, columns), repeated until
// a pass changes nothing; after passes that keep changing values every changed
// cell is tested for a circular reference. A step gives way as soon as an
// event waits (tested after every row, at most every 20 ticks) and resumes at
// the saved cell. There is no dependency graph.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "model/layer.h"

// stopCalc: the sign is the mode (negative automatic, positive manual), the
// magnitude 1 calculating, 2 at rest.
constexpr int16_t kCalcAutoRunning = -1;
constexpr int16_t kCalcAutoDone = -2;
constexpr int16_t kCalcManualRunning = 1;
constexpr int16_t kCalcManualIdle = 2;

// Layer cycles: 0 after a reset, 1 to 6 while passes run, 7 finished.
constexpr int16_t kCycleReset = 0;
constexpr int16_t kCycleBottomUp = 2;
constexpr int16_t kCycleColumns = 3;
constexpr int16_t kCycleConfirm = 6;
constexpr int16_t kCycleDone = 7;

// Ticks of the idle rhythm.
constexpr uint32_t kStepSliceTicks = 20;       // a step runs at least this long before it polls
constexpr uint32_t kWindowIdleTicks = 60;      // windows idle (caret) after this long
constexpr uint32_t kRestartAfterTicks = 3600;  // a finished automatic recalculation restarts
constexpr uint32_t kQuietTicks = 120;          // ... once this long passed without events

// DoComparison answers.
constexpr int16_t kCellUnchangedOrStored = 0;
constexpr int16_t kCellLengthChanged = 5;
constexpr int16_t kCircleReported = 500;

extern int16_t stopCalc;
extern LayerWindow CalcWind;
extern uint32_t calcTimer;
extern uint32_t gEventTime;
extern int16_t gCheckCirculars;

void ResetCalc(CellPoint start, LayerWindow window);
void do_calc_now(LayerWindow window, int16_t automatic);
void calc_proc();
void DoCalculation();
int16_t DoComparison();
void NextCalcStep();
void QDraw();
bool CheckIdle();

// The cycle of the layer at an index of a workbook, 7 when there is none.
int16_t GetIndexCalcCycle(MemoryRef workbook, int16_t index);

// The one driver of recalculation, for the windows' idle (calc_proc) and for
// every caller without windows alike (workbook_calculation.cpp). It steps the
// workbook's unfinished layers, each step on the layer calc_proc would choose,
// until every layer is finished, a circle is reported, or `budget` ticks of the
// platform clock have passed (looked at after every row); the next call
// resumes where this one stopped. A caller without windows starts with
// ResetWorkbookCalc. Answers whether the workbook rests: every layer finished,
// or stopped at a reported circle.
constexpr uint32_t kNoTickLimit = UINT32_MAX;
enum class CalcPace : uint8_t {
    through,   // steps until the workbook rests or the budget is spent
    one_step,  // a single step, whatever the layers' cycles: calc_proc moves on
               // to the next window and to waiting events between steps
};
bool calculate_workbook(MemoryRef workbook, uint32_t budget, CalcPace pace = CalcPace::through);
// Whether the running calculate_workbook has spent its budget (a step gives way then).
bool calc_budget_spent();
// Every layer of a workbook to be calculated again from its first cell, with
// no window: the clock of NOW and TODAY taken, no circle looked for yet.
void ResetWorkbookCalc(MemoryRef workbook);
// One DoCalculation on the layer of a workbook that calc_proc would choose;
// true when it ended at a reported circle.
bool StepWorkbookCalc(MemoryRef workbook);
