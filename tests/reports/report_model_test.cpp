// The lines of the data and result reports, compared whole with lines
// written by hand for a circular, an irregular and an anisotropic project.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/fixture.h"
#include "model/numbers.h"
#include "reports/report_model.h"

namespace pelodyn {
namespace {

using Lines = std::vector<std::string>;

// Indent, then the text.
std::string I(const std::string& text) {
  return std::string(11, ' ') + text;
}

const ReportStamp kStamp{"slope.pdd", "10:05", "2/3/26"};

Lines Header(int rule) {
  return {"",
          "",
          "",
          "",
          "",
          std::string(64, ' ') + "[tag]LAVO[/tag]",
          std::string(52, ' ') + "[title]Pelodyn Version 2.0[/title]",
          "",
          I("File Name : slope.pdd  Time : 10:05   Date : 2/3/26"),
          I(std::string(static_cast<std::size_t>(rule), '*'))};
}

Lines Join(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

void ExpectLines(const Lines& actual, const Lines& expected) {
  for (std::size_t k = 0; k < std::max(actual.size(), expected.size()); ++k) {
    EXPECT_EQ(k < actual.size() ? actual[k] : "<none>", k < expected.size() ? expected[k] : "<none>")
        << "line " << k + 1;
  }
}

struct ReportFixture : testing::ProjectFixture {
  void identity() {
    options().setText(Option::E_Project_Name, "Slope A");
    options().setText(Option::E_Lacation, "Site");
    options().setText(Option::E_Engineer, "Eng");
  }
  Lines data() { return DescribeLines(BuildDataReport(project, kStamp)); }
};

const Lines kIdentity = {I("PROJECT    : Slope A"), I("LOCATION   : Site"), I("ENGINEER   : Eng"),
                         I(std::string(64, '*'))};
const std::string kDashes = I(std::string(64, '-'));

TEST(DataReport, CircularProjectWithGridSearch) {
  ReportFixture f;
  f.identity();
  f.soil(1, 10.0, 30.0, 18.0);
  f.soil(2, 0.0, 0.0, 0.0);
  f.line(1, {{0, 0}, {20, 0}});
  f.line(2, {{0, 5}, {10, 5}, {20, 10.25}});
  testing::SetCentreGrid(f.options(), "5", "12", "15", "20.5", "2");
  f.options().setText(Option::E_23_Division, "3");
  f.options().setChecked(Option::CB_Grid_Increment, true);
  f.options().setText(Option::E_Xgrid_Increment, "0.5");
  f.options().setChecked(Option::CB_Seismic_Disable, false);
  f.options().setText(Option::E_Kh, "0.1");
  f.options().setItemIndex(Option::CB_NonCir_Search, 0);
  const Lines expected = Join({Header(64),
                               kIdentity,
                               {"",
                                I("[b]SOIL PROPERTIES[/b]"),
                                I("No of Boundary Line =    2"),
                                I("|   Soil No.   |   Cohesion   |  Fric. Angle  |  Unit Weight  |"),
                                I("         1         10.000          30.000          18.000"),
                                I("         2          0.000           0.000           0.000"),
                                "",
                                I("[b]GEOMETRY[/b]"),
                                I("|   Line No.   |   Points No.   |   X Coord.   |   Y Coord.   |"),
                                I("         1              1               0.000          0.000"),
                                I("         1              2              20.000          0.000"),
                                kDashes,
                                I("         2              1               0.000          5.000"),
                                I("         2              2              10.000          5.000"),
                                I("         2              3              20.000         10.250"),
                                kDashes,
                                "",
                                I("[b]BOTTOM LINE[/b]"),
                                I("Bottom Line No. =    1"),
                                "",
                                I("[b]SEEPAGE CONDITION : [/b]No Seepage"),
                                "",
                                I("[b]LOAD EFFECT[/b]"),
                                I("[u]Seismic[/u]"),
                                I("Kh = 0.100   Kv = 0.000"),
                                "",
                                I("[b]SEARCH CONDITION[/b]"),
                                I("Passing Criteria = 0.01000"),
                                "",
                                I("[u]Circular Search[/u] : by Grid"),
                                I("No of Circle =   10"),
                                I("No of Slice =   10"),
                                I("Min Depth of Tallest Slice =     1.000"),
                                I("No of Add Radii =    0"),
                                I("Point 1 Coord.X = 5.000    Point 1 Coord.Y = 12.000"),
                                I("Point 2 Coord.X = 15.000    Point 2 Coord.Y = 12.000"),
                                I("Point 3 Coord.X = 15.000    Point 3 Coord.Y = 20.500"),
                                I("No of Divisions Between Point 1 and 2 =   2"),
                                I("No of Divisions Between Point 2 and 3 =   3"),
                                I("X Increment = 0.500   Y Increment = 1.000"),
                                "",
                                I("[u]Non-Circular Search[/u] : by Specific"),
                                I("No of Slice =   10"),
                                I("Min Depth of Tallest Slice =     0.000"),
                                I("X Axis =     0.000     Y Axis =     0.000"),
                                I("|   Point No.   |   X Coord.   |   Y Coord.   |")}});
  ExpectLines(f.data(), expected);
}

TEST(DataReport, IrregularProjectWithWaterLoadsCrackAndAnchor) {
  ReportFixture f;
  f.identity();
  OptionValues& o = f.options();
  o.setItemIndex(Option::RG_Theory, 2);
  f.soil(2, 5.0, 25.0, 17.5);  // stored before soil 1: printed after it
  f.soil(1, 10.0, 30.0, 18.0);
  f.soil(3, 0.0, 0.0, 0.0);
  f.point(1, 2, 30, 0);  // stored out of order: printed in table order, counted
  f.point(1, 1, 0, 0);
  f.line(3, {{0, 8}, {30, 8}});
  o.setItemIndex(Option::CB_Bottom_Line_Choose, 1);
  Row bottom(Table::Bottom_Line);
  bottom.set(BottomLineField::LineNo, 1).set(BottomLineField::BeginPoint, 1).set(BottomLineField::EndPoint, 2);
  f.store().append(bottom);
  o.setItemIndex(Option::CB_Seepage, 1);
  o.setItemIndex(Option::CB_Phreatic_Peizometric, 1);
  o.setText(Option::E_Unit_Weight_Water, "9.81");
  f.numberedPoint(Table::Waterline, 1, 0, 6);
  f.numberedPoint(Table::Waterline, 2, 30, 4.5);
  o.setChecked(Option::CB_StripLoad_Disable, false);
  Row strip(Table::Stripload);
  strip.set(StripLoadField::LoadNo, 1)
      .set(StripLoadField::Magnitude, 20.0)
      .set(StripLoadField::BeginX, 2.0)
      .set(StripLoadField::EndX, 6.0);
  f.store().append(strip);
  o.setChecked(Option::CB_Tension_Disable, false);
  o.setText(Option::E_Percent_Water, "12.50");
  f.numberedPoint(Table::Tcrack, 1, 3, 8);
  o.setChecked(Option::CB_Anchor_Disable, false);
  o.setItemIndex(Option::RG_Apply_as, 1);
  Row anchor(Table::Anchor);
  anchor.set(AnchorField::LoadNo, 1)
      .set(AnchorField::Magnitude, 100.0)
      .set(AnchorField::XStart, 20.0)
      .set(AnchorField::YStart, 6.0);
  anchor.set(AnchorField::XEnd, 12.0).set(AnchorField::YEnd, 2.0).set(AnchorField::BondedLength, 3.0);
  f.store().append(anchor);
  o.setText(Option::E_Pass_Criteria, "0.001");
  o.setItemIndex(Option::CB_Cir_Search, 1);
  o.setItemIndex(Option::CB_Circle_Decrement, 1);
  o.setText(Option::E_Cir_Decrement, "2.5");
  o.setText(Option::E_X_Center, "12");
  o.setText(Option::E_Y_Center, "25");
  o.setText(Option::E_Radius, "18.5");
  o.setText(Option::E_NonCir_X_Center, "14");
  o.setText(Option::E_NonCir_Y_Center, "20");
  // No typed Moving Length: a hundredth of the chord from point 1 to point 3.
  f.numberedPoint(Table::NonCircular_Coordinate, 3, 26, 13);
  f.numberedPoint(Table::NonCircular_Coordinate, 1, 2, 6);
  f.numberedPoint(Table::NonCircular_Coordinate, 2, 14, 1);
  const Lines expected = Join({Header(64),
                               kIdentity,
                               {"",
                                I("[b]SOIL PROPERTIES[/b]"),
                                I("No of Boundary Line =    3"),
                                I("|   Soil No.   |   Cohesion   |  Fric. Angle  |  Unit Weight  |"),
                                I("         1         10.000          30.000          18.000"),
                                I("         2          5.000          25.000          17.500"),
                                I("         3          0.000           0.000           0.000"),
                                "",
                                I("[b]GEOMETRY[/b]"),
                                I("|   Line No.   |   Points No.   |   X Coord.   |   Y Coord.   |"),
                                I("         1              1              30.000          0.000"),
                                I("         1              2               0.000          0.000"),
                                kDashes,
                                kDashes,
                                I("         3              1               0.000          8.000"),
                                I("         3              2              30.000          8.000"),
                                kDashes,
                                "",
                                I("[b]BOTTOM LINE[/b]"),
                                I("No of Bottom Line =    1"),
                                I("Line No. =   1    Beg No. =   1    End No. =   2"),
                                "",
                                I("[b]SEEPAGE CONDITION : [/b]Use Piezometric Surface"),
                                I("Unit Weight of Water =     9.810"),
                                I("No Point of Water Table =    2"),
                                I("|    Point No.    |   X Coord.   |   Y Coord.   |"),
                                I("         1               0.000          6.000"),
                                I("         2              30.000          4.500"),
                                "",
                                I("[b]LOAD EFFECT[/b]"),
                                I("[u]External Load[/u]"),
                                I("-Strip Load"),
                                I("|   Load No.   |   Magnitude   |    Begin X   |    End X    |"),
                                I("        1           20.000           2.000         6.000"),
                                I("[u]Tension Crack[/u]"),
                                I("Water Unit Weight = 1.0"),
                                I("Percent of Water = 12.50 %"),
                                I("|   Point No.   |   X Coord.   |   Y Coord.   |"),
                                I("        1             3.000          8.000"),
                                I("[u]Anchor or Geofrabric[/u] : Constant"),
                                I("| Load No. | Magnitude | Start X | Start Y | End X | End Y | Bond Length |"),
                                I("     1        100.000     20.000     6.000   12.000   2.000      3.000"),
                                "",
                                I("[b]SEARCH CONDITION[/b]"),
                                I("Passing Criteria = 0.00100"),
                                "",
                                I("[u]Circular Search[/u] : by Specified Point"),
                                I("Radius Decrement =     2.500"),
                                I("No of Slice =   10"),
                                I("Min Depth of Tallest Slice =     1.000"),
                                I("No of Add Radii =    0"),
                                I("X Specified = 12.000    Y Specified = 25.000    R Specified = 18.500"),
                                "",
                                I("[u]Non-Circular Search[/u] : by Random"),
                                I("No of Slice =   10"),
                                I("Min Depth of Tallest Slice =     0.000"),
                                I("No. of Direction =    8"),
                                I("Moving Length =     0.250"),
                                I("Divide Step =    3"),
                                I("X Axis =    14.000     Y Axis =    20.000"),
                                I("|   Point No.   |   X Coord.   |   Y Coord.   |"),
                                I("        3            26.000         13.000"),
                                I("        1             2.000          6.000"),
                                I("        2            14.000          1.000")}});
  ExpectLines(f.data(), expected);
}

TEST(DataReport, AnisotropicProjectListsItsSoilsAndGeometry) {
  ReportFixture f;
  f.identity();
  OptionValues& o = f.options();
  o.setItemIndex(Option::CB_Strength_Model, 1);
  f.soil(1, 10.0, 30.0, 18.0);  // the Mohr-Coulomb table is not the current one
  f.anisoSoil(1, 12.0, 8.0, 28.0, 22.5, 19.0);
  f.anisoSoil(2, 0.0, 0.0, 0.0, 0.0, 0.0);
  f.line(1, {{0, 0}, {10, 0}});
  f.line(2, {{0, 4}, {10, 6}});
  o.setItemIndex(Option::CB_Seepage, 2);
  o.setItemIndex(Option::CB_Ru_Condition, 1);
  Row ru(Table::Ru_variable);
  ru.set(RuField::LineNo, 1).set(RuField::Ru, 0.25);
  f.store().append(ru);
  o.setChecked(Option::CB_LineLoad_Disable, false);
  Row load(Table::Lineload);
  load.set(LineLoadField::LoadNo, 1)
      .set(LineLoadField::Magnitude, 50.0)
      .set(LineLoadField::X, 4.0)
      .set(LineLoadField::Angle, 90.0);
  f.store().append(load);
  o.setItemIndex(Option::CB_Cir_Search, 2);
  o.setText(Option::E_Xauto_Start, "5");
  o.setText(Option::E_Yauto_Start, "15");
  o.setText(Option::E_Xauto_Increment, "1");
  o.setText(Option::E_Yauto_Increment, "0.5");
  o.setText(Option::E_Move_Length, "0.75");
  const Lines expected =
      Join({Header(64),
            kIdentity,
            {"",
             I("[b]SOIL PROPERTIES[/b]"),
             I("No of Boundary Line =    2"),
             I("|   Soil No.   |     C-v     |     C-h     |    Phi-v    |    Phi-h    |  Unit Weight  |"),
             I("         1         12.000         8.000        28.000        22.500         19.000"),
             I("         2          0.000         0.000         0.000         0.000          0.000"),
             "",
             I("[b]GEOMETRY[/b]"),
             I("|   Line No.   |   Points No.   |   X Coord.   |   Y Coord.   |"),
             I("         1              1               0.000          0.000"),
             I("         1              2              10.000          0.000"),
             kDashes,
             I("         2              1               0.000          4.000"),
             I("         2              2              10.000          6.000"),
             kDashes,
             "",
             I("[b]BOTTOM LINE[/b]"),
             I("Bottom Line No. =    1"),
             "",
             I("[b]SEEPAGE CONDITION : [/b]Variable Pore Pressure Ratio"),
             I("|    Line No.    |      Ru      |"),
             I("        1             0.250"),
             "",
             I("[b]LOAD EFFECT[/b]"),
             I("[u]External Load[/u]"),
             I("-Line Load"),
             I("|   Load No.   |   Magnitude   |   X Coord.   |    Angle    |"),
             I("        1           50.000           4.000        90.000"),
             "",
             I("[b]SEARCH CONDITION[/b]"),
             I("Passing Criteria = 0.01000"),
             "",
             I("[u]Circular Search[/u] : by Automatic"),
             I("No of Circle =   10"),
             I("No of Slice =   10"),
             I("Min Depth of Tallest Slice =     1.000"),
             I("No of Add Radii =    0"),
             I("X Automatic = 5.000     Y Automatic = 15.000"),
             I("X Increment = 1.000     Y Increment = 0.500"),
             "",
             I("[u]Non-Circular Search[/u] : by Random"),
             I("No of Slice =   10"),
             I("Min Depth of Tallest Slice =     0.000"),
             I("No. of Direction =    8"),
             I("Moving Length =     0.750"),
             I("Divide Step =    3"),
             I("X Axis =     0.000     Y Axis =     0.000"),
             I("|   Point No.   |   X Coord.   |   Y Coord.   |")}});
  ExpectLines(f.data(), expected);
}

TEST(DataReport, HugeTypedNumbersPrintOnlyTheRowsPresent) {
  ReportFixture f;
  f.soil(1, 1.0, 2.0, 3.0);
  f.soil(1000000, 0.0, 0.0, 0.0);
  f.point(1, 2147483647, 0.0, 0.0);
  const Lines lines = f.data();
  EXPECT_LT(lines.size(), 80u);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), kDashes), 2);
  EXPECT_NE(std::find(lines.begin(), lines.end(), I("No of Boundary Line = 1000000")), lines.end());
}

