// A section drawn with the mouse alone: clicks on the drawing (QTest mouse
// events, offscreen), snapped to the grid and to the ground line, the
// soils' lines, a water line, a strip load, an anchor, a crack and the grid
// of centres; then a point deleted by right click, a point moved, and every
// step undone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "model/fixture.h"
#include "model/platform.h"
#include "model/soil_color.h"
#include "persistence/project_file.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"
#include "support/test_folder.h"
#include "texts/messages.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/drawing_controller.h"
#include "ui/shell/main_window.h"
#include "view/section_view.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Row Soil(int no, double c, double phi, double gamma, const char* description) {
  Row r(Table::Soil_Prop);
  r.set(SoilCommonField::LineNo, no)
      .set(SoilField::Cohesion, c)
      .set(SoilField::Phi, phi)
      .set(SoilCommonField::UnitWeight, gamma)
      .set(SoilCommonField::Description, description);
  r.set(SoilCommonField::Color, static_cast<std::int64_t>(SoilColorDefault(no)));
  return r;
}

using Points = std::vector<std::tuple<int, int, double, double>>;

class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TestFolder("pelodyn-draw-");
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::remove(SettingsFilePath());
    document = ProjectDocument::openPrivate();
    window = std::make_unique<MainWindow>(*document, prompter);
    window->resize(1200, 800);
    window->show();
    window->startUp();
    view = window->findChild<SectionView*>();
    ASSERT_NE(view, nullptr);
  }
  void TearDown() override {
    window.reset();
    document.reset();
    fs::remove_all(dir);
  }

  // The canvas pixel of world (x, y), nudged by a few pixels so that the
  // grid snap has something to do.
  QPoint pixel(double x, double y, int nudge = 3) {
    const PixelPoint p = view->transform().worldToImage(x, y, 1.0, 1.0);
    return QPoint(p.x + nudge, p.y - nudge);
  }
  void click(double x, double y, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* canvas = view->canvas();
    QTest::mouseMove(canvas, pixel(x, y));
    QTest::mouseClick(canvas, button, Qt::NoModifier, pixel(x, y));
  }
  void clickAll(const std::vector<std::pair<double, double>>& points) {
    for (const auto& [x, y] : points) click(x, y);
    click(points.back().first, points.back().second, Qt::RightButton);  // ends the drawing
  }
  QAction* action(const char* name) { return window->commands().action(QString::fromLatin1(name)); }
  template <class T = QWidget>
  T* control(const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void press(const char* button) { control<QPushButton>(button)->click(); }
  void type(const char* field, const char* text) {
    auto* e = control<QLineEdit>(field);
    e->selectAll();
    QTest::keyClicks(e, QString::fromLatin1(text));
  }
  Points geometry() {
    Points out;
    for (const Row& r : document->project().store->rows(Table::Geometry)) {
      out.emplace_back(r.integer(GeometryField::LineNo), r.integer(GeometryField::PointNo), r.real(GeometryField::X),
                       r.real(GeometryField::Y));
    }
    return out;
  }
  fs::path save(const char* name) {
    const fs::path file = dir / name;
    prompter.saveTargets = {SaveTarget{QString::fromStdString(file.string()), 0}};
    action("MN_SaveAs")->trigger();
    return file;
  }

  fs::path dir;
  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  std::unique_ptr<MainWindow> window;
  SectionView* view = nullptr;
};

