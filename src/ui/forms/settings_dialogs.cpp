#include "ui/forms/settings_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include <string>

#include "model/numbers.h"
#include "persistence/folders.h"
#include "persistence/settings_file.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "view/section_painter.h"

namespace pelodyn {
namespace {

// A working area wider or higher than these asks whether to keep it: the
// drawing of a large area is slow.
constexpr double kWidthQuestionLimit = 200.0;
constexpr double kHeightQuestionLimit = 120.0;
// The drawing addresses its image in int pixels and a widget cannot be
// larger than 2^24 pixels: limits within +-100000 units, an extent of at
// most 100000 units and at most 100 pixels a unit keep the image below
// both.
constexpr double kWorkAreaLimit = 100000.0;
constexpr int kMaxGridSize = 100;
// A4 in millimetres.
constexpr double kA4ShortMm = 210.0;
constexpr double kA4LongMm = 297.0;
constexpr double kCentimetresPerInch = 2.54;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Caption(std::uint8_t language, const char* control) {
  return Q(DialogCaptionText(language, control));
}

template <class W>
W* Named(const char* name, QWidget* parent) {
  auto* widget = new W(parent);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* NamedLabel(const char* name, QWidget* parent, QWidget* buddy = nullptr) {
  auto* label = Named<QLabel>(name, parent);
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

// Writes the dialog table's text into every named label, button and group
// box of `dialog` that has a row.
void ApplyDialogCaptions(QWidget& dialog, std::uint8_t language) {
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    const QString text = Q(DialogCaptionText(language, w->objectName().toStdString()));
    if (text.isEmpty()) continue;
    if (auto* label = qobject_cast<QLabel*>(w)) {
      label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
      group->setTitle(text);
    }
  }
}

// Names a refused field in an error box and puts the focus on it.
void Refuse(Prompter& prompter, QLineEdit* field, const QString& message) {
  prompter.error(ProgramTitle(), message);
  field->setFocus();
  field->selectAll();
}

// The text of the label beside `field`, as the dialog shows it, without its
// accelerator mark and colon; empty when it has none.
QString FieldLabel(const QLineEdit* field) {
  for (const QLabel* label : field->window()->findChildren<QLabel*>()) {
    if (label->buddy() != field) continue;
    QString text = label->text();
    text.remove(QLatin1Char('&'));
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(':'))) text.chop(1);
    return text.trimmed();
  }
  return {};
}

// The conversion message in the user's language, after the field's label.
void RefuseText(Prompter& prompter, std::uint8_t language, QLineEdit* field, const ConversionError& e) {
  QString message = QString::fromStdString(e.message(language));
  QString label = FieldLabel(field);
  // A field labelled by a combo box (No. of Circle / Radius Decrement) is
  // named by its caption.
  const std::string name = field->objectName().toStdString();
  if (label.isEmpty() && OptionCaption(language, name) != name) label = Q(OptionCaption(language, name));
  if (!label.isEmpty()) message = label + QStringLiteral(": ") + message;
  Refuse(prompter, field, message);
}

bool ReadReal(Prompter& prompter, std::uint8_t language, QLineEdit* field, double& value) {
  try {
    value = StrToFloat(field->text().toStdString());
    return true;
  } catch (const ConversionError& e) {
    RefuseText(prompter, language, field, e);
    return false;
  }
}

bool ReadInteger(Prompter& prompter, std::uint8_t language, QLineEdit* field, std::int32_t& value) {
  try {
    value = StrToInt(field->text().toStdString());
    return true;
  } catch (const ConversionError& e) {
    RefuseText(prompter, language, field, e);
    return false;
  }
}

QString Shortest(double value) {
  return QString::fromStdString(FormatShortest(value));
}

int BgrFromColour(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* b : buttons) row->addWidget(b);
  return row;
}

}  // namespace

// ---------------------------------------------------------------- Setting

