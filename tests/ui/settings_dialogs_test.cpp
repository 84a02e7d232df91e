// The Setting, Analysis Setting and Page Setup dialogs, driven as the user
// drives them: fields typed, buttons clicked. What they store is checked in
// the document and, for the Setting dialog, in the bytes of the settings
// file under a private PELODYN_HOME.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "model/numbers.h"
#include "persistence/settings_file.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/forms/settings_dialogs.h"
#include "ui/scripted_prompter.h"

namespace pelodyn {
namespace {

template <class W>
W* Child(QWidget& dialog, const char* name) {
  W* w = dialog.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Replaces a field's text as the user types it.
void Type(QWidget& dialog, const char* field, const QString& text) {
  auto* edit = Child<QLineEdit>(dialog, field);
  edit->clear();
  QTest::keyClicks(edit, text);
}

QString Text(QWidget& dialog, const char* field) {
  return Child<QLineEdit>(dialog, field)->text();
}

void Click(QWidget& dialog, const char* button) {
  Child<QAbstractButton>(dialog, button)->click();
}

QString FocusName(QWidget& dialog) {
  return dialog.focusWidget() != nullptr ? dialog.focusWidget()->objectName() : QString();
}

class SettingsDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_oldHome = qgetenv("PELODYN_HOME");
    qputenv("PELODYN_HOME", m_home.path().toUtf8());
    document = ProjectDocument::openPrivate();
  }
  void TearDown() override { qputenv("PELODYN_HOME", m_oldHome); }

  std::filesystem::path settingsFile() const { return SettingsFilePath(); }
  // A settings file that a refused Apply must leave as it is.
  void writeOldSettingsFile(const std::string& bytes) {
    std::filesystem::create_directories(settingsFile().parent_path());
    test::WriteBytes(settingsFile(), bytes);
  }

  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;

