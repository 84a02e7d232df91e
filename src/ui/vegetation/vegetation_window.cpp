#include "ui/vegetation/vegetation_window.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "model/numbers.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/form_texts.h"
#include "texts/messages.h"
#include "ui/document/child_lookup.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/widgets/grid_editor.h"

namespace pelodyn {
namespace {

// The text boxes and their first texts.
const std::pair<const char*, const char*> kBoxes[] = {
    {"E_Original_Cohesion", "2"}, {"E_Layer_Height", "0.5"},    {"E_Min_Area_X", "0"},   {"E_Min_Area_Y", "0"},
    {"E_Max_Area_X", "2"},        {"E_Max_Area_Y", "30.02"},    {"E_Hor_Grid_No", "2"},  {"E_Ver_Grid_No", "26"},
    {"E_Hor_SmallGrid_No", "10"}, {"E_Ver_SmallGrid_No", "10"}, {"E_Eff_Width_No", "2"}, {"E_Eff_Length_No", "26"},
};

QLabel* Label(const char* name, QWidget* parent, QHash<QString, QLabel*>& labels) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  labels.insert(l->objectName(), l);
  return l;
}

// The rows of the soil table whose cohesion differs between `before` and
// `after` (an Export changes no row count), as the notice lists them.
QString ExportChanges(const std::vector<Row>& before, const std::vector<Row>& after, std::uint8_t language) {
  std::string lines;
  for (std::size_t k = 0; k < before.size() && k < after.size(); ++k) {
    const double was = before[k].real(SoilField::Cohesion), now = after[k].real(SoilField::Cohesion);
    if (was == now) continue;
    if (!lines.empty()) lines += '\r';
    lines += FormatText(UiTextFor(language, UiText::VegetationSoilChanged),
                        {std::to_string(after[k].integer(SoilCommonField::LineNo)), std::to_string(k + 1),
                         FormatShortest(was), FormatShortest(now)});
  }
  if (lines.empty()) return MessageBoxText(UiTextFor(language, UiText::VegetationNothingChanged));
  return MessageBoxText(FormatText(UiTextFor(language, UiText::VegetationExported), {lines}));
}

}  // namespace