SettingDialog::SettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document), m_prompter(prompter) {
  setObjectName(QStringLiteral("Form_PdSetting"));
  setModal(true);

  m_xmax = Named<QLineEdit>("E_WorkArea_Xmax", this);
  m_xmin = Named<QLineEdit>("E_WorkArea_Xmin", this);
  m_ymax = Named<QLineEdit>("E_WorkArea_Ymax", this);
  m_ymin = Named<QLineEdit>("E_WorkArea_Ymin", this);
  auto* area = Named<QGroupBox>("GB_Working_Area", this);
  auto* areaLayout = new QGridLayout(area);
  areaLayout->addWidget(NamedLabel("L_WorkArea_Xmax", area, m_xmax), 0, 0);
  areaLayout->addWidget(m_xmax, 0, 1);
  areaLayout->addWidget(NamedLabel("L_WorkArea_Ymax", area, m_ymax), 0, 2);
  areaLayout->addWidget(m_ymax, 0, 3);
  areaLayout->addWidget(NamedLabel("L_WorkArea_Xmin", area, m_xmin), 1, 0);
  areaLayout->addWidget(m_xmin, 1, 1);
  areaLayout->addWidget(NamedLabel("L_WorkArea_Ymin", area, m_ymin), 1, 2);
  areaLayout->addWidget(m_ymin, 1, 3);

  m_scaleX = Named<QLineEdit>("E_Scale_X", this);
  m_scaleY = Named<QLineEdit>("E_Scale_Y", this);
  auto* scale = Named<QGroupBox>("GB_Scale", this);
  auto* scaleLayout = new QGridLayout(scale);
  scaleLayout->addWidget(NamedLabel("L_Scale_X", scale, m_scaleX), 0, 0);
  scaleLayout->addWidget(m_scaleX, 0, 1);
  scaleLayout->addWidget(NamedLabel("L_Scale_Y", scale, m_scaleY), 1, 0);
  scaleLayout->addWidget(m_scaleY, 1, 1);

  m_maxPoints = Named<QLineEdit>("E_Max_Point_on_Line", this);
  m_gridSize = Named<QLineEdit>("E_Grid_Size", this);
  m_snapLength = Named<QLineEdit>("E_Snap_Top_Layer_Length", this);
  auto* values = new QGridLayout;
  values->addWidget(NamedLabel("L_Max_Point_on_Line", this, m_maxPoints), 0, 0);
  values->addWidget(m_maxPoints, 0, 1);
  values->addWidget(NamedLabel("L_Grid_Size", this, m_gridSize), 1, 0);
  values->addWidget(m_gridSize, 1, 1);
  values->addWidget(NamedLabel("L_Snap_Top_Layer_Length", this, m_snapLength), 2, 0);
  values->addWidget(m_snapLength, 2, 1);

  m_refAxis = Named<QCheckBox>("CB_Show_Ref_Axis", this);
  m_animation = Named<QCheckBox>("CB_Show_Failure_Animation", this);
  m_twoIntersect = Named<QCheckBox>("CB_Two_Intersect_Warning", this);

  m_swatch = Named<QLabel>("P_F_color", this);
  m_swatch->setFixedSize(48, 20);
  m_swatch->setFrameShape(QFrame::Panel);
  m_swatch->setFrameShadow(QFrame::Sunken);
  m_swatch->setAutoFillBackground(true);
  auto* colourButton = Named<QPushButton>("B_F_color_set", this);
  colourButton->setFixedWidth(32);
  auto* colourRow = new QHBoxLayout;
  colourRow->addWidget(NamedLabel("L_F_color", this));
  colourRow->addWidget(m_swatch);
  colourRow->addWidget(colourButton);
  colourRow->addStretch(1);

  auto* applyButton = Named<QPushButton>("B_Setting_Apply", this);
  auto* closeButton = Named<QPushButton>("B_Setting_Cancel", this);
  applyButton->setAutoDefault(false);
  closeButton->setAutoDefault(false);

  auto* top = new QHBoxLayout;
  top->addWidget(area, 2);
  top->addWidget(scale, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(values);
  layout->addWidget(m_refAxis);
  layout->addWidget(m_animation);
  layout->addWidget(m_twoIntersect);
  layout->addLayout(colourRow);
  layout->addLayout(ButtonRow({applyButton, closeButton}));

  connect(colourButton, &QPushButton::clicked, this, GuardedSlot([this](bool) { chooseColour(); }));
  connect(applyButton, &QPushButton::clicked, this, GuardedSlot([this](bool) { apply(); }));
  connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(&m_document.notifier(), &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));

  fill();
  retranslate();
}

