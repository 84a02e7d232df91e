// The results windows after a real run of a bundled example: the contour
// map and the Failure Geometry window must agree with what the run kept.
// With PELODYN_PICTURES set to a folder, the test also leaves pictures of
// the window and of the contour discs there, for a person to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <cmath>

#include "engine/search.h"
#include "model/numbers.h"
#include "model/verification.h"
#include "persistence/project_file.h"
#include "persistence/sqlite_store.h"
#include "ui/document/project_document.h"
#include "ui/example_run.h"
#include "ui/results/failure_geometry_window.h"
#include "view/fs_contour_painter.h"
#include "view/fs_contours.h"

namespace pelodyn {
namespace {

// The ground surface of homogeneous-grid.pdd: a 2:1 slope from (60, 60)
// down to (140, 20).
double GroundY(double x) {
  if (x <= 60.0) return 60.0;
  if (x >= 140.0) return 20.0;
  return 60.0 - (x - 60.0) / 2.0;
}

using testing::RunExample;

QString PictureFolder() {
  return qEnvironmentVariable("PELODYN_PICTURES");
}

TEST(ResultsWindowsAfterARun, GridExampleContoursAndFailureGeometry) {
  auto document = RunExample("homogeneous-grid.pdd");
  Project* project = &document->projectForAnalysis();
  const AnalysisModel& m = project->model;
  ASSERT_EQ(m.AnalysisTheory, 1);
  ASSERT_EQ(m.CircularSearchKind, 0);

  // The lowest node is the centre of Spencer's critical circle, with its
  // factor as the Results rows store it.
  const std::vector<Row> rows = project->store->rows(Table::Results);
  const ContourMap map = GatherContourMap(m, rows);
  ASSERT_EQ(map.rows, m.GridDivision23 + 1);
  ASSERT_EQ(map.cols, m.GridDivision12 + 1);
  const MethodMinimum& spencer = project->run.Minimum[Spencer];
  EXPECT_DOUBLE_EQ(map.FsLow, RoundToUnit(spencer.Fs, 0.001));
  int lowest = 0;
  for (const ContourNode& n : map.nodes) {
    if (n.fs && *n.fs == map.FsLow) {
      ++lowest;
      EXPECT_NEAR(n.x, spencer.CenterX, 1e-9);
      EXPECT_NEAR(n.y, spencer.CenterY, 1e-9);
    }
  }
  EXPECT_GE(lowest, 1);
  EXPECT_GT(map.FsHigh, map.FsLow);
  EXPECT_LE(map.FsHigh, 50.0);

  // The window shows the circle replayed last (Spencer's, the last method
  // selected) and records its surface, which starts and ends on the ground
  // and runs below it.
  ASSERT_EQ(m.UseSpencer, 1);
  FailureGeometryWindow window(*document);
  const auto label = [&](const char* name) {
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text().toStdString();
  };
  EXPECT_EQ(label("L_Failure_X_Center"), ":  " + FormatShortest(RoundHalfEven(spencer.CenterX, 4)));
  EXPECT_EQ(label("L_Failure_Y_Center"), ":  " + FormatShortest(RoundHalfEven(spencer.CenterY, 4)));
  EXPECT_EQ(label("L_Failure_Radius"), ":  " + FormatShortest(RoundHalfEven(spencer.Radius, 4)));
  const std::vector<Row> points = project->store->rows(Table::Failure_Geometry);
  ASSERT_GE(points.size(), 3u);
  for (std::size_t k = 0; k < points.size(); ++k) {
    const double x = points[k].real(FailurePointField::X), y = points[k].real(FailurePointField::Y);
    EXPECT_EQ(points[k].integer(FailurePointField::No), static_cast<int>(k) + 1);
    // On the chords of the critical circle: never outside it, and only a
    // chord's sag inside.
    const double distance = std::hypot(x - spencer.CenterX, y - spencer.CenterY);
    EXPECT_LE(distance, spencer.Radius + 1e-3) << k;
    EXPECT_GE(distance, 0.99 * spencer.Radius) << k;
    if (k == 0 || k + 1 == points.size()) {
      EXPECT_NEAR(y, GroundY(x), 1e-3) << k;
    } else {
      EXPECT_LT(y, GroundY(x)) << k;
    }
  }
  // The recorded points can be printed in the result report.
  EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("B_Print"))->isEnabled());

  const QString folder = PictureFolder();
  if (folder.isEmpty()) return;
  window.show();
  window.grab().save(QDir(folder).filePath(QStringLiteral("failure_geometry.png")));

  // The section at 4 pixels per world unit, the discs, the critical circle.
  DrawingSettings drawing;
  drawing.WorkAreaXmin = -5;
  drawing.WorkAreaXmax = 190;
  drawing.WorkAreaYmin = -5;
  drawing.WorkAreaYmax = 130;
  const ViewTransform t = MakeViewTransform(drawing, 4);
  QImage image(t.ImageWidth, t.ImageHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const auto at = [&](double x, double y) {
    const PixelPoint p = t.worldToImage(x, y, 1.0, 1.0);
    return QPointF(p.x, p.y);
  };
  painter.setPen(QPen(Qt::darkGreen, 2));
  const QPointF ground[] = {at(0, 60), at(60, 60), at(140, 20), at(180, 20)};
  painter.drawPolyline(ground, 4);
  PaintContours(painter, map, t, drawing);
  painter.setPen(QPen(Qt::red, 2));
  for (std::size_t k = 1; k < points.size(); ++k) {
    painter.drawLine(at(points[k - 1].real(FailurePointField::X), points[k - 1].real(FailurePointField::Y)),
                     at(points[k].real(FailurePointField::X), points[k].real(FailurePointField::Y)));
  }
  painter.end();
  image.save(QDir(folder).filePath(QStringLiteral("contours.png")));
}

TEST(ResultsWindowsAfterARun, IrregularExampleShowsAxesAndNoRadius) {
  auto document = RunExample("irregular-random.pdd");
  Project* project = &document->projectForAnalysis();
  ASSERT_EQ(project->model.AnalysisTheory, 2);
  FailureGeometryWindow window(*document);
  const auto label = [&](const char* name) {
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text().toStdString();
  };
  EXPECT_EQ(label("L_X_Center"), "X Axis");
  EXPECT_EQ(label("L_Y_Center"), "Y Axis");
  EXPECT_EQ(label("L_Failure_Radius"), ":  N/A");
  EXPECT_EQ(project->store->rowCount(Table::Failure_Geometry), project->slices.SliceCount + 1);
  if (!PictureFolder().isEmpty()) {
    window.show();
    window.grab().save(QDir(PictureFolder()).filePath(QStringLiteral("failure_geometry_irregular.png")));
  }
}

}  // namespace
}  // namespace pelodyn
