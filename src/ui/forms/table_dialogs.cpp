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
#include "ui/document/child_lookup.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/models/control_state_applier.h"
#include "ui/models/option_binding.h"
#include "ui/models/store_table_model.h"
#include "ui/widgets/cover.h"
#include "ui/widgets/grid_editor.h"

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

// The three row buttons MakeRowButtons put in `row`, by their names.
std::array<QAbstractButton*, 3> RowButtonsOf(const QWidget& row, const QStringList& names) {
  return {RequireChild<QAbstractButton>(row, names[0]), RequireChild<QAbstractButton>(row, names[1]),
          RequireChild<QAbstractButton>(row, names[2])};
}

// The Insert, Delete and Clear All buttons on `grid()`, in a row that goes
// on with the dialog's own buttons.
QHBoxLayout* RowButtons(QDialog* dialog, const QStringList& names, const std::function<GridEditor*()>& grid,
                        std::array<QAbstractButton*, 3>& buttons) {
  auto* h = new QHBoxLayout;
  QWidget* row = MakeRowButtons(names, grid, dialog);
  buttons = RowButtonsOf(*row, names);
  h->addWidget(row);
  return h;
}

QString Ui(std::uint8_t language, UiText text) {
  const std::string_view t = UiTextFor(language, text);
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString Utf8(std::string_view t) {
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

// The column titles of the grid of `table` in `language`, as every grid of
// that table shows them.
QStringList Titles(std::uint8_t language, std::string_view table) {
  return Utf8(GridTitles(language, table)).split(QLatin1Char('|'));
}

// Insert, Delete and Clear All in `language`.
void SetRowTexts(const std::array<QAbstractButton*, 3>& buttons, std::uint8_t language) {
  buttons[0]->setText(Ui(language, UiText::InsertRow));
  buttons[1]->setText(Ui(language, UiText::DeleteRow));
  buttons[2]->setText(Ui(language, UiText::ClearAllRows));
}

// The items of a combo box the step-by-step form also shows.
void SetComboItems(QComboBox* combo, const char* name, std::uint8_t language) {
  const QStringList texts = Utf8(FormTextFor(StepFormComboItems(), name, language)).split(QLatin1Char('|'));
  for (int i = 0; i < texts.size() && i < combo->count(); ++i) combo->setItemText(i, texts[i]);
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
  m_modelLabel = new QLabel(main);
  m_modelLabel->setObjectName(QStringLiteral("L_Strength_Model"));
  top->addWidget(m_modelLabel);
  m_model = new QComboBox(main);
  m_model->setObjectName(OptionObjectName(Option::CB_Strength_Model));
  m_model->addItems({QString(), QString()});
  m_binding->bindCombo(m_model, Option::CB_Strength_Model);
  top->addWidget(m_model, 1);
  v->addLayout(top);

  m_soils = new GridEditor(document, Table::Soil_Prop, prompter, main);
  m_soils->setObjectName(QStringLiteral("DBG_Soil_Properties"));
  m_soils->setColumnHidden(FieldColumn(Table::Soil_Prop, FieldNameOf(SoilField::Color)),
                           true);  // the colour is the swatch's
  const int soilWidths[] = {60, 70, 70, 80, 212};
  for (int c = 0; c < 5; ++c) m_soils->setColumnWidth(c, soilWidths[c]);
  m_aniso = new GridEditor(document, Table::Aniso, prompter, main);
  m_aniso->setObjectName(QStringLiteral("DBG_Soil_Aniso"));
  m_aniso->setColumnHidden(FieldColumn(Table::Aniso, FieldNameOf(AnisoField::Color)), true);
  const int anisoWidths[] = {50, 45, 45, 45, 45, 70, 191};
  for (int c = 0; c < 7; ++c) m_aniso->setColumnWidth(c, anisoWidths[c]);
  v->addWidget(m_soils, 1);
  v->addWidget(m_aniso, 1);
  for (GridEditor* g : {m_soils, m_aniso}) {
    connect(g, &GridEditor::currentRowChanged, this, GuardedSlot([this](int position) {
              if (position > 0 && position != m_row) showRow(position);
            }));
  }

  auto* colours = new QHBoxLayout;
  m_swatch = new QFrame(main);
  m_swatch->setObjectName(QStringLiteral("P_Color"));
  m_swatch->setFixedSize(40, 22);
  m_swatch->setFrameShape(QFrame::Box);
  m_swatch->setAutoFillBackground(true);
  colours->addWidget(m_swatch);
  QPushButton* more = Button(QStringLiteral("B_Color_Set"), QStringLiteral("..."), main);
  m_colorSet = more;
  more->setFixedWidth(30);
  connect(more, &QPushButton::clicked, this, GuardedSlot([this](bool) { chooseColor(); }));
  colours->addWidget(more);
  QPushButton* defaults = Button(QStringLiteral("B_Default_Color"), QString(), main);
  m_defaultColors = defaults;
  connect(defaults, &QPushButton::clicked, this, GuardedSlot([this](bool) { defaultColors(); }));
  colours->addWidget(defaults);
  colours->addStretch(1);
  auto* advance = new QCheckBox(main);
  advance->setObjectName(OptionObjectName(Option::CB_Advance_Prop_Disable));
  m_binding->bindCheck(advance, Option::CB_Advance_Prop_Disable);
  m_advanceOff = advance;
  colours->addWidget(advance);
  QPushButton* advanced = Button(QStringLiteral("B_Aniso_ad"), QString(), main);
  m_advancedShow = advanced;
  colours->addWidget(advanced);
  v->addLayout(colours);

  QHBoxLayout* rows = RowButtons(
      this, {QStringLiteral("Button3"), QStringLiteral("Button4"), QStringLiteral("B_SoilProp_Clear_All")},
      [this] { return currentGrid(); }, m_rowButtons);
  rows->addStretch(1);
  QPushButton* applyButton = Button(QStringLiteral("B_OK"), QString(), main);
  m_apply = applyButton;
  connect(applyButton, &QPushButton::clicked, this, GuardedSlot([this](bool) { apply(); }));
  QPushButton* close = Button(QStringLiteral("B_Close"), QString(), main);
  m_close = close;
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
  m_advanced = advancedGrid;
  const int advancedWidths[] = {50, 90, 45, 45};
  for (int c = 0; c < 4; ++c) advancedGrid->setColumnWidth(c, advancedWidths[c]);
  sv->addWidget(advancedGrid, 1);
  auto* sideButtons = new QHBoxLayout;
  const QStringList advancedNames = {QStringLiteral("Button7"), QStringLiteral("Button6"), QStringLiteral("Button5")};
  QWidget* advancedRow = MakeRowButtons(
      advancedNames, [advancedGrid] { return advancedGrid; }, side);
  m_advancedRowButtons = RowButtonsOf(*advancedRow, advancedNames);
  sideButtons->addWidget(advancedRow);
  QPushButton* hide = Button(QStringLiteral("Button2"), QString(), side);
  m_advancedHide = hide;
  sideButtons->addWidget(hide);
  sv->addLayout(sideButtons);
  outer->addWidget(side, 1);
  side->hide();
  connect(advanced, &QPushButton::clicked, this, GuardedSlot([this, side](bool) {
            side->show();
            resize(kSoilAdvancedWidth, height());
          }));
  connect(hide, &QPushButton::clicked, this, GuardedSlot([this, side](bool) {
            side->hide();
            layout()->activate();  // the narrower minimum before the resize
            resize(kSoilWidth, height());
          }));

  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](Option) { refreshState(); }));
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { refreshState(); }));
  connect(&n, &ProjectNotifier::rowsChanged, this, GuardedSlot([this](Table table, int) {
    if (table == currentGrid()->table()) showRow(m_row);
  }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
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
    const QModelIndex index =
        model.index(position - 1, FieldColumn(model.table(), FieldNameOf(SoilCommonField::Color)));
    colour = FromStored(model.data(index, Qt::EditRole).toLongLong());
  }
  QPalette p = m_swatch->palette();
  p.setColor(QPalette::Window, colour);
  m_swatch->setPalette(p);
}

