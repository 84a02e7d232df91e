// Printing from the main window: the print dialog (answered by script: a
// PDF file or Cancel), the result report from the Failure Geometry window,
// the PDF export, and the headless exports of the desktop program. The PDF
// files are read back with pdftotext.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "model/numbers.h"
#include "persistence/folders.h"
#include "persistence/settings_file.h"
#include "reports/report_output.h"
#include "ui/file_bytes.h"
#include "ui/print/print_commands.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/main_window.h"
#include "ui/window_fixture.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

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

// The text of a PDF file. Thai marks above and below the letters make
// pdftotext break lines inside a word, so the line ends are dropped.
std::string PdfText(const fs::path& pdf) {
  std::string text = Capture("pdftotext -raw '" + pdf.string() + "' - 2>/dev/null");
  std::erase(text, '\n');
  return text;
}

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The minima of an example as the command-line program gives them, each
// written as the result report writes it; empty for a method not analysed.
std::vector<std::string> CliMinima(const char* example) {
  const std::string json = Capture(std::string(PELODYN_CLI) + " analyse --json --quiet " + PELODYN_EXAMPLES + "/" +
                                   example + " 2>/dev/null");
  std::vector<std::string> out;
  for (const char* method : {"\"ordinary\"", "\"janbu\"", "\"bishop\"", "\"spencer\""}) {
    const std::size_t at = json.find(method);
    if (at == std::string::npos || json.find("\"selected\":true", at) != json.find("\"selected\"", at)) {
      out.emplace_back();
      continue;
    }
    const double fs = std::stod(json.substr(json.find("\"fs\":", at) + 5));
    out.push_back(FormatShortest(RoundHalfEven(fs, 4)));
  }
  return out;
}

class PrintTest : public test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    fs::remove(SettingsFilePath());
    window->runController().setThreads(2);
  }
  // Prints into `pdf` from the print dialog the next command opens.
  void answerPrint(const fs::path& pdf) { prompter.printAnswers.push_back(QString::fromStdString(pdf.string())); }
};

TEST_F(PrintTest, ACancelledPrintDialogPrintsNothing) {
  for (const char* command : {"MN_Print", "MN_PrintData"}) {
    prompter.shown.clear();
    ASSERT_TRUE(action(command)->isEnabled()) << command;
    action(command)->trigger();
    ASSERT_EQ(prompter.shown.size(), 2u) << command;
    EXPECT_EQ(prompter.shown[0].kind, "print");
    EXPECT_EQ(prompter.shown[1].kind, "information");
    EXPECT_EQ(prompter.shown[1].text, "Data not printed.");
  }
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(PrintTest, AFieldThatCannotBeReadStopsBeforeTheDialog) {
  document->setOptionText(Option::E_Cir_Decrement, QStringLiteral("2.5"));
  answerPrint(dir / "data.pdf");
  action("MN_PrintData")->trigger();
  EXPECT_EQ(prompter.count("print"), 0);
  EXPECT_TRUE(prompter.sawText(QStringLiteral("'2.5' is not a valid integer value")));
  EXPECT_FALSE(fs::exists(dir / "data.pdf"));
}

TEST_F(PrintTest, ResultReportAndDrawingPageAfterARun) {
  open("homogeneous-grid.pdd");
  runToEnd();
  // The window's Print goes through the print dialog into the PDF file.
  const fs::path result = dir / "result.pdf";
  answerPrint(result);
  QTimer::singleShot(0, [] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    auto* print = modal->findChild<QPushButton*>(QStringLiteral("B_Print"));
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isEnabled());
    print->click();
    qobject_cast<QDialog*>(modal)->accept();
  });
  action("MN_FailureGeometry")->trigger();
  const std::string report = PdfText(result);
  for (const char* title : {"LAVO", "Pelodyn Version 2.0", "File Name : homogeneous-grid.pdd", "Circular Analysis",
                            "Failure Surface Coordinate"}) {
    EXPECT_NE(report.find(title), std::string::npos) << title;
  }
  const char* labels[] = {
      "Min. FS. by Ordinary : ", "Min. FS. by Simp.Janbu : ", "Min. FS. by Simp.Bishop : ", "Min. FS. by Spencer : "};
  const std::vector<std::string> minima = CliMinima("homogeneous-grid.pdd");
  ASSERT_EQ(minima.size(), 4u);
  for (std::size_t k = 0; k < 4; ++k) {
    const std::string line = labels[k] + (minima[k].empty() ? std::string("N/A") : minima[k] + " ,");
    EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report.substr(0, 800);
  }

  const fs::path page = dir / "page.pdf";
  answerPrint(page);
  action("MN_Print")->trigger();
  const std::string drawing = PdfText(page);
  for (const char* title : {"Distance", "Elevation", "Pelodyn", "FS. by Ord / Jan / Bis / Spe"}) {
    EXPECT_NE(drawing.find(title), std::string::npos) << title << "\n" << drawing;
  }
}