void SettingDialog::fill() {
  const DrawingSettings& d = m_document.project().drawing;
  m_xmax->setText(Shortest(d.WorkAreaXmax));
  m_xmin->setText(Shortest(d.WorkAreaXmin));
  m_ymax->setText(Shortest(d.WorkAreaYmax));
  m_ymin->setText(Shortest(d.WorkAreaYmin));
  m_scaleX->setText(Shortest(d.ScaleX));
  m_scaleY->setText(Shortest(d.ScaleY));
  m_maxPoints->setText(QString::number(d.MaxPointOnLine));
  // The grid size field shows the zoom in use.
  m_gridSize->setText(QString::number(m_document.project().settings.PixelsPerUnit));
  m_snapLength->setText(Shortest(d.SnapTopLayerLength));
  m_refAxis->setChecked(d.ShowReferenceAxis != 0);
  m_animation->setChecked(d.ShowFailureAnimation != 0);
  m_twoIntersect->setChecked(d.TwoIntersectWarning != 0);
  showColour();
}

void SettingDialog::showColour() {
  QPalette palette = m_swatch->palette();
  palette.setColor(QPalette::Window, ColourFromBgr(m_document.project().drawing.SliceFillColor));
  m_swatch->setPalette(palette);
}

void SettingDialog::retranslate() {
  const std::uint8_t language = m_document.language();
  setWindowTitle(Q(CaptionText(language, "MN_Setting")));
  ApplyDialogCaptions(*this, language);
}

void SettingDialog::chooseColour() {
  const QColor current = ColourFromBgr(m_document.project().drawing.SliceFillColor);
  const std::optional<QColor> chosen = m_prompter.chooseColor(Caption(m_document.language(), "L_F_color"), current);
  if (!chosen || !chosen->isValid()) return;
  // The colour is the user's at once, without waiting for Apply.
  const int bgr = BgrFromColour(*chosen);
  m_document.updateDrawing([bgr](DrawingSettings& d) { d.SliceFillColor = bgr; });
  showColour();
}