TEST(DataReport, AFieldThatIsNotANumberStopsTheWholeReport) {
  ReportFixture f;
  f.options().setText(Option::E_Cir_Decrement, "2.5");  // read as a number of circles
  EXPECT_THROW(
      {
        try {
          BuildDataReport(f.project, kStamp);
        } catch (const ConversionError& e) {
          EXPECT_STREQ(e.what(), "'2.5' is not a valid integer value");
          throw;
        }
      },
      ConversionError);
}

ReportRunDescription MadeBy(std::uint8_t theory, std::array<bool, 4> selected) {
  ReportRunDescription run;
  run.theory = theory;
  run.selected = selected;
  run.minima[Ordinary] = {1.11111, 1.0, 2.0, 3.0};
  run.minima[Janbu] = {1.23456, 4.0, 5.0, 6.0};
  run.minima[Bishop] = {1.2345, 12.5, 30.0, 20.1};
  run.minima[Spencer] = {2.0, 7.0, 8.0, 9.0};
  return run;
}

const Lines kSurfaceHead = {"",
                            "",
                            I("[b]Failure Surface Coordinate[/b]"),
                            "",
                            I("|   No.   |   Coordi X   |   Coordi Y   |"),
                            I(std::string(41, '-'))};

TEST(ResultReport, CircularRunWithBishopAloneAndAWideCoordinate) {
  testing::ProjectFixture f;
  Row r(Table::Failure_Geometry);
  r.set(FailurePointField::No, 1).set(FailurePointField::X, 2.5).set(FailurePointField::Y, 10.0);
  f.store().append(r);
  r.set(FailurePointField::No, 2).set(FailurePointField::X, -100000000000.0).set(FailurePointField::Y, 7.1234);
  f.store().append(r);
  const Lines lines = DescribeLines(BuildResultReport(f.store(), MadeBy(1, {false, false, true, false}), kStamp));
  ExpectLines(lines, Join({Header(67),
                           {"", I("[b]Circular Analysis[/b]"), "", I("Min. FS. by Ordinary    : N/A"),
                            I("Min. FS. by Simp.Janbu  : N/A"),
                            I("Min. FS. by Simp.Bishop : 1.2345 , X : 12.5 , Y : 30 , R : 20.1"),
                            I("Min. FS. by Spencer     : N/A")},
                           kSurfaceHead,
                           {I("     1           2.500         10.000"), I("     2-100000000000.000          7.123"),
                            I(std::string(41, '-'))}}));
}