TEST_F(DrawingTest, ASectionDrawnWithTheMouseIsSavedAnalysedAndUndone) {
  const std::string original = test::Bytes(save("start.pdd"));
  prompter.shown.clear();
  // The soils are typed; everything else is drawn.
  document->insertRows(Table::Soil_Prop, 1,
                       {Soil(1, 20, 30, 19, "Firm clay"), Soil(2, 5, 28, 18, "Silty sand"), Soil(3, 0, 0, 0, "Air")});
  action("MN_Draw_Geometry")->trigger();
  auto* lines = control<QComboBox>("CB_Line_No");
  ASSERT_EQ(lines->count(), 3);
  const std::vector<std::vector<std::pair<double, double>>> drawn = {
      {{0, 0}, {40, 0}},
      {{0, 8}, {40, 6}},
      {{0, 15}, {15, 15}, {25, 10}, {40, 10}},
  };
  for (int k = 0; k < 3; ++k) {
    lines->setCurrentIndex(k);
    emit lines->activated(k);
    EXPECT_EQ(window->drawing()->target(), k + 1);
    clickAll(drawn[static_cast<std::size_t>(k)]);
    EXPECT_FALSE(window->drawing()->drawing());
  }
  const Points section = {{1, 1, 0, 0},  {1, 2, 40, 0},  {2, 1, 0, 8},   {2, 2, 40, 6},
                          {3, 1, 0, 15}, {3, 2, 15, 15}, {3, 3, 25, 10}, {3, 4, 40, 10}};
  EXPECT_EQ(geometry(), section);

  // The water line, from its panel's Draw button.
  action("PU_WaterLine")->trigger();
  press("B_WaterLine_Draw");
  clickAll({{0, 12}, {20, 9}, {40, 7}});
  EXPECT_EQ(document->project().store->rowCount(Table::Waterline), 3);
  EXPECT_EQ(document->project().options.itemIndex(Option::CB_Seepage), 1);

  // A strip load on the crest: New, the magnitude, Draw, two clicks, OK.
  action("PU_ExLoad")->trigger();
  auto* type_ = control<QComboBox>("CB_Load_Type");
  type_->setCurrentIndex(1);
  emit type_->activated(1);
  press("B_StripLoad_New");
  type("DBE_StripLoad_Mag", "12");
  press("B_StripLoad_Draw");
  EXPECT_EQ(window->drawing()->target(), TargetStripLoad);
  click(2, 15);
  click(10, 15);
  EXPECT_FALSE(window->drawing()->drawing());
  press("B_StripLoad_OK");
  ASSERT_EQ(document->project().store->rowCount(Table::Stripload), 1);
  const Row strip = document->project().store->rowAt(Table::Stripload, 1);
  EXPECT_EQ(strip.real(StripLoadField::Magnitude), 12.0);
  EXPECT_EQ(strip.real(StripLoadField::BeginX), 2.0);
  EXPECT_EQ(strip.real(StripLoadField::EndX), 10.0);
  EXPECT_EQ(strip.real(StripLoadField::Y1), 15.0);

  // An anchor through the slope.
  action("PU_Anchor")->trigger();
  press("B_Anchor_New");
  type("DBE_Anchor_Mag", "50");
  type("DBE_Anchor_BL", "3");
  press("B_Anchor_Draw");
  click(20, 12);
  click(12, 9);
  press("B_Anchor_OK");
  ASSERT_EQ(document->project().store->rowCount(Table::Anchor), 1);
  EXPECT_EQ(document->project().store->rowAt(Table::Anchor, 1).real(AnchorField::XEnd), 12.0);
  EXPECT_FALSE(document->project().options.checked(Option::CB_Anchor_Disable));

  // A crack below the crest, and the grid of centres.
  action("PU_TCrack")->trigger();
  press("Button1");
  clickAll({{12, 15}, {12, 13}});
  EXPECT_EQ(document->project().store->rowCount(Table::Tcrack), 2);
  action("MN_Draw_Grid")->trigger();
  click(20, 25);
  click(35, 25);
  click(35, 35);
  EXPECT_FALSE(window->drawing()->drawing());
  EXPECT_EQ(document->project().options.text(Option::E_X_RightTop), "35");
  EXPECT_EQ(document->project().options.text(Option::E_Y_RightTop), "35");
  EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text.toStdString();

  // The command-line program reads, checks and analyses the drawn file.
  const fs::path drawnFile = save("drawn.pdd");
  EXPECT_EQ(RunCommand(std::string(PELODYN_CLI) + " verify '" + drawnFile.string() + "' > /dev/null"), 0);
  EXPECT_EQ(RunCommand(std::string(PELODYN_CLI) + " analyse '" + drawnFile.string() + "' > /dev/null"), 0);
  EXPECT_TRUE(fs::exists(dir / "drawn.pdr"));

  // A right click on a point selects it and its menu deletes it; that line
  // numbers its later points again, every other row stays as it was.
  click(15, 15, Qt::RightButton);
  ASSERT_TRUE(window->drawing()->hasSelection());
  EXPECT_EQ(*window->drawing()->selection(), (PointKey{3, 2}));
  EXPECT_TRUE(action("PU_DeletePoint")->isEnabled());
  action("PU_DeletePoint")->trigger();
  EXPECT_EQ(
      geometry(),
      (Points{
          {1, 1, 0, 0}, {1, 2, 40, 0}, {2, 1, 0, 8}, {2, 2, 40, 6}, {3, 1, 0, 15}, {3, 2, 25, 10}, {3, 3, 40, 10}}));
  EXPECT_FALSE(action("MN_DeletePoint")->isEnabled());

  // Select, Move Point, drag: the point's own row moves, snapped.
  click(25, 10);
  ASSERT_TRUE(window->drawing()->hasSelection());
  action("MN_MovePoint")->trigger();
  QWidget* canvas = view->canvas();
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, pixel(25, 10));
  QTest::mouseMove(canvas, pixel(26, 11));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, pixel(27, 11));
  EXPECT_EQ(
      geometry(),
      (Points{
          {1, 1, 0, 0}, {1, 2, 40, 0}, {2, 1, 0, 8}, {2, 2, 40, 6}, {3, 1, 0, 15}, {3, 2, 27, 11}, {3, 3, 40, 10}}));

  // Undo takes the mouse edits back one by one, to the start.
  document->undo();
  EXPECT_EQ(std::get<2>(geometry()[5]), 25.0);
  document->undo();
  EXPECT_EQ(geometry(), section);
  while (document->undoStack().canUndo()) document->undo();
  EXPECT_EQ(test::Bytes(save("undone.pdd")), original);
}

