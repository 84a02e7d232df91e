#include "ui/forms/grid_editor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>

#include "model/soil_color.h"
#include "texts/captions.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/models/store_table_model.h"

namespace pelodyn {

namespace {

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
  // Enter in a cell being typed moves on as Tab does.
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        auto* editor = static_cast<QWidget*>(object);
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }
};

bool IsSoilTable(Table table) {
  return table == Table::Soil_Prop || table == Table::Aniso;
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
          [this](const QString& message) { m_prompter.error(ProgramTitle(), message); });
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            emit currentRowChanged(current.isValid() ? current.row() + 1 : 0);
          });
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
  const Table t = table();
  const int count = m_model->rowCount();
  const int position = currentPosition() > 0 ? currentPosition() : count + 1;
  Row row(t);
  // A new soil takes the colour of its number: the rows before it plus one.
  if (IsSoilTable(t)) row.set("Color", static_cast<std::int64_t>(SoilColorDefault(count + 1)));
  m_document.insertRows(t, position, {std::move(row)});
  const int column = std::max(currentIndex().column(), 0);
  setCurrentIndex(m_model->index(position - 1, column));
}

void GridEditor::deleteRow() {
  const int position = currentPosition();
  if (position < 1) return;
  const int column = currentIndex().column();
  m_document.removeRows(table(), position, 1);
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
  QTableView::keyPressEvent(event);
}

int FieldColumn(Table table, std::string_view field) {
  return static_cast<int>(Row(table).fieldIndex(field));
}

QWidget* MakeRowButtons(const QStringList& names, std::function<GridEditor*()> target, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* h = new QHBoxLayout(box);
  h->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 3 && i < names.size(); ++i) {
    auto* b = new QPushButton(box);
    b->setObjectName(names[i]);
    QObject::connect(b, &QPushButton::clicked, box, GuardedSlot([target, i](bool) {
                       GridEditor* grid = target();
                       if (!grid) return;
                       if (i == 0) grid->insertRow();
                       if (i == 1) grid->deleteRow();
                       if (i == 2) grid->clearAll();
                     }));
    h->addWidget(b);
  }
  return box;
}

}  // namespace pelodyn
