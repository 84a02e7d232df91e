// The windows' messages and captions in both languages: the titles of the
// message boxes, the conversion errors, the Thai captions of the progress
// window and the Soil Properties dialog, the menus' mnemonics, the captions
// a language round trip gives back, and the step-by-step form's English.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtGlobal>
#include <stdexcept>

#include "model/numbers.h"
#include "qt_text/utf8.h"
#include "reports/report_model.h"
#include "reports/report_output.h"
#include "texts/captions.h"
#include "texts/form_texts.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/forms/step_by_step_form.h"
#include "ui/forms/table_dialogs.h"
#include "ui/models/store_table_model.h"
#include "ui/widgets/grid_editor.h"
#include "ui/window_fixture.h"

namespace pelodyn {
namespace {

bool HasThai(const QString& s) {
  for (QChar c : s) {
    if (c.unicode() >= 0x0E00 && c.unicode() <= 0x0E7F) return true;
  }
  return false;
}

// A Thai mark written above or below its consonant: a mnemonic on it
// underlines nothing that can be seen.
bool IsThaiCombiningMark(QChar c) {
  const ushort u = c.unicode();
  return u == 0x0E31 || (u >= 0x0E34 && u <= 0x0E3A) || (u >= 0x0E47 && u <= 0x0E4E);
}

QStringList Headers(const QAbstractItemModel* model) {
  QStringList titles;
  for (int c = 0; c < model->columnCount(); ++c) titles << model->headerData(c, Qt::Horizontal).toString();
  return titles;
}

class MessagesWindow : public test::WindowTest {
 protected:
  QString text(const QObject& root, const char* name) {
    const QString n = QString::fromLatin1(name);
    if (auto* label = root.findChild<QLabel*>(n)) return label->text();
    if (auto* button = root.findChild<QAbstractButton*>(n)) return button->text();
    ADD_FAILURE() << "no " << name;
    return {};
  }
  // The caption a control of the caption table shows (a disabled command's
  // hint without the reason below it).
  QString shown(const CaptionRow& row) {
    const QString name = Q(row.control);
    if (auto* menu = window->findChild<QMenu*>(name)) return menu->title();
    QAction* a = window->commands().action(name);
    if (row.property == CaptionProperty::Hint) {
      return a ? a->toolTip().section(QLatin1Char('\n'), 0, 0) : QStringLiteral("<none>");
    }
    if (a) return a->text();
    QWidget* w = window->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return QStringLiteral("<none>");
  }
};

// A box without a caption of its own bears the program's name, never an
// empty title the window manager shows as "Untitled".
TEST(MessageBoxTitles, AreNeverEmpty) {
  EXPECT_EQ(BoxTitle(QString()), ProgramTitle());
  EXPECT_EQ(BoxTitle(QStringLiteral("  ")), ProgramTitle());
  EXPECT_EQ(BoxTitle(QStringLiteral("Warning")), QStringLiteral("Warning"));
  EXPECT_FALSE(ProgramTitle().isEmpty());
}

// An error that reaches the event loop's guard is shown with the program's
// title, and a conversion error in the user's language with its field.
TEST_F(MessagesWindow, GuardedConversionErrorsSpeakTheUsersLanguage) {
  struct Case {
    std::uint8_t language;
    const char* expected;
  };
  for (const Case& c : {Case{kLanguageEnglish, "Divide Step: 'x' is not a valid integer value"},
                        Case{kLanguageThai, "จำนวนครั้งที่แบ่งระยะ: 'x' ไม่ใช่จำนวนเต็มที่ถูกต้อง"}}) {
    window->setLanguage(c.language);
    prompter.shown.clear();
    document->setOptionText(Option::E_Divide_Step, QStringLiteral("x"));
    Guarded([&] { document->project().options.readInteger(Option::E_Divide_Step); });
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, ProgramTitle());
    EXPECT_EQ(prompter.shown[0].text, QString::fromUtf8(c.expected));
  }
}

// A run that stops on the geometry names the line and the point in the
// user's language (a middle point of the ground deleted by hand).
TEST_F(MessagesWindow, TheGeometryMessageNamesTheLineAndThePoint) {
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    SCOPED_TRACE(language == kLanguageThai ? "Thai" : "English");
    open("homogeneous-grid.pdd");
    window->setLanguage(language);
    const std::vector<Row> rows = document->project().store->rows(Table::Geometry);
    int lastLine = 0;
    for (const Row& r : rows) lastLine = std::max(lastLine, static_cast<int>(r.integer(GeometryField::LineNo)));
    // The second point of the top line, removed from the table alone.
    int position = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      if (rows[k].integer(GeometryField::LineNo) == lastLine && rows[k].integer(GeometryField::PointNo) == 2)
        position = static_cast<int>(k) + 1;
    }
    ASSERT_GT(position, 0);
    int points = 0;
    for (const Row& r : rows) points += r.integer(GeometryField::LineNo) == lastLine;
    document->removeRows(Table::Geometry, position, 1);
    prompter.shown.clear();
    EXPECT_EQ(runToEnd(), -1);
    const std::string line = std::to_string(lastLine), count = std::to_string(points);
    const QString expected =
        language == kLanguageEnglish
            ? QString::fromStdString("Soil geometry is not correct: line " + line +
                                     " has no point 2, though its points go up to " + count + ".")
            : QString::fromStdString("ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: เส้นที่ " + line + " ไม่มีจุดที่ 2 แต่มีจุดถึงจุดที่ " + count);
    EXPECT_TRUE(prompter.sawText(expected)) << (prompter.shown.empty() ? "" : prompter.shown.back().text.toStdString());
    EXPECT_EQ(HasThai(prompter.shown.back().text), language == kLanguageThai);
  }
}

