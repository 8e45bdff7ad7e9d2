// Typed dates read into the evaluator's current value, and the date
// worksheet functions, which read their arguments from the formula.
#pragma once

#include <cstdint>
#include <string_view>

// 1 with g_value set to the serial when the text is a date, a time or both.
// With rewrite the text becomes its standard form.
int16_t parseDate(unsigned char* text, int16_t order, bool rewrite);
// Whether a text typed into a cell reads as a date (or a time), in the
// system's date order.
bool typed_as_date(std::string_view typed);

void Date_Func(int16_t number);  // 29 ... 35 on the serial in g_value
void read_date();                // 78
void read_time();                // 118
void add_time();                 // 63
void date360func();              // 120