 private:
  QTemporaryDir m_home;
  QByteArray m_oldHome;
};

// ---------------------------------------------------------------- Setting

TEST_F(SettingsDialogsTest, SettingApplyStoresEveryFieldResetsTheZoomAndWritesTheFile) {
  SettingDialog dialog(*document, prompter);
  dialog.show();
  EXPECT_EQ(dialog.objectName(), "Form_PdSetting");
  EXPECT_EQ(dialog.windowTitle(), "Setting");
  // The fields show the defaults in their shortest form.
  EXPECT_EQ(Text(dialog, "E_WorkArea_Xmax"), "100");
  EXPECT_EQ(Text(dialog, "E_WorkArea_Ymax"), "63");
  EXPECT_EQ(Text(dialog, "E_Scale_X"), "1");
  EXPECT_EQ(Text(dialog, "E_Grid_Size"), "10");
  EXPECT_TRUE(Child<QCheckBox>(dialog, "CB_Show_Ref_Axis")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(dialog, "CB_Two_Intersect_Warning")->isChecked());

  Type(dialog, "E_WorkArea_Xmax", "150");
  Type(dialog, "E_WorkArea_Xmin", "-10");
  Type(dialog, "E_WorkArea_Ymax", "80");
  Type(dialog, "E_WorkArea_Ymin", "5");
  Type(dialog, "E_Scale_X", "2.5");
  Type(dialog, "E_Scale_Y", "0.5");
  Type(dialog, "E_Max_Point_on_Line", "120");
  Type(dialog, "E_Grid_Size", "12");
  Type(dialog, "E_Snap_Top_Layer_Length", "0.75");
  Click(dialog, "CB_Show_Ref_Axis");
  Click(dialog, "CB_Two_Intersect_Warning");
  QSignalSpy settingsChanged(&document->notifier(), &ProjectNotifier::settingsChanged);
  QSignalSpy applied(&dialog, &SettingDialog::applied);
  Click(dialog, "B_Setting_Apply");

  EXPECT_TRUE(prompter.shown.empty());
  const DrawingSettings& d = document->project().drawing;
  EXPECT_EQ(d.WorkAreaXmax, 150.0);
  EXPECT_EQ(d.WorkAreaXmin, -10.0);
  EXPECT_EQ(d.WorkAreaYmax, 80.0);
  EXPECT_EQ(d.WorkAreaYmin, 5.0);
  EXPECT_EQ(d.ScaleX, 2.5);
  EXPECT_EQ(d.ScaleY, 0.5);
  EXPECT_EQ(d.MaxPointOnLine, 120);
  EXPECT_EQ(d.GridSize, 12);
  EXPECT_EQ(d.SnapTopLayerLength, 0.75);
  EXPECT_EQ(d.ShowReferenceAxis, 0);
  EXPECT_EQ(d.ShowFailureAnimation, 1);
  EXPECT_EQ(d.TwoIntersectWarning, 1);
  EXPECT_EQ(document->project().settings.PixelsPerUnit, 12);
  EXPECT_GE(settingsChanged.count(), 1);
  EXPECT_EQ(applied.count(), 1);
  EXPECT_TRUE(dialog.isVisible()) << "Apply does not close the dialog";
  EXPECT_EQ(document->undoStack().count(), 0) << "settings are not project edits";

  const std::string expected =
      "[Page_Setup]\r\n1\r\n0\r\n1.000\r\n1.000\r\n1.000\r\n1.000\r\n\r\n"
      "[Setting]\r\n150\r\n-10\r\n80\r\n5\r\n2.500\r\n0.500\r\n120\r\n12\r\n0.750\r\n0\r\n1\r\n1\r\n1\r\n\r\n"
      "[Analysis_Setting]\r\n10\r\n0\r\n10\r\n1.000\r\n0\r\n10\r\n0.000\r\n0.010\r\n\r\n"
      "[Method]\r\n0\r\n1\r\n1\r\n1\r\n\r\n"
      "[Grid]\r\n1\r\n\r\n"
      "[Snap_Grid]\r\n1\r\n\r\n"
      "[Show_Failure_Surface]\r\n0\r\n";
  EXPECT_EQ(test::Bytes(settingsFile()), expected);

  Click(dialog, "B_Setting_Cancel");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(SettingsDialogsTest, SettingApplyRefusesABadFieldAndStoresNothing) {
  struct Case {
    const char* field;
    const char* text;
    std::string message;  // empty: the text of `refusal`
    UiText refusal;
    const char* focus;
  };
  const auto text = [](UiText id) { return std::string(UiTextFor(kLanguageEnglish, id)); };
  const Case cases[] = {
      {"E_Scale_X", "abc", "Hor. 1: 'abc' is not a valid floating point value", {}, "E_Scale_X"},
      {"E_WorkArea_Ymin", "", "Y min.: '' is not a valid floating point value", {}, "E_WorkArea_Ymin"},
      {"E_Grid_Size", "1.5", "Grid Size / 1 Unit: '1.5' is not a valid integer value", {}, "E_Grid_Size"},
      {"E_Max_Point_on_Line",
       "many",
       "Max. Point on Line: 'many' is not a valid integer value",
       {},
       "E_Max_Point_on_Line"},
      {"E_Grid_Size", "0", "", UiText::GridSizeRefused, "E_Grid_Size"},
      {"E_Grid_Size", "-4", "", UiText::GridSizeRefused, "E_Grid_Size"},
      {"E_Grid_Size", "101", "", UiText::GridSizeRefused, "E_Grid_Size"},
      {"E_Scale_X", "0", "", UiText::ScaleRefused, "E_Scale_X"},
      {"E_Scale_Y", "-2", "", UiText::ScaleRefused, "E_Scale_Y"},
      {"E_WorkArea_Xmin",
       "150",
       "The working area is inverted: X max. must be greater than X min.",
       {},
       "E_WorkArea_Xmax"},
      {"E_WorkArea_Ymin",
       "70",
       "The working area is inverted: Y max. must be greater than Y min.",
       {},
       "E_WorkArea_Ymax"},
      {"E_WorkArea_Xmax", "100001", "", UiText::WorkAreaTooLarge, "E_WorkArea_Xmax"},
      {"E_WorkArea_Xmin", "-100001", "", UiText::WorkAreaTooLarge, "E_WorkArea_Xmax"},
      {"E_WorkArea_Ymin", "-99990", "", UiText::WorkAreaTooLarge, "E_WorkArea_Ymax"},
  };
  const std::string oldFile = "an older settings file\r\n";
  writeOldSettingsFile(oldFile);
  const DrawingSettings drawingBefore = document->project().drawing;
  const AppSettings settingsBefore = document->project().settings;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " = '" + c.text + "'");
    prompter.shown.clear();
    SettingDialog dialog(*document, prompter);
    dialog.show();
    // Good values in the other fields are not stored either.
    Type(dialog, "E_Snap_Top_Layer_Length", "3");
    Type(dialog, "E_WorkArea_Xmax", "150");
    Click(dialog, "CB_Show_Failure_Animation");
    Type(dialog, c.field, QString::fromUtf8(c.text));
    QSignalSpy applied(&dialog, &SettingDialog::applied);
    EXPECT_FALSE(dialog.apply());

    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, "error");
    EXPECT_EQ(prompter.shown[0].caption, ProgramTitle());
    EXPECT_EQ(prompter.shown[0].text.toStdString(), c.message.empty() ? text(c.refusal) : c.message);
    EXPECT_EQ(FocusName(dialog), c.focus);
    EXPECT_EQ(applied.count(), 0);
    EXPECT_EQ(document->project().drawing, drawingBefore);
    EXPECT_EQ(document->project().settings, settingsBefore);
    EXPECT_EQ(test::Bytes(settingsFile()), oldFile);
  }
}

