// What the windows and the result report show of a run: the run's own
// minima, each in one format, whatever the search; "no factor" for a result
// code; the notes of a stopped run or of a minimum on the grid's edge in the
// printed report; which surface the Failure Geometry window and the report
// list; and nothing of results the data no longer match. With
// PELODYN_PICTURES set to a folder, pictures of the windows and the report
// are left there for a person to look at.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "engine/search.h"
#include "model/numbers.h"
#include "ui/document/project_document.h"
#include "ui/document/run_texts.h"
#include "ui/print/print_commands.h"
#include "ui/results/failure_geometry_window.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/main_window.h"
#include "ui/window_fixture.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMinimumLabels[] = {"L_FS_Ord", "L_FS_Simp_Jan", "L_FS_Simp_Bis", "L_FS_Spe"};
constexpr const char* kStatusNames[] = {"Ordinary", "Janbu", "Bishop", "Spencer"};

// A factor with three decimals, written by the C library.
std::string Fixed3(double fs) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", fs);
  return text;
}

std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// The text without any blank or line end: the report breaks long notes
// into lines, and pdftotext breaks Thai words.
std::string Squeezed(std::string text) {
  std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\f'; });
  return text;
}

std::string PdfText(const fs::path& pdf) {
  return Squeezed(Capture("pdftotext -raw '" + pdf.string() + "' - 2>/dev/null"));
}

// The Thai letters of a text without their vowel and tone marks, and
// without blanks: pdftotext gives the marks of a Thai word in another order,
// as the font's private shifted forms (U+F700 on) or not at all, and sara
// am as nikhahit and sara aa.
std::string ThaiLetters(const std::string& text) {
  QString out;
  for (const QChar c : QString::fromStdString(text)) {
    const char16_t u = c.unicode();
    if (u == 0x0E33) {
      out += QChar(0x0E32);
      continue;
    }
    if (u == 0x0E31 || (u >= 0x0E34 && u <= 0x0E3A) || (u >= 0x0E47 && u <= 0x0E4E) || (u >= 0xF700 && u <= 0xF71F) ||
        c.isSpace()) {
      continue;
    }
    out += c;
  }
  return out.toStdString();
}

QString PictureFolder() {
  return qEnvironmentVariable("PELODYN_PICTURES");
}

void Picture(QWidget* w, const char* name) {
  if (PictureFolder().isEmpty()) return;
  QDir().mkpath(PictureFolder());
  QCoreApplication::processEvents();
  w->grab().save(QDir(PictureFolder()).filePath(QString::fromLatin1(name)));
}

class RunOutputTest : public test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    window->runController().setThreads(2);
  }
  QLabel* label(const char* name) { return progress().findChild<QLabel*>(QString::fromLatin1(name)); }
  // The homogeneous slope's grid moved right and up, so that every
  // method's minimum lies on its upper-left corner.
  void gridOnTheEdge() {
    open("homogeneous-grid.pdd");
    const std::pair<const char*, const char*> grid[] = {
        {OptionCName(Option::E_X_LeftDown), "125"},  {OptionCName(Option::E_Y_LeftDown), "75"},
        {OptionCName(Option::E_X_RightDown), "145"}, {OptionCName(Option::E_Y_RightDown), "75"},
        {OptionCName(Option::E_X_RightTop), "145"},  {OptionCName(Option::E_Y_RightTop), "95"},
        {OptionCName(Option::E_12_Division), "4"},   {OptionCName(Option::E_23_Division), "4"}};
    for (const auto& [control, text] : grid) document->setOptionText(OptionNamed(control), text);
  }
  // The result report written to a PDF file by Export PDF; false when the
  // command refused.
  bool exportResultReport(const fs::path& pdf) {
    prompter.saveTargets.push_back(SaveTarget{QString::fromStdString(pdf.string()), 0});
    auto* print = window->findChild<PrintCommands*>();
    EXPECT_NE(print, nullptr);
    QSignalSpy exported(print, &PrintCommands::pdfExported);
    action("MN_ExportPdf_Result")->trigger();
    prompter.saveTargets.clear();
    return exported.count() == 1 && fs::exists(pdf);
  }
  // The four minimum labels show the run's minima of the methods it
  // analysed, with three decimals, and the placeholder for the others; the
  // status line shows the same.
  void expectRunMinimaShown(const std::string& what) {
    const std::array<bool, kMethodCount> methods = document->runMethods();
    const QString status = window->statusBar()->currentMessage();
    for (std::size_t k = 0; k < 4; ++k) {
      const double fs = document->project().run.Minimum[k].Fs;
      const QString shown = label(kMinimumLabels[k])->text();
      if (!methods[k]) {
        EXPECT_EQ(shown, "XX.XXX") << what << " " << kMinimumLabels[k];
        continue;
      }
      EXPECT_EQ(shown.toStdString(), Fixed3(fs)) << what << " " << kMinimumLabels[k];
      EXPECT_TRUE(status.contains(QString::fromLatin1(kStatusNames[k]) + QLatin1Char(' ') + shown))
          << what << ": " << status.toStdString();
    }
  }
};

