// The Failure Geometry window: its labels, the recorded surface in its grid,
// and the Print button's state.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "model/project.h"
#include "persistence/sqlite_store.h"
#include "ui/document/project_document.h"
#include "ui/results/failure_geometry_window.h"

namespace pelodyn {
namespace {

QString LabelText(const QWidget& w, const char* name) {
  const auto* label = w.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

QPushButton* Button(const QWidget& w, const char* name) {
  return w.findChild<QPushButton*>(QString::fromLatin1(name));
}

// A project as a run leaves it: the surface analysed last has three slices.
// The values carry more than four decimals so that their rounding shows.
std::unique_ptr<ProjectDocument> AnalysedProject(std::uint8_t theory) {
  auto document = ProjectDocument::openPrivate();
  Project* project = &document->projectForAnalysis();
  AnalysisModel& m = project->model;
  m.AnalysisTheory = theory;
  m.UseOrdinary = 0;
  m.UseSimplifiedJanbu = 1;
  m.UseSimplifiedBishop = 1;
  m.UseSpencer = 1;
  m.CenterX = 12.34567;
  m.CenterY = 30.0;
  m.TrialRadius = 20.1;
  RunState& run = project->run;
  run.Minimum[Ordinary].Fs = 0.987;  // not selected: never shown
  run.Minimum[Janbu].Fs = 1.25;
  run.Minimum[Bishop].Fs = 1.3333333;
  run.Minimum[Spencer].Fs = 2.0;
  run.SlidingMassArea = 123.456789;
  SliceSet& s = project->slices;
  s.SliceCount = 3;
  s.BoundaryX = {1.00004, 2.5, 4.123456, 6.0};
  s.BaseYAtBoundary = {10.0, 8.77777, -8.5, 10.00006};
  return document;
}

struct LabelCase {
  const char* control;
  const char* circular;
  const char* irregular;
};

const LabelCase kLabels[] = {
    {"L_X_Center", "X Center", "X Axis"},
    {"L_Y_Center", "Y Center", "Y Axis"},
    {"L_Failure_X_Center", ":  12.3457", ":  12.3457"},
    {"L_Failure_Y_Center", ":  30", ":  30"},
    {"L_Failure_Radius", ":  20.1", ":  N/A"},
    {"L_Failure_Area", ":  123.4568", ":  123.4568"},
    {"L_Failure_Ord", ":  N/A", ":  N/A"},
    {"L_Failure_SJ", ":  1.25", ":  1.25"},
    {"L_Failure_SB", ":  1.3333", ":  1.3333"},
    {"L_Failure_Spe", ":  2", ":  2"},
};

TEST(FailureGeometryWindow, LabelsOfACircularAndAnIrregularRun) {
  for (const std::uint8_t theory : {std::uint8_t{1}, std::uint8_t{2}}) {
    auto project = AnalysedProject(theory);
    FailureGeometryWindow window(*project);
    EXPECT_EQ(window.objectName(), "Form_Failure_Geometry");
    EXPECT_EQ(window.windowTitle(), "Failure Geometry");
    for (const LabelCase& c : kLabels) {
      EXPECT_EQ(LabelText(window, c.control), QString::fromLatin1(theory == 1 ? c.circular : c.irregular))
          << "theory " << int(theory) << ", " << c.control;
    }
  }
}

TEST(FailureGeometryWindow, EveryNamedControlIsThere) {
  auto project = AnalysedProject(1);
  FailureGeometryWindow window(*project);
  for (const char* name :
       {"L_Radius", "L_Area", "L_Ordinary", "L_Simp_Janbu", "L_Simp_Bishop", "L_Spencer", "L_Surface_Coordinate"}) {
    EXPECT_NE(window.findChild<QLabel*>(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_EQ(LabelText(window, "L_Radius"), "Radius");
  EXPECT_EQ(LabelText(window, "L_Area"), "Failure Area");
  EXPECT_EQ(LabelText(window, "L_Surface_Coordinate"), "Failure Surface Coordinate");
  ASSERT_NE(Button(window, "B_Close"), nullptr);
  ASSERT_NE(Button(window, "B_Print"), nullptr);
  EXPECT_EQ(Button(window, "B_Close")->text(), "Close");
  EXPECT_EQ(Button(window, "B_Print")->text(), "Print");
  auto* grid = window.findChild<QTableView*>(QStringLiteral("DBGrid1"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->model(), &window.pointsModel());
  EXPECT_EQ(grid->columnWidth(0), 60);
  EXPECT_EQ(grid->columnWidth(1), 80);
  EXPECT_EQ(grid->columnWidth(2), 80);
}

// The points of the surface, rounded to 4 decimals: (No, X, Y).
struct Point {
  int no;
  double x, y;
};
const Point kRecorded[] = {{1, 1.0, 10.0}, {2, 2.5, 8.7778}, {3, 4.1235, -8.5}, {4, 6.0, 10.0001}};

void ExpectRecordedSurface(ProjectDocument& document, FailureGeometryWindow& window) {
  const std::vector<Row> rows = document.project().store->rows(Table::Failure_Geometry);
  ASSERT_EQ(rows.size(), std::size(kRecorded));
  for (std::size_t k = 0; k < rows.size(); ++k) {
    EXPECT_EQ(rows[k].integer(FailurePointField::No), kRecorded[k].no);
    EXPECT_DOUBLE_EQ(rows[k].real(FailurePointField::X), kRecorded[k].x);
    EXPECT_DOUBLE_EQ(rows[k].real(FailurePointField::Y), kRecorded[k].y);
  }
  StoreTableModel& model = window.pointsModel();
  ASSERT_EQ(model.rowCount(), 4);
  EXPECT_EQ(model.index(1, FailureGeometryGrid::Coor_Y).data().toString(), "8.7778");
  EXPECT_EQ(model.index(2, FailureGeometryGrid::Coor_X).data().toString(), "4.1235");
  EXPECT_EQ(model.index(3, FailureGeometryGrid::No).data().toString(), "4");
}

TEST(FailureGeometryWindow, OpenedTwiceKeepsOneSetOfPointsNumberedFromOne) {
  auto project = AnalysedProject(1);
  {
    FailureGeometryWindow first(*project);
    ExpectRecordedSurface(*project, first);
  }
  FailureGeometryWindow second(*project);
  ExpectRecordedSurface(*project, second);
}

TEST(FailureGeometryWindow, WithoutAnAnalysedSurfaceItShowsNoValuesAndKeepsTheTable) {
  auto fresh = ProjectDocument::openPrivate();
  {
    FailureGeometryWindow window(*fresh);
    window.show();
    EXPECT_EQ(LabelText(window, "L_Failure_X_Center"), "");
    EXPECT_EQ(LabelText(window, "L_Failure_Spe"), "");
    EXPECT_EQ(window.pointsModel().rowCount(), 0);
  }
  // Points left from an earlier recording stay.
  Row left(Table::Failure_Geometry);
  left.set(FailurePointField::No, 1).set(FailurePointField::X, 3.0).set(FailurePointField::Y, 4.0);
  fresh->projectForAnalysis().store->append(left);
  FailureGeometryWindow window(*fresh);
  EXPECT_EQ(window.pointsModel().rowCount(), 1);
}

TEST(FailureGeometryWindow, PrintAsksForTheResultReportOnceThePointsAreRecorded) {
  auto document = AnalysedProject(1);
  FailureGeometryWindow window(*document);
  QSignalSpy print(&window, &FailureGeometryWindow::printRequested);
  window.show();
  QPushButton* printButton = Button(window, "B_Print");
  ASSERT_TRUE(printButton->isEnabled());
  QTest::mouseClick(printButton, Qt::LeftButton);
  EXPECT_EQ(print.count(), 1);
  // Without recorded points there is nothing to print.
  document->projectForAnalysis().store->empty(Table::Failure_Geometry);
  emit document->notifier().tableReset(Table::Failure_Geometry);
  EXPECT_FALSE(printButton->isEnabled());
  QTest::mouseClick(Button(window, "B_Close"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
}

TEST(FailureGeometryWindow, ANewProjectClearsWhatTheWindowShows) {
  auto document = AnalysedProject(1);
  FailureGeometryWindow window(*document);
  ASSERT_EQ(LabelText(window, "L_Failure_Spe"), ":  2");
  ASSERT_EQ(window.pointsModel().rowCount(), 4);
  document->newProject({});
  EXPECT_EQ(LabelText(window, "L_Failure_Spe"), "");
  EXPECT_EQ(LabelText(window, "L_Failure_X_Center"), "");
  EXPECT_EQ(window.pointsModel().rowCount(), 0);
}

TEST(FailureValueText, RoundsToFourDecimalsInTheShortestForm) {
  EXPECT_EQ(FailureValueText(std::nullopt), ":  N/A");
  EXPECT_EQ(FailureValueText(1.25), ":  1.25");
  EXPECT_EQ(FailureValueText(2.0), ":  2");
  EXPECT_EQ(FailureValueText(-0.00004), ":  0");
  EXPECT_EQ(FailureValueText(-3.14159), ":  -3.1416");
  EXPECT_EQ(FailureValueText(1000000.0), ":  1000000");
}

}  // namespace
}  // namespace pelodyn
