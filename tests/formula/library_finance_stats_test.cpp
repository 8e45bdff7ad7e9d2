// Financial and statistical functions through typed formulas.
#include "library_fixture.h"

namespace {

using Finance = LibraryTest;
using Statistics = LibraryTest;

TEST_F(Finance, AnnuitiesAndDepreciation) {
    check_numbers({
        {"=FV(10%,1,0,100)", {-110}},
        {"=FV(0.005,10,-200,-500,1)", {2581.4033740601185}},
        {"=PV(0.1,2,0,121)", {-100}},
        {"=PMT(0.01,12,1000)", {-88.84878867834166}},
        {"=PMT(0.01,12,1000,0,1)", {-87.96909770133}},
        {"=PMT(0,10,1000)", {-100}},
        {"=PV(NA(),1,1)", {0, kNA}},
        {"=ANNUITY(0.1,2)", {1.7355371900826446}},
        {"=COMPOUND(0.1,2)", {1.21}},
        {"=COMPOUND(0,2)", {0, kNum}},
        {"=SLN(30000,7500,10)", {2250}},
        {"=SYD(1000,100,5,1)", {300}},
        {"=SYD(1000,100,0,1)", {0, kNum}},
        {"=DDB(1000,100,5,1)", {400}},
        {"=DDB(1000,100,5,2)", {240}},
        {"=DDB(1000,0,5,1)", {0, kNum}},
        {"=DB(1000,100,5,1)", {369}},
        {"=DB(1000000,100000,6,7,7)", {15845.098473848071}},
    }, 1e-9);
}

TEST_F(Finance, CashFlows) {
    put_column(0, {-100, 110});
    put_column(1, {-70000, 12000, 15000, 18000, 21000, 26000});
    put_text(2, 0, "x");
    check_numbers({
        {"=NPV(0.1,-10000,3000,4200,6800)", {1188.4434123352207}},
        {"=NPV(0.1,\"x\",110)", {100}},  // a text is skipped without a period
        {"=NPV(0.1,A1:A3)", {-100 / 1.1 + 110 / 1.21}},
        {"=IRR(A1:A3)", {0.1}},
        {"=IRR(B1:B6)", {0.08663094803653162}},
        {"=IRR(B1:B5,-0.1)", {-0.021244848272316}},
        {"=IRR(C1:C5)", {0, kNum}},
        {"=IRR(5)", {0, kNum}},
        {"=IRR(A1:A2,NA())", {0, kNA}},
    }, 1e-8);
}

TEST_F(Statistics, MeanVarianceMedianRank) {
    put_column(0, {1, 5, 5, 9});
    put_column(1, {1e8 + 0.1, 1e8 + 0.2, 1e8 + 0.3});
    put_text(0, 2, "x");
    check_numbers({
        {"=AVERAGE(2,\"x\",4)", {3}},
        {"=AVERAGE(\"x\")", {0}},
        {"=AVERAGE(A1:A4,C1)", {5}},
        {"=AVERAGE(1,NA())", {0, kNA}},
        {"=VAR(1,2,3,4)", {1.6666666666666667}},
        {"=VAR(B1:B3)", {0.01}},
        {"=STDEV(B1:B3)", {0.1}},
        {"=VAR(7)", {0, kDiv0}},
        {"=VAR(\"x\")", {0}},
        {"=MEDIAN(3,1,2)", {2}},
        {"=MEDIAN(4,1,3,2)", {2.5}},
        {"=MEDIAN(A1:A4,100)", {5}},
        {"=MEDIAN(\"x\")", {0, kRef}},
        {"=MEDIAN(1,NA(),3)", {0, kNA}},
        {"=RANK(5,A1:A4)", {2}},
        {"=RANK(5,A1:A4,1)", {2}},
        {"=RANK(10,A1:A4)", {1}},
        {"=RANK(10,A1:A4,1)", {5}},
        {"=RANK(5,7)", {0, kRef}},
    }, 1e-7);
}

}  // namespace
