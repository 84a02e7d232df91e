// What a finished run shows in its windows: the progress window's Details
// grids, sorted, show their factor columns and several rows without
// scrolling; the status line keeps its messages apart and carries its whole
// text in its tool tip, however narrow the window.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>

#include "texts/messages.h"
#include "ui/window_fixture.h"

namespace pelodyn {
namespace {

using ResultsLinesTest = test::WindowTest;

TEST_F(ResultsLinesTest, SortedDetailsShowEveryColumnAndSeveralRows) {
  open("layered-phreatic-loads.pdd");
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  ProgressWindow& window = progress();
  window.show();
  window.findChild<QPushButton*>(QStringLiteral("B_Cal_Details"))->click();
  window.findChild<QPushButton*>(QStringLiteral("B_Sort"))->click();
  QCoreApplication::processEvents();
  for (const char* name : {"DBG_Results", "DBG_Sort_Result"}) {
    auto* grid = window.findChild<QTableView*>(QString::fromLatin1(name));
    ASSERT_NE(grid, nullptr) << name;
    ASSERT_TRUE(grid->isVisible()) << name;
    // Far more rows than the grid can show: a grid of 6 x 6 centres with
    // 10 circles each.
    ASSERT_GT(grid->model()->rowCount(), 100) << name;
    // Every column in view: nothing to scroll sideways, and no column cut
    // short of its header or of its widest cell among the rows shown.
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0) << name;
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
      EXPECT_GE(grid->columnWidth(c), grid->horizontalHeader()->sectionSizeHint(c)) << name << " column " << c;
      for (int r = 0; r < 8; ++r) {
        const QString text = grid->model()->index(r, c).data().toString();
        EXPECT_GT(grid->columnWidth(c), grid->fontMetrics().horizontalAdvance(text)) << name << " " << r << "," << c;
      }
    }
    // At least eight whole rows.
    EXPECT_GE(grid->viewport()->height(), 8 * grid->rowHeight(0)) << name;
  }
}

TEST_F(ResultsLinesTest, TheStatusLineSeparatesItsMessagesAndShowsThemWholeInItsToolTip) {
  open("homogeneous-grid.pdd");
  // The grid raised above the critical centres: every minimum on its lower
  // edge, and the warning follows the summary.
  document->setOptions(QStringLiteral("Grid"), [](OptionValues& o) {
    o.setText(Option::E_Y_LeftDown, "100");
    o.setText(Option::E_Y_RightDown, "100");
    o.setText(Option::E_Y_RightTop, "130");
  });
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  ASSERT_FALSE(document->lastRun()->warnings.empty());
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    window->setLanguage(language);
    QCoreApplication::sendPostedEvents();
    const QString status = window->statusBar()->currentMessage();
    const QStringList parts = status.split(QStringLiteral("  |  "));
    ASSERT_GE(parts.size(), 2) << status.toStdString();
    for (const QString& part : parts) EXPECT_FALSE(part.trimmed().isEmpty()) << status.toStdString();
    // The window far narrower than the line: the tool tip holds it all.
    window->resize(300, window->height());
    EXPECT_EQ(window->statusBar()->toolTip(), status);
  }
  window->setLanguage(kLanguageEnglish);
  // A message of another kind: the tool tip follows it, and goes with it.
  window->statusBar()->showMessage(QStringLiteral("Picture saved: /tmp/a.png"));
  EXPECT_EQ(window->statusBar()->toolTip(), QStringLiteral("Picture saved: /tmp/a.png"));
  window->statusBar()->clearMessage();
  EXPECT_TRUE(window->statusBar()->toolTip().isEmpty());
}

}  // namespace
}  // namespace pelodyn
