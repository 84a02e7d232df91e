#include "ui/forms/step_by_step_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/control_state.h"
#include "model/line_choice.h"
#include "model/numbers.h"
#include "texts/captions.h"
#include "texts/form_texts.h"
#include "texts/messages.h"
#include "ui/document/child_lookup.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/models/control_state_applier.h"
#include "ui/models/option_binding.h"
#include "ui/widgets/cover.h"
#include "ui/widgets/grid_editor.h"

namespace pelodyn {

namespace {

// The fields read as numbers: a text that is not one is named when the user
// leaves the field. Integers first.
const Option kIntegerFields[] = {Option::E_BottomLine,   Option::E_12_Division,    Option::E_23_Division,
                                 Option::E_Cir_Slice,    Option::E_Cir_Add_Radius, Option::E_NonCir_Slice,
                                 Option::E_No_Direction, Option::E_Divide_Step};
const Option kRealFields[] = {Option::E_Unit_Weight_Water,
                              Option::E_Ru_average,
                              Option::E_Kh,
                              Option::E_Kv,
                              Option::E_Water_Unit_Weight,
                              Option::E_Percent_Water,
                              Option::E_X_LeftDown,
                              Option::E_Y_LeftDown,
                              Option::E_X_RightDown,
                              Option::E_Y_RightDown,
                              Option::E_X_RightTop,
                              Option::E_Y_RightTop,
                              Option::E_Xgrid_Increment,
                              Option::E_Ygrid_Increment,
                              Option::E_X_Center,
                              Option::E_Y_Center,
                              Option::E_Radius,
                              Option::E_Xauto_Start,
                              Option::E_Yauto_Start,
                              Option::E_Xauto_Increment,
                              Option::E_Yauto_Increment,
                              Option::E_NonCir_X_Center,
                              Option::E_NonCir_Y_Center,
                              Option::E_Move_Length,
                              Option::E_Cir_Decrement,
                              Option::E_Cir_Depth_Tallest,
                              Option::E_NonCir_Depth_Tallest,
                              Option::E_Pass_Criteria};
// The analysis settings are shown in their shortest number form once typed.
const Option kShortestFields[] = {Option::E_Cir_Decrement,  Option::E_Cir_Slice,    Option::E_Cir_Depth_Tallest,
                                  Option::E_Cir_Add_Radius, Option::E_NonCir_Slice, Option::E_NonCir_Depth_Tallest,
                                  Option::E_Pass_Criteria};

bool Listed(Option option, const Option* list, std::size_t n) {
  return std::find(list, list + n, option) != list + n;
}

QLabel* Label(const QString& name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  return l;
}

QPushButton* Button(const QString& name, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  return b;
}

QComboBox* Combo(const QString& name, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  for (const FormText& t : StepFormComboItems()) {
    if (name == QLatin1String(t.name)) c->addItems(QString::fromUtf8(t.english).split(QLatin1Char('|')));
  }
  return c;
}

QCheckBox* Check(const QString& name, QWidget* parent) {
  auto* c = new QCheckBox(parent);
  c->setObjectName(name);
  return c;
}

QGroupBox* Group(const QString& name, QWidget* parent) {
  auto* g = new QGroupBox(parent);
  g->setObjectName(name);
  return g;
}

QComboBox* Combo(Option option, QWidget* parent) {
  return Combo(OptionObjectName(option), parent);
}

QCheckBox* Check(Option option, QWidget* parent) {
  return Check(OptionObjectName(option), parent);
}

QGroupBox* Group(Option option, QWidget* parent) {
  return Group(OptionObjectName(option), parent);
}

// A panel of explanation text.
QLabel* Explanation(const QString& name, QWidget* parent) {
  auto* l = Label(name, parent);
  l->setWordWrap(true);
  l->setFrameShape(QFrame::StyledPanel);
  l->setMargin(6);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setStyleSheet(QStringLiteral("QLabel { background: #ffffe8; }"));
  return l;
}

}  // namespace

StepByStepForm::StepByStepForm(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), m_document(document), m_prompter(prompter) {
  setObjectName(QStringLiteral("Form_Step_by_Step"));
  build();
  resolveCaptioned();
  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](Option) { refreshState(); }));
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] {
    m_refused.clear();
    refreshState();
  }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
  connect(&n, &ProjectNotifier::runStateChanged, this,
          GuardedSlot([this] { m_pages->setEnabled(!m_document.runInProgress()); }));
  retranslate();
  refreshState();
  m_pages->setCurrentIndex(0);
  resize(900, 620);
}

