#include "ui/forms/table_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/control_state.h"
#include "model/line_choice.h"
#include "model/numbers.h"
#include "model/soil_color.h"
#include "texts/captions.h"
#include "texts/form_texts.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/forms/cover.h"
#include "ui/forms/grid_editor.h"
#include "ui/models/control_state_applier.h"
#include "ui/models/option_binding.h"
#include "ui/models/store_table_model.h"

namespace pelodyn {

namespace {

// The soil dialog is this wide; Advance opens the advanced grid beside it.
constexpr int kSoilWidth = 553;
constexpr int kSoilAdvancedWidth = 837;

QColor FromStored(std::int64_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

std::int64_t ToStored(const QColor& c) {
  return static_cast<std::int64_t>(c.red()) | (static_cast<std::int64_t>(c.green()) << 8) |
         (static_cast<std::int64_t>(c.blue()) << 16);
}

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

// The Insert, Delete and Clear All buttons on `grid()`, in a row that goes
// on with the dialog's own buttons.
QHBoxLayout* RowButtons(QDialog* dialog, const QStringList& names, const std::function<GridEditor*()>& grid) {
  auto* h = new QHBoxLayout;
  h->addWidget(MakeRowButtons(names, grid, dialog));
  return h;
}

// Texts of the row buttons, Close and Apply by language.
struct DialogTexts {
  QString insert, remove, clearAll, close, apply;
};
DialogTexts Texts(std::uint8_t language) {
  if (language == 0) {
    return {QStringLiteral("แทรก"), QStringLiteral("ลบ"), QStringLiteral("ลบทั้งหมด"), QStringLiteral("ปิด"),
            QStringLiteral("ปฏิบัติ")};
  }
  return {QStringLiteral("Insert"), QStringLiteral("Delete"), QStringLiteral("Clear All"), QStringLiteral("&Close"),
          QStringLiteral("&Apply")};
}

void SetText(QWidget* root, const char* name, const QString& text) {
  if (auto* b = root->findChild<QAbstractButton*>(QString::fromLatin1(name))) b->setText(text);
}

}  // namespace

// ----- Soil Properties -----------------------------------------------------------

SoilPropertiesDialog::SoilPropertiesDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document), m_prompter(prompter) {
  setObjectName(QStringLiteral("Form_Soil_Properties"));
  setModal(true);
  m_binding = new OptionBinding(document, this);
  auto* outer = new QHBoxLayout(this);
  auto* main = new QWidget(this);
  main->setObjectName(QStringLiteral("P_Soil_Main"));
  main->setFixedWidth(kSoilWidth - 20);
  outer->addWidget(main);
  auto* v = new QVBoxLayout(main);
  v->setContentsMargins(0, 0, 0, 0);
  auto* top = new QHBoxLayout;
  auto* modelLabel = new QLabel(QStringLiteral("Strength Model"), main);
  modelLabel->setObjectName(QStringLiteral("L_Strength_Model"));
  top->addWidget(modelLabel);
  auto* model = new QComboBox(main);
  model->setObjectName(OptionObjectName(Option::CB_Strength_Model));
  model->addItems({QStringLiteral("Mohr-Coulomb Material"), QStringLiteral("Anisotropic Strength")});
  m_binding->bindCombo(model, Option::CB_Strength_Model);
  top->addWidget(model, 1);
  v->addLayout(top);

  m_soils = new GridEditor(document, Table::Soil_Prop, prompter, main);
  m_soils->setObjectName(QStringLiteral("DBG_Soil_Properties"));
  m_soils->setHeaders({QStringLiteral("Soil No."), QStringLiteral("Cohesion"), QStringLiteral("Phi"),
                       QStringLiteral("Unit Weight"), QStringLiteral("Description")});
  m_soils->setColumnHidden(FieldColumn(Table::Soil_Prop, "Color"), true);  // the colour is the swatch's
  const int soilWidths[] = {60, 70, 70, 80, 212};
  for (int c = 0; c < 5; ++c) m_soils->setColumnWidth(c, soilWidths[c]);
  m_aniso = new GridEditor(document, Table::Aniso, prompter, main);
  m_aniso->setObjectName(QStringLiteral("DBG_Soil_Aniso"));
  m_aniso->setHeaders({QStringLiteral("Soil No."), QStringLiteral("C-v"), QStringLiteral("C-h"),
                       QStringLiteral("Phi-v"), QStringLiteral("Phi-h"), QStringLiteral("Unit Weight"),
                       QStringLiteral("Description")});
  m_aniso->setColumnHidden(FieldColumn(Table::Aniso, "Color"), true);
  const int anisoWidths[] = {50, 45, 45, 45, 45, 70, 191};
  for (int c = 0; c < 7; ++c) m_aniso->setColumnWidth(c, anisoWidths[c]);
  v->addWidget(m_soils, 1);
  v->addWidget(m_aniso, 1);
  for (GridEditor* g : {m_soils, m_aniso}) {
    connect(g, &GridEditor::currentRowChanged, this, [this](int position) {
      if (position > 0 && position != m_row) showRow(position);
    });
  }

  auto* colours = new QHBoxLayout;
  m_swatch = new QFrame(main);
  m_swatch->setObjectName(QStringLiteral("P_Color"));
  m_swatch->setFixedSize(40, 22);
  m_swatch->setFrameShape(QFrame::Box);
  m_swatch->setAutoFillBackground(true);
  colours->addWidget(m_swatch);
  QPushButton* more = Button(QStringLiteral("B_Color_Set"), QStringLiteral("..."), main);
  more->setToolTip(QStringLiteral("More color ..."));
  more->setFixedWidth(30);
  connect(more, &QPushButton::clicked, this, GuardedSlot([this](bool) { chooseColor(); }));
  colours->addWidget(more);
  QPushButton* defaults = Button(QStringLiteral("B_Default_Color"), QString(), main);
  defaults->setToolTip(QStringLiteral("Set default color"));
  connect(defaults, &QPushButton::clicked, this, GuardedSlot([this](bool) { defaultColors(); }));
  colours->addWidget(defaults);
  colours->addStretch(1);
  auto* advance = new QCheckBox(QStringLiteral("Disable Advance Properties"), main);
  advance->setObjectName(OptionObjectName(Option::CB_Advance_Prop_Disable));
  m_binding->bindCheck(advance, Option::CB_Advance_Prop_Disable);
  colours->addWidget(advance);
  QPushButton* advanced = Button(QStringLiteral("B_Aniso_ad"), QStringLiteral("Advance"), main);
  colours->addWidget(advanced);
  v->addLayout(colours);

  QHBoxLayout* rows =
      RowButtons(this, {QStringLiteral("Button3"), QStringLiteral("Button4"), QStringLiteral("B_SoilProp_Clear_All")},
                 [this] { return currentGrid(); });
  rows->addStretch(1);
  QPushButton* applyButton = Button(QStringLiteral("B_OK"), QString(), main);
  connect(applyButton, &QPushButton::clicked, this, GuardedSlot([this](bool) { apply(); }));
  QPushButton* close = Button(QStringLiteral("B_Close"), QString(), main);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  rows->addWidget(applyButton);
  rows->addWidget(close);
  v->addLayout(rows);

  // The advanced anisotropy: the friction angles by normal stress.
  auto* side = new QWidget(this);
  side->setObjectName(QStringLiteral("P_Aniso_Advance"));
  auto* sv = new QVBoxLayout(side);
  sv->setContentsMargins(0, 0, 0, 0);
  auto* advancedGrid = new GridEditor(document, Table::Aniso_advance, prompter, side);
  advancedGrid->setObjectName(QStringLiteral("DBGrid1"));
  advancedGrid->setHeaders(
      {QStringLiteral("Soil No."), QStringLiteral("Normal Stress"), QStringLiteral("Phi-v"), QStringLiteral("Phi-h")});
  const int advancedWidths[] = {50, 90, 45, 45};
  for (int c = 0; c < 4; ++c) advancedGrid->setColumnWidth(c, advancedWidths[c]);
  sv->addWidget(advancedGrid, 1);
  auto* sideButtons = new QHBoxLayout;
  sideButtons->addWidget(MakeRowButtons(
      {QStringLiteral("Button7"), QStringLiteral("Button6"), QStringLiteral("Button5")},
      [advancedGrid] { return advancedGrid; }, side));
  QPushButton* hide = Button(QStringLiteral("Button2"), QStringLiteral("Hide"), side);
  sideButtons->addWidget(hide);
  sv->addLayout(sideButtons);
  outer->addWidget(side, 1);
  side->hide();
  connect(advanced, &QPushButton::clicked, this, [this, side] {
    side->show();
    resize(kSoilAdvancedWidth, height());
  });
  connect(hide, &QPushButton::clicked, this, [this, side] {
    side->hide();
    layout()->activate();  // the narrower minimum before the resize
    resize(kSoilWidth, height());
  });

  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::optionChanged, this, [this](const QString&) { refreshState(); });
  connect(&n, &ProjectNotifier::projectReset, this, [this] { refreshState(); });
  connect(&n, &ProjectNotifier::rowsChanged, this, [this](Table table, int) {
    if (table == currentGrid()->table()) showRow(m_row);
  });
  refreshState();
  retranslate();
  resize(kSoilWidth, 360);
}

