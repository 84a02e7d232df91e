#include "ui/shell/input_strip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/document/guard.h"

namespace pelodyn {

namespace {

// One control of a panel, in the order it appears left to right.
struct Field {
  enum Kind { Label, Edit, Check, Radio, Combo, Button, Grid, Memo, Swatch, Navigator, Group, EndGroup };
  Kind kind;
  std::string_view name;
  const char* text = "";
  const char* items = "";  // combo items separated by '|'
  bool checked = false;
  bool enabled = true;
  bool visible = true;
};

struct PanelDef {
  const char* name;
  const char* titleName;
  const char* title;
  std::vector<Field> fields;
};

using F = Field;

// The panels with their built-in English texts; the language switch writes
// the captions table over them.
const std::vector<PanelDef>& PanelDefs() {
  static const std::vector<PanelDef> defs = {
      {"P_Theory",
       "L_Top_Theory",
       "Theory",
       {{F::Radio, "RB_Circular", "Circular Failure", "", true},
        {F::Radio, "RB_NonCir", "Irregular Failure"},
        {F::Radio, "RB_Infinite", "Parallel Failure", "", false, false},
        {F::Radio, "RB_Cir_NonCir", "Circular and Irregular Failure", "", false, false},
        {F::Button, "B_Theory_Close", "&Close"}}},
      {"P_Method",
       "L_Top_Method",
       "Method",
       {{F::Check, OptionTwinName(Option::CB_Ordinary), "Ordinary Method"},
        {F::Check, OptionTwinName(Option::CB_Simp_Janbu), "Simplified Janbu", "", true},
        {F::Check, OptionTwinName(Option::CB_Simp_Bishop), "Simplified Bishop", "", true},
        {F::Check, OptionTwinName(Option::CB_Spencer), "Spencer", "", true},
        {F::Button, "B_Method_OK", "&Close"}}},
      {"P_Draw_Line",
       "L_Panel_Draw",
       "Draw Line",
       {{F::Label, "L_DrawLine_No", "Soil No."},
        {F::Combo, "CB_Line_No"},
        {F::Swatch, "P_Color"},
        {F::Label, "L_Description", ": Description"},
        {F::Button, "B_DrawLine_Cancel", "&Close"}}},
      {"P_Top_Draw_Grid",
       "L_Top_Draw_Grid",
       "Draw Grid",
       {{F::Label, "L_Div12", "Division between 1 and 2 ="},
        {F::Edit, OptionName(Option::E_12_Division), "5"},
        {F::Label, "L_Div23", "Division between 2 and 3 ="},
        {F::Edit, OptionName(Option::E_23_Division), "5"},
        {F::Check, OptionName(Option::CB_Grid_Increment), "Increment"},
        {F::Label, "P_Grid_Increment", "Disable"},
        {F::Label, "L_Xgrid_Increment", "X axis"},
        {F::Edit, OptionName(Option::E_Xgrid_Increment), "1"},
        {F::Label, "L_Ygrid_Increment", "Y axis"},
        {F::Edit, OptionName(Option::E_Ygrid_Increment), "1"},
        {F::Button, "B_DrawGrid_OK", "&Apply"},
        {F::Button, "B_DrawGrid_Close", "&Close"}}},
      {"P_Top_NonCir",
       "L_Top_NonCir",
       "Non Circular Search",
       {{F::Radio, "RB_Specific_Search", "Specific Search"},
        {F::Radio, "RB_Random_Search", "Random Search", "", true},
        {F::Button, "B_NonCir_Draw", "&Draw"},
        {F::Check, OptionName(Option::CB_Moving_Center), "Moving Center", "", false, true, false},
        {F::Group, "GB_Moving_Center", "", "", false, true, false},
        {F::Edit, OptionName(Option::E_MCX), "1"},
        {F::Edit, OptionName(Option::E_MCY), "1"},
        {F::Edit, OptionName(Option::E_Bound_L), "0"},
        {F::Edit, OptionName(Option::E_Bound_R), "0"},
        {F::EndGroup, ""},
        {F::Button, "B_NonCir_Close", "&Close"}}},
      {"P_Top_Auto_Search",
       "L_Top_AutoCir",
       "Circular Automatic Search",
       {{F::Label, "L_X_Inc", "X Increment"},
        {F::Edit, OptionName(Option::E_Xauto_Increment), "1"},
        {F::Label, "L_Y_Inc", "Y Increment"},
        {F::Edit, OptionName(Option::E_Yauto_Increment), "1"},
        {F::Button, "B_AutoCir_Close", "&Close"}}},
      {"P_Ru",
       "L_Top_PPR",
       "Pore Pressure Ratio",
       {{F::Label, "L_Ru_Value", "Ru Condition"},
        {F::Combo, OptionName(Option::CB_Ru_Condition), "", "Average|Variable"},
        {F::Edit, OptionName(Option::E_Ru_average), "0"},
        {F::Grid, "DBG_Ru_Variable", "", "", false, true, false},
        {F::Button, "B_PPR_Close", "&Close"}}},
      {"P_Water_Line",
       "L_Top_WaterLine",
       "Water Line",
       {{F::Combo, OptionTwinName(Option::CB_Phreatic_Peizometric), "", "Phreatic Line|Piezometric Line"},
        {F::Label, "L_WUW", "Water Unit Weight"},
        {F::Edit, OptionName(Option::E_Water_Unit_Weight), "1.0"},
        {F::Button, "B_WaterLine_Draw", "&Draw"},
        {F::Button, "B_WaterLine_Close", "&Close"}}},
      {"P_Seismic",
       "L_Top_Seismic",
       "Seismic Load",
       {{F::Label, "L_Seismic_kh", "kh"},
        {F::Edit, OptionName(Option::E_Kh), "0"},
        {F::Label, "L_Seismic_kv", "kv"},
        {F::Edit, OptionName(Option::E_Kv), "0"},
        {F::Button, "B_Seismic_Close", "&Close"}}},
      {"P_TCrack",
       "L_Top_Tcrack",
       "Tension Crack",
       {{F::Label, "L_Tcrack_WUW", "Water Unit Weight"},
        {F::Edit, OptionTwinName(Option::E_Water_Unit_Weight), "1.0"},
        {F::Label, "L_Tcrack_Per", "Percent of Water"},
        {F::Edit, OptionName(Option::E_Percent_Water), "0"},
        {F::Button, "Button1", "&Draw"},
        {F::Button, "B_Tcrack_Close", "&Close"}}},
      {"P_ExLoad",
       "L_Top_ExLoad",
       "External Load",
       {{F::Label, "L_ExLoad_LoadType", "Load Type"},
        {F::Combo, "CB_Load_Type", "", "Line Load|Strip Load"},
        {F::Group, "P_LineLoad"},
        {F::Label, "L_LL_LoadNo", "Load No."},
        {F::Edit, "DBE_LineLoad_Num"},
        {F::Label, "L_LL_Mag", "Magnitude"},
        {F::Edit, "DBE_LineLoad_Mag"},
        {F::Label, "L_LL_Ang", "Angle"},
        {F::Edit, "DBE_LineLoad_Ang"},
        {F::Navigator, "DBNav_LineLoad"},
        {F::Button, "B_LL_New", "&New Line Load"},
        {F::Button, "B_LIneLoad_Draw", "&Draw", "", false, false},
        {F::Button, "B_LineLoad_OK", "&OK", "", false, false},
        {F::Button, "B_LineLoad_Edit", "&Edit"},
        {F::Button, "B_LineLoad_del", "&Delete"},
        {F::Button, "B_LineLoad_cancel", "&Close"},
        {F::EndGroup, ""},
        {F::Group, "P_StripLoad", "", "", false, true, false},
        {F::Label, "L_SL_LoadNo", "Load No."},
        {F::Edit, "DBE_StripLoad_Num"},
        {F::Label, "L_SL_Mag", "Magnitude"},
        {F::Edit, "DBE_StripLoad_Mag"},
        {F::Navigator, "DBNav_StripLoad"},
        {F::Button, "B_StripLoad_New", "&New Strip Load"},
        {F::Button, "B_StripLoad_Draw", "&Draw", "", false, false},
        {F::Button, "B_StripLoad_OK", "&OK", "", false, false},
        {F::Button, "B_StripLoad_Edit", "&Edit"},
        {F::Button, "B_StripLoad_Del", "&Delete"},
        {F::Button, "BB_StripLoad_cancel", "&Close"},
        {F::EndGroup, ""}}},
      {"P_Anchor",
       "L_Top_Anchor",
       "Anchor or Geofabric",
       {{F::Label, "L_Anchor_Type", "Apply Magnitude as"},
        {F::Combo, OptionTwinName(Option::RG_Apply_as), "", "Variable|Constant"},
        {F::Label, "L_Anchor_LoadNo", "Load No."},
        {F::Edit, "DBE_Anchor_Num"},
        {F::Label, "L_Anchor_Mag", "Magnitude"},
        {F::Edit, "DBE_Anchor_Mag"},
        {F::Label, "L_Anchor_BL", "Bonded Length"},
        {F::Edit, "DBE_Anchor_BL"},
        {F::Navigator, "DBNav_Anchor"},
        {F::Button, "B_Anchor_New", "&New Anchor"},
        {F::Button, "B_Anchor_Draw", "&Draw", "", false, false},
        {F::Button, "B_Anchor_OK", "&OK", "", false, false},
        {F::Button, "B_Anchor_Edit", "&Edit"},
        {F::Button, "B_Anchor_Del", "&Delete"},
        {F::Button, "B_Anchor_Cancel", "&Close"}}},
      {"P_Top_NonCir_Axis",
       "L_Top_NonCir_Axis",
       "Non Circular Axis",
       {{F::Check, OptionName(Option::CB_Auto_Center), "Automatic Center"},
        {F::Button, "B_NonCir_Axis_Close", "&Close"}}},
      {"P_Top_Project_Inf",
       "L_Project_Inf",
       "Project Information",
       {{F::Label, "L_Project_Name", "Project Name"},
        {F::Edit, OptionName(Option::E_Project_Name), "New Project"},
        {F::Label, "L_Location", "Location"},
        {F::Edit, OptionTwinName(Option::E_Lacation), "New Location"},
        {F::Label, "L_Engineer", "Engineer"},
        {F::Edit, OptionName(Option::E_Engineer), "New Engineer"},
        {F::Button, "B_Project_Inf_Close", "&Close"}}},
      {"P_Verify_Data",
       "L_Top_Verify",
       "Verify Data",
       {{F::Memo, "Mm_Verify_Data"}, {F::Button, "B_Verify_Close", "&Close"}}},
      {"P_Contour_Setting",
       "L_Top_Contour",
       "Contour Setting",
       {{F::Label, "L_Contour_Int", "Contour Interval"},
        {F::Edit, "E_Contour_Interval", "1.0"},
        {F::Label, "L_Max_Contour", "Max. Contour Value"},
        {F::Edit, "E_Max_Interval", "10"},
        {F::Label, "L_Min_Contour", "Min. Contour Value"},
        {F::Edit, "E_Min_Interval", "1"},
        {F::Button, "B_Contour_Setting_OK", "&Close"}}},
  };
  return defs;
}

QWidget* MakeField(const Field& f, QWidget* parent) {
  QWidget* w = nullptr;
  switch (f.kind) {
    case Field::Label:
      w = new QLabel(QString::fromUtf8(f.text), parent);
      break;
    case Field::Edit: {
      auto* e = new QLineEdit(QString::fromUtf8(f.text), parent);
      e->setMinimumWidth(40);
      e->setMaximumWidth(110);
      w = e;
      break;
    }
    case Field::Check: {
      auto* c = new QCheckBox(QString::fromUtf8(f.text), parent);
      c->setChecked(f.checked);
      w = c;
      break;
    }
    case Field::Radio: {
      auto* r = new QRadioButton(QString::fromUtf8(f.text), parent);
      r->setChecked(f.checked);
      w = r;
      break;
    }
    case Field::Combo: {
      auto* c = new QComboBox(parent);
      const QString items = QString::fromUtf8(f.items);
      if (!items.isEmpty()) c->addItems(items.split(QLatin1Char('|')));
      w = c;
      break;
    }
    case Field::Button:
      w = new QPushButton(QString::fromUtf8(f.text), parent);
      break;
    case Field::Grid: {
      auto* t = new QTableView(parent);
      t->setMaximumHeight(60);
      w = t;
      break;
    }
    case Field::Memo: {
      auto* m = new QPlainTextEdit(parent);
      m->setReadOnly(true);
      m->setMaximumHeight(60);
      w = m;
      break;
    }
    case Field::Swatch: {
      auto* s = new QFrame(parent);
      s->setFixedSize(24, 18);
      s->setFrameShape(QFrame::Box);
      s->setAutoFillBackground(true);
      w = s;
      break;
    }
    case Field::Navigator: {
      // The record navigator of the load editors: first, previous, next, last.
      auto* nav = new QWidget(parent);
      auto* l = new QHBoxLayout(nav);
      l->setContentsMargins(0, 0, 0, 0);
      l->setSpacing(0);
      const std::pair<const char*, const char*> buttons[] = {
          {"|<", "_First"}, {"<", "_Prior"}, {">", "_Next"}, {">|", "_Last"}};
      for (const auto& [arrow, part] : buttons) {
        auto* b = new QToolButton(nav);
        b->setText(QString::fromLatin1(arrow));
        b->setObjectName(QString::fromUtf8(f.name.data(), static_cast<qsizetype>(f.name.size())) + QLatin1String(part));
        l->addWidget(b);
      }
      w = nav;
      break;
    }
    case Field::Group:
    case Field::EndGroup:
      break;
  }
  if (w) {
    w->setObjectName(QString::fromUtf8(f.name.data(), static_cast<qsizetype>(f.name.size())));
    w->setEnabled(f.enabled);
    if (!f.visible) w->setVisible(false);
  }
  return w;
}

}  // namespace

const std::vector<InputStrip::Twin>& InputStrip::twins() {
  static const std::vector<Twin> t = {
      {OptionName(Option::E_12_Division), Option::E_12_Division},
      {OptionName(Option::E_23_Division), Option::E_23_Division},
      {OptionName(Option::E_Xgrid_Increment), Option::E_Xgrid_Increment},
      {OptionName(Option::E_Ygrid_Increment), Option::E_Ygrid_Increment},
      {OptionName(Option::E_Xauto_Increment), Option::E_Xauto_Increment},
      {OptionName(Option::E_Yauto_Increment), Option::E_Yauto_Increment},
      {OptionName(Option::E_Water_Unit_Weight), Option::E_Unit_Weight_Water},
      {OptionName(Option::E_Ru_average), Option::E_Ru_average},
      {OptionName(Option::E_Kh), Option::E_Kh},
      {OptionName(Option::E_Kv), Option::E_Kv},
      {OptionTwinName(Option::E_Water_Unit_Weight), Option::E_Water_Unit_Weight},
      {OptionName(Option::E_Percent_Water), Option::E_Percent_Water},
      {OptionName(Option::E_Project_Name), Option::E_Project_Name},
      {OptionTwinName(Option::E_Lacation), Option::E_Lacation},
      {OptionName(Option::E_Engineer), Option::E_Engineer},
  };
  return t;
}

InputStrip::InputStrip(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("P_Top_Input"));
  setFrameShape(QFrame::StyledPanel);
  // The strip takes only the height of what it shows; the drawing gets the
  // rest. Its width is the window's: a wide panel (External Load with its
  // record buttons) is cut at the right edge rather than widening the
  // window beyond the screen.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Maximum);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(2, 1, 2, 1);
  m_stack = new QWidget(this);
  auto* stackLayout = new QVBoxLayout(m_stack);
  stackLayout->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(m_stack, 1);