bool SettingDialog::apply() {
  const std::uint8_t language = m_document.language();
  double xmax = 0, xmin = 0, ymax = 0, ymin = 0, scaleX = 0, scaleY = 0, snapLength = 0;
  std::int32_t maxPoints = 0, gridSize = 0;
  if (!ReadReal(m_prompter, m_document.language(), m_xmax, xmax) ||
      !ReadReal(m_prompter, m_document.language(), m_xmin, xmin) ||
      !ReadReal(m_prompter, m_document.language(), m_ymax, ymax) ||
      !ReadReal(m_prompter, m_document.language(), m_ymin, ymin) ||
      !ReadReal(m_prompter, m_document.language(), m_scaleX, scaleX) ||
      !ReadReal(m_prompter, m_document.language(), m_scaleY, scaleY) ||
      !ReadInteger(m_prompter, m_document.language(), m_maxPoints, maxPoints) ||
      !ReadInteger(m_prompter, m_document.language(), m_gridSize, gridSize) ||
      !ReadReal(m_prompter, m_document.language(), m_snapLength, snapLength)) {
    return false;
  }

  const auto refuse = [&](QLineEdit* field, const std::string& message) {
    Refuse(m_prompter, field, Q(message));
    return false;
  };
  const auto text = [language](UiText id) { return std::string(UiTextFor(language, id)); };
  const auto tooLarge = [](double upper, double lower) {
    return std::abs(upper) > kWorkAreaLimit || std::abs(lower) > kWorkAreaLimit || upper - lower > kWorkAreaLimit;
  };
  struct Range {
    double upper, lower;
    QLineEdit* field;
    const char *upperLabel, *lowerLabel;
  };
  for (const Range& r : {Range{xmax, xmin, m_xmax, "L_WorkArea_Xmax", "L_WorkArea_Xmin"},
                         Range{ymax, ymin, m_ymax, "L_WorkArea_Ymax", "L_WorkArea_Ymin"}}) {
    if (!(r.upper > r.lower)) {
      return refuse(r.field,
                    FormatText(UiTextFor(language, UiText::WorkAreaInverted),
                               {DialogCaptionText(language, r.upperLabel), DialogCaptionText(language, r.lowerLabel)}));
    }
    if (tooLarge(r.upper, r.lower)) return refuse(r.field, text(UiText::WorkAreaTooLarge));
  }
  if (!(scaleX > 0.0)) return refuse(m_scaleX, text(UiText::ScaleRefused));
  if (!(scaleY > 0.0)) return refuse(m_scaleY, text(UiText::ScaleRefused));
  if (gridSize < 1 || gridSize > kMaxGridSize) return refuse(m_gridSize, text(UiText::GridSizeRefused));

  // A large working area is questioned; OK means the user will make it
  // smaller, so that direction keeps its old limits for now.
  const QString caption = Q(UiTextFor(language, UiText::WorkingAreaCaption));
  bool keepX = false, keepY = false;
  if (xmax - xmin > kWidthQuestionLimit) {
    keepX = m_prompter.askOkCancel(caption, MessageBoxText(UiTextFor(language, UiText::WorkingAreaWidthQuestion)));
    if (keepX) m_xmax->setFocus();
  }
  if (ymax - ymin > kHeightQuestionLimit) {
    keepY = m_prompter.askOkCancel(caption, MessageBoxText(UiTextFor(language, UiText::WorkingAreaHeightQuestion)));
    if (keepY) m_ymax->setFocus();
  }

  const bool refAxis = m_refAxis->isChecked(), animation = m_animation->isChecked();
  const bool twoIntersect = m_twoIntersect->isChecked();
  m_document.updateDrawing([&](DrawingSettings& d) {
    if (!keepX) {
      d.WorkAreaXmax = xmax;
      d.WorkAreaXmin = xmin;
    }
    if (!keepY) {
      d.WorkAreaYmax = ymax;
      d.WorkAreaYmin = ymin;
    }
    d.ScaleX = scaleX;
    d.ScaleY = scaleY;
    d.MaxPointOnLine = maxPoints;
    d.GridSize = gridSize;
    d.SnapTopLayerLength = snapLength;
    d.ShowReferenceAxis = refAxis ? 1 : 0;
    d.ShowFailureAnimation = animation ? 1 : 0;
    d.TwoIntersectWarning = twoIntersect ? 1 : 0;
  });
  // Apply starts the drawing again at the grid size.
  m_document.updateSettings([gridSize](AppSettings& s) { s.PixelsPerUnit = gridSize; });
  emit applied();

  try {
    const std::filesystem::path file = SettingsFilePath();
    EnsureFolder(file.parent_path());
    WriteSettingsFile(m_document.project(), file);
  } catch (const std::exception& e) {
    m_prompter.error(ProgramTitle(), QString::fromUtf8(e.what()));
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- Analysis Setting

namespace {

struct AnalysisField {
  const char* control;
  const char* label;  // nullptr: the circle-choice combo box is its label
  bool integer;
};

// In the order the fields are read and shown.
constexpr AnalysisField kAnalysisFields[7] = {
    {Option::E_Cir_Decrement, nullptr, false},
    {Option::E_Cir_Slice, "L_Cir_Slice", true},
    {Option::E_Cir_Depth_Tallest, "L_Cir_Depth_Tallest", false},
    {Option::E_Cir_Add_Radius, "L_Cir_Add_Radius", true},
    {Option::E_NonCir_Slice, "L_NonCir_Slice", true},
    {Option::E_NonCir_Depth_Tallest, "L_NonCir_Depth_Tallest", false},
    {Option::E_Pass_Criteria, "L_Pass_Criteria", false},
};

constexpr const char* kCircleChoice = Option::CB_Circle_Decrement;

}  // namespace

AnalysisSettingDialog::AnalysisSettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document), m_prompter(prompter) {
  setObjectName(QStringLiteral("Form_Analysis_Setting"));
  setModal(true);

  for (std::size_t k = 0; k < m_fields.size(); ++k) m_fields[k] = Named<QLineEdit>(kAnalysisFields[k].control, this);
  m_choice = Named<QComboBox>(kCircleChoice, this);
  m_choice->addItem(QString());
  m_choice->addItem(QString());
  // The choice is only shown here: the data entry of the search makes it.
  m_choice->setEnabled(false);

  auto* circle = Named<QGroupBox>("GB_Circle_Properties", this);
  auto* circleLayout = new QGridLayout(circle);
  circleLayout->addWidget(m_choice, 0, 0);
  circleLayout->addWidget(m_fields[0], 0, 1);
  for (int k = 1; k <= 3; ++k) {
    QLabel* label = NamedLabel(kAnalysisFields[k].label, circle, m_fields[k]);
    circleLayout->addWidget(label, k, 0);
    circleLayout->addWidget(m_fields[k], k, 1);
    // Added radii are not searched yet.
    if (k == 3) {
      label->setEnabled(false);
      m_fields[k]->setEnabled(false);
    }
  }

  auto* surface = Named<QGroupBox>("GB_Failure_Surface_Properties", this);
  auto* surfaceLayout = new QGridLayout(surface);
  for (int k = 4; k <= 5; ++k) {
    surfaceLayout->addWidget(NamedLabel(kAnalysisFields[k].label, surface, m_fields[k]), k - 4, 0);
    surfaceLayout->addWidget(m_fields[k], k - 4, 1);
  }

  auto* criteria = new QHBoxLayout;
  criteria->addWidget(NamedLabel(kAnalysisFields[6].label, this, m_fields[6]));
  criteria->addWidget(m_fields[6]);

  auto* applyButton = Named<QPushButton>("B_Setting_Apply", this);
  auto* closeButton = Named<QPushButton>("B_Setting_Cancel", this);
  applyButton->setAutoDefault(false);
  closeButton->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(circle);
  layout->addWidget(surface);
  layout->addLayout(criteria);
  layout->addLayout(ButtonRow({applyButton, closeButton}));

  connect(applyButton, &QPushButton::clicked, this, GuardedSlot([this](bool) { apply(); }));
  connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
  ProjectNotifier& n = m_document.notifier();
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](const QString& control) {
    if (control == QLatin1String(kCircleChoice)) {
      m_choice->setCurrentIndex(m_document.project().options.itemIndex(kCircleChoice));
      return;
    }
    for (int k = 0; k < static_cast<int>(m_fields.size()); ++k) {
      if (control == QLatin1String(kAnalysisFields[k].control)) showField(k);
    }
  }));
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { showAnalysisSettings(); }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));

  showAnalysisSettings();
  retranslate();
}