void StepByStepForm::build() {
  m_binding = new OptionBinding(m_document, this);
  auto* outer = new QVBoxLayout(this);
  auto* banner = Label(QStringLiteral("P_Step_by_Step_Top"), this);
  QFont big = banner->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.4);
  banner->setFont(big);
  banner->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  banner->setStyleSheet(QStringLiteral("QLabel { color: white; background: #000080; padding: 6px; }"));
  outer->addWidget(banner);
  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("PC_Step_by_Step"));
  outer->addWidget(m_pages, 1);
  const std::pair<const char*, QWidget*> pages[] = {
      {"TS_Project_Information", buildProjectPage()},
      {"TS_Soil_Properties", buildSoilPage()},
      {"TabSheet1", buildBottomLinePage()},
      {"TS_Seepage", buildSeepagePage()},
      {"TS_Load_Effect", buildLoadPage()},
      {"TS_Search", buildSearchPage()},
  };
  const char* const nextButtons[] = {"B_Next_Project_Name", "B_Next_Soil_Properties", "Button1", "B_Next_Seepage",
                                     "B_Next_Load_Effect"};
  int k = 0;
  for (const auto& [name, page] : pages) {
    page->setObjectName(QString::fromLatin1(name));
    auto* v = static_cast<QVBoxLayout*>(page->layout());
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    QPushButton* b = Button(QString::fromLatin1(k < 5 ? nextButtons[k] : "B_Close_Step"), page);
    if (k < 5) {
      m_nextButtons.push_back(b);
      connect(b, &QPushButton::clicked, this, GuardedSlot([this](bool) { next(); }));
    } else {
      connect(b, &QPushButton::clicked, this, &QWidget::close);
    }
    bottom->addWidget(b);
    v->addLayout(bottom);
    m_pages->addTab(page, QString());
    ++k;
  }
  // Every numeric field names a text that is not a number when it is left.
  for (QLineEdit* e : findChildren<QLineEdit*>()) {
    connect(e, &QLineEdit::editingFinished, this, GuardedSlot([this, e] { checkNumber(e); }));
  }
}

QLineEdit* StepByStepForm::edit(Option option, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(OptionObjectName(option));
  m_binding->bindText(e, option);
  return e;
}

GridEditor* StepByStepForm::addGrid(const QString& name, int table, const QStringList& titles, QWidget* parent) {
  auto* g = new GridEditor(m_document, static_cast<Table>(table), m_prompter, parent);
  g->setObjectName(name);
  g->setHeaders(titles);
  // The soil's colour is chosen with the swatch of the Soil Properties
  // dialog, not typed.
  const Table t = static_cast<Table>(table);
  if (t == Table::Soil_Prop || t == Table::Aniso)
    g->setColumnHidden(FieldColumn(t, FieldNameOf(SoilCommonField::Color)), true);
  g->setMinimumHeight(110);
  m_grids.insert(name, g);
  return g;
}

QWidget* StepByStepForm::rowButtons(const QStringList& names, const std::function<GridEditor*()>& target,
                                    QWidget* parent) {
  QWidget* box = MakeRowButtons(names, target, parent);
  static_cast<QHBoxLayout*>(box->layout())->addStretch(1);
  return box;
}

QWidget* StepByStepForm::buildProjectPage() {
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  auto* info = new QFormLayout;
  info->addRow(Label(QStringLiteral("L_Project_Name"), page), edit(Option::E_Project_Name, page));
  info->addRow(Label(QStringLiteral("L_Location"), page), edit(Option::E_Lacation, page));
  info->addRow(Label(QStringLiteral("L_Engineer"), page), edit(Option::E_Engineer, page));
  v->addLayout(info);
  auto* row = new QHBoxLayout;
  QGroupBox* theory = Group(Option::RG_Theory, page);
  auto* tv = new QVBoxLayout(theory);
  for (int i = 0; i < 4; ++i) {
    auto* r = new QRadioButton(theory);
    r->setObjectName(QStringLiteral("RG_Theory_%1").arg(i));
    tv->addWidget(r);
    connect(r, &QRadioButton::clicked, this, GuardedSlot([this, i](bool on) {
              if (on) chooseTheory(i);
            }));
  }
  row->addWidget(theory);
  QGroupBox* methods = Group(QStringLiteral("GB_Method"), page);
  auto* mv = new QVBoxLayout(methods);
  for (Option name : {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer,
                      Option::CB_Robust_Spencer}) {
    QCheckBox* c = Check(name, methods);
    m_binding->bindCheck(c, name);
    mv->addWidget(c);
  }
  row->addWidget(methods);
  v->addLayout(row);
  v->addWidget(Explanation(QStringLiteral("P_Explain_Cir"), page));
  v->addWidget(Explanation(QStringLiteral("P_Explain_NonCir"), page));
  v->addStretch(1);
  return page;
}

