#include "model/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pelodyn {
namespace {

TEST(StrToInt, ConvertsOrRaisesWithTheUsersMessage) {
  struct Case {
    const char* text;
    bool ok;
    std::int32_t value;
  };
  const Case cases[] = {
      {"10", true, 10},
      {"-1", true, -1},
      {"+7", true, 7},
      {"  5  ", true, 5},
      {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"", false, 0},
      {"abc", false, 0},
      {"1.5", false, 0},
      {"1e3", false, 0},
      {"+-1", false, 0},
      {"- 1", false, 0},
      {"12a", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.ok) {
      EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
      try {
        StrToInt(c.text);
        ADD_FAILURE() << "no error";
      } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + std::string(c.text) + "' is not a valid integer value");
      }
    }
  }
}

TEST(StrToFloat, ConvertsOrRaisesWithTheUsersMessage) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"0.01", true, 0.01},  {"-2.5", true, -2.5},
      {"+3", true, 3.0},     {".5", true, 0.5},
      {"1.", true, 1.0},     {"1e-3", true, 1e-3},
      {"2E2", true, 200.0},  {" 1.0 ", true, 1.0},
      {"1e-400", true, 0.0}, {"0.00012e-330", true, 0.0},
      {"-1e400", false, 0},  {"123e307", false, 0},
      {"", false, 0},        {".", false, 0},
      {"abc", false, 0},     {"1,5", false, 0},
      {"inf", false, 0},     {"nan", false, 0},
      {"1e400", false, 0},   {"1e", false, 0},
      {"0x10", false, 0},    {"--1", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value);
    } else {
      try {
        StrToFloat(c.text);
        ADD_FAILURE() << "no error";
      } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + std::string(c.text) + "' is not a valid floating point value");
      }
    }
  }
}

TEST(Rounding, HalvesGoToEvenOnTheExactValue) {
  EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);  // an exact half
  EXPECT_EQ(RoundHalfEven(0.375, 2), 0.38);
  EXPECT_EQ(RoundHalfEven(2.5, 0), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5, 0), 4.0);
  EXPECT_EQ(RoundHalfEven(-0.125, 2), -0.12);
  EXPECT_EQ(RoundHalfEven(2.675, 2), 2.67);  // 2.675 is stored just below the half
  EXPECT_EQ(RoundHalfEven(1.0000001, 3), 1.0);
  EXPECT_EQ(FormatFixed(12.5, 3), "12.500");
  EXPECT_EQ(FormatFixed(-0.0004, 3), "0.000");
  EXPECT_EQ(FormatFixed(1000000.0, 3), "1000000.000");
}

TEST(Rounding, StoredResultsDivideByTheUnit) {
  EXPECT_EQ(RoundToUnit(1.2345, 0.001), std::nearbyint(1234.5) * 0.001);
  EXPECT_NEAR(RoundToUnit(12.3456, 0.01), 12.35, 1e-12);
  EXPECT_EQ(RoundToUnit(1000007.0, 0.001), 1000007.0);
  EXPECT_EQ(RoundToUnit(0.125, 0.25), 0.0);  // 0.5 units: to even
}

TEST(ShortestForm, NoTrailingZerosAndAtMostFifteenDigits) {
  const std::pair<double, const char*> cases[] = {
      {1.235, "1.235"}, {1.2, "1.2"},   {1000000.0, "1000000"}, {2.0, "2"},         {-0.5, "-0.5"},
      {0.0, "0"},       {1e-6, "1E-6"}, {1.5e20, "1.5E20"},     {0.1 + 0.2, "0.3"}, {123456.789, "123456.789"},
  };
  for (auto [value, text] : cases) EXPECT_EQ(FormatShortest(value), text) << value;
}

}  // namespace
}  // namespace pelodyn
