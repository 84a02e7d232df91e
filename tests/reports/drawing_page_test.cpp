// The printed drawing page through a canvas that records every call: the
// frame, the ticks, the arrow of a line load and the critical circle's
// centre on an A4 landscape page at 300 and 1200 dpi.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/fixture.h"
#include "reports/drawing_page.h"

namespace pelodyn {
namespace {

std::string P(QPoint p) {
  return std::to_string(p.x()) + "," + std::to_string(p.y());
}

// Letters of 10 x 20 pixels whatever the font; records each call with the
// pen it was drawn with.
class RecordingCanvas final : public PageCanvas {
 public:
  RecordingCanvas(QSize size, int dpi) : m_size(size), m_dpi(dpi) {}
  std::vector<std::string> calls;

  QSize pageSize() const override { return m_size; }
  int resolution() const override { return m_dpi; }
  void setPen(const QColor& color, int width, Qt::PenStyle) override {
    m_pen = color.name().toStdString() + "/" + std::to_string(width);
  }
  void setBrush(const QColor&, Qt::BrushStyle) override {}
  void setFont(const PageFont&) override {}
  QSize textSize(const QString& text) const override { return {10 * static_cast<int>(text.size()), 20}; }
  void drawLine(QPoint a, QPoint b) override { calls.push_back("line " + P(a) + " " + P(b) + " " + m_pen); }
  void drawPolyline(const QPolygon& points) override { calls.push_back("polyline " + Points(points) + m_pen); }
  void drawRect(const QRect& r) override {
    calls.push_back("rect " + P(r.topLeft()) + " " + P(r.bottomRight()) + " " + m_pen);
  }
  void drawPolygon(const QPolygon& points) override { calls.push_back("polygon " + Points(points) + m_pen); }
  void drawEllipse(const QRect& r) override { calls.push_back("ellipse " + P(r.topLeft()) + " " + P(r.bottomRight())); }
  void drawText(QPoint at, const QString& text) override {
    calls.push_back("text " + P(at) + " " + text.toStdString());
  }
  void drawTextUpwards(QPoint at, const QString& text) override {
    calls.push_back("upwards " + P(at) + " " + text.toStdString());
  }

  bool has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  int countStartingWith(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.starts_with(prefix); }));
  }

 private:
  static std::string Points(const QPolygon& points) {
    std::string out;
    for (const QPoint& p : points) out += P(p) + " ";
    return out;
  }
  QSize m_size;
  int m_dpi;
  std::string m_pen = "none";
};

// Two soils over x 0 to 40, a grid of centres up to y 35 (so the extent is
// 40 by 35 and the height limits the scale), a line load at (10, 10)
// pointing at 90 degrees, and a critical circle about (20, 30).
struct PageFixture : testing::ProjectFixture {
  PageFixture() {
    soil(1, 10.0, 30.0, 18.0);
    soil(2, 0.0, 0.0, 0.0);
    line(1, {{0, 0}, {40, 0}});
    line(2, {{0, 10}, {20, 10}, {40, 20}});
    testing::SetCentreGrid(options(), "10", "25", "30", "35", "2");
    options().setChecked(Option::CB_LineLoad_Disable, false);
    Row load(Table::Lineload);
    load.set(LineLoadField::LoadNo, 1)
        .set(LineLoadField::Magnitude, 5.0)
        .set(LineLoadField::X, 10.0)
        .set(LineLoadField::Y, 10.0)
        .set(LineLoadField::Angle, 90.0);
    store().append(load);
    int no = 1;
    for (auto [x, y] : {std::pair{5.0, 10.0}, {20.0, 6.0}, {35.0, 20.0}}) {
      Row r(Table::Failure_Geometry);
      r.set(FailurePointField::No, no++).set(FailurePointField::X, x).set(FailurePointField::Y, y);
      store().append(r);
    }
    run.theory = 1;
    run.selected = {false, true, true, true};
    run.minima[Janbu].Fs = 1.2;
    surface.centerX = 20.0;
    surface.centerY = 30.0;
    surface.boundaryX = {5.0, 20.0, 35.0};
    surface.baseYAtBoundary = {10.0, 6.0, 20.0};
    surface.surfaceYAtBoundary = {10.0, 10.0, 20.0};
  }
  RecordingCanvas paint(QSize size, int dpi) {
    RecordingCanvas canvas(size, dpi);
    PaintDrawingPage(canvas, ReadDrawingPage(project, run, &surface), AppSettings{});
    return canvas;
  }
  ReportRunDescription run;
  CriticalSurface surface;
};