QWidget* StepByStepForm::buildSoilPage() {
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;
  top->addWidget(Label(QStringLiteral("L_Strength_Model"), page));
  QComboBox* model = Combo(Option::CB_Strength_Model, page);
  m_binding->bindCombo(model, Option::CB_Strength_Model);
  top->addWidget(model);
  QCheckBox* advance = Check(Option::CB_Advance_Prop_Disable, page);
  m_binding->bindCheck(advance, Option::CB_Advance_Prop_Disable);
  top->addWidget(advance);
  top->addStretch(1);
  v->addLayout(top);
  v->addWidget(Label(QStringLiteral("L_Soil_Table"), page));
  addGrid(QStringLiteral("DBG_Soil_Prop"), static_cast<int>(Table::Soil_Prop), {}, page);
  addGrid(QStringLiteral("DBG_Soil_Aniso"), static_cast<int>(Table::Aniso), {}, page);
  v->addWidget(m_grids.value(QStringLiteral("DBG_Soil_Prop")));
  v->addWidget(m_grids.value(QStringLiteral("DBG_Soil_Aniso")));
  v->addWidget(rowButtons(
      {QStringLiteral("B_Geometry_Insert"), QStringLiteral("B_Geometry_Delete"),
       QStringLiteral("B_Geometry_Clear_All")},
      [this] {
        const bool aniso = m_document.project().options.itemIndex(Option::CB_Strength_Model) == 1;
        return m_grids.value(aniso ? QStringLiteral("DBG_Soil_Aniso") : QStringLiteral("DBG_Soil_Prop"));
      },
      page));
  v->addWidget(Label(QStringLiteral("L_Geometry_Table"), page));
  v->addWidget(addGrid(QStringLiteral("DBG_Geometry"), static_cast<int>(Table::Geometry), {}, page), 1);
  v->addWidget(rowButtons(
      {QStringLiteral("Button16"), QStringLiteral("Button15"), QStringLiteral("Button11")},
      [this] { return m_grids.value(QStringLiteral("DBG_Geometry")); }, page));
  return page;
}

QWidget* StepByStepForm::buildBottomLinePage() {
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  auto* form = new QFormLayout;
  QComboBox* choose = Combo(Option::CB_Bottom_Line_Choose, page);
  m_binding->bindCombo(choose, Option::CB_Bottom_Line_Choose);
  m_bottomLine = edit(Option::E_BottomLine, page);
  form->addRow(Label(QStringLiteral("L_Bottom_Line"), page), choose);
  form->addRow(Label(QStringLiteral("L_BottomLine"), page), m_bottomLine);
  v->addLayout(form);
  v->addWidget(Label(QStringLiteral("L_Specific_Bottom_Line"), page));
  auto* grid = addGrid(QStringLiteral("DBG_Specific_Bottom_Line"), static_cast<int>(Table::Bottom_Line), {}, page);
  connect(choose, &QComboBox::activated, this, GuardedSlot([this, grid](int item) {
            if (item == 0) {
              m_bottomLine->setFocus();
            } else {
              grid->setFocus();
            }
          }));
  v->addWidget(grid, 1);
  v->addWidget(new Cover(QStringLiteral("P_Specific_Bottom_Line"), grid, page), 1);
  v->addWidget(rowButtons(
      {QStringLiteral("Button7"), QStringLiteral("Button8"), QStringLiteral("Button9")}, [grid] { return grid; },
      page));
  auto* examples = new QHBoxLayout;
  examples->addWidget(Explanation(QStringLiteral("P_EX_Bottom_LineNo"), page));
  examples->addWidget(Explanation(QStringLiteral("P_EX_Specific_Bottom_Line"), page));
  v->addLayout(examples);
  return page;
}