void AnalysisSettingDialog::showField(int k) {
  m_fields[k]->setText(QString::fromStdString(m_document.project().options.text(kAnalysisFields[k].control)));
}

void AnalysisSettingDialog::showAnalysisSettings() {
  m_choice->setCurrentIndex(m_document.project().options.itemIndex(kCircleChoice));
  for (int k = 0; k < static_cast<int>(m_fields.size()); ++k) showField(k);
}

void AnalysisSettingDialog::retranslate() {
  const std::uint8_t language = m_document.language();
  setWindowTitle(Q(CaptionText(language, "MN_AnalysisSet")));
  ApplyDialogCaptions(*this, language);
  m_choice->setItemText(0, Q(UiTextFor(language, UiText::CircleCountItem)));
  m_choice->setItemText(1, Q(UiTextFor(language, UiText::RadiusDecrementItem)));
  m_choice->setToolTip(Q(UiTextFor(language, UiText::CircleChoiceElsewhere)));
}

bool AnalysisSettingDialog::apply() {
  // With "No. of Circle" the decrement field holds a number of circles,
  // which the search reads as a whole number.
  const bool circleCount = m_document.project().options.itemIndex(kCircleChoice) == 0;
  std::array<std::string, 7> texts;
  for (std::size_t k = 0; k < m_fields.size(); ++k) {
    const bool integer = kAnalysisFields[k].integer || (k == 0 && circleCount);
    if (integer) {
      std::int32_t value = 0;
      if (!ReadInteger(m_prompter, m_document.language(), m_fields[k], value)) return false;
      texts[k] = std::to_string(value);
    } else {
      double value = 0;
      if (!ReadReal(m_prompter, m_document.language(), m_fields[k], value)) return false;
      texts[k] = FormatShortest(value);
    }
  }
  m_document.setOptions(Q(CaptionText(m_document.language(), "MN_AnalysisSet")), [&texts](OptionValues& o) {
    for (std::size_t k = 0; k < texts.size(); ++k) o.setText(kAnalysisFields[k].control, texts[k]);
  });
  // Every field shows what is stored, also where the value did not change
  // (typed 0.010 shows 0.01).
  showAnalysisSettings();
  return true;
}