GridEditor* SoilPropertiesDialog::currentGrid() const {
  return m_document.project().options.itemIndex(Option::CB_Strength_Model) == 1 ? m_aniso : m_soils;
}

void SoilPropertiesDialog::refreshState() {
  ApplyControlStates(this, ControlWindow::SoilDialog,
                     ControlStates(m_document.project().options, m_document.language()), StateTexts::Skip);
  showRow(std::max(currentGrid()->currentPosition(), 1));
}

void SoilPropertiesDialog::showRow(int position) {
  m_row = position;
  const StoreTableModel& model = currentGrid()->storeModel();
  QColor colour = Qt::black;
  if (position >= 1 && position <= model.rowCount()) {
    const QModelIndex index = model.index(position - 1, FieldColumn(model.table(), "Color"));
    colour = FromStored(model.data(index, Qt::EditRole).toLongLong());
  }
  QPalette p = m_swatch->palette();
  p.setColor(QPalette::Window, colour);
  m_swatch->setPalette(p);
}

void SoilPropertiesDialog::chooseColor() {
  const StoreTableModel& model = currentGrid()->storeModel();
  const int colour = FieldColumn(model.table(), "Color");
  const QModelIndex index = model.index(m_row - 1, colour);
  const QColor initial = FromStored(model.data(index, Qt::EditRole).toLongLong());
  const std::optional<QColor> chosen = m_prompter.chooseColor(windowTitle(), initial);
  if (!chosen || m_row < 1 || m_row > model.rowCount()) return;
  m_document.editCell(currentGrid()->table(), m_row, static_cast<std::size_t>(colour), FieldValue(ToStored(*chosen)));
  showRow(m_row);
}

