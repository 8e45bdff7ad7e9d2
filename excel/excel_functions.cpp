// Excel's built-in functions by their index in the token stream.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "excel/formula_tokens.h"

namespace {

struct ExcelFunction {
    uint16_t index;
    int8_t arguments;  // -1: variable
    const char* name;
};

constexpr int8_t V = -1;

constexpr ExcelFunction kFunctions[] = {
    {0, V, "COUNT"}, {1, V, "IF"}, {2, 1, "ISNA"}, {3, 1, "ISERROR"}, {4, V, "SUM"}, {5, V, "AVERAGE"},
    {6, V, "MIN"}, {7, V, "MAX"}, {8, V, "ROW"}, {9, V, "COLUMN"}, {10, 0, "NA"}, {11, V, "NPV"},
    {12, V, "STDEV"}, {13, V, "DOLLAR"}, {14, V, "FIXED"}, {15, 1, "SIN"}, {16, 1, "COS"}, {17, 1, "TAN"},
    {18, 1, "ATAN"}, {19, 0, "PI"}, {20, 1, "SQRT"}, {21, 1, "EXP"}, {22, 1, "LN"}, {23, 1, "LOG10"},
    {24, 1, "ABS"}, {25, 1, "INT"}, {26, 1, "SIGN"}, {27, 2, "ROUND"}, {28, V, "LOOKUP"}, {29, V, "INDEX"},
    {30, 2, "REPT"}, {31, 3, "MID"}, {32, 1, "LEN"}, {33, 1, "VALUE"}, {34, 0, "TRUE"}, {35, 0, "FALSE"},
    {36, V, "AND"}, {37, V, "OR"}, {38, 1, "NOT"}, {39, 2, "MOD"}, {40, 3, "DCOUNT"}, {41, 3, "DSUM"},
    {42, 3, "DAVERAGE"}, {43, 3, "DMIN"}, {44, 3, "DMAX"}, {45, 3, "DSTDEV"}, {46, V, "VAR"}, {47, 3, "DVAR"},
    {48, 2, "TEXT"}, {49, V, "LINEST"}, {50, V, "TREND"}, {51, V, "LOGEST"}, {52, V, "GROWTH"}, {56, V, "PV"},
    {57, V, "FV"}, {58, V, "NPER"}, {59, V, "PMT"}, {60, V, "RATE"}, {61, 3, "MIRR"}, {62, V, "IRR"},
    {63, 0, "RAND"}, {64, V, "MATCH"}, {65, 3, "DATE"}, {66, 3, "TIME"}, {67, 1, "DAY"}, {68, 1, "MONTH"},
    {69, 1, "YEAR"}, {70, V, "WEEKDAY"}, {71, 1, "HOUR"}, {72, 1, "MINUTE"}, {73, 1, "SECOND"}, {74, 0, "NOW"},
    {75, 1, "AREAS"}, {76, 1, "ROWS"}, {77, 1, "COLUMNS"}, {78, V, "OFFSET"}, {82, V, "SEARCH"},
    {83, 1, "TRANSPOSE"}, {86, 1, "TYPE"}, {97, 2, "ATAN2"}, {98, 1, "ASIN"}, {99, 1, "ACOS"}, {100, V, "CHOOSE"},
    {101, V, "HLOOKUP"}, {102, V, "VLOOKUP"}, {105, 1, "ISREF"}, {109, V, "LOG"}, {111, 1, "CHAR"},
    {112, 1, "LOWER"}, {113, 1, "UPPER"}, {114, 1, "PROPER"}, {115, V, "LEFT"}, {116, V, "RIGHT"},
    {117, 2, "EXACT"}, {118, 1, "TRIM"}, {119, 4, "REPLACE"}, {120, V, "SUBSTITUTE"}, {121, 1, "CODE"},
    {124, V, "FIND"}, {125, V, "CELL"}, {126, 1, "ISERR"}, {127, 1, "ISTEXT"}, {128, 1, "ISNUMBER"},
    {129, 1, "ISBLANK"}, {130, 1, "T"}, {131, 1, "N"}, {140, 1, "DATEVALUE"}, {141, 1, "TIMEVALUE"},
    {142, 3, "SLN"}, {143, 4, "SYD"}, {144, V, "DDB"}, {148, V, "INDIRECT"}, {162, 1, "CLEAN"},
    {163, 1, "MDETERM"}, {164, 1, "MINVERSE"}, {165, 2, "MMULT"}, {167, V, "IPMT"}, {168, V, "PPMT"},
    {169, V, "COUNTA"}, {183, V, "PRODUCT"}, {184, 1, "FACT"}, {189, 3, "DPRODUCT"}, {190, 1, "ISNONTEXT"},
    {193, V, "STDEVP"}, {194, V, "VARP"}, {195, 3, "DSTDEVP"}, {196, 3, "DVARP"}, {197, V, "TRUNC"},
    {198, 1, "ISLOGICAL"}, {199, 3, "DCOUNTA"}, {204, V, "YEN"}, {205, V, "FINDB"}, {206, V, "SEARCHB"},
    {207, 4, "REPLACEB"}, {208, V, "LEFTB"}, {209, V, "RIGHTB"}, {210, 3, "MIDB"}, {211, 1, "LENB"},
    {212, 2, "ROUNDUP"}, {213, 2, "ROUNDDOWN"}, {216, V, "RANK"}, {219, V, "ADDRESS"}, {220, V, "DAYS360"},
    {221, 0, "TODAY"}, {222, V, "VDB"}, {227, V, "MEDIAN"}, {228, V, "SUMPRODUCT"}, {229, 1, "SINH"},
    {230, 1, "COSH"}, {231, 1, "TANH"}, {232, 1, "ASINH"}, {233, 1, "ACOSH"}, {234, 1, "ATANH"},
    {235, 3, "DGET"}, {244, 1, "INFO"}, {247, V, "DB"}, {252, 2, "FREQUENCY"}, {261, 1, "ERROR.TYPE"},
    {269, V, "AVEDEV"}, {270, V, "BETADIST"}, {271, 1, "GAMMALN"}, {272, V, "BETAINV"}, {273, 4, "BINOMDIST"},
    {274, 2, "CHIDIST"}, {275, 2, "CHIINV"}, {276, 2, "COMBIN"}, {277, 3, "CONFIDENCE"}, {278, 3, "CRITBINOM"},
    {279, 1, "EVEN"}, {280, 3, "EXPONDIST"}, {281, 3, "FDIST"}, {282, 3, "FINV"}, {283, 1, "FISHER"},
    {284, 1, "FISHERINV"}, {285, 2, "FLOOR"}, {286, 4, "GAMMADIST"}, {287, 3, "GAMMAINV"}, {288, 2, "CEILING"},
    {289, 4, "HYPGEOMDIST"}, {290, 3, "LOGNORMDIST"}, {291, 3, "LOGINV"}, {292, 3, "NEGBINOMDIST"},
    {293, 4, "NORMDIST"}, {294, 1, "NORMSDIST"}, {295, 3, "NORMINV"}, {296, 1, "NORMSINV"},
    {297, 3, "STANDARDIZE"}, {298, 1, "ODD"}, {299, 2, "PERMUT"}, {300, 3, "POISSON"}, {301, 3, "TDIST"},
    {302, 4, "WEIBULL"}, {303, 2, "SUMXMY2"}, {304, 2, "SUMX2MY2"}, {305, 2, "SUMX2PY2"}, {306, 2, "CHITEST"},
    {307, 2, "CORREL"}, {308, 2, "COVAR"}, {309, 3, "FORECAST"}, {310, 2, "FTEST"}, {311, 2, "INTERCEPT"},
    {312, 2, "PEARSON"}, {313, 2, "RSQ"}, {314, 2, "STEYX"}, {315, 2, "SLOPE"}, {316, 4, "TTEST"},
    {317, V, "PROB"}, {318, V, "DEVSQ"}, {319, V, "GEOMEAN"}, {320, V, "HARMEAN"}, {321, V, "SUMSQ"},
    {322, V, "KURT"}, {323, V, "SKEW"}, {324, V, "ZTEST"}, {325, 2, "LARGE"}, {326, 2, "SMALL"},
    {327, 2, "QUARTILE"}, {328, 2, "PERCENTILE"}, {329, V, "PERCENTRANK"}, {330, V, "MODE"},
    {331, 2, "TRIMMEAN"}, {332, 2, "TINV"}, {336, V, "CONCATENATE"}, {337, 2, "POWER"}, {342, 1, "RADIANS"},
    {343, 1, "DEGREES"}, {344, V, "SUBTOTAL"}, {345, V, "SUMIF"}, {346, 2, "COUNTIF"}, {347, 1, "COUNTBLANK"},
    {350, 4, "ISPMT"}, {351, 3, "DATEDIF"}, {354, V, "ROMAN"}, {358, V, "GETPIVOTDATA"}, {359, V, "HYPERLINK"},
    {361, V, "AVERAGEA"}, {362, V, "MAXA"}, {363, V, "MINA"}, {364, V, "STDEVPA"}, {365, V, "VARPA"},
    {366, V, "STDEVA"}, {367, V, "VARA"},
};

// Excel functions whose meaning differs from this program's function of the
// same name for some or all calls: how a call is made to mean here what it
// means in Excel, false when it cannot be (its cell keeps Excel's value).
using CallRewrite = bool (*)(std::vector<std::string>& arguments);

bool never(std::vector<std::string>&) { return false; }

// Whether the text is a number literal, and its number.
bool literal_number(const std::string& text, double* number) {
    char* end = nullptr;
    *number = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size();
}

// Excel's text always has thousands separators and, unless told, two
// decimals; here the third argument asks for the separators. A negative
// number is put in parentheses there and after a minus sign here, so only a
// call on a number known not to be negative converts.
bool currency_text(std::vector<std::string>& arguments) {
    double number = 0;
    if (arguments.empty() || arguments.size() > 2 || !literal_number(arguments[0], &number) || number < 0)
        return false;
    if (arguments.size() == 1) arguments.push_back("2");
    arguments.push_back("1");
    return true;
}

// A literal that Excel reads as true: TRUE or a number other than 0.
bool literal_true(const std::string& text) {
    double number = 0;
    return text == "TRUE" || (literal_number(text, &number) && number != 0);
}

// Excel's second argument chooses between A1 references (true) and R1C1
// ones; here references are always A1.
bool a1_reference(std::vector<std::string>& arguments) {
    if (arguments.size() == 2 && literal_true(arguments[1])) arguments.pop_back();
    return arguments.size() == 1;
}

struct MeaningDifference {
    const char* name;
    CallRewrite rewrite;
};

constexpr MeaningDifference kMeaningDifferences[] = {
    {"CELL", never},      // information about a reference; here the value at a row and column
    {"DOLLAR", currency_text},
    {"FIXED", never},     // a third argument that drops the separators; here it adds them
    {"YEN", never},       // thousands separators always; here only with a third argument
    {"INDIRECT", a1_reference},
};

}  // namespace

bool excel_call_converts(const char* name, std::vector<std::string>& arguments) {
    for (const MeaningDifference& difference : kMeaningDifferences)
        if (std::strcmp(difference.name, name) == 0) return difference.rewrite(arguments);
    return true;
}

const char* excel_function_name(uint16_t index, int* fixed_arguments) {
    size_t low = 0, high = sizeof kFunctions / sizeof kFunctions[0];
    while (low < high) {
        size_t middle = (low + high) / 2;
        if (kFunctions[middle].index < index) low = middle + 1;
        else high = middle;
    }
    if (low == sizeof kFunctions / sizeof kFunctions[0] || kFunctions[low].index != index) return nullptr;
    if (fixed_arguments) *fixed_arguments = kFunctions[low].arguments;
    return kFunctions[low].name;
}
