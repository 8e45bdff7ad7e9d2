#include "formula/functions_financial.h"

#include <vector>

#include "function_test_support.h"

namespace {

TEST(AnnuityFactors, CompoundAndAnnuity) {
    expect_result(compound_factor(0.1, 2), {1.21});
    expect_result(compound_factor(0, 2), {0, kNum});
    expect_result(compound_factor(0.1, 0), {0, kNum});
    expect_result(compound_factor(N_AN(kNA), 2), {0, kNA});
    expect_result(annuity(0.1, 2), {1.7355371900826446});
    expect_result(annuity(0, 5), {5});
}

TEST(Depreciation, StraightLineAndSumOfYears) {
    expect_result(straight_line_depreciation(30000, 7500, 10), {2250});
    expect_result(straight_line_depreciation(1, 0, 0), {0, kDiv0});
    struct Case { double cost, salvage, life, period; Expected want; };
    const Case syd[] = {
        {30000, 7500, 10, 1, {4090.909090909091}}, {30000, 7500, 10, 10, {409.0909090909091}},
        {1000, 100, 5, 1, {300}},  {1000, 100, 0, 1, {0, kNum}}, {1000, 100, 5, 0, {0, kNum}},
        {1000, 100, 5, 6, {0, kNum}},  // beyond the life
        {N_AN(kRef), N_AN(kNA), 5, 1, {0, kRef}},
    };
    for (const Case& c : syd) expect_result(sum_of_years_depreciation(c.cost, c.salvage, c.life, c.period), c.want);
}

TEST(Depreciation, DoubleDeclining) {
    struct Case { double cost, salvage, life, period, factor; Expected want; };
    const Case cases[] = {
        {2400, 300, 3650, 1, 2, {1.3150684931506849}},
        {2400, 300, 120, 1, 2, {40}},
        {2400, 300, 10, 1, 2, {480}},
        {2400, 300, 10, 2, 1.5, {306}},
        {2400, 300, 10, 10, 2, {22.1225472}},
        {1000, 100, 5, 1, 2, {400}},
        {1000, 100, 5, 2, 2, {240}},
        {1000, 100, 5, 5, 2, {29.6}},     // the rest down to the salvage
        {1000, 100, 2, 2, 3, {0}},        // written off in the first period
        {1000, 0, 5, 1, 2, {0, kNum}},    // the salvage must be above 0
        {1000, 100, 5, 6, 2, {0, kNum}},  // beyond the life
        {1000, 100, 5, 0.5, 2, {0, kNum}},
        {1000, 100, 5, N_AN(kNA), 2, {0, kNA}},
    };
    for (const Case& c : cases) expect_result(double_declining_depreciation(c.cost, c.salvage, c.life, c.period, c.factor), c.want);
    // A period beyond 32 bits stays a number of periods.
    EXPECT_NEAR(double_declining_depreciation(100, 1, 1E10, 1E10, 2), 2.706705664732254e-09, 1e-15);
}

TEST(Depreciation, FixedDeclining) {
    struct Case { double cost, salvage, life, period, months; Expected want; };
    const Case cases[] = {
        {1000, 100, 5, 1, 12, {369}},
        {1000000, 100000, 6, 1, 7, {186083.33333333334}},
        {1000000, 100000, 6, 2, 7, {259639.41666666666}},
        {1000000, 100000, 6, 6, 7, {55841.756736028445}},
        {1000000, 100000, 6, 7, 7, {15845.098473848071}},  // the part-year after the life
        {1000000, 100000, 6, 7, 12, {0, kNum}},
        {1000000, 100000, 6, 8, 7, {0, kNum}},
        {1000, 0, 5, 1, 12, {0, kNum}},
        {1000, 100, 5, 1, 13, {0, kNum}},
        {1000, 100, 5, 1, 0, {0, kNum}},
        {0, 100, 5, 1, 12, {0, kNum}},
        {N_AN(kRef), 100, N_AN(kNA), 1, 12, {0, kRef}},
    };
    for (const Case& c : cases) expect_result(fixed_declining_depreciation(c.cost, c.salvage, c.life, c.period, c.months), c.want, 1e-9);
}

TEST(Annuities, StandardFormulasWithPresentAndFutureValues) {
    expect_result(future_value(0.1, 1, 0, 100, false), {-110});
    expect_result(future_value(0.005, 10, -200, -500, true), {2581.4033740601185});
    expect_result(future_value(0.06 / 12, 10, -200, -500, false), {2571.175347651979});
    expect_result(future_value(0, 10, -100, -1000, false), {2000});
    expect_result(present_value(0.08 / 12, 240, 500, 0, false), {-59777.14585118638});
    expect_result(present_value(0.1, 2, 0, 121, false), {-100});
    expect_result(present_value(0, 5, -100, 0, false), {500});
    expect_result(payment_per_period(0.08 / 12, 10, 10000, 0, false), {-1037.0320893591606});
    expect_result(payment_per_period(0.08 / 12, 10, 10000, 0, true), {-1030.1643271779102});
    expect_result(payment_per_period(0.06 / 12, 216, 0, 50000, false), {-129.08116086799088});
    expect_result(payment_per_period(0, 10, 1000, 0, false), {-100});
    expect_result(payment_per_period(0.01, 12, 1000, 0, true), {payment_per_period(0.01, 12, 1000, 0, false) / 1.01});
    expect_result(payment_per_period(0.01, 0, 1000, 0, false), {0, kDiv0});
    expect_result(future_value(N_AN(kNA), 1, N_AN(kRef), 0, false), {0, kNA});
}

TEST(Annuities, ALongLoanIsExactToTheLastBit) {
    // Thirty years of monthly payments: the correctly rounded values, as other
    // spreadsheets give them.
    EXPECT_EQ(payment_per_period(0.08 / 12, 360, 200000, 0, false), -1467.5291477587523);
    EXPECT_EQ(future_value(0.08 / 12, 360, -1000, 0, false), 1490359.448663376);
    EXPECT_EQ(present_value(0.08 / 12, 360, 1000, 0, false), -136283.49413396325);
}

TEST(NetPresentValue, DiscountsEachTermOnePeriodFurther) {
    NpvSum sum{0.1, 0, 0};
    for (double value : {-10000.0, 3000.0, 4200.0, 6800.0}) add_npv_term(&sum, value);
    expect_result(sum.total, {1188.4434123352207});
    EXPECT_EQ(sum.count, 4);
    add_npv_term(&sum, N_AN(kNA));
    expect_result(sum.total, {0, kNA});
}

TEST(InternalRateOfReturn, ConvergesToTheRoot) {
    struct Case { std::vector<double> values; double guess; Expected want; };
    const Case cases[] = {
        {{-100, 110}, 0.1, {0.1}},
        {{-70000, 12000, 15000, 18000, 21000}, 0.1, {-0.021244848272316}},
        {{-70000, 12000, 15000, 18000, 21000, 26000}, 0.1, {0.08663094803653162}},
        {{-70000, 12000, 15000}, -0.1, {-0.44350694133474}},
        {{-70000, 12000, 15000}, 0.1, {-0.44350694133474}},
        {{-100, 0, 0, 0, 0, 0, 0, 0, 0, 1e6}, 0.1, {1.7825594022071245}},  // far from the guess
        {{100, 200}, 0.1, {0, kNum}},   // no change of sign
        {{1, -1, 1}, 0.1, {0, kNum}},   // changes of sign but no root
        {{1, -3, 1}, 5, {1.618033988749895}},
        {{}, 0.1, {0, kNum}},
        {{-100, N_AN(kNA), 110}, 0.1, {0, kNum}},
        {{-100, 110}, N_AN(kRef), {0, kRef}},
    };
    for (const Case& c : cases) {
        double rate = internal_rate_of_return(c.values.data(), static_cast<int32_t>(c.values.size()), c.guess);
        expect_result(rate, c.want, 1e-9);
        if (c.want.code == 0) {
            NpvSum sum{rate, 0, 0};
            double scale = 0;
            for (double value : c.values) add_npv_term(&sum, value), scale += std::fabs(value);
            EXPECT_NEAR(sum.total, 0, 1e-9 * scale);
        }
    }
}

}  // namespace