void SoilPropertiesDialog::defaultColors() {
  const Table table = currentGrid()->table();
  std::vector<Row> rows = m_document.project().store->rows(table);
  if (rows.empty()) return;
  // Colours by position, so that after a deletion in the middle they close up.
  int k = 1;
  for (Row& row : rows) row.set("Color", static_cast<std::int64_t>(SoilColorDefault(k++)));
  m_document.replaceRows(table, std::move(rows));
  showRow(m_row);
}

void SoilPropertiesDialog::apply() {
  currentGrid()->setCurrentIndex(currentGrid()->model()->index(0, 0));
  const LineChoice choice = PrepareLineChoice(m_document.project());
  for (int message : choice.messages) {
    m_prompter.error(ProgramTitle(), MessageBoxText(LineChoiceText(m_document.project(), message)));
  }
  emit soilsApplied();
}

void SoilPropertiesDialog::retranslate() {
  const std::uint8_t language = m_document.language();
  const DialogTexts t = Texts(language);
  setWindowTitle(language == 0 ? QStringLiteral("คุณสมบัติดิน") : QStringLiteral("Soil Properties"));
  SetText(this, "B_Default_Color", language == 0 ? QStringLiteral("ค่าเริ่มต้น") : QStringLiteral("Default"));
  // The grids' titles, the strength model and the advanced properties in
  // the user's language; the colour column stays hidden.
  const auto titles = [language](std::string_view table) {
    const std::string_view t = GridTitles(language, table);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())).split(QLatin1Char('|'));
  };
  m_soils->setHeaders(titles("Soil_Prop"));
  m_aniso->setHeaders(titles("Aniso"));
  // The number columns widen to their titles (the Thai ones are longer); the
  // description gives up the room, so the grid keeps its width.
  for (GridEditor* grid : {m_soils, m_aniso}) {
    const int description = FieldColumn(grid->table(), "Description");
    int total = 0;
    for (int c = 0; c <= description; ++c) total += grid->columnWidth(c);
    int others = 0;
    for (int c = 0; c < description; ++c) {
      const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
      const int wanted = grid->horizontalHeader()->fontMetrics().horizontalAdvance(title) + 16;
      grid->setColumnWidth(c, std::max(grid->columnWidth(c), wanted));
      others += grid->columnWidth(c);
    }
    grid->setColumnWidth(description, std::max(total - others, 100));
  }
  if (auto* advanced = findChild<GridEditor*>(QStringLiteral("DBGrid1"))) advanced->setHeaders(titles("Aniso_advance"));
  const auto caption = [language](const char* name) {
    const std::string_view t = DialogCaptionText(language, name);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
  };
  findChild<QLabel*>(QStringLiteral("L_Strength_Model"))->setText(caption("L_Strength_Model"));
  for (const char* name : {Option::CB_Advance_Prop_Disable, "B_Aniso_ad", "Button2"})
    SetText(this, name, caption(name));
  for (const char* name : {"B_Color_Set", "B_Default_Color"}) {
    if (auto* b = findChild<QAbstractButton*>(QString::fromLatin1(name))) b->setToolTip(caption(name));
  }
  for (const FormText& items : StepFormComboItems()) {
    if (std::string_view(items.name) != Option::CB_Strength_Model) continue;
    const QStringList texts = QString::fromUtf8(language == 0 ? items.thai : items.english).split(QLatin1Char('|'));
    auto* model = findChild<QComboBox*>(OptionObjectName(Option::CB_Strength_Model));
    for (int i = 0; i < texts.size() && i < model->count(); ++i) model->setItemText(i, texts[i]);
  }
  SetText(this, "Button3", t.insert);
  SetText(this, "Button4", t.remove);
  SetText(this, "B_SoilProp_Clear_All", t.clearAll);
  SetText(this, "B_Close", t.close);
  SetText(this, "B_OK", t.apply);
  for (const char* name : {"Button7", "Button6", "Button5"}) {
    SetText(this, name, name[6] == '7' ? t.insert : name[6] == '6' ? t.remove : t.clearAll);
  }
  SetAppendTexts(this, language);
}