TEST(ResultReport, IrregularRunHasNoOrdinaryLineAndNoCentres) {
  testing::ProjectFixture f;
  const Lines lines = DescribeLines(BuildResultReport(f.store(), MadeBy(2, {true, true, false, true}), kStamp));
  ExpectLines(lines, Join({Header(67),
                           {"", I("[b]Non-Circular Analysis[/b]"), "", I("Min. FS. by Simp.Janbu  : 1.2346"),
                            I("Min. FS. by Simp.Bishop : N/A"), I("Min. FS. by Spencer     : 2")},
                           kSurfaceHead,
                           {I(std::string(41, '-'))}}));
}

TEST(ResultReport, NotesUnderTheMinimaAndTheSurfaceAboveItsPoints) {
  testing::ProjectFixture f;
  Row r(Table::Failure_Geometry);
  r.set(FailurePointField::No, 1).set(FailurePointField::X, 2.5).set(FailurePointField::Y, 10.0);
  f.store().append(r);
  ReportRunDescription run = MadeBy(1, {false, false, true, false});
  // A minimum that is a result code prints its meaning, never the number.
  run.selected[Spencer] = true;
  run.minima[Spencer] = {1000009.0, 7.0, 8.0, 9.0};
  run.notes = {"Calculation stopped after 37 of 250 trials: the results are partial.",
               "Simplified Bishop, Spencer: the minimum lies on the left edge of the grid of centres; extend the grid "
               "beyond its left edge."};
  run.shownSurface =
      "Surface shown: the circle of a chosen Results row (not a minimum), centre (12.5, 30), radius 20.1";
  const Lines lines = DescribeLines(BuildResultReport(f.store(), run, kStamp));
  ExpectLines(lines, Join({Header(67),
                           {"",
                            I("[b]Circular Analysis[/b]"),
                            "",
                            I("Min. FS. by Ordinary    : N/A"),
                            I("Min. FS. by Simp.Janbu  : N/A"),
                            I("Min. FS. by Simp.Bishop : 1.2345 , X : 12.5 , Y : 30 , R : 20.1"),
                            I("Min. FS. by Spencer     : no factor: the circle does not reach the ground"),
                            "",
                            I("Calculation stopped after 37 of 250 trials: the results are"),
                            I("partial."),
                            I("Simplified Bishop, Spencer: the minimum lies on the left edge of"),
                            I("the grid of centres; extend the grid beyond its left edge."),
                            "",
                            "",
                            I("[b]Failure Surface Coordinate[/b]"),
                            "",
                            I("Surface shown: the circle of a chosen Results row (not a minimum),"),
                            I("centre (12.5, 30), radius 20.1"),
                            "",
                            I("|   No.   |   Coordi X   |   Coordi Y   |"),
                            I(std::string(41, '-')),
                            I("     1           2.500         10.000"),
                            I(std::string(41, '-'))}}));
}

