#include "ui/shell/strip_controls.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>

#include "model/numbers.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/form_texts.h"
#include "texts/messages.h"
#include "ui/document/child_lookup.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/models/option_binding.h"
#include "ui/shell/file_commands.h"
#include "ui/shell/input_strip.h"
#include "ui/shell/load_editor.h"
#include "ui/widgets/grid_editor.h"
#include "view/section_painter.h"

namespace pelodyn {

namespace {

// The strip's check boxes and radio buttons bound to option values.
struct ChoiceBinding {
  std::string_view widget;
  Option option;
  int index;  // a radio button's item; -1 for a check box
};
const ChoiceBinding kStripChoices[] = {
    {"RB_Circular", Option::RG_Theory, 1},
    {"RB_NonCir", Option::RG_Theory, 2},
    {OptionTwinName(Option::CB_Ordinary), Option::CB_Ordinary, -1},
    {OptionTwinName(Option::CB_Simp_Janbu), Option::CB_Simp_Janbu, -1},
    {OptionTwinName(Option::CB_Simp_Bishop), Option::CB_Simp_Bishop, -1},
    {OptionTwinName(Option::CB_Spencer), Option::CB_Spencer, -1},
    {OptionName(Option::CB_Grid_Increment), Option::CB_Grid_Increment, -1},
    {"RB_Specific_Search", Option::CB_NonCir_Search, 0},
    {"RB_Random_Search", Option::CB_NonCir_Search, 1},
    {OptionName(Option::CB_Auto_Center), Option::CB_Auto_Center, -1},
};

// The strip's combo boxes bound to option values.
const std::pair<std::string_view, Option> kStripCombos[] = {
    {OptionName(Option::CB_Ru_Condition), Option::CB_Ru_Condition},
    {OptionTwinName(Option::CB_Phreatic_Peizometric), Option::CB_Phreatic_Peizometric},
    {OptionTwinName(Option::RG_Apply_as), Option::RG_Apply_as}};

// The load types of CB_Load_Type: the sub-panel each shows and the option
// that switches the load off.
const std::pair<const char*, Option> kLoadTypes[] = {{"P_LineLoad", Option::CB_LineLoad_Disable},
                                                     {"P_StripLoad", Option::CB_StripLoad_Disable}};

// The strip's fields read as numbers (by option name), with the label that
// names each and whether a whole number is wanted: a text that is not one is
// marked where it is typed, not only when the analysis starts.
struct NumberField {
  Option option;
  const char* label;
  bool integer;
};
const NumberField kNumberFields[] = {
    {Option::E_12_Division, "L_Div12", true},
    {Option::E_23_Division, "L_Div23", true},
    {Option::E_Xgrid_Increment, "L_Xgrid_Increment", false},
    {Option::E_Ygrid_Increment, "L_Ygrid_Increment", false},
    {Option::E_Xauto_Increment, "L_X_Inc", false},
    {Option::E_Yauto_Increment, "L_Y_Inc", false},
    {Option::E_Unit_Weight_Water, "L_WUW", false},
    {Option::E_Kh, "L_Seismic_kh", false},
    {Option::E_Kv, "L_Seismic_kv", false},
    {Option::E_Water_Unit_Weight, "L_Tcrack_WUW", false},
    {Option::E_Percent_Water, "L_Tcrack_Per", false},
};

bool DrawButton(const QString& name) {
  return name.contains(QLatin1String("Draw")) || name == QLatin1String("Button1");
}

// Why a control of the strip is disabled: drawing comes with the mouse
// tools; the contour interval is not set by hand.
UiText DisabledReason(const QString& name) {
  if (DrawButton(name)) return UiText::LaterDrawing;
  if (name == QLatin1String("E_Contour_Interval") || name == QLatin1String("E_Max_Interval") ||
      name == QLatin1String("E_Min_Interval")) {
    return UiText::ContourNotSet;
  }
  for (Option moving : {Option::CB_Moving_Center, Option::E_MCX, Option::E_MCY, Option::E_Bound_L, Option::E_Bound_R}) {
    if (name == OptionObjectName(moving)) return UiText::MovingCentreByCli;
  }
  return UiText::LaterDataEntry;
}

}  // namespace

StripControls::StripControls(ProjectDocument& document, InputStrip& strip, Prompter& prompter, QStatusBar& status,
                             std::function<void()> redraw, QObject* parent)
    : QObject(parent),
      m_document(document),
      m_strip(strip),
      m_prompter(prompter),
      m_status(status),
      m_redraw(std::move(redraw)) {
  bind();
  buildRuGrid();
  buildLoadEditors();
  disableUnbuilt();
}

void StripControls::setRunInProgress(bool running) {
  // Not only the commands: every field, button and panel of the strip that
  // could change the project waits for the run to end.
  for (const QString& name : m_strip.panelNames()) {
    if (QWidget* panel = m_strip.panel(name)) panel->setEnabled(!running);
  }
}

void StripControls::retranslate(std::uint8_t language) {
  for (QWidget* w : m_strip.findChildren<QWidget*>()) {
    if (!w->testAttribute(Qt::WA_ForceDisabled) || w->toolTip().isEmpty()) continue;
    w->setToolTip(Q(UiTextFor(language, DisabledReason(w->objectName()))));
  }
  // The strip's combo boxes list their items in the language chosen too
  // (the anchor type's items are those of its option, RG_Apply_as).
  for (const auto& [combo, textName] : m_itemCombos) {
    const QStringList items = Q(FormTextFor(StepFormComboItems(), textName, language)).split(u'|');
    for (int i = 0; i < items.size() && i < combo->count(); ++i) combo->setItemText(i, items[i]);
  }
  m_ruGrid->setHeaders(Q(GridTitles(language, "Ru_variable")).split(u'|'));
  const QList<QAction*> rowActions = m_ruGrid->actions();
  const UiText rowTexts[] = {UiText::InsertRow, UiText::AppendRow, UiText::DeleteRow};
  for (int k = 0; k < rowActions.size() && k < 3; ++k) rowActions[k]->setText(Q(UiTextFor(language, rowTexts[k])));
}

void StripControls::bind() {
  const std::pair<const char*, const char*> itemSources[] = {
      {OptionCName(Option::CB_Ru_Condition), OptionCName(Option::CB_Ru_Condition)},
      {OptionTwinName(Option::CB_Phreatic_Peizometric), OptionCName(Option::CB_Phreatic_Peizometric)},
      {"CB_Load_Type", "CB_Load_Type"},
      {OptionTwinName(Option::RG_Apply_as), OptionCName(Option::RG_Apply_as)}};
  for (const auto& [comboName, textName] : itemSources) {
    m_itemCombos.emplace_back(RequireChild<QComboBox>(m_strip, comboName), textName);
  }
  m_ruAverage = RequireChild<QLineEdit>(m_strip, Option::E_Ru_average);
  m_divisions = RequireChild<QLineEdit>(m_strip, Option::E_12_Division);
  m_binding = new OptionBinding(m_document, this);
  for (const InputStrip::Twin& twin : InputStrip::twins()) {
    m_binding->bindText(RequireChild<QLineEdit>(m_strip, twin.field), twin.option);
  }
  for (const ChoiceBinding& c : kStripChoices) {
    auto* button = RequireChild<QAbstractButton>(m_strip, c.widget);
    if (c.index < 0) {
      m_binding->bindCheck(button, c.option);
    } else {
      m_binding->bindChoice(button, c.option, c.index);
    }
  }
  for (const NumberField& field : kNumberFields) {
    const QString labelName = QString::fromLatin1(field.label);
    const bool integer = field.integer;
    m_binding->setValidator(field.option, [this, labelName, integer](const QString& text) {
      try {
        if (integer) {
          StrToInt(text.toStdString());
        } else {
          StrToFloat(text.toStdString());
        }
        return QString();
      } catch (const ConversionError& e) {
        QString name = Q(CaptionText(m_document.language(), labelName.toStdString()));
        if (name.endsWith(QLatin1Char('='))) name.chop(1);
        return Q(FormatText(UiTextFor(m_document.language(), UiText::FieldInvalid),
                            {name.trimmed().toStdString(), e.message(m_document.language())}));
      }
    });
  }
  for (const auto& [combo, option] : kStripCombos) {
    m_binding->bindCombo(RequireChild<QComboBox>(m_strip, combo), option);
  }
  connect(m_binding, &OptionBinding::invalidText, this, GuardedSlot([this](Option, const QString& message) {
            if (!message.isEmpty()) m_status.showMessage(message, 8000);
          }));
  m_binding->refreshAll();

  // Without Increment the two steps are not used: the cover says so.
  auto* increment = RequireChild<QCheckBox>(m_strip, Option::CB_Grid_Increment);
  auto* cover = RequireChild<QLabel>(m_strip, "P_Grid_Increment");
  QLineEdit* const steps[] = {RequireChild<QLineEdit>(m_strip, Option::E_Xgrid_Increment),
                              RequireChild<QLineEdit>(m_strip, Option::E_Ygrid_Increment)};
  const auto showCover = [cover, steps](bool on) {
    cover->setVisible(!on);
    for (QLineEdit* edit : steps) edit->setEnabled(on);
  };
  connect(increment, &QCheckBox::toggled, this, GuardedSlot(showCover));
  showCover(increment->isChecked());

  // Every panel's Close button only collapses the strip.
  for (QPushButton* b : m_strip.findChildren<QPushButton*>()) {
    const QString n = b->objectName();
    if (n.endsWith(QLatin1String("_Close")) || n == QLatin1String("B_Method_OK") ||
        n == QLatin1String("B_Contour_Setting_OK") || n.endsWith(QLatin1String("_cancel")) ||
        n == QLatin1String("B_Anchor_Cancel") || n == QLatin1String("B_DrawLine_Cancel")) {
      connect(b, &QPushButton::clicked, &m_strip, GuardedSlot([this](bool) { m_strip.setExpanded(false); }));
    }
  }
  connect(RequireChild<QPushButton>(m_strip, "B_DrawGrid_OK"), &QPushButton::clicked, this, GuardedSlot([this](bool) {
            if (CentreGridDivisionInvalid(m_document.project())) {
              m_prompter.information(FileCommands::programTitle(),
                                     MessageBoxText(MessageText(m_document.language(), 0)));
              m_divisions->setFocus();
              return;
            }
            m_redraw();
          }));
}

void StripControls::buildRuGrid() {
  // The panel's grid of Ru per soil edits table Ru_variable through the
  // document; it shows only for the Variable condition (control state).
  auto* placeholder = RequireChild<QAbstractItemView>(m_strip, "DBG_Ru_Variable");
  QWidget* parent = placeholder->parentWidget();
  m_ruGrid = new GridEditor(m_document, Table::Ru_variable, m_prompter, parent);
  m_ruGrid->setHeaders(Q(GridTitles(m_document.language(), "Ru_variable")).split(u'|'));
  m_ruGrid->setMaximumHeight(placeholder->maximumHeight());
  m_ruGrid->setMinimumWidth(150);
  m_ruGrid->horizontalHeader()->setDefaultSectionSize(60);
  m_ruGrid->setVisible(!placeholder->isHidden());
  // The layout hands back the placeholder's item, which is ours to delete.
  delete parent->layout()->replaceWidget(placeholder, m_ruGrid);
  delete placeholder;
  m_ruGrid->setObjectName(QStringLiteral("DBG_Ru_Variable"));
  // The strip has no room for row buttons: they are the grid's pop-up menu.
  const std::pair<UiText, void (GridEditor::*)()> rowActions[] = {{UiText::InsertRow, &GridEditor::insertRow},
                                                                  {UiText::AppendRow, &GridEditor::appendRow},
                                                                  {UiText::DeleteRow, &GridEditor::deleteRow}};
  for (const auto& rowAction : rowActions) {
    auto* a = new QAction(Q(UiTextFor(m_document.language(), rowAction.first)), m_ruGrid);
    GridEditor* grid = m_ruGrid;
    void (GridEditor::*slot)() = rowAction.second;
    connect(a, &QAction::triggered, grid, GuardedSlot([grid, slot](bool) { (grid->*slot)(); }));
    m_ruGrid->addAction(a);
  }
  m_ruGrid->setContextMenuPolicy(Qt::ActionsContextMenu);

  // Choosing the condition goes on where the Ru values are typed.
  auto* condition = RequireChild<QComboBox>(m_strip, Option::CB_Ru_Condition);
  connect(condition, &QComboBox::activated, this, GuardedSlot([this](int index) {
            if (index == 1) {
              m_ruGrid->setFocus();
            } else {
              m_ruAverage->setFocus();
            }
          }));
}

void StripControls::buildLoadEditors() {
  QWidget& panel = *m_strip.panel(QStringLiteral("P_ExLoad"));
  m_lineLoads = new LoadEditor(m_document, panel,
                               {Table::Lineload,
                                {{"DBE_LineLoad_Num", FieldNameOf(LineLoadField::LoadNo)},
                                 {"DBE_LineLoad_Mag", FieldNameOf(LineLoadField::Magnitude)},
                                 {"DBE_LineLoad_Ang", FieldNameOf(LineLoadField::Angle)}},
                                "DBNav_LineLoad",
                                "B_LL_New",
                                "B_LineLoad_Edit",
                                "B_LineLoad_OK",
                                "B_LineLoad_del",
                                "B_LineLoad_cancel",
                                "B_LIneLoad_Draw"},
                               this);
  m_stripLoads = new LoadEditor(m_document, panel,
                                {Table::Stripload,
                                 {{"DBE_StripLoad_Num", FieldNameOf(StripLoadField::LoadNo)},
                                  {"DBE_StripLoad_Mag", FieldNameOf(StripLoadField::Magnitude)}},
                                 "DBNav_StripLoad",
                                 "B_StripLoad_New",
                                 "B_StripLoad_Edit",
                                 "B_StripLoad_OK",
                                 "B_StripLoad_Del",
                                 "BB_StripLoad_cancel",
                                 "B_StripLoad_Draw"},
                                this);
  m_anchors = new LoadEditor(m_document, *m_strip.panel(QStringLiteral("P_Anchor")),
                             {Table::Anchor,
                              {{"DBE_Anchor_Num", FieldNameOf(AnchorField::LoadNo)},
                               {"DBE_Anchor_Mag", FieldNameOf(AnchorField::Magnitude)},
                               {"DBE_Anchor_BL", FieldNameOf(AnchorField::BondedLength)}},
                              "DBNav_Anchor",
                              "B_Anchor_New",
                              "B_Anchor_Edit",
                              "B_Anchor_OK",
                              "B_Anchor_Del",
                              "B_Anchor_Cancel",
                              "B_Anchor_Draw"},
                             this);

  // Choosing a load type shows its editor and switches that load on; the
  // effect bar follows the option.
  for (int k = 0; k < 2; ++k) m_loadGroups[k] = RequireChild<QWidget>(m_strip, kLoadTypes[k].first);
  auto* type = RequireChild<QComboBox>(m_strip, "CB_Load_Type");
  connect(type, &QComboBox::activated, this, GuardedSlot([this](int index) {
            if (index < 0 || index > 1) return;
            showLoadType(index);
            m_document.setOptionChecked(kLoadTypes[index].second, false);
          }));
  showLoadType(type->currentIndex());
}

void StripControls::showLoadType(int type) {
  // The other editor goes out of sight before this one shows: never both
  // at once, whose width together would widen the window.
  for (int k : {1 - type, type}) {
    if (k < 0 || k > 1) continue;
    m_loadGroups[k]->setVisible(k == type);
  }
  // A record half typed in the editor that goes out of sight is given up.
  (type == 0 ? m_stripLoads : m_lineLoads)->cancel();
}

void StripControls::disableUnbuilt() {
  // What is bound or wired above works; every other control of the strip
  // arrives with a later window and says so instead of doing nothing.
  QSet<QString> working;
  for (const InputStrip::Twin& twin : InputStrip::twins()) working.insert(QString::fromLatin1(twin.field));
  for (const ChoiceBinding& c : kStripChoices) working.insert(QString::fromLatin1(c.widget));
  for (const auto& [combo, option] : kStripCombos) working.insert(QString::fromLatin1(combo));
  working.insert(QStringLiteral("B_DrawGrid_OK"));
  working.insert(QStringLiteral("DBG_Ru_Variable"));
  working.insert(QStringLiteral("CB_Load_Type"));
  working.insert(QStringLiteral("CB_Line_No"));
  // The Draw buttons start the mouse editor (the main window connects them).
  for (const char* draw : {"B_WaterLine_Draw", "Button1", "B_NonCir_Draw"}) working.insert(QString::fromLatin1(draw));
  for (LoadEditor* editor : {m_lineLoads, m_stripLoads, m_anchors}) {
    for (const QString& name : editor->controlNames()) working.insert(name);
  }
  const auto isClose = [](const QString& n) {
    return n.endsWith(QLatin1String("_Close")) || n == QLatin1String("B_Method_OK") ||
           n == QLatin1String("B_Contour_Setting_OK") || n.endsWith(QLatin1String("_cancel")) ||
           n == QLatin1String("B_Anchor_Cancel") || n == QLatin1String("B_DrawLine_Cancel");
  };
  const std::uint8_t language = m_document.language();
  for (QWidget* w : m_strip.findChildren<QWidget*>()) {
    const QString n = w->objectName();
    if (n.isEmpty() || working.contains(n) || isClose(n)) continue;
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                         n.startsWith(QLatin1String("DBNav_"));
    if (!control || n.startsWith(QLatin1String("SB_"))) continue;
    // The parallel theories are not offered at all.
    if (n == QLatin1String("RB_Infinite") || n == QLatin1String("RB_Cir_NonCir")) continue;
    w->setEnabled(false);
    w->setToolTip(Q(UiTextFor(language, DisabledReason(n))));
  }
}

}  // namespace pelodyn