QWidget* StepByStepForm::buildSeepagePage() {
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  auto* form = new QFormLayout;
  QComboBox* seepage = Combo(Option::CB_Seepage, page);
  m_binding->bindCombo(seepage, Option::CB_Seepage);
  form->addRow(Label(QStringLiteral("L_Seepage"), page), seepage);
  v->addLayout(form);
  auto* columns = new QHBoxLayout;
  // The water line.
  auto* water = new QVBoxLayout;
  auto* wf = new QFormLayout;
  QComboBox* kind = Combo(Option::CB_Phreatic_Peizometric, page);
  m_binding->bindCombo(kind, Option::CB_Phreatic_Peizometric);
  wf->addRow(Label(QStringLiteral("L_WaterLine_Kind"), page), kind);
  wf->addRow(Label(QStringLiteral("L_Unit_Weight_Water"), page), edit(Option::E_Unit_Weight_Water, page));
  water->addLayout(wf);
  GridEditor* waterGrid = addGrid(QStringLiteral("DBG_Waterline"), static_cast<int>(Table::Waterline), {}, page);
  water->addWidget(waterGrid, 1);
  water->addWidget(new Cover(QStringLiteral("P_WaterLine_not_Cal"), waterGrid, page), 1);
  columns->addLayout(water, 3);
  // The pore pressure ratio.
  auto* ru = new QVBoxLayout;
  auto* rf = new QFormLayout;
  QComboBox* condition = Combo(Option::CB_Ru_Condition, page);
  m_binding->bindCombo(condition, Option::CB_Ru_Condition);
  m_ruAverage = edit(Option::E_Ru_average, page);
  rf->addRow(Label(QStringLiteral("L_Ru_Type"), page), condition);
  rf->addRow(Label(QStringLiteral("L_Ru_Value"), page), m_ruAverage);
  ru->addLayout(rf);
  GridEditor* ruGrid = addGrid(QStringLiteral("DBG_Ru_Variable"), static_cast<int>(Table::Ru_variable), {}, page);
  connect(condition, &QComboBox::activated, this, GuardedSlot([this, ruGrid](int item) {
            if (item == 0) {
              m_ruAverage->setFocus();
            } else {
              ruGrid->setFocus();
            }
          }));
  ru->addWidget(ruGrid, 1);
  ru->addWidget(new Cover(QStringLiteral("P_Ru_not_Cal"), ruGrid, page), 1);
  columns->addLayout(ru, 2);
  v->addLayout(columns, 1);
  v->addWidget(rowButtons(
      {QStringLiteral("Button2"), QStringLiteral("Button3"), QStringLiteral("Button4")},
      [this]() -> GridEditor* {
        // The buttons act on the table of the chosen seepage, on nothing without one.
        switch (m_document.project().options.itemIndex(Option::CB_Seepage)) {
          case 1:
            return m_grids.value(QStringLiteral("DBG_Waterline"));
          case 2:
            return m_grids.value(QStringLiteral("DBG_Ru_Variable"));
          default:
            return nullptr;
        }
      },
      page));
  for (const char* name : {"P_Dis_NoSeepage", "P_Dis_WaterLine", "P_Dis_Ru"}) {
    v->addWidget(Explanation(QString::fromLatin1(name), page));
  }
  return page;
}