void SoilPropertiesDialog::chooseColor() {
  const StoreTableModel& model = currentGrid()->storeModel();
  const int colour = FieldColumn(model.table(), FieldNameOf(SoilCommonField::Color));
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
  for (Row& row : rows) row.set(SoilCommonField::Color, static_cast<std::int64_t>(SoilColorDefault(k++)));
  m_document.replaceRows(table, std::move(rows));
  showRow(m_row);
}

void SoilPropertiesDialog::apply() {
  currentGrid()->setCurrentIndex(currentGrid()->model()->index(0, 0));
  const LineChoice choice = PrepareLineChoice(m_document.projectForAnalysis());
  for (int message : choice.messages) {
    m_prompter.error(ProgramTitle(), MessageBoxText(LineChoiceText(m_document.project(), message)));
  }
  emit soilsApplied();
}

void SoilPropertiesDialog::retranslate() {
  ++m_retranslateCount;
  const std::uint8_t language = m_document.language();
  setWindowTitle(Utf8(TableCaption(language, "Soil_Prop")));
  m_defaultColors->setText(Ui(language, UiText::DefaultColors));
  // The grids' titles, the strength model and the advanced properties in
  // the user's language; the colour column stays hidden.
  m_soils->setHeaders(Titles(language, "Soil_Prop"));
  m_aniso->setHeaders(Titles(language, "Aniso"));
  // The number columns widen to their titles (the Thai ones are longer); the
  // description gives up the room, so the grid keeps its width.
  for (GridEditor* grid : {m_soils, m_aniso}) {
    const int description = FieldColumn(grid->table(), FieldNameOf(SoilCommonField::Description));
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
  m_advanced->setHeaders(Titles(language, "Aniso_advance"));
  const auto caption = [language](const char* name) { return Utf8(DialogCaptionText(language, name)); };
  m_modelLabel->setText(caption("L_Strength_Model"));
  m_advanceOff->setText(caption(OptionCName(Option::CB_Advance_Prop_Disable)));
  m_advancedShow->setText(caption("B_Aniso_ad"));
  m_advancedHide->setText(caption("Button2"));
  m_colorSet->setToolTip(caption("B_Color_Set"));
  m_defaultColors->setToolTip(caption("B_Default_Color"));
  SetComboItems(m_model, OptionCName(Option::CB_Strength_Model), language);
  SetRowTexts(m_rowButtons, language);
  SetRowTexts(m_advancedRowButtons, language);
  m_close->setText(Ui(language, UiText::DialogClose));
  m_apply->setText(Ui(language, UiText::DialogApply));
  SetAppendTexts(this, language);
}

// ----- Geometry --------------------------------------------------------------------

GeometryDialog::GeometryDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document) {
  setObjectName(QStringLiteral("Form_Geometry"));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  m_grid = new GridEditor(document, Table::Geometry, prompter, this);
  m_grid->setObjectName(QStringLiteral("DBG_Geometry"));
  m_grid->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { color: navy; font-weight: bold; }"));
  v->addWidget(m_grid, 1);
  QHBoxLayout* rows = RowButtons(
      this,
      {QStringLiteral("B_Geometry_Insert"), QStringLiteral("B_Geometry_Delete"),
       QStringLiteral("B_Geometry_Clear_All")},
      [this] { return m_grid; }, m_rowButtons);
  rows->addStretch(1);
  QPushButton* applyButton = Button(QStringLiteral("B_Geometry_OK"), QString(), this);
  m_apply = applyButton;
  connect(applyButton, &QPushButton::clicked, this,
          GuardedSlot([this](bool) { m_grid->setCurrentIndex(m_grid->model()->index(0, 0)); }));
  QPushButton* close = Button(QStringLiteral("B_Geometry_Cancel"), QString(), this);
  m_close = close;
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  rows->addWidget(applyButton);
  rows->addWidget(close);
  v->addLayout(rows);
  connect(&document.notifier(), &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
  retranslate();
  resize(440, 420);
}

void GeometryDialog::retranslate() {
  ++m_retranslateCount;
  const std::uint8_t language = m_document.language();
  setWindowTitle(Utf8(TableCaption(language, "Geometry")));
  m_grid->setHeaders(Titles(language, "Geometry"));
  SetRowTexts(m_rowButtons, language);
  m_close->setText(Ui(language, UiText::DialogClose));
  m_apply->setText(Ui(language, UiText::DialogApply));
  SetAppendTexts(this, language);
}

// ----- Bottom Line -----------------------------------------------------------------

BottomLineDialog::BottomLineDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document) {
  setObjectName(QStringLiteral("Form_Bottom_Line_KeyIn"));
  setModal(true);
  auto* binding = new OptionBinding(document, this);
  auto* v = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  m_typeLabel = new QLabel(this);
  m_typeLabel->setObjectName(QStringLiteral("L_Bottom_Line"));
  m_choose = new QComboBox(this);
  m_choose->setObjectName(OptionObjectName(Option::CB_Bottom_Line_Choose));
  m_choose->addItems({QString(), QString()});
  binding->bindCombo(m_choose, Option::CB_Bottom_Line_Choose);
  form->addRow(m_typeLabel, m_choose);
  m_numberLabel = new QLabel(this);
  m_numberLabel->setObjectName(QStringLiteral("L_BottomLine"));
  auto* number = new QLineEdit(this);
  number->setObjectName(OptionObjectName(Option::E_BottomLine));
  binding->bindText(number, Option::E_BottomLine);
  connect(number, &QLineEdit::editingFinished, this, GuardedSlot([this, number, &prompter] {
            try {
              StrToInt(number->text().toStdString());
            } catch (ConversionError& e) {
              e.setField(OptionName(Option::E_BottomLine));
              prompter.error(ProgramTitle(), QString::fromStdString(e.message(m_document.language())));
            }
          }));
  form->addRow(m_numberLabel, number);
  v->addLayout(form);
  m_specificLabel = new QLabel(this);
  m_specificLabel->setObjectName(QStringLiteral("L_Specific_Bottom_Line"));
  v->addWidget(m_specificLabel);
  m_grid = new GridEditor(document, Table::Bottom_Line, prompter, this);
  m_grid->setObjectName(QStringLiteral("DBG_Specific_Bottom_Line"));
  v->addWidget(m_grid, 1);
  m_cover = new Cover(QStringLiteral("P_Specific_Bottom_Line"), m_grid, this);
  v->addWidget(m_cover, 1);
  QHBoxLayout* rows = RowButtons(
      this,
      {QStringLiteral("B_Bottom_Line_Insert"), QStringLiteral("B_Bottom_Line_Delete"),
       QStringLiteral("B_Bottom_Line_Clear_All")},
      [this] { return m_grid; }, m_rowButtons);
  rows->addStretch(1);
  QPushButton* applyButton = Button(QStringLiteral("B_Bottom_Line_OK"), QString(), this);
  m_apply = applyButton;
  connect(applyButton, &QPushButton::clicked, this, GuardedSlot([this](bool) {
            m_grid->setCurrentIndex(m_grid->model()->index(0, 0));
            refreshState();
          }));
  QPushButton* close = Button(QStringLiteral("B_Bottom_Line_Cancel"), QString(), this);
  m_close = close;
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  rows->addWidget(applyButton);
  rows->addWidget(close);
  v->addLayout(rows);
  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](Option) { refreshState(); }));
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { refreshState(); }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
  retranslate();
  refreshState();
  resize(360, 360);
}

void BottomLineDialog::retranslate() {
  ++m_retranslateCount;
  const std::uint8_t language = m_document.language();
  setWindowTitle(Utf8(CaptionText(language, "MN_BottomLine")));
  const auto text = [language](const char* name) { return Utf8(FormTextFor(StepFormTexts(), name, language)); };
  m_typeLabel->setText(text("L_Bottom_Line"));
  m_numberLabel->setText(text("L_BottomLine"));
  m_specificLabel->setText(text("L_Specific_Bottom_Line"));
  m_cover->setText(text("P_Specific_Bottom_Line"));
  SetComboItems(m_choose, OptionCName(Option::CB_Bottom_Line_Choose), language);
  m_grid->setHeaders(Titles(language, "Bottom_Line"));
  SetRowTexts(m_rowButtons, language);
  m_close->setText(Ui(language, UiText::DialogClose));
  m_apply->setText(Ui(language, UiText::DialogApply));
  SetAppendTexts(this, language);
}

void BottomLineDialog::refreshState() {
  ApplyControlStates(this, ControlWindow::BottomDialog,
                     ControlStates(m_document.project().options, m_document.language()), StateTexts::Skip);
}

}  // namespace pelodyn