// A4 landscape at 300 dpi with 1-inch margins: u = 2480 / 8.263, every
// margin round(u) = 300; the drawing is 2638 x 1370 pixels from the origin
// (510, 1970); the scale is 1370 / 35 pixels per unit.
TEST(DrawingPage, FrameTicksArrowAndCentreAt300Dpi) {
  PageFixture f;
  const RecordingCanvas page = f.paint(QSize(3508, 2480), 300);
  EXPECT_TRUE(page.has("rect 300,525 3208,2180 #000000/2")) << page.calls.front();
  EXPECT_TRUE(page.has("rect 300,525 915,863 #000000/2"));  // the title block
  // Axes: x along y 2030 from x 450, y up to 900.
  EXPECT_TRUE(page.has("line 450,2030 3148,2030 #000000/2"));
  EXPECT_TRUE(page.has("line 450,2030 450,900 #000000/2"));
  // The letters are 20 high: 5 units between ticks, 12 ticks along x, each
  // standing at its label's value, 510 + v * 1370 / 35.
  for (auto [value, x] : {std::pair{0, 510}, {5, 706}, {10, 901}, {15, 1097}, {55, 2663}}) {
    EXPECT_TRUE(page.has("line " + std::to_string(x) + ",2030 " + std::to_string(x) + ",2042 #000000/2")) << value;
    const std::string label = std::to_string(value);
    EXPECT_TRUE(page.has("text " + std::to_string(x - 5 * static_cast<int>(label.size())) + ",2060 " + label)) << value;
  }
  EXPECT_EQ(std::count_if(page.calls.begin(), page.calls.end(),
                          [](const std::string& c) {
                            return c.ends_with(",2030 " + c.substr(5, c.find(',') - 5) + ",2042 #000000/2");
                          }),
            12);
  // Y labels from y0 = 5 * round((0 - 5) / 5) = -5 at page y 2166, one
  // tick every 5 units (195.7 pixels) above it: 0 at 1970, 5 at 1775.
  EXPECT_TRUE(page.has("line 450,1970 438,1970 #000000/2"));
  EXPECT_TRUE(page.has("text 390,1970 0"));
  EXPECT_TRUE(page.has("line 450,1775 438,1775 #000000/2"));
  EXPECT_TRUE(page.has("text 390,1775 5"));
  EXPECT_EQ(std::count_if(page.calls.begin(), page.calls.end(),
                          [](const std::string& c) {
                            return c.starts_with("line 450,") && c.find(" 438,") != std::string::npos;
                          }),
            5);
  // The 90-degree load points to the right, as on screen: a shaft of
  // 0.3 u = 90 pixels (7.6 mm), the head's base 0.08 u = 24 pixels along it
  // and 0.03 u = 9 pixels to either side.
  EXPECT_TRUE(page.has("line 901,1578 991,1578 #ff0000/2"));
  EXPECT_TRUE(page.has("polygon 901,1578 925,1587 925,1569 #ff0000/2"));
  // The centre (20, 30): its label and dot, and the radii to both ends.
  EXPECT_TRUE(page.has("text 1292,795 ( 20.00,30.00 )"));
  EXPECT_TRUE(page.has("ellipse 1290,793 1298,801"));
  EXPECT_TRUE(page.has("line 1292,795 705,1578 #ff0000/1"));
  EXPECT_TRUE(page.has("line 1292,795 1880,1187 #ff0000/1"));
  // The title block's factors: the run's methods, Ordinary not analysed.
  // A method that found no factor says so, instead of printing 99999.
  EXPECT_TRUE(page.has("text 390,788 N/A/1.200/no factor/no factor"));
}