QWidget* StepByStepForm::buildLoadPage() {
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  auto* inner = new QTabWidget(page);
  inner->setObjectName(QStringLiteral("PC_Load_Effect"));
  v->addWidget(inner, 1);

  // Seismic.
  auto* seismic = new QWidget;
  seismic->setObjectName(QStringLiteral("TS_Seismic"));
  auto* sv = new QVBoxLayout(seismic);
  QCheckBox* seismicOff = Check(Option::CB_Seismic_Disable, seismic);
  m_binding->bindCheck(seismicOff, Option::CB_Seismic_Disable);
  sv->addWidget(seismicOff);
  auto* inputs = new QWidget(seismic);
  auto* sf = new QFormLayout(inputs);
  sf->addRow(Label(QStringLiteral("L_Kh"), inputs), edit(Option::E_Kh, inputs));
  sf->addRow(Label(QStringLiteral("L_Kv"), inputs), edit(Option::E_Kv, inputs));
  sv->addWidget(inputs);
  QLabel* scale = Explanation(QStringLiteral("P_Seismic_Dis"), seismic);
  sv->addWidget(scale, 1);
  sv->addWidget(new Cover(QStringLiteral("P_Seismic_Disable"), scale, seismic), 1);
  inner->addTab(seismic, QString());

  // External loads.
  auto* loads = new QWidget;
  loads->setObjectName(QStringLiteral("TS_Ex_Load"));
  auto* lv = new QVBoxLayout(loads);
  const struct {
    Option check;
    const char *group, *grid, *cover;
    Table table;
    const char* buttons[3];
  } loadKinds[] = {
      {Option::CB_LineLoad_Disable,
       "GB_LineLoad",
       "DBG_LindLoad",
       "P_LineLoad_not_Cal",
       Table::Lineload,
       {"Button12", "Button13", "Button14"}},
      {Option::CB_StripLoad_Disable,
       "GB_StripLoad",
       "DBG_StripLoad",
       "P_StripLoad_not_Cal",
       Table::Stripload,
       {"Button10", "Button6", "Button5"}},
  };
  for (const auto& k : loadKinds) {
    QCheckBox* off = Check(k.check, loads);
    m_binding->bindCheck(off, k.check);
    lv->addWidget(off);
    QGroupBox* group = Group(QString::fromLatin1(k.group), loads);
    auto* gv = new QVBoxLayout(group);
    GridEditor* grid = addGrid(QString::fromLatin1(k.grid), static_cast<int>(k.table), {}, group);
    gv->addWidget(grid, 1);
    gv->addWidget(rowButtons(
        {QString::fromLatin1(k.buttons[0]), QString::fromLatin1(k.buttons[1]), QString::fromLatin1(k.buttons[2])},
        [grid] { return grid; }, group));
    lv->addWidget(group, 1);
    lv->addWidget(new Cover(QString::fromLatin1(k.cover), group, loads), 1);
  }
  inner->addTab(loads, QString());

  // Tension crack.
  auto* crack = new QWidget;
  crack->setObjectName(QStringLiteral("TS_Tension_Crack"));
  auto* cv = new QVBoxLayout(crack);
  QCheckBox* crackOff = Check(Option::CB_Tension_Disable, crack);
  m_binding->bindCheck(crackOff, Option::CB_Tension_Disable);
  cv->addWidget(crackOff);
  auto* crackInputs = new QWidget(crack);
  auto* cf = new QFormLayout(crackInputs);
  cf->setContentsMargins(0, 0, 0, 0);
  cf->addRow(Label(QStringLiteral("L_TCrack_Unit_Weight"), crackInputs),
             edit(Option::E_Water_Unit_Weight, crackInputs));
  cf->addRow(Label(QStringLiteral("L_TCrack_Percent"), crackInputs), edit(Option::E_Percent_Water, crackInputs));
  cv->addWidget(crackInputs);
  auto* crackTable = new QWidget(crack);
  auto* ctv = new QVBoxLayout(crackTable);
  ctv->setContentsMargins(0, 0, 0, 0);
  ctv->addWidget(Label(QStringLiteral("L_TCrack_Table"), crackTable));
  GridEditor* crackGrid = addGrid(QStringLiteral("DBG_Tension_Crack"), static_cast<int>(Table::Tcrack), {}, crackTable);
  ctv->addWidget(crackGrid, 1);
  ctv->addWidget(rowButtons(
      {QStringLiteral("Button17"), QStringLiteral("Button18"), QStringLiteral("Button19")},
      [crackGrid] { return crackGrid; }, crackTable));
  cv->addWidget(crackTable, 1);
  cv->addWidget(new Cover(QStringLiteral("P_Tcrack_not_Cal"), crackTable, crack), 1);
  inner->addTab(crack, QString());

  // Anchors.
  auto* anchor = new QWidget;
  anchor->setObjectName(QStringLiteral("TS_Anchor"));
  auto* av = new QVBoxLayout(anchor);
  QCheckBox* anchorOff = Check(Option::CB_Anchor_Disable, anchor);
  m_binding->bindCheck(anchorOff, Option::CB_Anchor_Disable);
  av->addWidget(anchorOff);
  auto* anchorBody = new QWidget(anchor);
  auto* abv = new QVBoxLayout(anchorBody);
  abv->setContentsMargins(0, 0, 0, 0);
  QGroupBox* applyAs = Group(Option::RG_Apply_as, anchorBody);
  auto* ah = new QHBoxLayout(applyAs);
  for (int i = 0; i < 2; ++i) {
    auto* r = new QRadioButton(applyAs);
    r->setObjectName(QStringLiteral("RG_Apply_as_%1").arg(i));
    m_binding->bindChoice(r, Option::RG_Apply_as, i);
    ah->addWidget(r);
  }
  abv->addWidget(applyAs);
  GridEditor* anchorGrid = addGrid(QStringLiteral("DBG_Anchor"), static_cast<int>(Table::Anchor), {}, anchorBody);
  abv->addWidget(anchorGrid, 1);
  abv->addWidget(rowButtons(
      {QStringLiteral("Button22"), QStringLiteral("Button23"), QStringLiteral("Button24")},
      [anchorGrid] { return anchorGrid; }, anchorBody));
  av->addWidget(anchorBody, 1);
  av->addWidget(new Cover(QStringLiteral("P_Anchor_not_Cal"), anchorBody, anchor), 1);
  inner->addTab(anchor, QString());
  return page;
}