// Every caption a control shows when the window is built is the English text
// of the caption table (marks aside), so a switch to Thai and back gives each
// control its own caption again: Apply stays Apply, Close stays Close.
TEST_F(MessagesWindow, ALanguageRoundTripGivesBackTheBuiltCaptions) {
  std::vector<std::pair<const CaptionRow*, QString>> built;
  for (const CaptionRow& row : CaptionTable()) built.emplace_back(&row, shown(row));
  window->setLanguage(kLanguageThai);
  window->setLanguage(kLanguageEnglish);
  for (const auto& [row, before] : built) {
    if (before == QStringLiteral("<none>")) continue;
    QString was = before, now = shown(*row);
    was.remove(QLatin1Char('&'));
    now.remove(QLatin1Char('&'));
    EXPECT_EQ(now.trimmed(), was.trimmed()) << row->control;
  }
  struct Case {
    const char* control;
    const char* english;
    const char* thai;
  };
  for (const Case& c : {Case{"B_DrawGrid_OK", "Apply", "นำไปใช้"}, Case{"B_DrawGrid_Close", "Close", "ปิด"},
                        Case{"B_LineLoad_cancel", "Close", "ปิด"}, Case{"BB_StripLoad_cancel", "Close", "ปิด"},
                        Case{"B_Anchor_Cancel", "Close", "ปิด"}, Case{"PU_Vetget", "Vegetation", "เสริมแรงด้วยรากพืช"}}) {
    for (const CaptionRow& row : CaptionTable()) {
      if (row.control != c.control) continue;
      window->setLanguage(kLanguageThai);
      EXPECT_EQ(shown(row), QString::fromUtf8(c.thai)) << c.control;
      window->setLanguage(kLanguageEnglish);
      EXPECT_EQ(shown(row), QString::fromUtf8(c.english)) << c.control;
    }
  }
}

// The input strip's lists name their items in the language chosen, and
// back again.
TEST_F(MessagesWindow, TheStripsListsSpeakTheUsersLanguage) {
  struct Case {
    const char* combo;
    const char* english;
    const char* thai;
  };
  for (const Case& c : {Case{OptionTwinName(Option::CB_Phreatic_Peizometric), "Phreatic Line", "เส้น Phreatic"},
                        Case{OptionCName(Option::CB_Ru_Condition), "Average", "ค่าเฉลี่ย"},
                        Case{"CB_Load_Type", "Line Load", "น้ำหนักแบบเส้น"},
                        Case{OptionTwinName(Option::RG_Apply_as), "Variable", "แปรผัน"}}) {
    auto* combo = window->findChild<QComboBox*>(QString::fromLatin1(c.combo));
    ASSERT_NE(combo, nullptr) << c.combo;
    window->setLanguage(kLanguageThai);
    EXPECT_EQ(combo->itemText(0), QString::fromUtf8(c.thai)) << c.combo;
    window->setLanguage(kLanguageEnglish);
    EXPECT_EQ(combo->itemText(0), QString::fromUtf8(c.english)) << c.combo;
  }
}

