#include "ui/widgets/grid_editor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <algorithm>

#include "model/soil_color.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/models/store_table_model.h"

namespace pelodyn {

namespace {

constexpr const char* kAppendSuffix = "_Append";

// Cells are typed as text and read by the field's type when the edit ends,
// so a coordinate keeps every digit it was given (a spin box would round).
class TextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    return edit;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::DisplayRole).toString());
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
  }

 protected:
  // Enter in a cell being typed moves on as Tab does. Down on the last
  // row ends the typing and goes to the grid, which adds a row.
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      auto* editor = static_cast<QWidget*>(object);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
        return true;
      }
      auto* grid = qobject_cast<GridEditor*>(parent());
      if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier && grid &&
          grid->currentIndex().row() == grid->model()->rowCount() - 1) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (!grid->lastRowBlank()) grid->appendRow();
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }
};

bool IsSoilTable(Table table) {
  return table == Table::Soil_Prop || table == Table::Aniso;
}

// The first default colour that no soil of `table` shows; when all ten are
// taken, the default of the next number.
std::int64_t UnusedSoilColor(const WorkingStore& store, Table table) {
  const std::vector<Row> rows = store.rows(table);
  for (int k = 1; k <= 10; ++k) {
    const std::int64_t candidate = SoilColorDefault(k);
    const bool used = std::any_of(rows.begin(), rows.end(), [candidate](const Row& r) {
      return (r.integer(SoilCommonField::Color) & 0xFFFFFF) == candidate;
    });
    if (!used) return candidate;
  }
  return SoilColorDefault(static_cast<int>(rows.size()) + 1);
}

// An empty row of `table`; a soil gets a colour of its own.
Row NewRow(const WorkingStore& store, Table table) {
  Row row(table);
  if (IsSoilTable(table)) row.set(SoilCommonField::Color, UnusedSoilColor(store, table));
  return row;
}

}  // namespace

GridEditor::GridEditor(ProjectDocument& document, Table table, Prompter& prompter, QWidget* parent)
    : QTableView(parent), m_document(document), m_prompter(prompter) {
  m_model = new StoreTableModel(document, table, this);
  setModel(m_model);
  setItemDelegate(new TextDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setStretchLastSection(true);
  connect(m_model, &StoreTableModel::editRefused, this,
          GuardedSlot([this](const QString& message) { m_prompter.error(ProgramTitle(), message); }));
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          GuardedSlot([this](const QModelIndex& current, const QModelIndex&) {
            emit currentRowChanged(current.isValid() ? current.row() + 1 : 0);
          }));
}

Table GridEditor::table() const {
  return m_model->table();
}

void GridEditor::setHeaders(const QStringList& titles) {
  m_model->setHeaders(titles);
}

int GridEditor::currentPosition() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

void GridEditor::insertRow() {
  const int count = m_model->rowCount();
  const int position = currentPosition() > 0 ? currentPosition() : count + 1;
  const int column = std::max(currentIndex().column(), 0);
  m_document.insertRows(table(), position, {NewRow(*m_document.project().store, table())});
  setCurrentIndex(m_model->index(position - 1, column));
}

bool GridEditor::lastRowBlank() {
  const int count = m_model->rowCount();
  if (count == 0) return false;
  const WorkingStore& store = *m_document.project().store;
  Row last = store.rowAt(table(), count);
  Row blank = NewRow(store, table());
  if (IsSoilTable(table())) blank.set(SoilCommonField::Color, last.integer(SoilCommonField::Color));
  return last == blank;
}

void GridEditor::appendRow() {
  const int position = m_model->rowCount() + 1;
  const int column = std::max(currentIndex().column(), 0);
  m_document.insertRows(table(), position, {NewRow(*m_document.project().store, table())});
  setCurrentIndex(m_model->index(position - 1, column));
  scrollTo(currentIndex());
}