QWidget* StepByStepForm::buildSearchPage() {
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  auto* columns = new QHBoxLayout;
  v->addLayout(columns, 1);

  QGroupBox* circular = Group(QStringLiteral("GB_Circular_Search"), page);
  auto* cg = new QGridLayout(circular);
  QComboBox* kind = Combo(Option::CB_Cir_Search, circular);
  m_binding->bindCombo(kind, Option::CB_Cir_Search);
  cg->addWidget(Label(QStringLiteral("L_Cir_Search"), circular), 0, 0);
  cg->addWidget(kind, 0, 1, 1, 2);
  const std::tuple<const char*, Option, Option> corners[] = {
      {"L_LeftDown", Option::E_X_LeftDown, Option::E_Y_LeftDown},
      {"L_RightDown", Option::E_X_RightDown, Option::E_Y_RightDown},
      {"L_RightTop", Option::E_X_RightTop, Option::E_Y_RightTop},
  };
  int row = 1;
  for (const auto& [label, x, y] : corners) {
    cg->addWidget(Label(QString::fromLatin1(label), circular), row, 0);
    cg->addWidget(edit(x, circular), row, 1);
    cg->addWidget(edit(y, circular), row, 2);
    ++row;
  }
  cg->addWidget(Label(QStringLiteral("L_Division"), circular), row, 0);
  cg->addWidget(edit(Option::E_12_Division, circular), row, 1);
  cg->addWidget(edit(Option::E_23_Division, circular), row, 2);
  ++row;
  QCheckBox* increment = Check(Option::CB_Grid_Increment, circular);
  m_binding->bindCheck(increment, Option::CB_Grid_Increment);
  cg->addWidget(increment, row, 0);
  auto* steps = new QWidget(circular);
  auto* sh = new QHBoxLayout(steps);
  sh->setContentsMargins(0, 0, 0, 0);
  sh->addWidget(edit(Option::E_Xgrid_Increment, steps));
  sh->addWidget(edit(Option::E_Ygrid_Increment, steps));
  cg->addWidget(steps, row, 1, 1, 2);
  cg->addWidget(new Cover(QStringLiteral("P_Grid_Increment"), steps, circular), row, 1, 1, 2);
  ++row;
  auto* specific = new QWidget(circular);
  specific->setObjectName(QStringLiteral("P_Specific_Search"));
  auto* spf = new QFormLayout(specific);
  spf->setContentsMargins(0, 0, 0, 0);
  spf->addRow(Label(QStringLiteral("L_X_Center"), specific), edit(Option::E_X_Center, specific));
  spf->addRow(Label(QStringLiteral("L_Y_Center"), specific), edit(Option::E_Y_Center, specific));
  spf->addRow(Label(QStringLiteral("L_Radius"), specific), edit(Option::E_Radius, specific));
  cg->addWidget(specific, row, 0, 1, 3);
  ++row;
  auto* automatic = new QWidget(circular);
  automatic->setObjectName(QStringLiteral("P_Auto_Search"));
  auto* apf = new QFormLayout(automatic);
  apf->setContentsMargins(0, 0, 0, 0);
  const std::pair<const char*, Option> automaticFields[] = {{"L_Xauto_Start", Option::E_Xauto_Start},
                                                            {"L_Yauto_Start", Option::E_Yauto_Start},
                                                            {"L_Xauto_Increment", Option::E_Xauto_Increment},
                                                            {"L_Yauto_Increment", Option::E_Yauto_Increment}};
  for (const auto& [label, option] : automaticFields) {
    apf->addRow(Label(QString::fromLatin1(label), automatic), edit(option, automatic));
  }
  cg->addWidget(automatic, row, 0, 1, 3);
  cg->setRowStretch(row + 1, 1);
  columns->addWidget(circular, 1);

  QGroupBox* irregular = Group(QStringLiteral("GB_NonCircular_Search"), page);
  auto* ig = new QGridLayout(irregular);
  QComboBox* irregularKind = Combo(Option::CB_NonCir_Search, irregular);
  m_binding->bindCombo(irregularKind, Option::CB_NonCir_Search);
  ig->addWidget(Label(QStringLiteral("L_NonCir_Search"), irregular), 0, 0);
  ig->addWidget(irregularKind, 0, 1, 1, 2);
  ig->addWidget(Label(QStringLiteral("L_NonCir_Center"), irregular), 1, 0);
  ig->addWidget(edit(Option::E_NonCir_X_Center, irregular), 1, 1);
  ig->addWidget(edit(Option::E_NonCir_Y_Center, irregular), 1, 2);
  GridEditor* surface =
      addGrid(QStringLiteral("DBG_NonCir_Coordi"), static_cast<int>(Table::NonCircular_Coordinate), {}, irregular);
  ig->addWidget(surface, 2, 0, 1, 3);
  ig->addWidget(rowButtons(
                    {QStringLiteral("Button27"), QStringLiteral("Button28"), QStringLiteral("Button29")},
                    [surface] { return surface; }, irregular),
                3, 0, 1, 3);
  auto* random = new QWidget(irregular);
  random->setObjectName(QStringLiteral("P_NonCir_Random_Search"));
  auto* rf = new QFormLayout(random);
  rf->setContentsMargins(0, 0, 0, 0);
  rf->addRow(Label(QStringLiteral("L_No_Direction"), random), edit(Option::E_No_Direction, random));
  rf->addRow(Label(QStringLiteral("L_Move_Length"), random), edit(Option::E_Move_Length, random));
  rf->addRow(Label(QStringLiteral("L_Divide_Step"), random), edit(Option::E_Divide_Step, random));
  QCheckBox* autoCentre = Check(Option::CB_Auto_Center, random);
  m_binding->bindCheck(autoCentre, Option::CB_Auto_Center);
  rf->addRow(autoCentre);
  ig->addWidget(random, 4, 0, 1, 3);
  columns->addWidget(irregular, 1);

  auto* right = new QVBoxLayout;
  QGroupBox* circle = Group(QStringLiteral("GB_Circle_Prop"), page);
  auto* cf = new QFormLayout(circle);
  QComboBox* decrement = Combo(Option::CB_Circle_Decrement, circle);
  m_binding->bindCombo(decrement, Option::CB_Circle_Decrement);
  cf->addRow(decrement, edit(Option::E_Cir_Decrement, circle));
  cf->addRow(Label(QStringLiteral("L_Cir_Slice"), circle), edit(Option::E_Cir_Slice, circle));
  cf->addRow(Label(QStringLiteral("L_Cir_Depth_Tallest"), circle), edit(Option::E_Cir_Depth_Tallest, circle));
  QLabel* addLabel = Label(QStringLiteral("L_Cir_Add_Radius"), circle);
  QLineEdit* addRadius = edit(Option::E_Cir_Add_Radius, circle);
  addLabel->setEnabled(false);
  addRadius->setEnabled(false);
  cf->addRow(addLabel, addRadius);
  right->addWidget(circle);
  QGroupBox* surfaceProps = Group(QStringLiteral("GB_Failure_Surface_Prop"), page);
  auto* ff = new QFormLayout(surfaceProps);
  ff->addRow(Label(QStringLiteral("L_NonCir_Slice"), surfaceProps), edit(Option::E_NonCir_Slice, surfaceProps));
  ff->addRow(Label(QStringLiteral("L_NonCir_Depth_Tallest"), surfaceProps),
             edit(Option::E_NonCir_Depth_Tallest, surfaceProps));
  right->addWidget(surfaceProps);
  auto* pass = new QFormLayout;
  pass->addRow(Label(QStringLiteral("L_Pass_Criteria"), page), edit(Option::E_Pass_Criteria, page));
  right->addLayout(pass);
  right->addStretch(1);
  columns->addLayout(right);
  return page;
}

