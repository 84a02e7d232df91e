#include "model/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "texts/messages.h"

namespace pelodyn {
namespace {

// A conversion error gives its message in the user's language, after the
// field as the window labels it when the reader knew the field.
TEST(ConversionError, SpeaksTheUsersLanguageAndNamesTheField) {
  struct Case {
    const char* text;
    bool integer;
    const char* field;  // "" for none
    std::uint8_t language;
    const char* expected;
  };
  const Case cases[] = {
      {"abc", true, "", kLanguageEnglish, "'abc' is not a valid integer value"},
      {"abc", true, "", kLanguageThai, "'abc' ไม่ใช่จำนวนเต็มที่ถูกต้อง"},
      {"1,5", false, "", kLanguageThai, "'1,5' ไม่ใช่ตัวเลขที่ถูกต้อง"},
      {"abc", true, Option::E_Cir_Slice, kLanguageEnglish, "No. of Slice: 'abc' is not a valid integer value"},
      {"abc", true, Option::E_Cir_Slice, kLanguageThai, "จำนวนแถบดิน: 'abc' ไม่ใช่จำนวนเต็มที่ถูกต้อง"},
      {"x", false, Option::E_Kh, kLanguageEnglish, "kh: 'x' is not a valid floating point value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    try {
      if (c.integer) {
        StrToInt(c.text);
      } else {
        StrToFloat(c.text);
      }
      ADD_FAILURE() << "converted";
    } catch (ConversionError& e) {
      // what() stays the English message without the field.
      EXPECT_EQ(std::string(e.what()), ConversionText(kLanguageEnglish, c.text, c.integer));
      if (*c.field) e.setField(c.field);
      EXPECT_EQ(e.message(c.language), c.expected);
    }
  }
  // An error made from a message alone keeps it.
  EXPECT_EQ(ConversionError("plain").message(kLanguageThai), "plain");
}

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

// The digits the standard library gives for the exact binary value, with
// the sign of a zero dropped: what every fixed-point text must equal.
std::string LibraryFixed(double value, int decimals) {
  char buffer[400];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, ptr);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

TEST(Rounding, FixedTextsEqualTheExactDigitsForEveryKindOfValue) {
  std::vector<double> values = {0.0,     -0.0,      0.0625,    -0.0625,   0.125,      2.675, 1.0005, 0.0005,
                                -0.0005, 999.9995,  1e15,      4.5e15,    -4.6e15,    1e300, 5e-324, 123456.789,
                                99999.0, 1000011.0, 0.9999995, 1.9999999, 0.00049999, -1e-20};
  // Stored results (multiples of 0.01 and 0.001), the halves between them
  // and their nearest neighbours, and values over every magnitude.
  std::mt19937_64 random(16);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 20000; ++i) {
    const double k = std::nearbyint(unit(random) * 1e6);
    for (double scale : {0.01, 0.001}) {
      values.push_back(RoundToUnit(k * scale, scale));
      const double half = (k + 0.5) * scale;
      values.push_back(half);
      values.push_back(std::nextafter(half, 1e300));
      values.push_back(std::nextafter(half, -1e300));
    }
    values.push_back(unit(random) * std::pow(10.0, static_cast<int>(random() % 40) - 20));
  }
  int wrong = 0;
  for (double value : values) {
    for (int decimals : {0, 1, 2, 3, 4, 6, 7}) {
      const std::string expected = LibraryFixed(value, decimals);
      std::string appended = "x";
      AppendFixed(appended, value, decimals);
      // In a column 12 wide: blanks before, or the whole text when wider.
      std::string column = "x";
      AppendFixed(column, value, decimals, 12);
      const std::string padded = std::string(expected.size() < 12 ? 12 - expected.size() : 0, ' ') + expected;
      if (FormatFixed(value, decimals) != expected || appended != "x" + expected || column != "x" + padded) {
        if (++wrong <= 10)
          ADD_FAILURE() << value << " to " << decimals << " decimals: " << FormatFixed(value, decimals);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(FormatFixed(-0.0625, 3), "-0.062");  // the exact half, to even
  EXPECT_EQ(FormatFixed(0.0005, 3), "0.001");    // stored just above the half
  EXPECT_EQ(FormatFixed(-0.0004, 3), "0.000");
  std::string wide;
  AppendFixed(wide, -1.5, 3, 60);
  EXPECT_EQ(wide, std::string(54, ' ') + "-1.500");
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