TEST_F(SettingsDialogsTest, LargeWorkingAreaIsQuestionedAndOkKeepsTheOldLimits) {
  struct Case {
    const char* xmax;
    const char* ymax;
    std::deque<bool> answers;  // OK = true
    std::vector<UiText> questions;
    double storedXmax, storedYmax;
    const char* focus;  // empty: no focus asked for
  };
  const Case cases[] = {
      {"700", "63", {true}, {UiText::WorkingAreaWidthQuestion}, 100, 63, "E_WorkArea_Xmax"},
      {"700", "63", {false}, {UiText::WorkingAreaWidthQuestion}, 700, 63, ""},
      {"200", "120", {}, {}, 200, 120, ""},
      {"100", "121", {true}, {UiText::WorkingAreaHeightQuestion}, 100, 63, "E_WorkArea_Ymax"},
      {"300",
       "200",
       {false, true},
       {UiText::WorkingAreaWidthQuestion, UiText::WorkingAreaHeightQuestion},
       300,
       63,
       "E_WorkArea_Ymax"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.xmax) + " x " + c.ymax);
    document = ProjectDocument::openPrivate();
    prompter.shown.clear();
    prompter.okAnswers = c.answers;
    std::filesystem::remove(settingsFile());
    SettingDialog dialog(*document, prompter);
    dialog.show();
    Type(dialog, "E_WorkArea_Xmax", c.xmax);
    Type(dialog, "E_WorkArea_Ymax", c.ymax);
    Type(dialog, "E_Scale_X", "2");
    Child<QLineEdit>(dialog, "E_Scale_X")->setFocus();
    EXPECT_TRUE(dialog.apply());

    ASSERT_EQ(prompter.shown.size(), c.questions.size());
    for (std::size_t k = 0; k < c.questions.size(); ++k) {
      EXPECT_EQ(prompter.shown[k].kind, "question");
      EXPECT_EQ(prompter.shown[k].caption, "Working area");
      EXPECT_EQ(prompter.shown[k].text, MessageBoxText(UiTextFor(kLanguageEnglish, c.questions[k])));
    }
    EXPECT_EQ(FocusName(dialog), *c.focus != '\0' ? QString::fromLatin1(c.focus) : QStringLiteral("E_Scale_X"));
    const DrawingSettings& d = document->project().drawing;
    EXPECT_EQ(d.WorkAreaXmax, c.storedXmax);
    EXPECT_EQ(d.WorkAreaYmax, c.storedYmax);
    // The other fields are applied and the file is written whatever was
    // answered.
    EXPECT_EQ(d.ScaleX, 2.0);
    EXPECT_NE(test::Bytes(settingsFile())
                  .find("[Setting]\r\n" + FormatFixed(c.storedXmax, 0) + "\r\n0\r\n" + FormatFixed(c.storedYmax, 0) +
                        "\r\n0\r\n2.000\r\n"),
              std::string::npos);
  }
}