VegetationWindow::VegetationWindow(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_document(document), m_prompter(prompter) {
  setObjectName(QStringLiteral("Form_PdVegetation"));
  auto* outer = new QVBoxLayout(this);
  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("PC_Vegetation"));
  outer->addWidget(m_pages, 1);

  for (const auto& [name, text] : kBoxes) {
    auto* e = new QLineEdit(QString::fromLatin1(text), this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(90);
    m_boxes.insert(e->objectName(), e);
  }
  const auto Label = [this](const char* name, QWidget* parent) { return pelodyn::Label(name, parent, m_labels); };
  const auto grid = [&](Table table, const char* name, QWidget* page) {
    auto* g = new GridEditor(document, table, prompter, page);
    g->setObjectName(QString::fromLatin1(name));
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
  };
  const auto rowButtons = [this](const char* prefix, GridEditor* g, QWidget* page) {
    const QString p = QString::fromLatin1(prefix);
    const QStringList names = {p + QStringLiteral("_Insert"), p + QStringLiteral("_Delete"),
                               p + QStringLiteral("_Clear")};
    QWidget* row = MakeRowButtons(
        names, [g] { return g; }, page);
    std::array<QPushButton*, 3> buttons{};
    for (int k = 0; k < 3; ++k) buttons[k] = RequireChild<QPushButton>(*row, names[k]);
    m_rowButtons.push_back(buttons);
    return row;
  };

  // Root Properties: the root types and their radii per layer.
  auto* properties = new QWidget(m_pages);
  properties->setObjectName(QStringLiteral("TS_Root_Properties"));
  auto* pv = new QGridLayout(properties);
  m_rootNo = grid(Table::Root_No, "DBG_Root_No", properties);
  m_rootLayer = grid(Table::Root_Layer, "DBG_Root_Layer", properties);
  pv->addWidget(Label("L_Root_No", properties), 0, 0);
  pv->addWidget(m_rootNo, 1, 0);
  pv->addWidget(rowButtons("B_RootNo", m_rootNo, properties), 2, 0);
  pv->addWidget(Label("L_Root_Layer", properties), 0, 1);
  pv->addWidget(m_rootLayer, 1, 1);
  pv->addWidget(rowButtons("B_RootLayer", m_rootLayer, properties), 2, 1);
  auto* soil = new QHBoxLayout;
  soil->addWidget(Label("L_Original_Cohesion", properties));
  soil->addWidget(box("E_Original_Cohesion"));
  soil->addSpacing(24);
  soil->addWidget(Label("L_Layer_Height", properties));
  soil->addWidget(box("E_Layer_Height"));
  soil->addStretch(1);
  pv->addLayout(soil, 3, 0, 1, 2);
  m_pages->addTab(properties, QString());

  // Root Position: the plants, the area and its grid.
  auto* position = new QWidget(m_pages);
  position->setObjectName(QStringLiteral("TS_Root_Position"));
  auto* qh = new QHBoxLayout(position);
  auto* plants = new QVBoxLayout;
  m_rootPosition = grid(Table::Root_Position, "DBG_Root_Position", position);
  plants->addWidget(Label("L_Root_Position", position));
  plants->addWidget(m_rootPosition, 1);
  plants->addWidget(rowButtons("B_RootPosition", m_rootPosition, position));
  qh->addLayout(plants, 3);
  auto* area = new QGroupBox(position);
  area->setObjectName(QStringLiteral("GB_Area"));
  auto* form = new QGridLayout(area);
  int row = 0;
  const auto pair = [&](const char* label, const char* first, const char* second) {
    form->addWidget(Label(label, area), row, 0);
    form->addWidget(box(first), row, 1);
    if (second) form->addWidget(box(second), row, 2);
    ++row;
  };
  pair("L_Min_Area", "E_Min_Area_X", "E_Min_Area_Y");
  pair("L_Max_Area", "E_Max_Area_X", "E_Max_Area_Y");
  pair("L_Hor_Grid_No", "E_Hor_Grid_No", nullptr);
  pair("L_Ver_Grid_No", "E_Ver_Grid_No", nullptr);
  pair("L_Hor_SmallGrid_No", "E_Hor_SmallGrid_No", nullptr);
  pair("L_Ver_SmallGrid_No", "E_Ver_SmallGrid_No", nullptr);
  pair("L_Eff_Width_No", "E_Eff_Width_No", nullptr);
  pair("L_Eff_Length_No", "E_Eff_Length_No", nullptr);
  form->setRowStretch(row, 1);
  qh->addWidget(area, 2);
  m_pages->addTab(position, QString());

  // Results: the report and the three buttons.
  auto* results = new QWidget(m_pages);
  results->setObjectName(QStringLiteral("TS_Results"));
  auto* rh = new QHBoxLayout(results);
  m_report = new QPlainTextEdit(results);
  m_report->setObjectName(QStringLiteral("M_Result"));
  m_report->setReadOnly(true);
  m_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  rh->addWidget(m_report, 1);
  auto* actions = new QVBoxLayout;
  QPushButton* actionButtons[3] = {};
  int action = 0;
  for (const char* name : {"B_Gen_VegEff", "B_Export", "B_Restore"}) {
    auto* b = new QPushButton(results);
    b->setObjectName(QString::fromLatin1(name));
    actions->addWidget(b);
    actionButtons[action++] = b;
  }
  actions->addStretch(1);
  rh->addLayout(actions);
  m_pages->addTab(results, QString());

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  auto* close = new QPushButton(this);
  close->setObjectName(QStringLiteral("B_Close"));
  bottom->addWidget(close);
  outer->addLayout(bottom);

  connect(actionButtons[0], &QPushButton::clicked, this, GuardedSlot([this](bool) { generate(); }));
  connect(actionButtons[1], &QPushButton::clicked, this, GuardedSlot([this](bool) { exportCohesion(); }));
  connect(actionButtons[2], &QPushButton::clicked, this, GuardedSlot([this](bool) { restoreSoils(); }));
  connect(close, &QPushButton::clicked, this, GuardedSlot([this](bool) { reject(); }));
  // A new or opened project has no backup and no results of its own: what
  // Export wrote into the previous one, and the cohesions generated from
  // it, are forgotten, so Export never writes them into another project.
  connect(&document.notifier(), &ProjectNotifier::projectReset, this, GuardedSlot([this] {
    m_exported.clear();
    m_result.reset();
    m_report->clear();
  }));
  connect(&document.notifier(), &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));

  m_captions.resolve(*this, VegetationFormTexts());
  retranslate();
  resize(760, 480);
}

void VegetationWindow::generate() {
  const std::uint8_t language = m_document.language();
  const char* reading = nullptr;  // the box being read
  const auto text = [this, &reading](const char* name) {
    reading = name;
    return box(name)->text().toStdString();
  };
  // In the order the boxes are read; the first that does not convert stops,
  // named by the label beside it.
  VegetationGrid g;
  try {
    g.maxX = StrToFloat(text("E_Max_Area_X"));
    g.minX = StrToFloat(text("E_Min_Area_X"));
    g.maxY = StrToFloat(text("E_Max_Area_Y"));
    g.minY = StrToFloat(text("E_Min_Area_Y"));
    g.rows = StrToInt(text("E_Ver_Grid_No"));
    g.columns = StrToInt(text("E_Hor_Grid_No"));
    g.minorRows = StrToInt(text("E_Ver_SmallGrid_No"));
    g.minorColumns = StrToInt(text("E_Hor_SmallGrid_No"));
    g.windowColumns = StrToInt(text("E_Eff_Width_No"));
    g.windowRows = StrToInt(text("E_Eff_Length_No"));
    g.soilCohesion = StrToFloat(text("E_Original_Cohesion"));
  } catch (const ConversionError& e) {
    m_prompter.error(windowTitle(), boxLabel(reading) + QString::fromStdString(e.message(language)));
    return;
  }
  const WorkingStore& store = *m_document.project().store;
  try {
    const RootData roots = GatherRoots(store.rows(Table::Root_No), store.rows(Table::Root_Layer),
                                       store.rows(Table::Root_Position), language);
    m_result = GenerateVegetationEffect(roots, g, language);
  } catch (const VegetationError& e) {
    m_prompter.error(windowTitle(), Q(e.what()));
    return;
  }
  QStringList lines;
  for (const std::string& line : m_result->report) lines << Q(line);
  m_report->setPlainText(lines.join(QLatin1Char('\n')));
}

