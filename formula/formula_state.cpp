// The module-wide state of the parser and the evaluator: the reading
// position, the current symbol, the value registers and the calculation
// context. Nothing here survives from one formula to the next but the
// context the caller sets.
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/model_services.h"

uint8_t Ch = 0;
const uint8_t* g_formulaPtr = nullptr;
const uint8_t* g_endPtr = nullptr;
MemoryRef ParserReturn = nullptr;
int16_t Sy = kSyUnknown;
int16_t Op = kOpNone;
int16_t ParserError = 0;
int16_t ParserCellType = 0;
int16_t g_functionNum = 0;

double g_value = 0.0;
int16_t g_valueType = kValueEmpty;
int16_t g_resultType = kValueEmpty;
unsigned char g_CellString[256] = {0};
int16_t g_textScript = 0;
int16_t g_calcCellScript = -1;
CellRange g_rangeRect = {{0, kScalarColumn}, {0, 0}};
int16_t g_layerRange[2] = {0, 0};
int16_t g_AccessError = 0;

CellPoint g_calcCell = {0, 0};
double g_calc_time = 0.0;