TEST_F(SettingsDialogsTest, WorkingAreaQuestionIsAskedInThai) {
  document->setLanguage(kLanguageThai);
  prompter.okAnswers = {false};
  SettingDialog dialog(*document, prompter);
  Type(dialog, "E_WorkArea_Xmax", "700");
  Click(dialog, "B_Setting_Apply");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("พื้นที่ทำงาน"));
  EXPECT_EQ(prompter.shown[0].text, QStringLiteral("พื้นที่ทำงานกว้างเกินไป (มากกว่า 200 หน่วย) อาจทำให้การทำงานช้า\n"
                                                   "คุณต้องการเปลี่ยนขนาดให้เล็กลงหรือไม่?"));
  EXPECT_EQ(document->project().drawing.WorkAreaXmax, 700.0);
}

TEST_F(SettingsDialogsTest, ChosenColourIsKeptAtOnceAndCloseKeepsIt) {
  SettingDialog dialog(*document, prompter);
  dialog.show();
  auto* swatch = Child<QLabel>(dialog, "P_F_color");
  EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(0, 255, 0));

  // A cancelled colour dialog changes nothing.
  Click(dialog, "B_F_color_set");
  EXPECT_EQ(document->project().drawing.SliceFillColor, 65280);

  prompter.colorAnswers = {QColor(200, 100, 50)};
  Click(dialog, "B_F_color_set");
  EXPECT_EQ(prompter.count("color"), 2);
  EXPECT_EQ(prompter.shown.back().caption, "Failure Colour");
  // Stored as 0x00BBGGRR.
  EXPECT_EQ(document->project().drawing.SliceFillColor, 50 * 65536 + 100 * 256 + 200);
  EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(200, 100, 50));

  Click(dialog, "B_Setting_Cancel");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(document->project().drawing.SliceFillColor, 50 * 65536 + 100 * 256 + 200);
  EXPECT_FALSE(std::filesystem::exists(settingsFile())) << "Close writes no settings file";
}

// ---------------------------------------------------------------- Analysis Setting