TEST_F(DrawingTest, TheSoilTipNamesTheSoilUnderAClick) {
  document->insertRows(Table::Soil_Prop, 1,
                       {Soil(1, 20, 30, 19, "Firm clay"), Soil(2, 5, 28, 18, "Silty sand"), Soil(3, 0, 0, 0, "Air")});
  action("MN_Draw_Geometry")->trigger();
  auto* lines = control<QComboBox>("CB_Line_No");
  const std::vector<std::vector<std::pair<double, double>>> drawn = {
      {{0, 0}, {40, 0}}, {{0, 8}, {40, 6}}, {{0, 15}, {40, 10}}};
  for (int k = 0; k < 3; ++k) {
    emit lines->activated(k);
    clickAll(drawn[static_cast<std::size_t>(k)]);
  }
  QAction* tip = action("TB_View_SoilProp");
  ASSERT_TRUE(tip->isEnabled());
  tip->trigger();
  ASSERT_TRUE(tip->isChecked());
  click(10, 4);
  auto* panel = control<QLabel>("StatusBar_Pelodyn_Y");
  EXPECT_EQ(panel->text(), QStringLiteral("Firm clay : Soil No.= 1 , c = 20 , phi = 30 , unit weight = 19"));
  click(10, 10);
  EXPECT_EQ(panel->text(), QStringLiteral("Silty sand : Soil No.= 2 , c = 5 , phi = 28 , unit weight = 18"));
  EXPECT_EQ(geometry().size(), 6u);  // the tip's clicks place nothing
  click(10, 10, Qt::RightButton);
  EXPECT_FALSE(tip->isChecked());
  EXPECT_TRUE(panel->text().isEmpty());
  // A new project shows nothing of the soils of the one before.
  tip->trigger();
  click(10, 4);
  ASSERT_FALSE(panel->text().isEmpty());
  document->newProject({});
  EXPECT_TRUE(panel->text().isEmpty());
}

// A picture for a person to look at (only when PELODYN_PICTURES names a
// folder): a section drawn by clicks, a water line in progress with its
// rubber band, and the cursor's coordinates in the status bar.
TEST_F(DrawingTest, PictureOfADrawingInProgress) {
  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  if (folder.isEmpty()) GTEST_SKIP() << "PELODYN_PICTURES is not set";
  document->insertRows(Table::Soil_Prop, 1,
                       {Soil(1, 20, 30, 19, "Firm clay"), Soil(2, 5, 28, 18, "Silty sand"), Soil(3, 0, 0, 0, "Air")});
  action("MN_Draw_Geometry")->trigger();
  auto* lines = control<QComboBox>("CB_Line_No");
  const std::vector<std::vector<std::pair<double, double>>> drawn = {
      {{0, 0}, {40, 0}}, {{0, 8}, {40, 6}}, {{0, 15}, {15, 15}, {25, 10}, {40, 10}}};
  for (int k = 0; k < 3; ++k) {
    emit lines->activated(k);
    clickAll(drawn[static_cast<std::size_t>(k)]);
  }
  action("PU_WaterLine")->trigger();
  press("B_WaterLine_Draw");
  click(0, 12);
  click(20, 9);
  action("TB_Zoom_IN")->trigger();  // waits: the drawing goes on
  QTest::mouseMove(view->canvas(), pixel(33, 7));
  QCoreApplication::processEvents();
  ASSERT_TRUE(window->grab().save(folder + QStringLiteral("/drawing-in-progress.png")));
}

