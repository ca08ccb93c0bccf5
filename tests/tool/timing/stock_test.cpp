#include "tool/timing/stock.h"

#include <gtest/gtest.h>

namespace scenario::timing {
namespace {

TEST(Stock, WrittenDefaultsReadBackAsTheDefaults) {
    const StockRead read = readStock(defaultStockText());
    ASSERT_TRUE(read.ok()) << read.error;
    for (const StockKey& key : stockKeys())
        EXPECT_EQ(read.stock.*key.member, defaultOf(key)) << key.name;
}

TEST(Stock, TakesPlainNumbersAndKeepsTheOtherDefaults) {
    const StockRead read = readStock(R"({"car_mass_t": 60, "power_kw": {"value": 5000}})");
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.stock.carMassT, 60);
    EXPECT_EQ(read.stock.powerKw, 5000);
    EXPECT_EQ(read.stock.locomotiveMassT, 80);
}

TEST(Stock, RefusesBadInputNamingTheKey) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {R"({"car_mas_t": 60})", "unknown stock key \"car_mas_t\""},
        {R"({"power_kw": -1})", "stock key power_kw is negative"},
        {R"({"power_kw": "lots"})", "stock key power_kw is not a number"},
        {R"({"power_kw": {"value": true}})", "stock key power_kw is not a number"},
        {R"({"power_kw": {"comment": "x"}})", "stock key power_kw has no \"value\""},
        {R"({"power_kw": {"value": 1, "note": 2}})", "stock key power_kw: unknown member \"note\""},
        {R"({"locomotive_mass_t": 0})", "stock key locomotive_mass_t is 0"},
        {R"({"car_mass_t": 0})", "stock key car_mass_t is 0"},
        {R"({"car_mass_t": 1e7})", "stock key car_mass_t is above 1000000"},
        {R"([1])", "the stock file is not a JSON object"},
        {R"({"power_kw": )", "the stock file is not JSON"},
    };
    for (const auto& c : cases) EXPECT_EQ(readStock(c.text).error, c.error) << c.text;
}

}  // namespace
}  // namespace scenario::timing