void StepByStepForm::chooseTheory(int item) {
  // The parallel and the combined theories are not analysed: the choice
  // returns to circular failure.
  if (item == 0 || item == 3) {
    m_prompter.information(ProgramTitle(), MessageBoxText(MessageText(m_document.language(), 13)));
    item = 1;
  }
  m_document.setOptions(QStringLiteral("Theory"), [item](OptionValues& o) {
    o.setItemIndex(Option::RG_Theory, item);
    ApplyOptionRules(o, Option::RG_Theory);
  });
  refreshState();
}

void StepByStepForm::next() {
  const int page = m_pages->currentIndex();
  if (page == 1) {
    const LineChoice choice = PrepareLineChoice(m_document.projectForAnalysis());
    for (int message : choice.messages) {
      m_prompter.error(ProgramTitle(), MessageBoxText(LineChoiceText(m_document.project(), message)));
    }
    if (!choice.entries.empty()) emit lineChoicePrepared();
  }
  m_pages->setCurrentIndex(std::min(page + 1, m_pages->count() - 1));
}

void StepByStepForm::checkNumber(QLineEdit* edit) {
  const std::optional<Option> found = FindOption(edit->objectName().toStdString());
  if (!found) return;
  const Option name = *found;
  const bool integer = Listed(name, kIntegerFields, std::size(kIntegerFields));
  if (!integer && !Listed(name, kRealFields, std::size(kRealFields))) return;
  const std::string text = edit->text().toStdString();
  try {
    const std::string shortest = integer ? std::to_string(StrToInt(text)) : FormatShortest(StrToFloat(text));
    m_refused.remove(edit);
    // The analysis settings show their value in its shortest form once the
    // typing ends (0.010 becomes 0.01); other fields keep what was typed.
    if (Listed(name, kShortestFields, std::size(kShortestFields)) && shortest != text) {
      m_document.setOptionText(name, QString::fromStdString(shortest));
    }
  } catch (ConversionError& e) {
    if (m_refused.value(edit) == edit->text()) return;
    m_refused.insert(edit, edit->text());
    e.setField(OptionName(name));
    m_prompter.error(ProgramTitle(), QString::fromStdString(e.message(m_document.language())));
  }
}