TEST(DrawingPage, PixelSizesFollowTheResolution) {
  PageFixture f;
  const RecordingCanvas page = f.paint(QSize(4 * 3508, 4 * 2480), 1200);
  // u = 9920 / 8.263 = 1200.5: margins of 1201 pixels.
  EXPECT_TRUE(page.has("rect 1201,2101 12831,8719 #000000/8"));
  // The same arrow with four times the pixels, at (10, 10) on this page.
  EXPECT_TRUE(page.has("line 3605,6314 3965,6314 #ff0000/8"));
  EXPECT_TRUE(page.has("polygon 3605,6314 3701,6350 3701,6278 #ff0000/8"));
}

TEST(DrawingPage, TheTitleBlockCutsWhatIsTooLongForIt) {
  // The block is 2.05 u = 615 pixels wide; its texts start at 0.1 u = 330
  // and may take 1.9 u = 570 pixels: 57 letters of the recording canvas.
  struct Case {
    const char* control;
    std::string text;
    int y;  // 300 + 0.85 u, 1.05 u, 1.25 u
    std::string drawn;
  };
  const std::string longName(100, 'N');
  const Case cases[] = {
      {Option::E_Project_Name, longName, 555, std::string(54, 'N') + "..."},
      {Option::E_Lacation, std::string(57, 'L'), 615, std::string(57, 'L')},  // fits exactly
      {Option::E_Engineer, std::string(58, 'E'), 675, std::string(54, 'E') + "..."},
  };
  PageFixture f;
  for (const Case& c : cases) f.options().setText(c.control, c.text);
  const RecordingCanvas page = f.paint(QSize(3508, 2480), 300);
  for (const Case& c : cases) {
    EXPECT_TRUE(page.has("text 330," + std::to_string(c.y) + " " + c.drawn)) << c.control;
  }
  // Thai: a cut after 54 code points would part a letter from its vowel
  // mark; the letter goes too (each code point counts 10 pixels here).
  QString thai = QStringLiteral("x");
  for (int k = 0; k < 50; ++k) thai += QStringLiteral("กิ");
  f.options().setText(Option::E_Project_Name, thai.toStdString());
  const RecordingCanvas thaiPage = f.paint(QSize(3508, 2480), 300);
  QString expected = QStringLiteral("x");
  for (int k = 0; k < 26; ++k) expected += QStringLiteral("กิ");
  EXPECT_TRUE(thaiPage.has("text 330,555 " + (expected + QStringLiteral("...")).toStdString()));
}

TEST(DrawingPage, DegenerateInputsDrawABoundedPage) {
  testing::ProjectFixture f;
  f.soil(1, 1.0, 1.0, 1.0);
  f.point(1, 1, 5.0, 5.0);  // an extent of no size counts as one unit
  testing::SetCentreGrid(f.options(), "5", "5", "5", "5", "1000000");
  RecordingCanvas page(QSize(3508, 2480), 300);
  PaintDrawingPage(page, ReadDrawingPage(f.project, std::nullopt, nullptr), AppSettings{});
  EXPECT_LT(page.calls.size(), 200u);
  // No critical surface without a run.
  EXPECT_EQ(page.countStartingWith("ellipse"), 0);
}

TEST(DrawingPage, CentreLabelRoundsToFiveSignificantDigits) {
  EXPECT_EQ(CentreLabel(12345.678, 3.14159), "( 12346.00,3.14 )");
  EXPECT_EQ(CentreLabel(-2.5, 0.0), "( -2.50,0.00 )");
  EXPECT_EQ(CentreLabel(123456.7, 1.0), "( 1.2346E+05,1.00 )");
}

}  // namespace
}  // namespace pelodyn