TEST(ResultReport, AResultCodeReadsInTheRunsLanguage) {
  testing::ProjectFixture f;
  ReportRunDescription run = MadeBy(2, {false, true, false, false});
  run.minima[Janbu].Fs = 99999.0;
  run.language = kLanguageThai;
  const Lines lines = DescribeLines(BuildResultReport(f.store(), run, kStamp));
  ASSERT_GT(lines.size(), 14u);
  EXPECT_EQ(lines[13], I("Min. FS. by Simp.Janbu  : ไม่มีค่าอัตราส่วนความปลอดภัย: ไม่มีผิวการพิบัติที่ใช้ได้"));
}

TEST(WrapText, BreaksAtSpacesAndCutsOnlyWhatCannotFit) {
  struct Case {
    const char* text;
    std::size_t width;
    Lines lines;
  };
  const Case cases[] = {
      {"", 10, {}},
      {"one two three", 7, {"one two", "three"}},
      {"one two three", 13, {"one two three"}},
      {"  spaced   out  ", 20, {"spaced out"}},
      {"abcdefghij kl", 4, {"abcd", "efgh", "ij", "kl"}},
      {"ab abcdefgh", 4, {"ab", "abcd", "efgh"}},
      // Characters, not bytes: six Thai letters fit six places.
      {"กขคงจฉ ชซ", 6, {"กขคงจฉ", "ชซ"}},
      // A vowel or tone mark stays with its letter, even past the width.
      {"ที่นี่", 4, {"ที่", "นี่"}},
      {"ที่นี่", 2, {"ที่", "นี่"}},
  };
  for (const Case& c : cases) EXPECT_EQ(WrapText(c.text, c.width), c.lines) << c.text << " / " << c.width;
}

}  // namespace
}  // namespace pelodyn
