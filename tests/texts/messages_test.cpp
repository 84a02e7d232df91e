#include "texts/messages.h"

#include <gtest/gtest.h>

namespace pelodyn {
namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) > 127) return false;
  }
  return true;
}

// Thai letters are U+0E00 to U+0E7F, in UTF-8 E0 B8 xx or E0 B9 xx.
bool HasThai(std::string_view s) {
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    if (static_cast<unsigned char>(s[i]) == 0xE0 &&
        (static_cast<unsigned char>(s[i + 1]) == 0xB8 || static_cast<unsigned char>(s[i + 1]) == 0xB9)) {
      return true;
    }
  }
  return false;
}

TEST(MessageTable, EveryEntryHasEnglishAndThaiText) {
  for (int n = 0; n < kMessageCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(IsAscii(MessageText(kLanguageEnglish, n)));
    EXPECT_FALSE(MessageText(kLanguageEnglish, n).empty());
    EXPECT_TRUE(HasThai(MessageText(kLanguageThai, n)));
  }
}

TEST(MessageTable, TextsAreExactlyAsGiven) {
  struct Case {
    int number;
    std::uint8_t language;
    std::string_view text;
  };
  const Case cases[] = {
      {3, kLanguageEnglish, "Please input data before calculation."},
      {3, kLanguageThai, "กรุณาป้อนข้อมูลก่อนสั่งคำนวณ"},
      {5, kLanguageEnglish, "Initial slip surface is not close. Please recheck."},
      {5, kLanguageThai, "ป้อนผิวการพิบัติเริ่มต้นไม่ถูกต้อง"},
      {7, kLanguageEnglish, "Search direction less than 4 point.\nThe results will be error."},
      {8, kLanguageThai, "จำนวนชั้นดินไม่เท่ากับจำนวนคุณสมบัติดิน"},
      {9, kLanguageEnglish, "Soil properties data is not correct. Please recheck."},
      {11, kLanguageThai, "ต้องมีชั้นอากาศเป็นชั้นสุดท้าย\nc=0, phi=0, unit weight=0 "},
      {12, kLanguageEnglish, "Not already input the last air line.\n(ch=0, cv=0, phi_h=0, phi_v=0, unit weight=0)."},
      {14, kLanguageThai, "Bottom line No. = 0\nกรุณาตรวจสอบค่าที่ Bottom Line"},
      {16, kLanguageEnglish, "Pass criteria = 0\nPlease input data (Default = 0.01) at Analysis Setting"},
      {17, kLanguageThai, "ไม่พบข้อมูลจำนวนวงในการค้นหา (No of Circle)\nกรูณาตรวจสอบค่าที่ Analysis Setting"},
      {18, kLanguageEnglish, "No of slice is not have data.\nPlease check Analysis Setting"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(MessageText(c.language, c.number), c.text);
  }
}

TEST(MessageTable, UnknownLanguageOrNumberGivesNoText) {
  EXPECT_TRUE(MessageText(2, 3).empty());
  EXPECT_TRUE(MessageText(255, 3).empty());
  EXPECT_TRUE(MessageText(kLanguageEnglish, 19).empty());
  EXPECT_TRUE(MessageText(kLanguageEnglish, -1).empty());
  EXPECT_TRUE(CoreTextFor(7, CoreText::RowNumberRepeated).empty());
}

TEST(CoreTexts, FilledInBothLanguages) {
  for (auto text : {CoreText::RowNumberOutOfRange,
                    CoreText::RowNumberRepeated,
                    CoreText::BottomLineAboveLineCount,
                    CoreText::SpecificBottomLineNoLine,
                    CoreText::SpecificBottomLinePointOutOfRange,
                    CoreText::AdvancedAnisoNotGrouped,
                    CoreText::AdvancedAnisoStressNotAscending,
                    CoreText::ValueAboveLimit,
                    CoreText::CountNegative,
                    CoreText::ValueBelowLimit,
                    CoreText::ValueOutOfReach,
                    CoreText::GridCirclesAboveLimit,
                    CoreText::SoilValueNegative,
                    CoreText::SoilFrictionAngleTooLarge,
                    CoreText::AdvancedAnisoAngleOutOfRange,
                    CoreText::NoMethodSelected,
                    CoreText::AutoIncrementNotPositive,
                    CoreText::AutoIncrementNotPositiveSuggest,
                    CoreText::WaterLineWithoutPoints,
                    CoreText::ResultFileNotWritten,
                    CoreText::LineAboveGround}) {
    SCOPED_TRACE(static_cast<int>(text));
    const std::string_view english = CoreTextFor(kLanguageEnglish, text);
    const std::string_view thai = CoreTextFor(kLanguageThai, text);
    EXPECT_TRUE(IsAscii(english));
    EXPECT_TRUE(HasThai(thai));
    // Both languages show every value the caller fills in.
    for (const char* placeholder : {"{0}", "{1}", "{2}", "{3}", "{4}"}) {
      EXPECT_EQ(english.find(placeholder) == std::string_view::npos, thai.find(placeholder) == std::string_view::npos)
          << placeholder;
    }
  }
}

TEST(FormatText, ReplacesNumberedPlaceholders) {
  EXPECT_EQ(FormatText("{1} before {0}", {"a", "b"}), "b before a");
  EXPECT_EQ(FormatText("{0}{0}", {"x"}), "xx");
  EXPECT_EQ(FormatText("kept {2} and {x} and {", {"a"}), "kept {2} and {x} and {");
  EXPECT_EQ(FormatText("ไทย {0}", {"ok"}), "ไทย ok");
}

}  // namespace
}  // namespace pelodyn