// Thai menus underline a Latin letter in parentheses, never a vowel or tone
// mark written above or below a consonant.
TEST(ThaiMnemonics, UnderlineNoCombiningMark) {
  std::vector<std::pair<std::string, QString>> texts;
  for (const CaptionRow& row : CaptionTable()) texts.emplace_back(std::string(row.control), Q(row.thai));
  for (int k = 0; k <= static_cast<int>(UiText::VegetationNothingChanged); ++k) {
    texts.emplace_back("UiText " + std::to_string(k), Q(UiTextFor(kLanguageThai, static_cast<UiText>(k))));
  }
  for (const FormText& t : StepFormTexts()) texts.emplace_back(t.name, QString::fromUtf8(t.thai));
  for (const auto& [name, text] : texts) {
    for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0; i = text.indexOf(QLatin1Char('&'), i + 2)) {
      ASSERT_LT(i + 1, text.size()) << name;
      const QChar marked = text[i + 1];
      EXPECT_TRUE(marked.unicode() < 0x80 && marked.isLetter()) << name << ": " << text.toStdString();
      EXPECT_FALSE(i + 2 < text.size() && IsThaiCombiningMark(text[i + 2])) << name;
    }
  }
  // The menus keep the English letters, so Alt+F opens File in both
  // languages.
  EXPECT_EQ(CaptionText(kLanguageThai, "MN_File"), "แฟ้ม (&F)");
  EXPECT_EQ(CaptionText(kLanguageThai, "MN_Help"), "ช่วยเหลือ (&H)");
}

// The progress window speaks Thai throughout in Thai.
TEST_F(MessagesWindow, TheProgressWindowSpeaksTheUsersLanguage) {
  ProgressWindow& p = progress();
  struct Case {
    const char* name;
    const char* english;
    const char* thai;
  };
  const Case cases[] = {
      {"L_Total_Process", "Total Process", "จำนวนที่ต้องคำนวณ"},
      {"Label1", "Method", "วิธีการ"},
      {"Label6", "Minimum FS.", "FS. ต่ำสุด"},
      {"B_Start_Stop", "Start", "เริ่ม"},
      {"B_Cal_Details", "Details", "รายละเอียด"},
      {"B_Cal_Close", "&Close", "ปิด (&C)"},
      {"L_Cal_FS", "Factor of Safety", "อัตราส่วนความปลอดภัย"},
      {"B_Sort", "Sort", "เรียงลำดับ"},
  };
  for (std::uint8_t language : {kLanguageThai, kLanguageEnglish}) {
    SCOPED_TRACE(language == kLanguageThai ? "Thai" : "English");
    window->setLanguage(language);
    for (const Case& c : cases) {
      EXPECT_EQ(text(p, c.name), QString::fromUtf8(language == kLanguageThai ? c.thai : c.english)) << c.name;
    }
    EXPECT_EQ(p.windowTitle(),
              language == kLanguageThai ? QStringLiteral("กำลังคำนวณ ...") : QStringLiteral("Calculating ..."));
    const auto* results = p.findChild<QTableView*>(QStringLiteral("DBG_Results"));
    EXPECT_EQ(Headers(results->model()).at(3),
              language == kLanguageThai ? QStringLiteral("รัศมี") : QStringLiteral("Radius"));
  }
  // A run reports in the user's language too.
  window->setLanguage(kLanguageThai);
  open("homogeneous-grid.pdd");
  EXPECT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  EXPECT_EQ(p.windowTitle(), QStringLiteral("คำนวณเสร็จแล้ว"));
  EXPECT_TRUE(text(p, "L_Total_Process").contains(QStringLiteral(" จาก "))) << text(p, "L_Total_Process").toStdString();
  EXPECT_EQ(text(p, "B_Start_Stop"), QStringLiteral("เริ่ม"));
}

// The Soil Properties dialog's grid titles and controls are Thai in Thai,
// and the strength model is spelt Mohr-Coulomb.
TEST_F(MessagesWindow, TheSoilPropertiesDialogSpeaksTheUsersLanguage) {
  struct Case {
    std::uint8_t language;
    QStringList soils;
    const char* strength;
    const char* disable;
    const char* advance;
    const char* model;
  };
  const Case cases[] = {
      {kLanguageEnglish,
       {"Soil No.", "Cohesion", "Phi", "Unit Weight", "Description"},
       "Strength Model",
       "Disable Advance Properties",
       "Advance",
       "Mohr-Coulomb Material"},
      {kLanguageThai,
       {"ชั้นดิน", "แรงยึดเหนี่ยว", "มุมเสียดทาน", "หน่วยน้ำหนัก", "คำอธิบาย"},
       "แบบจำลองกำลังรับแรงเฉือน",
       "ไม่ใช้คุณสมบัติขั้นสูง",
       "ขั้นสูง",
       "วัสดุแบบ Mohr-Coulomb"},
  };
  for (const Case& c : cases) {
    document->setLanguage(c.language);
    SoilPropertiesDialog dialog(*document, prompter);
    const auto* soils = dialog.findChild<GridEditor*>(QStringLiteral("DBG_Soil_Properties"));
    EXPECT_EQ(Headers(soils->model()).mid(0, 5), c.soils);
    EXPECT_EQ(text(dialog, "L_Strength_Model"), QString::fromUtf8(c.strength));
    EXPECT_EQ(text(dialog, OptionCName(Option::CB_Advance_Prop_Disable)), QString::fromUtf8(c.disable));
    EXPECT_EQ(text(dialog, "B_Aniso_ad"), QString::fromUtf8(c.advance));
    EXPECT_EQ(dialog.findChild<QComboBox*>(OptionObjectName(Option::CB_Strength_Model))->itemText(0),
              QString::fromUtf8(c.model));
  }
}