void StepByStepForm::refreshState() {
  const OptionValues& o = m_document.project().options;
  ApplyControlStates(this, ControlWindow::Step, ControlStates(o, m_document.language()), StateTexts::Skip);
  // The form's own panels: the circular search kind's fields and the
  // increment's cover.
  const int circularKind = o.itemIndex(Option::CB_Cir_Search);
  m_specificSearch->setVisible(circularKind == 1);
  m_autoSearch->setVisible(circularKind == 2);
  m_incrementCover->setVisible(!o.checked(Option::CB_Grid_Increment));
}

void StepByStepForm::resolveCaptioned() {
  m_specificSearch = RequireChild<QWidget>(*this, "P_Specific_Search");
  m_autoSearch = RequireChild<QWidget>(*this, "P_Auto_Search");
  m_incrementCover = RequireChild<QWidget>(*this, "P_Grid_Increment");
  m_captions.resolve(*this, StepFormTexts());
  for (const FormText& c : StepFormComboItems()) {
    // The load type and the anchor's kind are combo boxes of the input
    // strip; the form shows the anchor's kind as radio buttons.
    const std::string_view name(c.name);
    if (name == "CB_Load_Type" || name == OptionName(Option::RG_Apply_as)) continue;
    m_comboItems.emplace_back(RequireChild<QComboBox>(*this, c.name), &c);
  }
  for (const FormText& g : StepFormGridTitles()) {
    if (!m_grids.value(QString::fromLatin1(g.name.data(), static_cast<qsizetype>(g.name.size())))) {
      throw std::logic_error("window " + objectName().toStdString() + " has no grid " + std::string(g.name));
    }
  }
  const char* const rowButtonNames[][3] = {
      {"B_Geometry_Insert", "B_Geometry_Delete", "B_Geometry_Clear_All"},
      {"Button16", "Button15", "Button11"},
      {"Button7", "Button8", "Button9"},
      {"Button2", "Button3", "Button4"},
      {"Button12", "Button13", "Button14"},
      {"Button10", "Button6", "Button5"},
      {"Button17", "Button18", "Button19"},
      {"Button22", "Button23", "Button24"},
      {"Button27", "Button28", "Button29"},
  };
  for (const auto& names : rowButtonNames) {
    std::array<QPushButton*, 3> buttons{};
    for (int i = 0; i < 3; ++i) buttons[i] = RequireChild<QPushButton>(*this, names[i]);
    m_rowButtons.push_back(buttons);
  }
}

void StepByStepForm::retranslate() {
  ++m_retranslateCount;
  const std::uint8_t language = m_document.language();
  const bool thai = language == kLanguageThai;
  m_captions.apply(language);
  for (const auto& [combo, c] : m_comboItems) {
    const QStringList items = QString::fromUtf8(thai ? c->thai : c->english).split(QLatin1Char('|'));
    for (int i = 0; i < items.size() && i < combo->count(); ++i) combo->setItemText(i, items[i]);
  }
  for (const FormText& g : StepFormGridTitles()) {
    m_grids.value(QString::fromLatin1(g.name.data(), static_cast<qsizetype>(g.name.size())))
        ->setHeaders(QString::fromUtf8(thai ? g.thai : g.english).split(QLatin1Char('|')));
  }
  const QString nextText = QString::fromUtf8(UiTextFor(language, UiText::StepNext).data());
  for (QPushButton* b : m_nextButtons) b->setText(nextText);
  const QString rowTexts[] = {QString::fromUtf8(UiTextFor(language, UiText::InsertRow).data()),
                              QString::fromUtf8(UiTextFor(language, UiText::DeleteRow).data()),
                              QString::fromUtf8(UiTextFor(language, UiText::ClearAllRows).data())};
  for (const auto& buttons : m_rowButtons) {
    for (int i = 0; i < 3; ++i) buttons[i]->setText(rowTexts[i]);
  }
  SetAppendTexts(this, language);
}

void StepByStepForm::showEvent(QShowEvent* event) {
  refreshState();
  QWidget::showEvent(event);
}

}  // namespace pelodyn