// ----- Geometry --------------------------------------------------------------------

GeometryDialog::GeometryDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool) {
  setObjectName(QStringLiteral("Form_Geometry"));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  m_grid = new GridEditor(document, Table::Geometry, prompter, this);
  m_grid->setObjectName(QStringLiteral("DBG_Geometry"));
  m_grid->setHeaders({QStringLiteral("Soil No."), QStringLiteral("Point No."), QStringLiteral("Coordi X"),
                      QStringLiteral("Coordi Y")});
  m_grid->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { color: navy; font-weight: bold; }"));
  v->addWidget(m_grid, 1);
  QHBoxLayout* rows = RowButtons(this,
                                 {QStringLiteral("B_Geometry_Insert"), QStringLiteral("B_Geometry_Delete"),
                                  QStringLiteral("B_Geometry_Clear_All")},
                                 [this] { return m_grid; });
  rows->addStretch(1);
  QPushButton* applyButton = Button(QStringLiteral("B_Geometry_OK"), QString(), this);
  connect(applyButton, &QPushButton::clicked, this, [this] { m_grid->setCurrentIndex(m_grid->model()->index(0, 0)); });
  QPushButton* close = Button(QStringLiteral("B_Geometry_Cancel"), QString(), this);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  rows->addWidget(applyButton);
  rows->addWidget(close);
  v->addLayout(rows);
  const std::uint8_t language = document.language();
  const DialogTexts t = Texts(language);
  setWindowTitle(language == 0 ? QStringLiteral("รูปร่างชั้นดิน") : QStringLiteral("Geometry"));
  SetText(this, "B_Geometry_Insert", t.insert);
  SetText(this, "B_Geometry_Delete", t.remove);
  SetText(this, "B_Geometry_Clear_All", t.clearAll);
  SetText(this, "B_Geometry_Cancel", t.close);
  SetText(this, "B_Geometry_OK", t.apply);
  SetAppendTexts(this, language);
  resize(440, 420);
}