TEST_F(DrawingTest, ZoomWaitsAndRubberBandFollowsWhileDrawing) {
  document->insertRows(Table::Soil_Prop, 1, {Soil(1, 0, 0, 0, "Air")});
  action("PU_WaterLine")->trigger();
  press("B_WaterLine_Draw");
  click(0, 12);
  QTest::mouseMove(view->canvas(), pixel(10, 12));
  ASSERT_TRUE(view->rubberBand());
  EXPECT_EQ(view->rubberBand()->first, (WorldPoint{0, 12}));
  EXPECT_EQ(view->rubberBand()->second, (WorldPoint{10, 12}));
  const int zoom = view->pixelsPerUnit();
  action("TB_Zoom_IN")->trigger();
  EXPECT_EQ(view->pixelsPerUnit(), zoom);
  // Closing the panel the drawing started from ends it, as the right
  // button does.
  press("B_WaterLine_Close");
  EXPECT_FALSE(window->drawing()->drawing());
  EXPECT_FALSE(view->rubberBand());
  EXPECT_EQ(document->project().store->rowCount(Table::Waterline), 1);
  action("TB_Zoom_IN")->trigger();
  EXPECT_GT(view->pixelsPerUnit(), zoom);
}

// ----- Entering a section: what a new user meets first -------------------------

class DrawingEntryTest : public DrawingTest {
 protected:
  // Three soils and their lines, typed: a slope from 15 down to 10.
  void typedSection() {
    document->insertRows(Table::Soil_Prop, 1,
                         {Soil(1, 20, 30, 19, "Firm clay"), Soil(2, 5, 28, 18, "Silty sand"), Soil(3, 0, 0, 0, "Air")});
    std::vector<Row> rows;
    const std::vector<std::tuple<int, int, double, double>> points = {{1, 1, 0, 0},   {1, 2, 40, 0}, {2, 1, 0, 8},
                                                                      {2, 2, 40, 6},  {3, 1, 0, 15}, {3, 2, 15, 15},
                                                                      {3, 3, 25, 10}, {3, 4, 40, 10}};
    for (const auto& [line, point, x, y] : points) {
      Row r(Table::Geometry);
      r.set(GeometryField::LineNo, line)
          .set(GeometryField::PointNo, point)
          .set(GeometryField::X, x)
          .set(GeometryField::Y, y);
      rows.push_back(r);
    }
    document->insertRows(Table::Geometry, 1, rows);
  }
  std::vector<std::string> corners() {
    std::vector<std::string> out;
    for (const char* c :
         {OptionCName(Option::E_X_LeftDown), OptionCName(Option::E_Y_LeftDown), OptionCName(Option::E_X_RightDown),
          OptionCName(Option::E_Y_RightDown), OptionCName(Option::E_X_RightTop), OptionCName(Option::E_Y_RightTop)}) {
      out.push_back(document->project().options.text(OptionNamed(c)));
    }
    return out;
  }
  // Where world (x, y) shows in the scroll box's viewport.
  QPoint onScreen(double x, double y) {
    const PixelPoint p = view->transform().worldToImage(x, y, 1.0, 1.0);
    return view->canvas()->mapTo(view->viewport(), QPoint(p.x, p.y));
  }
};