void GridEditor::deleteRow() {
  const int position = currentPosition();
  if (position < 1) return;
  const int column = currentIndex().column();
  const Table t = table();
  const WorkingStore& store = *m_document.project().store;
  if (IsSoilTable(t)) {
    // Soil k lies above boundary line k: a soil whose line is drawn is
    // asked about before it goes.
    const std::vector<Row> lines = store.rows(Table::Geometry);
    const bool used = std::any_of(lines.begin(), lines.end(),
                                  [position](const Row& r) { return r.integer(GeometryField::LineNo) == position; });
    if (used) {
      const std::uint8_t language = m_document.language();
      const std::string number = std::to_string(position);
      const std::string text = FormatText(UiTextFor(language, UiText::SoilInUseQuestion), {number});
      if (!m_prompter.askOkCancel(ProgramTitle(), MessageBoxText(text))) return;
    }
  }
  if (t == Table::Geometry) {
    // The line's later points close up, as when a point is deleted with
    // the mouse: one step.
    std::vector<Row> rows = store.rows(t);
    const Row gone = rows[static_cast<std::size_t>(position - 1)];
    rows.erase(rows.begin() + (position - 1));
    const std::int64_t line = gone.integer(GeometryField::LineNo), point = gone.integer(GeometryField::PointNo);
    for (Row& r : rows) {
      if (r.integer(GeometryField::LineNo) == line && r.integer(GeometryField::PointNo) > point)
        r.set(GeometryField::PointNo, r.integer(GeometryField::PointNo) - 1);
    }
    m_document.replaceRows(t, std::move(rows));
  } else {
    m_document.removeRows(t, position, 1);
  }
  const int count = m_model->rowCount();
  if (count > 0) setCurrentIndex(m_model->index(std::min(position, count) - 1, std::max(column, 0)));
}

void GridEditor::clearAll() {
  if (m_model->rowCount() == 0) return;
  m_document.replaceRows(table(), {});
}

void GridEditor::keyPressEvent(QKeyEvent* event) {
  // Enter moves on as Tab does; the key itself goes no further.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
    const QModelIndex next = moveCursor(QAbstractItemView::MoveNext, Qt::NoModifier);
    if (next.isValid()) setCurrentIndex(next);
    event->accept();
    return;
  }
  // Down on the last row (or in an empty grid) adds a row after it, unless
  // that row is still blank: holding Down does not fill the table with
  // empty rows.
  if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && state() != EditingState &&
      currentIndex().row() == m_model->rowCount() - 1) {
    if (!lastRowBlank()) appendRow();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

int FieldColumn(Table table, std::string_view field) {
  return static_cast<int>(Row(table).fieldIndex(field));
}

QWidget* MakeRowButtons(const QStringList& names, std::function<GridEditor*()> target, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* h = new QHBoxLayout(box);
  h->setContentsMargins(0, 0, 0, 0);
  // Insert, Append, Delete, Clear All.
  QStringList all = names.mid(0, 3);
  if (!all.isEmpty()) all.insert(1, all.front() + QLatin1String(kAppendSuffix));
  for (int i = 0; i < all.size(); ++i) {
    auto* b = new QPushButton(box);
    b->setObjectName(all[i]);
    QObject::connect(b, &QPushButton::clicked, box, GuardedSlot([target, i](bool) {
                       GridEditor* grid = target();
                       if (!grid) return;
                       if (i == 0) grid->insertRow();
                       if (i == 1) grid->appendRow();
                       if (i == 2) grid->deleteRow();
                       if (i == 3) grid->clearAll();
                     }));
    h->addWidget(b);
  }
  return box;
}

void SetAppendTexts(QWidget* root, std::uint8_t language) {
  const std::string_view text = UiTextFor(language, UiText::AppendRow);
  for (QPushButton* b : root->findChildren<QPushButton*>()) {
    if (b->objectName().endsWith(QLatin1String(kAppendSuffix))) {
      b->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
  }
}

}  // namespace pelodyn
