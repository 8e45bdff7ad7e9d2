// The worksheet function library that the dispatch hands calls to: each
// routine reads its own arguments through the argument protocol and leaves
// with the symbol after its call read.
#pragma once

#include <cstdint>

void CELLRC();
void ROUND_FUNC(int16_t number);
void IF_FUNC();
void AVERAGE();
void MINMAX(int16_t number);
void CHOOSE();
void COUNT();
void COUNTA();
void calc_atantoo();
void _AND();
void _OR();
void PV();
void FV();
void PMT();
void NPV();
void IRR();
void VAR_STDDEV(int16_t number);
void INDEX();
void H_V_LOOKUP(int16_t number);
void LOOKUP();
void LEN(int16_t number);
void LEFTB(int16_t number);
void MID(int16_t number);
void RIGHTB(int16_t number);
void trimclean_func(int16_t number);
void rept();
void DDB();
void SLN();
void SYD();
void DB();
void find_func(int16_t number);
void calc_rank();
void exact_func();
void CEILINGFLOOR_FUNC(int16_t number);
void calc_median();
void calc_offset();
void calc_permutcombin(int16_t number);
void concat_func();
void proper_func();
void substitute_func();
void calc_address();
void calc_indirect();
void replace_func(int16_t number);
void SumIf();
void CountIf();