TEST_F(DrawingEntryTest, DrawGeometryDrawsTheSoilItShowsWithoutPickingItAgain) {
  document->insertRows(Table::Soil_Prop, 1,
                       {Soil(1, 20, 30, 19, "Firm clay"), Soil(2, 5, 28, 18, "Silty sand"), Soil(3, 0, 0, 0, "Air")});
  action("MN_Draw_Geometry")->trigger();
  auto* lines = control<QComboBox>("CB_Line_No");
  ASSERT_EQ(lines->currentIndex(), 0);
  EXPECT_EQ(window->drawing()->target(), 1);
  clickAll({{0, 0}, {40, 0}});
  EXPECT_EQ(geometry(), (Points{{1, 1, 0, 0}, {1, 2, 40, 0}}));
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DrawingEntryTest, DrawGeometryWithoutSoilsSaysToEnterThemFirst) {
  struct Case {
    std::uint8_t language;
    const char* says;
  };
  for (const Case& c : {Case{kLanguageEnglish, "Enter the soils first"}, Case{kLanguageThai, "กรุณาป้อนคุณสมบัติดินก่อน"}}) {
    prompter.shown.clear();
    document->setLanguage(c.language);
    action("MN_Draw_Geometry")->trigger();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.contains(QString::fromUtf8(c.says))) << prompter.shown[0].text.toStdString();
    EXPECT_FALSE(window->drawing()->drawing());
    click(10, 10);
    EXPECT_TRUE(geometry().empty());
  }
}

TEST_F(DrawingEntryTest, ATwoClickGridIsNeitherStaleNorAcceptedWithoutAWord) {
  typedSection();
  document->setOptions(QStringLiteral("grid"),
                       [](OptionValues& o) { testing::SetCentreGrid(o, "20", "25", "35", "35", "10"); });
  const std::vector<std::string> before = corners();
  action("MN_Draw_Grid")->trigger();
  click(10, 20);
  click(30, 20);
  // The corner still to come stands on the second one, not on an old value
  // or on (0, 0): the grid never sweeps through the slope.
  EXPECT_EQ(corners(), (std::vector<std::string>{"10", "20", "30", "20", "30", "20"}));
  click(30, 20, Qt::RightButton);
  EXPECT_FALSE(window->drawing()->drawing());
  EXPECT_EQ(corners(), before);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_TRUE(prompter.shown[0].text.contains(QStringLiteral("needs three corners; 2 of 3")))
      << prompter.shown[0].text.toStdString();
  // Three clicks make the grid, without a word.
  prompter.shown.clear();
  action("MN_Draw_Grid")->trigger();
  click(10, 20);
  click(30, 20);
  click(30, 30);
  EXPECT_EQ(corners(), (std::vector<std::string>{"10", "20", "30", "20", "30", "30"}));
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DrawingEntryTest, ALoadShowsWhereItWasPlacedAtOnceAndStandsOnTheGround) {
  typedSection();
  action("PU_ExLoad")->trigger();
  auto* loadType = control<QComboBox>("CB_Load_Type");
  loadType->setCurrentIndex(0);
  emit loadType->activated(0);
  press("B_LL_New");
  type("DBE_LineLoad_Mag", "40");
  type("DBE_LineLoad_Ang", "0");
  press("B_LIneLoad_Draw");
  EXPECT_TRUE(view->placedLoad().empty());
  // 1.3 units above the flat crest (ground at 15), farther than the snap.
  click(5, 16.3);
  ASSERT_EQ(view->placedLoad().size(), 1u);
  EXPECT_EQ(view->placedLoad()[0], (WorldPoint{5, 15}));
  // It is painted: red on the shaft just above the point.
  const QImage shown = view->viewport()->grab().toImage();
  const QPoint at = onScreen(5, 15);
  EXPECT_EQ(shown.pixelColor(at.x(), at.y() - 20), QColor(255, 0, 0));
  press("B_LineLoad_OK");
  EXPECT_TRUE(view->placedLoad().empty());
  ASSERT_EQ(document->project().store->rowCount(Table::Lineload), 1);
  const Row load = document->project().store->rowAt(Table::Lineload, 1);
  EXPECT_EQ(load.real(LineLoadField::X), 5.0);
  EXPECT_EQ(load.real(LineLoadField::Y), 15.0);
  // A strip load's two ends show as they are clicked; Close gives them up.
  loadType->setCurrentIndex(1);
  emit loadType->activated(1);
  press("B_StripLoad_New");
  press("B_StripLoad_Draw");
  click(2, 15);
  EXPECT_EQ(view->placedLoad().size(), 2u);
  click(10, 15);
  EXPECT_EQ(view->placedLoad(), (std::vector<WorldPoint>{{2, 15}, {10, 15}}));
  press("BB_StripLoad_cancel");
  EXPECT_TRUE(view->placedLoad().empty());
}