TEST_F(RunOutputTest, TheMinimaShownAreTheRunsForEverySearchKind) {
  struct SearchCase {
    const char* name;
    const char* example;
    std::function<void(ProjectDocument&)> setUp;
    // An automatic search walks once per method; each walk also lowers the
    // other methods' minima, which the run then sets back to each method's
    // own walk: what the search reported last is not what it kept.
    bool walks = false;
  };
  const auto automatic = [](ProjectDocument& d) {
    d.setOptionIndex(Option::CB_Cir_Search, 2);
    // Above the critical circles of Bishop and Spencer, far from Janbu's:
    // Spencer's walk, the last, does not pass Janbu's minimum.
    d.setOptionText(Option::E_Xauto_Start, "118");
    d.setOptionText(Option::E_Yauto_Start, "112");
    d.setOptionText(Option::E_Xauto_Increment, "2");
    d.setOptionText(Option::E_Yauto_Increment, "2");
  };
  const SearchCase cases[] = {
      {"grid", "homogeneous-grid.pdd", [](ProjectDocument&) {}},
      {"automatic", "homogeneous-grid.pdd", automatic, true},
      {"automatic with Ru 0.3", "homogeneous-grid.pdd",
       [&](ProjectDocument& d) {
         automatic(d);
         d.setOptionIndex(Option::CB_Seepage, 2);
         d.setOptionIndex(Option::CB_Ru_Condition, 0);
         d.setOptionText(Option::E_Ru_average, "0.3");
       },
       true},
      {"specific circle", "homogeneous-grid.pdd",
       [](ProjectDocument& d) {
         d.setOptionIndex(Option::CB_Cir_Search, 1);
         d.setOptionText(Option::E_X_Center, "114.5");
         d.setOptionText(Option::E_Y_Center, "95.5");
         d.setOptionText(Option::E_Radius, "79.75");
       }},
      {"irregular random", "irregular-random.pdd", [](ProjectDocument&) {}},
      {"irregular specific", "irregular-random.pdd",
       [](ProjectDocument& d) { d.setOptionIndex(Option::CB_NonCir_Search, 0); }},
  };
  for (const SearchCase& c : cases) {
    open(c.example);
    c.setUp(*document);
    // What the search reported last, label by label.
    std::array<double, 4> reported{};
    std::array<bool, 4> seen{};
    QObject receiver;
    QObject::connect(&window->runController().feedback(), &QtRunFeedback::minima, &receiver, [&](const MinimaCopy& m) {
      for (std::size_t k = 0; k < 4; ++k) {
        if (!m.shown[k]) continue;
        reported[k] = m.fs[k];
        seen[k] = true;
      }
    });
    ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete)) << c.name;
    expectRunMinimaShown(c.name);
    if (c.walks) {
      // Each method's walk leaves the others' minima behind it; the search's
      // last report is of the minima the run keeps, not of the last walk.
      for (std::size_t k = 0; k < 4; ++k) {
        if (!seen[k]) continue;
        EXPECT_EQ(Fixed3(reported[k]), Fixed3(document->project().run.Minimum[k].Fs)) << c.name << " " << k;
      }
      EXPECT_TRUE(seen[Janbu] && seen[Spencer]) << c.name;
    }
    if (std::string(c.name) == "automatic") {
      Picture(&progress(), "progress-automatic-english.png");
      window->setLanguage(0);
      expectRunMinimaShown("automatic, Thai");
      Picture(&progress(), "progress-automatic-thai.png");
      window->setLanguage(1);
    }
  }
}