TEST_F(PrintTest, ThaiTextReachesTheDataReportAndTheDrawingPage) {
  const QString name = QString::fromUtf8("ลาดดินริมคลอง ชั้นดินสามชั้น");
  document->setOptionText(Option::E_Project_Name, name);
  // Export PDF goes through the save dialog.
  const fs::path data = dir / "data.pdf";
  prompter.saveTargets.push_back(SaveTarget{QString::fromStdString(data.string()), 0});
  auto* print = window->findChild<PrintCommands*>();
  ASSERT_NE(print, nullptr);
  QSignalSpy exported(print, &PrintCommands::pdfExported);
  action("MN_ExportPdf_Data")->trigger();
  ASSERT_EQ(exported.count(), 1);
  const std::string text = PdfText(data);
  for (const char* title : {"SOIL PROPERTIES", "GEOMETRY", "BOTTOM LINE", "SEEPAGE CONDITION", "LOAD EFFECT",
                            "SEARCH CONDITION", "File Name : New Project.pdd"}) {
    EXPECT_NE(text.find(title), std::string::npos) << title;
  }
  EXPECT_NE(text.find("PROJECT : " + name.toStdString()), std::string::npos) << text.substr(0, 600);
  // The fonts go into the file: the page reads the same on any machine.
  const std::string fonts = Capture("pdffonts '" + data.string() + "'");
  EXPECT_NE(fonts.find("TlwgTypist"), std::string::npos) << fonts;
  std::istringstream lines(fonts);
  std::string line;
  int embedded = 0;
  for (int k = 0; std::getline(lines, line); ++k) {
    if (k < 2) continue;  // the heading and its rule
    std::istringstream fields(line);
    std::vector<std::string> f{std::istream_iterator<std::string>(fields), {}};
    ASSERT_GE(f.size(), 7u) << line;
    EXPECT_EQ(f[f.size() - 5], "yes") << line;  // the "emb" column
    ++embedded;
  }
  EXPECT_GE(embedded, 1);

  const fs::path page = dir / "page.pdf";
  answerPrint(page);
  action("MN_Print")->trigger();
  EXPECT_NE(PdfText(page).find(name.toStdString()), std::string::npos);
}

TEST_F(PrintTest, ThaiWordsReadBackWholeFromTheReportAndThePage) {
  // Tone marks lowered over a letter without an upper vowel (ค่า, ได้, ก็)
  // are glyphs the fonts reach through private-use codes; the PDFs map them
  // back to the Thai letters, and the report's face keeps a line one line.
  const std::string name = "ค่าความปลอดภัยที่ได้ ก็ผ่าน";
  document->setOptionText(Option::E_Project_Name, QString::fromStdString(name));
  auto* print = window->findChild<PrintCommands*>();
  ASSERT_NE(print, nullptr);
  for (const char* command : {"MN_ExportPdf_Data", "MN_ExportPdf_Drawing"}) {
    const fs::path pdf = dir / (std::string(command) + ".pdf");
    prompter.saveTargets.push_back(SaveTarget{QString::fromStdString(pdf.string()), 0});
    action(command)->trigger();
    const std::string text = Capture("pdftotext '" + pdf.string() + "' - 2>/dev/null");
    EXPECT_NE(text.find(name), std::string::npos) << command << "\n" << text.substr(0, 1400);
    for (const char* privateUse : {"\uF70A", "\uF70B", "\uF713"}) {
      EXPECT_EQ(text.find(privateUse), std::string::npos) << command;
    }
  }
}

TEST(MendPdfTextMaps, OnlyTheTextMapsPrivateUseCodesBecomeThaiLetters) {
  const fs::path file = fs::temp_directory_path() / "pelodyn-mend-text-maps.pdf";
  const std::string before =
      "stream <F70A> endstream\n"
      "begincmap\n<0001> <0004> [<0E04> <F70A> <f70b> <F71A>]\n<0005> <0005> <F71B>\nendcmap\n"
      "<F70C>\nbegincmap\n<0001> <0001> <F705>\nendcmap\n";
  const std::string after =
      "stream <F70A> endstream\n"
      "begincmap\n<0001> <0004> [<0E04> <0E48> <0E49> <0E3A>]\n<0005> <0005> <F71B>\nendcmap\n"
      "<F70C>\nbegincmap\n<0001> <0001> <0E48>\nendcmap\n";
  for (const auto& [written, expected] : {std::pair{before, after}, std::pair{after, after}}) {
    {
      std::ofstream out(file, std::ios::binary);
      out << written;
    }
    MendPdfTextMaps(file);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
  }
  fs::remove(file);
  EXPECT_THROW(MendPdfTextMaps(file), std::runtime_error);
}

TEST_F(PrintTest, HeadlessExportsWriteTheThreeDocuments) {
  const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
  const std::string example = std::string(PELODYN_EXAMPLES) + "/irregular-random.pdd";
  const fs::path data = dir / "data.pdf", result = dir / "result.pdf", page = dir / "page.pdf";
  ASSERT_EQ(
      RunCommand(env + PELODYN_GUI + " --analyse --export-data-report " + data.string() + " --export-result-report " +
                 result.string() + " --export-drawing-page " + page.string() + " " + example + " >/dev/null 2>&1"),
      0);
  EXPECT_NE(PdfText(data).find("Non-Circular Search : by Random"), std::string::npos);
  const std::string report = PdfText(result);
  EXPECT_NE(report.find("Non-Circular Analysis"), std::string::npos);
  EXPECT_EQ(report.find("Ordinary"), std::string::npos);
  const std::vector<std::string> minima = CliMinima("irregular-random.pdd");
  for (std::size_t k = 1; k < 4; ++k) {
    if (!minima[k].empty()) {
      EXPECT_NE(report.find(" : " + minima[k]), std::string::npos) << minima[k];
    }
  }
  EXPECT_NE(PdfText(page).find("Distance"), std::string::npos);
  // The result report needs the analysis; nothing is written without it.
  const fs::path alone = dir / "alone.pdf";
  EXPECT_NE(
      RunCommand(env + PELODYN_GUI + " --export-result-report " + alone.string() + " " + example + " >/dev/null 2>&1"),
      0);
  EXPECT_FALSE(fs::exists(alone));
  const std::string help = Capture(env + PELODYN_GUI + " --help 2>&1");
  for (const char* option : {"--export-data-report", "--export-result-report", "--export-drawing-page"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace pelodyn