namespace pelodyn {
namespace {

// Messages name a cell, a field or a control as the window shows it, never
// by the table's, field's or control's own name.
TEST(WindowNames, NameTablesFieldsAndControlsAsTheWindowsShowThem) {
  struct Case {
    std::string got;
    const char* expected;
  };
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    const bool en = language == kLanguageEnglish;
    SCOPED_TRACE(en ? "English" : "Thai");
    const Case cases[] = {
        {std::string(TableCaption(language, "Soil_Prop")), en ? "Soil Properties" : "คุณสมบัติดิน"},
        {std::string(FieldCaption(language, "Soil_Prop", "Line No.")), en ? "Soil No." : "ชั้นดิน"},
        {std::string(FieldCaption(language, "Soil_Prop", "Cohesion")), en ? "Cohesion" : "แรงยึดเหนี่ยว"},
        {std::string(FieldCaption(language, "Geometry", "Line No.")), en ? "Soil No." : "ชั้นดิน"},
        {std::string(FieldCaption(language, "Geometry", "Coordi Y")), en ? "Coordi Y" : "พิกัด Y"},
        {std::string(FieldCaption(language, "Stripload", "Y2")), en ? "End Y" : "Y สิ้นสุด"},
        {std::string(FieldCaption(language, "Aniso_advance", "Normal Stress")), en ? "Normal Stress" : "หน่วยแรงตั้งฉาก"},
        {std::string(TableCaption(language, "Waterline")), en ? "Water Line" : "เส้นระดับน้ำ"},
        {std::string(TableCaption(language, "NonCircular_Coordinate")), en ? "Initial Slip Surface" : "ผิวการพิบัติเริ่มต้น"},
        {CellCaption(language, "Tcrack", 2, "Coordi X"),
         en ? "Tension Crack Line, row 2, Coordi X" : "แนวรอยแตก แถวที่ 2 พิกัด X"},
        {std::string(OptionCaption(language, Option::CB_Ordinary)), "Ordinary Method"},
        {std::string(OptionCaption(language, Option::E_12_Division)),
         en ? "Division between 1 and 2" : "จำนวนช่องระหว่าง 1 และ 2"},
        {std::string(OptionCaption(language, Option::E_Cir_Slice)), en ? "No. of Slice" : "จำนวนแถบดิน"},
        {std::string(OptionCaption(language, Option::E_Pass_Criteria)), en ? "Pass Criteria" : "เกณฑ์การลู่เข้า"},
        {ConversionText(language, "abc", true), en ? "'abc' is not a valid integer value" : "'abc' ไม่ใช่จำนวนเต็มที่ถูกต้อง"},
        {ConversionText(language, "1,5", false),
         en ? "'1,5' is not a valid floating point value" : "'1,5' ไม่ใช่ตัวเลขที่ถูกต้อง"},
        // Names without a caption are given back as they are.
        {std::string(TableCaption(language, "Results")), "Results"},
        {std::string(FieldCaption(language, "Soil_Prop", "No Such")), "No Such"},
        {std::string(OptionCaption(language, "E_Nothing")), "E_Nothing"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
  }
}

// The texts of the core that had none in one language, or only internal
// names, have both now.
TEST(CoreTexts, EveryEntryHasBothLanguages) {
  for (int k = 0; k <= static_cast<int>(CoreText::ResultFileNotWritten); ++k) {
    const auto text = static_cast<CoreText>(k);
    EXPECT_FALSE(CoreTextFor(kLanguageEnglish, text).empty()) << k;
    EXPECT_FALSE(HasThai(CoreTextFor(kLanguageEnglish, text))) << k;
    EXPECT_TRUE(HasThai(CoreTextFor(kLanguageThai, text))) << k;
  }
}

TEST(ResultCodeTexts, EveryCodeHasWordsInBothLanguages) {
  for (int code : {99999, 1000000, 1000006, 1000007, 1000008, 1000009, 1000010, 1000011}) {
    EXPECT_FALSE(ResultCodeText(kLanguageEnglish, code).empty()) << code;
    EXPECT_TRUE(HasThai(ResultCodeText(kLanguageThai, code))) << code;
  }
  EXPECT_EQ(ResultCodeText(kLanguageEnglish, 1000009), "the circle does not reach the ground");
  EXPECT_TRUE(ResultCodeText(kLanguageEnglish, 12).empty());
  EXPECT_EQ(NoAdmissibleSurfaceText(kLanguageEnglish), "no admissible slip surface");
  EXPECT_TRUE(HasThai(NoAdmissibleSurfaceText(kLanguageThai)));
}

}  // namespace
}  // namespace pelodyn