TEST(FactorText, ThreeDecimalsOrNoFactorWithItsMeaning) {
  struct Case {
    double fs;
    std::uint8_t language;
    const char* text;
  };
  const Case cases[] = {
      {1.28, 1, "1.280"},
      {1.2614, 1, "1.261"},
      {0.9476, 1, "0.948"},
      {0.0, 1, "0.000"},
      {12.0, 0, "12.000"},
      {99999.0, 1, "no factor: no admissible slip surface"},
      {1000000.0, 1,
       "no factor: the factor is not admissible (not positive, above 100, failed the ratio test, or Spencer's "
       "bracket did not close)"},
      {1000006.0, 1, "no factor: the tallest slice is not taller than the depth limit"},
      {1000009.0, 1, "no factor: the circle does not reach the ground"},
      {1000011.0, 1, "no factor: an arithmetic fault (division by zero, overflow)"},
      {1000009.0, 0, "ไม่มีค่าอัตราส่วนความปลอดภัย: วงกลมไม่ตัดผิวดิน"},
      // Near a code but none: numbers.
      {1000009.5, 1, "1000009.500"},
      {1000005.0, 1, "1000005.000"},
      {99998.0, 1, "99998.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FactorText(c.language, c.fs).toStdString(), c.text) << c.fs;
  }
}

TEST_F(RunOutputTest, AMinimumThatIsAResultCodeShowsNoFactor) {
  open("irregular-random.pdd");
  // The specific surface, with a tallest-slice limit no slice reaches.
  document->setOptionIndex(Option::CB_NonCir_Search, 0);
  document->setOptionText(Option::E_NonCir_Depth_Tallest, "1000");
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  const std::array<bool, kMethodCount> methods = document->runMethods();
  int codes = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    if (!methods[k]) continue;
    ASSERT_EQ(document->project().run.Minimum[k].Fs, 1000006.0) << k;
    EXPECT_EQ(label(kMinimumLabels[k])->text(), "no factor: the tallest slice is not taller than the depth limit");
    ++codes;
  }
  EXPECT_GT(codes, 0);
  window->setLanguage(0);
  for (std::size_t k = 0; k < 4; ++k) {
    if (!methods[k]) continue;
    EXPECT_EQ(label(kMinimumLabels[k])->text(),
              QString::fromUtf8("ไม่มีค่าอัตราส่วนความปลอดภัย: แผ่นดินที่สูงที่สุดไม่สูงกว่าความลึกที่กำหนด (Depth Tallest)"));
  }
}

TEST_F(RunOutputTest, ARefusedRunLeavesNoMinimaShown) {
  // Refused by the window's checks: the user cancels the axis question.
  open("irregular-random.pdd");
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  ASSERT_NE(label("L_FS_Simp_Bis")->text(), "XX.XXX");
  document->setOptionText(Option::E_NonCir_X_Center, "-10");
  document->setOptionText(Option::E_NonCir_Y_Center, "-10");
  prompter.okAnswers = {false};
  EXPECT_EQ(runToEnd(), -1);
  for (const char* name : kMinimumLabels) EXPECT_EQ(label(name)->text(), "XX.XXX") << name;

  // Refused by the search itself: the specified circle is wider than any
  // that cuts the slope.
  open("homogeneous-grid.pdd");
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  ASSERT_NE(label("L_FS_Spe")->text(), "XX.XXX");
  document->setOptionIndex(Option::CB_Cir_Search, 1);
  document->setOptionText(Option::E_X_Center, "114.5");
  document->setOptionText(Option::E_Y_Center, "95.5");
  document->setOptionText(Option::E_Radius, "1000");
  EXPECT_EQ(runToEnd(), static_cast<int>(RunOutcome::Refused));
  for (const char* name : kMinimumLabels) EXPECT_EQ(label(name)->text(), "XX.XXX") << name;
  EXPECT_FALSE(label("L_Run_Warnings")->isVisible());
}

