// The worksheet function library is not built yet. Each routine reads the
// arguments of its call, so that the evaluation goes on behind it, and gives
// the not-available error.
#include <cmath>

#include "core/number_text.h"
#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/library.h"

namespace {

void not_available() {
    GetNextValue();
    skip_remaining_arguments();
    g_CellString[0] = 0;
    mark_scalar();
    g_value = N_AN(kErrNA);
    SetNValue();
}

}  // namespace

void CELLRC() { not_available(); }
void ROUND_FUNC(int16_t) { not_available(); }
void IF_FUNC() { not_available(); }
void AVERAGE() { not_available(); }
void MINMAX(int16_t) { not_available(); }
void CHOOSE() { not_available(); }
void COUNT() { not_available(); }
void COUNTA() { not_available(); }
void calc_atantoo() { not_available(); }
void _AND() { not_available(); }
void _OR() { not_available(); }
void PV() { not_available(); }
void FV() { not_available(); }
void PMT() { not_available(); }
void NPV() { not_available(); }
void IRR() { not_available(); }
void VAR_STDDEV(int16_t) { not_available(); }
void INDEX() { not_available(); }
void H_V_LOOKUP(int16_t) { not_available(); }
void LOOKUP() { not_available(); }
void LEN(int16_t) { not_available(); }
void LEFTB(int16_t) { not_available(); }
void MID(int16_t) { not_available(); }
void RIGHTB(int16_t) { not_available(); }
void trimclean_func(int16_t) { not_available(); }
void rept() { not_available(); }
void DDB() { not_available(); }
void SLN() { not_available(); }
void SYD() { not_available(); }
void DB() { not_available(); }
void find_func(int16_t) { not_available(); }
void calc_rank() { not_available(); }
void exact_func() { not_available(); }
void CEILINGFLOOR_FUNC(int16_t) { not_available(); }
void calc_median() { not_available(); }
void calc_offset() { not_available(); }
void calc_permutcombin(int16_t) { not_available(); }
void concat_func() { not_available(); }
void proper_func() { not_available(); }
void substitute_func() { not_available(); }
void calc_address() { not_available(); }
void calc_indirect() { not_available(); }
void replace_func(int16_t) { not_available(); }
void SumIf() { not_available(); }
void CountIf() { not_available(); }

// Recalculation is not built yet: a workbook keeps the results it was read with.
void recalculate_workbook(MemoryRef) {}
