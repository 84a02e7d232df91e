// The Slice Forces window after a real run of a bundled example: the forces
// of the surface presented last, the plot of E and X, the checks, the
// language, and a project with nothing analysed. With PELODYN_PICTURES set
// to a folder it leaves a picture of the window in each language there.
#include "ui/results/slice_forces_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLineSeries>
#include <QPushButton>

#include "engine/rigorous.h"
#include "engine/search.h"
#include "model/numbers.h"
#include "model/verification.h"
#include "persistence/project_file.h"
#include "texts/captions.h"
#include "ui/document/project_document.h"
#include "ui/example_run.h"

namespace pelodyn {
namespace {

using testing::RunExample;

QString Ui(std::uint8_t language, UiText text) {
  return QString::fromStdString(std::string(UiTextFor(language, text)));
}

TEST(SliceForcesWindow, ShowsTheForcesOfTheSurfaceAnalysedLast) {
  auto document = RunExample("homogeneous-grid.pdd");
  const SliceSet& s = document->project().slices;
  ASSERT_GT(s.SliceCount, 10);
  SliceForces forces;
  const RigorousResult expected = MorgensternPrice(s, 0.0, 0.0, {}, &forces);
  ASSERT_EQ(expected.outcome, RigorousOutcome::Converged);

  SliceForcesWindow window(*document);
  EXPECT_EQ(window.objectName(), "Form_Slice_Forces");
  EXPECT_EQ(window.windowTitle(), "Slice Forces");
  EXPECT_TRUE(window.solutionText().startsWith("Morgenstern-Price, constant interslice function: F = "))
      << window.solutionText().toStdString();
  EXPECT_TRUE(window.solutionText().contains(QString::fromStdString(FormatShortest(RoundHalfEven(expected.F, 3)))));

  // A row per slice, E and X at every boundary.
  ASSERT_EQ(window.table().rowCount(), static_cast<int>(forces.Weight.size()));
  EXPECT_EQ(window.table().item(0, 0)->text(), "1");
  EXPECT_EQ(window.table().item(0, 2)->text().toStdString(), FormatFixed(RoundHalfEven(forces.Weight[0], 2), 2));
  ASSERT_EQ(window.normalSeries().count(), static_cast<int>(forces.E.size()));
  ASSERT_EQ(window.shearSeries().count(), static_cast<int>(forces.X.size()));
  EXPECT_EQ(window.normalSeries().at(0).y(), 0.0);
  EXPECT_EQ(window.normalSeries().at(3).y(), forces.E[3]);
  EXPECT_EQ(window.shearSeries().at(3).y(), forces.X[3]);

  // The cohesive slope pulls under its crest: the checks say where.
  const std::vector<ForceWarning> warnings = CheckSliceForces(forces);
  ASSERT_FALSE(warnings.empty());
  EXPECT_TRUE(window.checksText().startsWith(warnings.front().kind == ForceWarning::Kind::Tension
                                                 ? "Tension between slices at x = "
                                                 : "Line of thrust outside the sliding mass at x = "))
      << window.checksText().toStdString();

  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  window.resize(760, 720);
  if (!folder.isEmpty()) window.grab().save(QDir(folder).filePath(QStringLiteral("slice-forces-english.png")));

  document->setLanguage(0);
  EXPECT_EQ(window.windowTitle(), Ui(0, UiText::SliceForcesCaption));
  EXPECT_TRUE(window.solutionText().startsWith(QString::fromUtf8("Morgenstern-Price ฟังก์ชัน")));
  EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("B_Close"))->text(), Ui(0, UiText::SliceForcesClose));
  EXPECT_EQ(window.table().horizontalHeaderItem(6)->text(), QString::fromUtf8("E ซ้าย"));
  if (!folder.isEmpty()) window.grab().save(QDir(folder).filePath(QStringLiteral("slice-forces-thai.png")));
}

TEST(SliceForcesWindow, NothingAnalysedSaysSo) {
  auto document = ProjectDocument::openPrivate();
  SliceForcesWindow window(*document);
  EXPECT_EQ(window.solutionText(), Ui(1, UiText::SliceForcesNoSurface));
  EXPECT_EQ(window.table().rowCount(), 0);
  EXPECT_EQ(window.normalSeries().count(), 0);
  EXPECT_TRUE(window.checksText().isEmpty());
}

}  // namespace
}  // namespace pelodyn