// ----- Bottom Line -----------------------------------------------------------------

BottomLineDialog::BottomLineDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document) {
  setObjectName(QStringLiteral("Form_Bottom_Line_KeyIn"));
  setWindowTitle(QStringLiteral("Bottom Line"));
  setModal(true);
  auto* binding = new OptionBinding(document, this);
  auto* v = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto* typeLabel = new QLabel(QStringLiteral("Bottom Line Type"), this);
  typeLabel->setObjectName(QStringLiteral("L_Bottom_Line"));
  auto* choose = new QComboBox(this);
  choose->setObjectName(OptionObjectName(Option::CB_Bottom_Line_Choose));
  choose->addItems({QStringLiteral("Bottom Line No."), QStringLiteral("Specific Bottom Line")});
  binding->bindCombo(choose, Option::CB_Bottom_Line_Choose);
  form->addRow(typeLabel, choose);
  auto* numberLabel = new QLabel(QStringLiteral("Bottom Line No."), this);
  numberLabel->setObjectName(QStringLiteral("L_BottomLine"));
  auto* number = new QLineEdit(this);
  number->setObjectName(OptionObjectName(Option::E_BottomLine));
  binding->bindText(number, Option::E_BottomLine);
  connect(number, &QLineEdit::editingFinished, this, GuardedSlot([this, number, &prompter] {
            try {
              StrToInt(number->text().toStdString());
            } catch (ConversionError& e) {
              e.setField(Option::E_BottomLine);
              prompter.error(ProgramTitle(), QString::fromStdString(e.message(m_document.language())));
            }
          }));
  form->addRow(numberLabel, number);
  v->addLayout(form);
  auto* specificLabel = new QLabel(QStringLiteral("Specific Bottom Line"), this);
  specificLabel->setObjectName(QStringLiteral("L_Specific_Bottom_Line"));
  v->addWidget(specificLabel);
  m_grid = new GridEditor(document, Table::Bottom_Line, prompter, this);
  m_grid->setObjectName(QStringLiteral("DBG_Specific_Bottom_Line"));
  m_grid->setHeaders({QStringLiteral("Line No."), QStringLiteral("Begin Point"), QStringLiteral("End Point")});
  v->addWidget(m_grid, 1);
  auto* cover = new Cover(QStringLiteral("P_Specific_Bottom_Line"), m_grid, this);
  cover->setText(QStringLiteral("Specific bottom line not used"));
  v->addWidget(cover, 1);
  QHBoxLayout* rows = RowButtons(this,
                                 {QStringLiteral("B_Bottom_Line_Insert"), QStringLiteral("B_Bottom_Line_Delete"),
                                  QStringLiteral("B_Bottom_Line_Clear_All")},
                                 [this] { return m_grid; });
  rows->addStretch(1);
  QPushButton* applyButton = Button(QStringLiteral("B_Bottom_Line_OK"), QStringLiteral("&Apply"), this);
  connect(applyButton, &QPushButton::clicked, this, [this] {
    m_grid->setCurrentIndex(m_grid->model()->index(0, 0));
    refreshState();
  });
  QPushButton* close = Button(QStringLiteral("B_Bottom_Line_Cancel"), QStringLiteral("&Close"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  rows->addWidget(applyButton);
  rows->addWidget(close);
  v->addLayout(rows);
  SetText(this, "B_Bottom_Line_Insert", QStringLiteral("Insert"));
  SetText(this, "B_Bottom_Line_Delete", QStringLiteral("Delete"));
  SetText(this, "B_Bottom_Line_Clear_All", QStringLiteral("Clear All"));
  SetAppendTexts(this, 1);
  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::optionChanged, this, [this](const QString&) { refreshState(); });
  connect(&n, &ProjectNotifier::projectReset, this, [this] { refreshState(); });
  refreshState();
  resize(360, 360);
}

void BottomLineDialog::refreshState() {
  ApplyControlStates(this, ControlWindow::BottomDialog,
                     ControlStates(m_document.project().options, m_document.language()), StateTexts::Skip);
}

}  // namespace pelodyn