TEST_F(SettingsDialogsTest, AnalysisApplyStoresTheSevenFieldsAsOneUndoableStep) {
  document->setOptionIndex(Option::CB_Circle_Decrement, 1);
  const int stepsBefore = document->undoStack().count();
  const OptionValues before = document->project().options;
  AnalysisSettingDialog dialog(*document, prompter);
  dialog.show();
  EXPECT_EQ(dialog.objectName(), "Form_Analysis_Setting");
  EXPECT_EQ(dialog.windowTitle(), "Analysis Setting");
  EXPECT_EQ(Child<QComboBox>(dialog, OptionCName(Option::CB_Circle_Decrement))->currentText(), "Radius Decrement");
  EXPECT_EQ(Text(dialog, OptionCName(Option::E_Pass_Criteria)), "0.01");
  EXPECT_FALSE(Child<QLineEdit>(dialog, OptionCName(Option::E_Cir_Add_Radius))->isEnabled());
  EXPECT_FALSE(Child<QLabel>(dialog, "L_Cir_Add_Radius")->isEnabled());

  Type(dialog, OptionCName(Option::E_Cir_Decrement), "2");
  Type(dialog, OptionCName(Option::E_Cir_Slice), "012");
  Type(dialog, OptionCName(Option::E_Cir_Depth_Tallest), "1.50");
  Type(dialog, OptionCName(Option::E_NonCir_Slice), "30");
  Type(dialog, OptionCName(Option::E_NonCir_Depth_Tallest), "0.250");
  Type(dialog, OptionCName(Option::E_Pass_Criteria), "0.010");
  Click(dialog, "B_Setting_Apply");

  EXPECT_TRUE(prompter.shown.empty());
  const OptionValues& o = document->project().options;
  struct Stored {
    const char* control;
    const char* text;
  };
  for (const Stored& s :
       {Stored{OptionCName(Option::E_Cir_Decrement), "2"}, Stored{OptionCName(Option::E_Cir_Slice), "12"},
        Stored{OptionCName(Option::E_Cir_Depth_Tallest), "1.5"}, Stored{OptionCName(Option::E_Cir_Add_Radius), "0"},
        Stored{OptionCName(Option::E_NonCir_Slice), "30"}, Stored{OptionCName(Option::E_NonCir_Depth_Tallest), "0.25"},
        Stored{OptionCName(Option::E_Pass_Criteria), "0.01"}}) {
    EXPECT_EQ(o.text(OptionNamed(s.control)), s.text) << s.control;
    EXPECT_EQ(Text(dialog, s.control), s.text) << s.control;
  }
  EXPECT_EQ(o.itemIndex(Option::CB_Circle_Decrement), 1);
  EXPECT_EQ(document->undoStack().count(), stepsBefore + 1);
  EXPECT_TRUE(dialog.isVisible());

  document->undo();
  EXPECT_EQ(document->project().options, before);
  EXPECT_EQ(Text(dialog, OptionCName(Option::E_Cir_Decrement)), "10") << "the fields follow the options";
  EXPECT_EQ(Text(dialog, OptionCName(Option::E_NonCir_Depth_Tallest)), "0");
  EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

TEST_F(SettingsDialogsTest, AnalysisApplyReadsEveryFieldBeforeStoringAny) {
  struct Case {
    int circleChoice;
    const char* field;
    const char* text;
    const char* message;  // nullptr: accepted
    const char* stored;
  };
  const Case cases[] = {
      {1, OptionCName(Option::E_Cir_Decrement), "12.5", nullptr, "12.5"},
      {0, OptionCName(Option::E_Cir_Decrement), "12.5",
       "No. of Circle / Radius Decrement: '12.5' is not a valid integer value", nullptr},
      {0, OptionCName(Option::E_Cir_Decrement), "15", nullptr, "15"},
      {1, OptionCName(Option::E_Cir_Slice), "2.5", "No. of Slice: '2.5' is not a valid integer value", nullptr},
      {1, OptionCName(Option::E_Pass_Criteria), "abc", "Pass Criteria: 'abc' is not a valid floating point value",
       nullptr},
      {1, OptionCName(Option::E_NonCir_Depth_Tallest), "",
       "Min. Depth of Tallest Slice: '' is not a valid floating point value", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " = '" + c.text + "'");
    document = ProjectDocument::openPrivate();
    document->setOptionIndex(Option::CB_Circle_Decrement, c.circleChoice);
    const OptionValues before = document->project().options;
    const int steps = document->undoStack().count();
    prompter.shown.clear();
    AnalysisSettingDialog dialog(*document, prompter);
    dialog.show();
    Type(dialog, OptionCName(Option::E_NonCir_Slice), "40");
    Type(dialog, c.field, QString::fromUtf8(c.text));
    EXPECT_EQ(dialog.apply(), c.message == nullptr);
    if (c.message == nullptr) {
      EXPECT_TRUE(prompter.shown.empty());
      EXPECT_EQ(document->project().options.text(OptionNamed(c.field)), c.stored);
      EXPECT_EQ(document->project().options.text(Option::E_NonCir_Slice), "40");
      EXPECT_EQ(document->undoStack().count(), steps + 1);
    } else {
      ASSERT_EQ(prompter.shown.size(), 1u);
      EXPECT_EQ(prompter.shown[0].kind, "error");
      EXPECT_EQ(prompter.shown[0].caption, ProgramTitle());
      EXPECT_EQ(prompter.shown[0].text, QString::fromUtf8(c.message));
      EXPECT_EQ(FocusName(dialog), c.field);
      EXPECT_EQ(document->project().options, before);
      EXPECT_EQ(document->undoStack().count(), steps);
    }
  }
}

TEST_F(SettingsDialogsTest, AnalysisFieldsFollowTheOptionsWhileOpen) {
  AnalysisSettingDialog dialog(*document, prompter);
  document->setOptionText(Option::E_Cir_Slice, "25");
  document->setOptionIndex(Option::CB_Circle_Decrement, 1);
  EXPECT_EQ(Text(dialog, OptionCName(Option::E_Cir_Slice)), "25");
  EXPECT_EQ(Child<QComboBox>(dialog, OptionCName(Option::CB_Circle_Decrement))->currentIndex(), 1);
  // The choice is only shown, never written, by this dialog.
  EXPECT_FALSE(Child<QComboBox>(dialog, OptionCName(Option::CB_Circle_Decrement))->isEnabled());
}

// ---------------------------------------------------------------- Page Setup

struct Margins {
  const char *left, *right, *top, *bottom;
};

void ExpectMargins(QWidget& dialog, const Margins& m) {
  EXPECT_EQ(Text(dialog, "E_Left"), m.left);
  EXPECT_EQ(Text(dialog, "E_Right"), m.right);
  EXPECT_EQ(Text(dialog, "E_Top"), m.top);
  EXPECT_EQ(Text(dialog, "E_Bottom"), m.bottom);
}

void TypeMargins(QWidget& dialog, const Margins& m) {
  Type(dialog, "E_Left", m.left);
  Type(dialog, "E_Right", m.right);
  Type(dialog, "E_Top", m.top);
  Type(dialog, "E_Bottom", m.bottom);
}

// Picks a unit with the keyboard, as the user does.
void ChooseUnit(QWidget& dialog, int unit) {
  auto* box = Child<QComboBox>(dialog, "CB_Unit");
  for (int k = 0; k < 2 && box->currentIndex() < unit; ++k) QTest::keyClick(box, Qt::Key_Down);
  for (int k = 0; k < 2 && box->currentIndex() > unit; ++k) QTest::keyClick(box, Qt::Key_Up);
  EXPECT_EQ(box->currentIndex(), unit);
}

TEST_F(SettingsDialogsTest, PageSetupConvertsTheMarginsWithTheUnit) {
  struct Case {
    Margins inches, centimetres;
  };
  const Case cases[] = {
      {{"1", "1", "1", "1"}, {"2.54", "2.54", "2.54", "2.54"}},
      {{"0.5", "2", "3.25", "0"}, {"1.27", "5.08", "8.255", "0"}},
      // Three decimals each way: 1.234 * 2.54 = 3.13436, 3.134 / 2.54 = 1.23386;
      // 0.001 * 2.54 = 0.00254, 0.003 / 2.54 = 0.00118.
      {{"1.234", "0.001", "1", "1"}, {"3.134", "0.003", "2.54", "2.54"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inches.left);
    PageSetupDialog dialog(*document, prompter);
    dialog.show();
    EXPECT_EQ(Child<QComboBox>(dialog, "CB_Unit")->currentText(), "Inches");
    TypeMargins(dialog, c.inches);
    ChooseUnit(dialog, 1);
    EXPECT_EQ(Child<QComboBox>(dialog, "CB_Unit")->currentText(), "Centimeters");
    ExpectMargins(dialog, c.centimetres);
    ChooseUnit(dialog, 0);
    ExpectMargins(dialog, c.inches);
  }
}

TEST_F(SettingsDialogsTest, PageSetupTurnsTheMarginsWithTheOrientation) {
  struct Step {
    const char* button;
    Margins shown;
  };
  document->updateSettings([](AppSettings& s) { s.PageLandscape = false; });
  PageSetupDialog dialog(*document, prompter);
  dialog.show();
  EXPECT_TRUE(Child<QRadioButton>(dialog, "RB_Portrait")->isChecked());
  TypeMargins(dialog, {"1", "2", "3", "4"});
  for (const Step& s : {Step{"RB_Landscape", {"4", "3", "1", "2"}}, Step{"RB_Landscape", {"4", "3", "1", "2"}},
                        Step{"RB_Portrait", {"1", "2", "3", "4"}}, Step{"RB_Portrait", {"1", "2", "3", "4"}}}) {
    SCOPED_TRACE(s.button);
    Click(dialog, s.button);
    EXPECT_TRUE(Child<QRadioButton>(dialog, s.button)->isChecked());
    ExpectMargins(dialog, s.shown);
  }
  // A text that is not a number turns with the others.
  Type(dialog, "E_Top", "x");
  Click(dialog, "RB_Landscape");
  ExpectMargins(dialog, {"4", "x", "1", "2"});
}

TEST_F(SettingsDialogsTest, PageSetupCancelKeepsEverythingAndOkStoresEverything) {
  const AppSettings before = document->project().settings;
  {
    PageSetupDialog dialog(*document, prompter);
    dialog.show();
    TypeMargins(dialog, {"1", "2", "3", "0.5"});
    Click(dialog, "RB_Portrait");
    ChooseUnit(dialog, 1);
    Click(dialog, "B_Cancel");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(document->project().settings, before);
  }
  PageSetupDialog dialog(*document, prompter);
  dialog.show();
  // The dialog opens on the stored values, not on what was cancelled.
  EXPECT_TRUE(Child<QRadioButton>(dialog, "RB_Landscape")->isChecked());
  EXPECT_EQ(Child<QComboBox>(dialog, "CB_Unit")->currentIndex(), 0);
  ExpectMargins(dialog, {"1", "1", "1", "1"});
  TypeMargins(dialog, {"1", "2", "3", "0.5"});
  Click(dialog, "RB_Portrait");  // left 3, right 0.5, top 2, bottom 1
  ChooseUnit(dialog, 1);
  Type(dialog, "E_Bottom", "1.5");
  Click(dialog, "B_OK");
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const AppSettings& s = document->project().settings;
  EXPECT_FALSE(s.PageLandscape);
  EXPECT_EQ(s.PageUnit, 1);
  EXPECT_EQ(s.PageMarginLeft, 7.62);
  EXPECT_EQ(s.PageMarginRight, 1.27);
  EXPECT_EQ(s.PageMarginTop, 5.08);
  EXPECT_EQ(s.PageMarginBottom, 1.5);
  EXPECT_FALSE(std::filesystem::exists(settingsFile())) << "Page Setup writes no settings file";
}

TEST_F(SettingsDialogsTest, PageSetupOkRefusesMarginsAndStoresNothing) {
  const auto wider = [](const char* width, const char* height) {
    return FormatText(UiTextFor(kLanguageEnglish, UiText::MarginsWiderThanPage), {width, height});
  };
  struct Case {
    bool landscape;
    int unit;
    Margins margins;
    std::string message;
    const char* focus;
  };
  const Case cases[] = {
      {true, 0, {"1", "1", "x", "1"}, "Top: 'x' is not a valid floating point value", "E_Top"},
      {true, 0, {"1", "1", "1", "-0.1"}, std::string(UiTextFor(kLanguageEnglish, UiText::MarginNegative)), "E_Bottom"},
      // A4 portrait is 8.268 by 11.693 inches; landscape is 29.7 by 21 cm.
      {false, 0, {"4", "4.3", "1", "1"}, wider("8.268 Inches", "11.693 Inches"), "E_Left"},
      {false, 0, {"1", "1", "6", "5.7"}, wider("8.268 Inches", "11.693 Inches"), "E_Top"},
      {true, 1, {"1", "1", "10", "11"}, wider("29.7 Centimeters", "21 Centimeters"), "E_Top"},
      {true, 1, {"15", "15", "1", "1"}, wider("29.7 Centimeters", "21 Centimeters"), "E_Left"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    document->updateSettings([&c](AppSettings& s) {
      s.PageLandscape = c.landscape;
      s.PageUnit = c.unit;
    });
    const AppSettings before = document->project().settings;
    prompter.shown.clear();
    PageSetupDialog dialog(*document, prompter);
    dialog.show();
    TypeMargins(dialog, c.margins);
    Click(dialog, "B_OK");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, "error");
    EXPECT_EQ(prompter.shown[0].caption, ProgramTitle());
    EXPECT_EQ(prompter.shown[0].text, Q(c.message));
    EXPECT_EQ(FocusName(dialog), c.focus);
    EXPECT_TRUE(dialog.isVisible()) << "a refused OK keeps the dialog open";
    EXPECT_EQ(document->project().settings, before);
  }
  // Just inside the page is accepted: 4 + 4.2 < 8.268 inches.
  document->updateSettings([](AppSettings& s) {
    s.PageLandscape = false;
    s.PageUnit = 0;
  });
  prompter.shown.clear();
  PageSetupDialog dialog(*document, prompter);
  TypeMargins(dialog, {"4", "4.2", "5.8", "5.8"});
  EXPECT_TRUE(dialog.confirm());
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_EQ(document->project().settings.PageMarginRight, 4.2);
}

// ---------------------------------------------------------------- Texts

TEST_F(SettingsDialogsTest, EveryTextFollowsTheLanguage) {
  struct Expect {
    const char* control;
    const char* english;
    const char* thai;
  };
  document->setLanguage(kLanguageThai);
  SettingDialog setting(*document, prompter);
  AnalysisSettingDialog analysis(*document, prompter);
  PageSetupDialog page(*document, prompter);
  QWidget* dialogs[] = {&setting, &analysis, &page};
  const auto shown = [](QWidget& dialog, const char* control) {
    QWidget* w = dialog.findChild<QWidget*>(QString::fromLatin1(control));
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
    return QString();
  };
  const auto check = [&](bool thai) {
    EXPECT_EQ(setting.windowTitle(), thai ? QStringLiteral("กำหนดค่า") : QStringLiteral("Setting"));
    EXPECT_EQ(analysis.windowTitle(), thai ? QStringLiteral("กำหนดค่าการวิเคราะห์") : QStringLiteral("Analysis Setting"));
    EXPECT_EQ(page.windowTitle(), thai ? QStringLiteral("ตั้งค่าหน้ากระดาษ") : QStringLiteral("Page Setup"));
    for (const Expect& e :
         {Expect{"GB_Working_Area", " Working Area ", " พื้นที่ทำงาน "}, Expect{"B_Setting_Apply", "&Apply", "นำไปใช้"},
          Expect{"B_Setting_Cancel", "&Close", "ปิด"},
          Expect{"CB_Two_Intersect_Warning", "Warning when slip surface cut slope more than 2 position",
                 "เตือนเมื่อผิวการพิบัติตัดลาดดินมากกว่า 2 ตำแหน่ง"}}) {
      EXPECT_EQ(shown(setting, e.control), QString::fromUtf8(thai ? e.thai : e.english)) << e.control;
    }
    EXPECT_EQ(shown(analysis, "GB_Circle_Properties"), thai ? QStringLiteral(" คุณสมบัติวงกลม") : " Circle Properties");
    EXPECT_EQ(shown(page, "RB_Landscape"), thai ? QStringLiteral("แนวนอน") : "L&andscape");
    EXPECT_EQ(Child<QComboBox>(page, "CB_Unit")->itemText(1), thai ? QStringLiteral("เซนติเมตร") : "Centimeters");
    EXPECT_EQ(Child<QComboBox>(analysis, OptionCName(Option::CB_Circle_Decrement))->itemText(0),
              thai ? QStringLiteral("จำนวนวงกลม") : "No. of Circle");
    // No named label, button or group is left without a text.
    for (QWidget* dialog : dialogs) {
      for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        const bool captioned =
            qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w);
        if (!captioned || name.isEmpty() || name == "P_F_color" || name.startsWith("qt_")) continue;
        EXPECT_FALSE(shown(*dialog, name.toLatin1().constData()).isEmpty()) << name.toStdString();
      }
    }
  };
  check(true);
  document->setLanguage(kLanguageEnglish);
  check(false);
}

}  // namespace
}  // namespace pelodyn