// ---------------------------------------------------------------- Page Setup

double PageWidth(int unit, bool landscape) {
  const double mm = landscape ? kA4LongMm : kA4ShortMm;
  return unit == 1 ? mm / 10.0 : mm / (10.0 * kCentimetresPerInch);
}

double PageHeight(int unit, bool landscape) {
  return PageWidth(unit, !landscape);
}

PageSetupDialog::PageSetupDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document), m_prompter(prompter) {
  setObjectName(QStringLiteral("Form_Page_Setup"));
  setModal(true);

  m_unitBox = Named<QComboBox>("CB_Unit", this);
  m_unitBox->addItem(QString());
  m_unitBox->addItem(QString());
  auto* unitRow = new QHBoxLayout;
  unitRow->addWidget(NamedLabel("L_Unit", this, m_unitBox));
  unitRow->addWidget(m_unitBox);
  unitRow->addStretch(1);

  static constexpr const char* kFieldNames[4] = {"E_Left", "E_Right", "E_Top", "E_Bottom"};
  static constexpr const char* kLabelNames[4] = {"L_Left", "L_Right", "L_Top", "L_Bottom"};
  auto* margins = Named<QGroupBox>("GB_Margins", this);
  auto* marginLayout = new QGridLayout(margins);
  for (int k = 0; k < 4; ++k) {
    m_fields[k] = Named<QLineEdit>(kFieldNames[k], margins);
    marginLayout->addWidget(NamedLabel(kLabelNames[k], margins, m_fields[k]), k / 2, (k % 2) * 2);
    marginLayout->addWidget(m_fields[k], k / 2, (k % 2) * 2 + 1);
    // The copy follows what is typed, so that a unit change converts it.
    connect(m_fields[k], &QLineEdit::textEdited, this, GuardedSlot([this, k](const QString& text) {
              double value = 0;
              if (TryStrToFloat(text.toStdString(), value)) m_margins[k] = value;
            }));
  }

  auto* orientation = Named<QGroupBox>("GB_Orientation", this);
  auto* orientationLayout = new QVBoxLayout(orientation);
  m_portrait = Named<QRadioButton>("RB_Portrait", orientation);
  m_landscapeButton = Named<QRadioButton>("RB_Landscape", orientation);
  orientationLayout->addWidget(m_portrait);
  orientationLayout->addWidget(m_landscapeButton);

  auto* ok = Named<QPushButton>("B_OK", this);
  auto* cancel = Named<QPushButton>("B_Cancel", this);
  ok->setDefault(true);

  auto* body = new QHBoxLayout;
  body->addWidget(margins, 2);
  body->addWidget(orientation, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(unitRow);
  layout->addLayout(body);
  layout->addLayout(ButtonRow({ok, cancel}));

  connect(m_unitBox, &QComboBox::activated, this, GuardedSlot([this](int index) { changeUnit(index); }));
  connect(m_portrait, &QRadioButton::clicked, this, GuardedSlot([this](bool) { changeOrientation(false); }));
  connect(m_landscapeButton, &QRadioButton::clicked, this, GuardedSlot([this](bool) { changeOrientation(true); }));
  connect(ok, &QPushButton::clicked, this, GuardedSlot([this](bool) {
            if (confirm()) accept();
          }));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(&m_document.notifier(), &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));

  const AppSettings& s = m_document.project().settings;
  m_unit = s.PageUnit == 1 ? 1 : 0;
  m_landscape = s.PageLandscape;
  m_margins = {s.PageMarginLeft, s.PageMarginRight, s.PageMarginTop, s.PageMarginBottom};
  m_unitBox->setCurrentIndex(m_unit);
  (m_landscape ? m_landscapeButton : m_portrait)->setChecked(true);
  showMargins();
  retranslate();
}