// In English the step-by-step form explains the theories, No Seepage and the
// Mercalli scale in English; in Thai, in Thai; the scale lists its twelve
// intensities with their accelerations in both.
TEST_F(MessagesWindow, TheStepFormExplainsInTheUsersLanguage) {
  StepByStepForm& form = *window->stepForm();
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    SCOPED_TRACE(language == kLanguageThai ? "Thai" : "English");
    window->setLanguage(language);
    for (const char* name : {"P_Explain_Cir", "P_Explain_NonCir", "P_Dis_NoSeepage", "P_Seismic_Dis"}) {
      EXPECT_EQ(HasThai(text(form, name)), language == kLanguageThai) << name;
    }
    const QString scale = text(form, "P_Seismic_Dis");
    for (const char* line : {"\nI ", "\nV ", "\nIX ", "\nXII "})
      EXPECT_TRUE(scale.contains(QLatin1String(line))) << line;
    EXPECT_TRUE(scale.contains(QStringLiteral("1.24 g")));
    EXPECT_EQ(
        form.findChild<QComboBox*>(OptionObjectName(Option::CB_Strength_Model))->itemText(0),
        language == kLanguageThai ? QStringLiteral("วัสดุแบบ Mohr-Coulomb") : QStringLiteral("Mohr-Coulomb Material"));
  }
}

// A PDF that cannot be written says why, in the system's words.
TEST(PdfExport, AFailureGivesTheSystemsReason) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("missing/report.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  ReportModel model;
  try {
    PaintReport(printer, model);
    ADD_FAILURE() << "written";
  } catch (const std::runtime_error& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("Cannot write " + path.toStdString() + ": ", 0), 0u) << message;
    EXPECT_GT(message.size(), ("Cannot write " + path.toStdString() + ": ").size()) << message;
  }
  EXPECT_FALSE(QFileInfo::exists(path));
}

// Pictures to look at (not to assert): PELODYN_PICTURES names a folder.
TEST_F(MessagesWindow, Pictures) {
  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  if (folder.isEmpty()) GTEST_SKIP() << "PELODYN_PICTURES is not set";
  const auto save = [&folder](QWidget* w, const QString& name) {
    ASSERT_TRUE(w->grab().save(folder + QLatin1Char('/') + name));
  };
  open("homogeneous-grid.pdd");
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    const QString suffix = language == kLanguageThai ? QStringLiteral("-thai.png") : QStringLiteral("-english.png");
    window->setLanguage(language);
    progress().show();
    save(&progress(), QStringLiteral("msg-progress-before") + suffix);
    ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
    save(&progress(), QStringLiteral("msg-progress-after") + suffix);
    progress().findChild<QPushButton*>(QStringLiteral("B_Cal_Details"))->click();
    save(&progress(), QStringLiteral("msg-progress-details") + suffix);
    progress().findChild<QPushButton*>(QStringLiteral("B_Cal_Details"))->click();
    SoilPropertiesDialog soils(*document, prompter, window.get());
    soils.show();
    soils.findChild<QPushButton*>(QStringLiteral("B_Aniso_ad"))->click();
    save(&soils, QStringLiteral("msg-soil-properties") + suffix);
    StepByStepForm* form = window->stepForm();
    form->show();
    form->pages().setCurrentIndex(4);
    form->findChild<QTabWidget*>(QStringLiteral("PC_Load_Effect"))->setCurrentIndex(0);
    document->setOptionChecked(Option::CB_Seismic_Disable, false);
    save(form, QStringLiteral("msg-seismic") + suffix);
    form->pages().setCurrentIndex(0);
    save(form, QStringLiteral("msg-step-theory") + suffix);
    form->pages().setCurrentIndex(3);
    save(form, QStringLiteral("msg-step-seepage") + suffix);
    form->hide();
    save(window.get(), QStringLiteral("msg-main") + suffix);
    // A real message box: the geometry message with the program's title.
    QtPrompter boxes(window.get());
    boxes.setThai([language] { return language == kLanguageThai; });
    QTimer::singleShot(300, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        box->grab().save(folder + QStringLiteral("/msg-box") + suffix);
        box->close();
      }
    });
    boxes.error(QString(),
                MessageBoxText(FormatText(CoreTextFor(language, CoreText::GeometryPointMissing), {"3", "3", "4"})));
  }
}

}  // namespace
}  // namespace pelodyn