  m_down = new QToolButton(this);
  m_down->setObjectName(QStringLiteral("SB_Bottom_Input_down"));
  m_down->setArrowType(Qt::DownArrow);
  m_down->setFixedSize(13, 13);
  m_up = new QToolButton(this);
  m_up->setObjectName(QStringLiteral("SB_Bottom_Input_up"));
  m_up->setArrowType(Qt::UpArrow);
  m_up->setFixedSize(13, 13);
  auto* arrows = new QVBoxLayout;
  arrows->addWidget(m_down);
  arrows->addWidget(m_up);
  arrows->addStretch(1);
  outer->addLayout(arrows);
  connect(m_down, &QToolButton::clicked, this, GuardedSlot([this](bool) { setExpanded(true); }));
  connect(m_up, &QToolButton::clicked, this, GuardedSlot([this](bool) { setExpanded(false); }));

  buildPanels();
  // At start the strip is collapsed on the Theory panel's title.
  m_current = QStringLiteral("P_Theory");
  m_panels.value(m_current)->setVisible(true);
  setExpanded(false);
}

QWidget* InputStrip::addPanel(const QString& name, const QString& titleName, const QString& title) {
  auto* panel = new QWidget(m_stack);
  panel->setObjectName(name);
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(2);
  auto* titleLabel = new QLabel(title, panel);
  titleLabel->setObjectName(titleName);
  QFont bold = titleLabel->font();
  bold.setBold(true);
  titleLabel->setFont(bold);
  titleLabel->setStyleSheet(QStringLiteral("color: navy;"));
  v->addWidget(titleLabel);
  auto* body = new QWidget(panel);
  body->setObjectName(name + QStringLiteral("_Body"));
  v->addWidget(body);
  panel->setVisible(false);
  static_cast<QVBoxLayout*>(m_stack->layout())->addWidget(panel);
  m_panels.insert(name, panel);
  m_bodies.insert(name, body);
  m_order.push_back(name);
  return body;
}