TEST_F(RunOutputTest, TheGridEdgeWarningReachesTheResultReportInTheWindowsWords) {
  gridOnTheEdge();
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  const QString warnings = label("L_Run_Warnings")->text();
  ASSERT_FALSE(warnings.isEmpty());
  const QString all = QStringLiteral("Ordinary, Simplified Janbu, Simplified Bishop, Spencer");
  EXPECT_EQ(warnings.split('\n'),
            QStringList({all + ": the minimum lies on the upper edge of the grid of centres; extend the grid beyond "
                               "its upper edge.",
                         all + ": the minimum lies on the left edge of the grid of centres; extend the grid beyond "
                               "its left edge."}));
  // The notes a saved result file carries are the same lines.
  std::vector<std::string> lines;
  for (const QString& w : warnings.split('\n')) lines.push_back(w.toStdString());
  EXPECT_EQ(ResultFileNotes(*document), lines);
  const fs::path pdf = dir / "result.pdf";
  ASSERT_TRUE(exportResultReport(pdf));
  const std::string text = PdfText(pdf);
  for (const std::string& line : lines) EXPECT_NE(text.find(Squeezed(line)), std::string::npos) << line;

  // In Thai, the Thai words.
  window->setLanguage(0);
  const QString thai = label("L_Run_Warnings")->text();
  ASSERT_NE(thai, warnings);
  const fs::path thaiPdf = dir / "result-thai.pdf";
  ASSERT_TRUE(exportResultReport(thaiPdf));
  const std::string thaiText = ThaiLetters(PdfText(thaiPdf));
  for (const QString& line : thai.split('\n')) {
    EXPECT_NE(thaiText.find(ThaiLetters(line.toStdString())), std::string::npos) << line.toStdString();
  }
  if (!PictureFolder().isEmpty()) fs::copy_file(thaiPdf, PictureFolder().toStdString() + "/result-edge-thai.pdf");
}

TEST_F(RunOutputTest, AStoppedRunsReportSaysItsResultsArePartial) {
  open("homogeneous-grid.pdd");
  runAndStop();
  ASSERT_TRUE(document->resultsPartial());
  const QString stopped = label("L_Run_Stopped")->text();
  ASSERT_TRUE(stopped.endsWith("trials: the results are partial.")) << stopped.toStdString();
  EXPECT_EQ(ResultFileNotes(*document).front(), stopped.toStdString());
  const fs::path pdf = dir / "result.pdf";
  ASSERT_TRUE(exportResultReport(pdf));
  EXPECT_NE(PdfText(pdf).find(Squeezed(stopped.toStdString())), std::string::npos);
  if (!PictureFolder().isEmpty()) fs::copy_file(pdf, PictureFolder().toStdString() + "/result-stopped.pdf");
}