void PageSetupDialog::showMargins() {
  for (int k = 0; k < 4; ++k) m_fields[k]->setText(Shortest(m_margins[k]));
}

void PageSetupDialog::changeUnit(int unit) {
  if (unit == m_unit || (unit != 0 && unit != 1)) return;
  for (double& margin : m_margins) {
    margin = RoundHalfEven(unit == 1 ? margin * kCentimetresPerInch : margin / kCentimetresPerInch, 3);
  }
  m_unit = unit;
  showMargins();
}

void PageSetupDialog::changeOrientation(bool landscape) {
  if (landscape == m_landscape) return;
  // The margins turn with the paper, a quarter turn each way.
  const std::array<int, 4> from =
      landscape ? std::array<int, 4>{Bottom, Top, Left, Right} : std::array<int, 4>{Top, Bottom, Right, Left};
  std::array<QString, 4> texts;
  std::array<double, 4> margins{};
  for (int k = 0; k < 4; ++k) {
    texts[k] = m_fields[from[k]]->text();
    margins[k] = m_margins[from[k]];
  }
  for (int k = 0; k < 4; ++k) m_fields[k]->setText(texts[k]);
  m_margins = margins;
  m_landscape = landscape;
}

void PageSetupDialog::retranslate() {
  const std::uint8_t language = m_document.language();
  setWindowTitle(Q(CaptionText(language, "MN_PageSetup")));
  ApplyDialogCaptions(*this, language);
  m_unitBox->setItemText(0, Q(UiTextFor(language, UiText::UnitInches)));
  m_unitBox->setItemText(1, Q(UiTextFor(language, UiText::UnitCentimeters)));
}

bool PageSetupDialog::confirm() {
  const std::uint8_t language = m_document.language();
  std::array<double, 4> margins{};
  for (int k = 0; k < 4; ++k) {
    if (!ReadReal(m_prompter, m_document.language(), m_fields[k], margins[k])) return false;
  }
  for (int k = 0; k < 4; ++k) {
    if (margins[k] < 0.0) {
      Refuse(m_prompter, m_fields[k], Q(UiTextFor(language, UiText::MarginNegative)));
      return false;
    }
  }
  const double width = PageWidth(m_unit, m_landscape), height = PageHeight(m_unit, m_landscape);
  const bool tooWide = margins[Left] + margins[Right] >= width;
  if (tooWide || margins[Top] + margins[Bottom] >= height) {
    const std::string unit(UiTextFor(language, m_unit == 1 ? UiText::UnitCentimeters : UiText::UnitInches));
    const auto size = [&unit](double value) { return FormatShortest(RoundHalfEven(value, 3)) + " " + unit; };
    Refuse(m_prompter, m_fields[tooWide ? Left : Top],
           Q(FormatText(UiTextFor(language, UiText::MarginsWiderThanPage), {size(width), size(height)})));
    return false;
  }
  const int unit = m_unit;
  const bool landscape = m_landscape;
  m_document.updateSettings([&](AppSettings& s) {
    s.PageUnit = unit;
    s.PageLandscape = landscape;
    s.PageMarginLeft = margins[Left];
    s.PageMarginRight = margins[Right];
    s.PageMarginTop = margins[Top];
    s.PageMarginBottom = margins[Bottom];
  });
  return true;
}

// ---------------------------------------------------------------- entry points

void ShowSettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent,
                       const std::function<void()>& applied) {
  SettingDialog dialog(document, prompter, parent);
  if (applied) QObject::connect(&dialog, &SettingDialog::applied, &dialog, GuardedSlot([&applied] { applied(); }));
  dialog.exec();
}

void ShowAnalysisSettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent) {
  AnalysisSettingDialog dialog(document, prompter, parent);
  dialog.exec();
}

void ShowPageSetupDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent) {
  PageSetupDialog dialog(document, prompter, parent);
  dialog.exec();
}

}  // namespace pelodyn
