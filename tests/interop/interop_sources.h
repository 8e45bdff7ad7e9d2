// The workbook the interchange tests send back and forth, as CSV: numbers,
// texts that need quoting, and formulas over functions all three programs know.
#pragma once

#include <string>

namespace peer {

// `plain`: ASCII only and no line breaks inside texts, which not every peer
// spells in SYLK.
inline std::string source_csv(bool plain) {
    return std::string("label,1,2.5,=B1+C1,=B1*C1-1,\"text, with comma\",\"say \"\"hi\"\"\",0.1\r\n") +
           "x,-3,0.00001,=SUM(B1:B2),=AVERAGE(B1:C2),\"=IF(B2<0,\"\"neg\"\",\"\"pos\"\")\",\"=ROUND(C1*3.14159,3)\",=ABS(B2)\r\n" +
           (plain ? "cafe" : "caf\xC3\xA9") + ",=MAX(B1:C2),=MIN(B1:C2),=SQRT(16),=INT(7.9),\"=MOD(7,3)\"," +
           (plain ? "two lines" : "\"two\nlines\"") + ",=B2/4\r\n" +
           "1234567.125,=C1/3,-0.5,,=B3*1000000,semi;colon,=LEN(A1),=1/3\r\n";
}

}  // namespace peer