TEST_F(RunOutputTest, AReplayedRowIsNamedInTheWindowAndTheReport) {
  open("homogeneous-grid.pdd");
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  // After the run: the critical circle of the last method drawn.
  const MethodMinimum& spencer = document->project().run.Minimum[Spencer];
  {
    FailureGeometryWindow geometry(*document, window.get());
    const QString shown = geometry.findChild<QLabel*>("L_Surface_Shown")->text();
    EXPECT_TRUE(shown.startsWith("Surface shown: the critical circle of Spencer, centre (" +
                                 QString::number(spencer.CenterX) + ", " + QString::number(spencer.CenterY) + ")"))
        << shown.toStdString();
  }
  progress().setDetailsShown(true);
  progress().sortResults();
  QAbstractItemModel* sorted = progress().findChild<QTableView*>("DBG_Sort_Result")->model();
  ASSERT_GT(sorted->rowCount(), 3);
  progress().chooseSortedRow(3);
  const auto cell = [&](int column) { return sorted->index(3, column).data(Qt::UserRole).toDouble(); };
  const QString where =
      "centre (" + QString::number(cell(1)) + ", " + QString::number(cell(2)) + "), radius " + QString::number(cell(3));
  const double bishop = document->project().slices.FsBishop;
  EXPECT_NEAR(bishop, cell(4), 5e-4);

  FailureGeometryWindow geometry(*document, window.get());
  const QString shown = geometry.findChild<QLabel*>("L_Surface_Shown")->text();
  EXPECT_TRUE(shown.startsWith("Surface shown: the circle of a chosen Results row (not a minimum), " + where))
      << shown.toStdString();
  EXPECT_TRUE(shown.contains("Simplified Bishop " + QString::fromStdString(FormatShortest(RoundHalfEven(bishop, 4)))))
      << shown.toStdString();
  geometry.show();
  Picture(&geometry, "failure-geometry-row.png");

  const fs::path pdf = dir / "result.pdf";
  ASSERT_TRUE(exportResultReport(pdf));
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find(Squeezed(shown.toStdString())), std::string::npos) << text.substr(0, 1200);
  // Under the run's minima, which still list Spencer's own circle.
  EXPECT_NE(text.find(Squeezed("Min. FS. by Spencer : " + FormatShortest(RoundHalfEven(spencer.Fs, 4)))),
            std::string::npos);
  if (!PictureFolder().isEmpty()) fs::copy_file(pdf, PictureFolder().toStdString() + "/result-row.pdf");
}

TEST_F(RunOutputTest, OutOfDateResultsAreShownAndPrintedNowhere) {
  gridOnTheEdge();
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  ASSERT_FALSE(label("L_Run_Warnings")->text().isEmpty());
  // An input of the analysis changes.
  document->setOptionText(Option::E_Cir_Slice, "31");
  if (document->resultsCurrent()) GTEST_SKIP() << "the document does not yet tell results out of date";
  progress().show();
  for (const char* name : kMinimumLabels) EXPECT_EQ(label(name)->text(), "XX.XXX") << name;
  EXPECT_FALSE(label("L_Run_Warnings")->isVisible());
  EXPECT_FALSE(label("L_Run_Stopped")->isVisible());
  const QString outOfDate =
      QStringLiteral("Out of date — run again: the data changed after the results were computed.");
  EXPECT_TRUE(label("L_Results_Out_Of_Date")->isVisible());
  EXPECT_EQ(label("L_Results_Out_Of_Date")->text(), outOfDate);
  Picture(&progress(), "progress-out-of-date-english.png");
  {
    FailureGeometryWindow geometry(*document, window.get());
    geometry.show();
    EXPECT_EQ(geometry.findChild<QLabel*>("L_Results_Out_Of_Date")->text(), outOfDate);
    EXPECT_FALSE(geometry.findChild<QTableView*>("DBGrid1")->isVisible());
    EXPECT_FALSE(geometry.findChild<QPushButton*>("B_Print")->isEnabled());
    for (const char* name : {"L_Failure_SB", "L_Failure_X_Center", "L_Failure_Radius", "L_Surface_Shown"}) {
      EXPECT_TRUE(geometry.findChild<QLabel*>(name)->text().isEmpty()) << name;
    }
  }
  // The result report is refused with the same words; nothing is written.
  const fs::path pdf = dir / "result.pdf";
  EXPECT_FALSE(exportResultReport(pdf));
  EXPECT_TRUE(prompter.sawText(outOfDate));
  EXPECT_FALSE(fs::exists(pdf));

  window->setLanguage(0);
  EXPECT_EQ(label("L_Results_Out_Of_Date")->text(),
            QString::fromUtf8("ผลลัพธ์ไม่เป็นปัจจุบัน — กรุณาคำนวณใหม่: ข้อมูลถูกแก้ไขหลังจากคำนวณผลลัพธ์"));
  Picture(&progress(), "progress-out-of-date-thai.png");
  window->setLanguage(1);

  // Undone, the data are the run's again and so are the minima shown.
  document->undo();
  ASSERT_TRUE(document->resultsCurrent());
  EXPECT_FALSE(label("L_Results_Out_Of_Date")->isVisible());
  expectRunMinimaShown("current again");
  EXPECT_TRUE(label("L_Run_Warnings")->isVisible());
}

}  // namespace
}  // namespace pelodyn