TEST_F(DrawingEntryTest, MovePointDragsTheLinesWithThePoint) {
  typedSection();
  click(25, 10);
  ASSERT_TRUE(window->drawing()->hasSelection());
  action("MN_MovePoint")->trigger();
  QWidget* canvas = view->canvas();
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, pixel(25, 10));
  QTest::mouseMove(canvas, pixel(30, 20));
  // Before the release: the point's item (row 7 of Geometry) has moved, and
  // the line from (15, 15) runs to it, drawn on the canvas.
  const DisplayItem& item = view->displayList().items[6];
  EXPECT_EQ(item.x, 30.0);
  EXPECT_EQ(item.y, 20.0);
  const PixelPoint moved = view->transform().worldToImage(30, 20, 1, 1);
  EXPECT_EQ(QPoint(item.pixelX, item.pixelY), QPoint(moved.x, moved.y));
  const QRect visible = view->canvas()->visibleImageRect();
  const QImage during = canvas->grab(visible).toImage();
  const PixelPoint mid = view->transform().worldToImage(22.5, 17.5, 1, 1);  // on the new segment
  bool black = false;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      black = black || during.pixelColor(mid.x - visible.left() + dx, mid.y - visible.top() + dy) == Qt::black;
    }
  }
  EXPECT_TRUE(black);
  EXPECT_EQ(std::get<2>(geometry()[6]), 25.0);  // the row waits for the release
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, pixel(30, 20));
  EXPECT_EQ(std::get<2>(geometry()[6]), 30.0);
  EXPECT_EQ(std::get<3>(geometry()[6]), 20.0);
}

TEST_F(DrawingEntryTest, TheViewFitsWhatIsBuiltWithAMarginAndKeepsItsPlace) {
  // A point at x = 100 and a grid reaching y = 66, typed: both lie inside
  // the drawing, clear of its edges.
  document->insertRows(Table::Soil_Prop, 1, {Soil(1, 20, 30, 19, "Clay"), Soil(2, 0, 0, 0, "Air")});
  std::vector<Row> rows;
  for (auto [line, point, x, y] : std::vector<std::tuple<int, int, double, double>>{
           {1, 1, 0, 0}, {1, 2, 100, 0}, {2, 1, 0, 30}, {2, 2, 40, 30}, {2, 3, 60, 20}, {2, 4, 100, 20}}) {
    Row r(Table::Geometry);
    r.set(GeometryField::LineNo, line)
        .set(GeometryField::PointNo, point)
        .set(GeometryField::X, x)
        .set(GeometryField::Y, y);
    rows.push_back(r);
  }
  document->insertRows(Table::Geometry, 1, rows);
  document->setOptions(QStringLiteral("grid"), [](OptionValues& o) {
    o.setItemIndex(Option::RG_Theory, 1);
    o.setItemIndex(Option::CB_Cir_Search, 0);
    testing::SetCentreGrid(o, "40", "40", "60", "66", "10");
  });
  QCoreApplication::processEvents();
  // The work area grew, at the same zoom: every point lies on the drawing,
  // clear of its edges.
  const QSize image = view->canvas()->size();
  for (auto [x, y] : {std::pair{100.0, 0.0}, {0.0, 0.0}, {60.0, 66.0}, {40.0, 66.0}}) {
    const PixelPoint p = view->transform().worldToImage(x, y, 1, 1);
    EXPECT_GE(p.x, 6) << x << "," << y;
    EXPECT_GE(p.y, 6) << x << "," << y;
    EXPECT_LE(p.x, image.width() - 6) << x << "," << y;
    EXPECT_LE(p.y, image.height() - 6) << x << "," << y;
  }
  // The fitted drawing needs no scroll bar, so nothing narrows the box and
  // moves it afterwards: an edit elsewhere (as a run's redraw) leaves every
  // point where it was.
  action("TB_AZoom")->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(view->verticalScrollBar()->isVisible());
  const QPoint before = onScreen(40, 30);
  document->setOptionText(Option::E_Project_Name, QStringLiteral("After a run"));
  view->setContourMap(ContourMap{});
  QCoreApplication::processEvents();
  EXPECT_EQ(onScreen(40, 30), before);
}

}  // namespace
}  // namespace pelodyn