void InputStrip::buildPanels() {
  for (const PanelDef& def : PanelDefs()) {
    QWidget* body =
        addPanel(QString::fromUtf8(def.name), QString::fromUtf8(def.titleName), QString::fromUtf8(def.title));
    auto* row = new QHBoxLayout(body);
    row->setContentsMargins(0, 0, 0, 0);
    QWidget* group = nullptr;
    QHBoxLayout* groupRow = nullptr;
    for (const Field& f : def.fields) {
      if (f.kind == Field::Group) {
        group = new QGroupBox(body);
        group->setObjectName(QString::fromUtf8(f.name.data(), static_cast<qsizetype>(f.name.size())));
        if (!f.visible) group->setVisible(false);
        groupRow = new QHBoxLayout(group);
        groupRow->setContentsMargins(2, 2, 2, 2);
        row->addWidget(group);
        continue;
      }
      if (f.kind == Field::EndGroup) {
        group = nullptr;
        groupRow = nullptr;
        continue;
      }
      QWidget* w = MakeField(f, group ? group : body);
      (groupRow ? groupRow : row)->addWidget(w);
    }
    row->addStretch(1);
  }
}

QStringList InputStrip::panelNames() const {
  QStringList names;
  for (const QString& n : m_order) names << n;
  return names;
}

void InputStrip::showPanel(const QString& name) {
  if (!m_panels.contains(name)) return;
  for (auto it = m_panels.cbegin(); it != m_panels.cend(); ++it) it.value()->setVisible(it.key() == name);
  m_current = name;
  setExpanded(true);
}

void InputStrip::setExpanded(bool expanded) {
  m_expanded = expanded;
  for (auto it = m_bodies.cbegin(); it != m_bodies.cend(); ++it) it.value()->setVisible(expanded);
  m_down->setVisible(!expanded);
  m_up->setVisible(expanded);
  emit expandedChanged(expanded);
}

}  // namespace pelodyn