QString VegetationWindow::boxLabel(const char* box) const {
  // E_Eff_Width_No is labelled by L_Eff_Width_No; the area's corners share
  // one label for X and Y.
  QString name = QString::fromLatin1(box);
  QString axis;
  if (name.endsWith(QLatin1String("_X")) || name.endsWith(QLatin1String("_Y"))) {
    axis = QLatin1Char(' ') + name.right(1);
    name.chop(2);
  }
  name.replace(0, 2, QStringLiteral("L_"));
  const QLabel* label = m_labels.value(name, nullptr);
  if (label == nullptr) return {};
  QString text = label->text().trimmed();
  if (text.endsWith(QLatin1Char('='))) text.chop(1);
  return text.trimmed() + axis + QStringLiteral(": ");
}

void VegetationWindow::exportCohesion() {
  const std::uint8_t language = m_document.language();
  if (!m_result) {
    m_prompter.error(windowTitle(), Q(VegetationMessage(VegetationText::ExportBeforeGenerate, language)));
    return;
  }
  const WorkingStore& store = *m_document.project().store;
  ExportPlan plan;
  try {
    plan = PlanExport(*m_result, store.rows(Table::Soil_Prop), store.rows(Table::Soil_Prop_Bak), m_exported, language);
  } catch (const VegetationError& e) {
    m_prompter.error(windowTitle(), Q(e.what()));
    return;
  }
  const QString changes = ExportChanges(store.rows(Table::Soil_Prop), plan.soils, language);
  m_document.replaceTables(QStringLiteral("Export vegetation cohesion"),
                           {{Table::Soil_Prop_Bak, std::move(plan.backup)}, {Table::Soil_Prop, std::move(plan.soils)}});
  m_exported = std::move(plan.exported);
  // What changed, so the user need not compare the soil table by eye.
  m_prompter.information(windowTitle(), changes);
  if (m_document.project().options.itemIndex(Option::CB_Strength_Model) == 1) {
    m_prompter.information(windowTitle(), Q(VegetationMessage(VegetationText::AnisotropicModel, language)));
  }
}

void VegetationWindow::restoreSoils() {
  const std::uint8_t language = m_document.language();
  const WorkingStore& store = *m_document.project().store;
  if (store.rowCount(Table::Soil_Prop_Bak) == 0) {
    m_prompter.information(windowTitle(), Q(VegetationMessage(VegetationText::NoBackup, language)));
    return;
  }
  const RestorePlan plan = PlanRestore(store.rows(Table::Soil_Prop), m_exported);
  m_document.replaceTables(QStringLiteral("Restore soil properties"),
                           {{Table::Soil_Prop, plan.soils}, {Table::Soil_Prop_Bak, {}}});
  m_exported.clear();
  if (plan.restored == 0) {
    m_prompter.information(windowTitle(), Q(VegetationMessage(VegetationText::NothingRestored, language)));
  }
}

QLineEdit* VegetationWindow::box(const char* name) const {
  QLineEdit* e = m_boxes.value(QString::fromLatin1(name), nullptr);
  if (!e) throw std::logic_error(std::string("window Form_PdVegetation has no text box ") + name);
  return e;
}

void VegetationWindow::retranslate() {
  ++m_retranslateCount;
  const std::uint8_t language = m_document.language();
  const bool thai = language == kLanguageThai;
  setWindowTitle(Q(std::string(UiTextFor(language, UiText::VegetationCaption))));
  m_captions.apply(language);
  for (const FormText& t : VegetationGridTitles()) {
    for (GridEditor* grid : {m_rootNo, m_rootLayer, m_rootPosition}) {
      if (grid->objectName() == QLatin1String(t.name)) {
        grid->setHeaders(QString::fromUtf8(thai ? t.thai : t.english).split(QLatin1Char('|')));
      }
    }
  }
  const QString rowTexts[] = {Q(std::string(UiTextFor(language, UiText::InsertRow))),
                              Q(std::string(UiTextFor(language, UiText::DeleteRow))),
                              Q(std::string(UiTextFor(language, UiText::ClearAllRows)))};
  for (const auto& buttons : m_rowButtons) {
    for (int i = 0; i < 3; ++i) buttons[i]->setText(rowTexts[i]);
  }
  SetAppendTexts(this, language);
}

}  // namespace pelodyn
