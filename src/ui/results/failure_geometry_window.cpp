#include "ui/results/failure_geometry_window.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "engine/search.h"
#include "model/numbers.h"
#include "texts/captions.h"
#include "ui/document/guard.h"
#include "ui/document/run_texts.h"

namespace pelodyn {
namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

// Wide enough for ":  -123456.7891" without the window growing when a
// value is long.
constexpr int kValueWidth = 110;

}  // namespace

QString FailureValueText(std::optional<double> value) {
  if (!value) return QStringLiteral(":  N/A");
  return QStringLiteral(":  ") + QString::fromStdString(FormatShortest(RoundHalfEven(*value, 4)));
}

FailureGeometryWindow::FailureGeometryWindow(ProjectDocument& document, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document) {
  setObjectName(QStringLiteral("Form_Failure_Geometry"));
  setWindowTitle(QStringLiteral("Failure Geometry"));
  setModal(true);

  auto* values = new QGridLayout;
  values->setHorizontalSpacing(12);
  m_xCaption = NamedLabel("L_X_Center", QStringLiteral("X Center"), this);
  m_yCaption = NamedLabel("L_Y_Center", QStringLiteral("Y Center"), this);
  m_x = NamedLabel("L_Failure_X_Center", QString(), this);
  m_y = NamedLabel("L_Failure_Y_Center", QString(), this);
  m_radius = NamedLabel("L_Failure_Radius", QString(), this);
  m_area = NamedLabel("L_Failure_Area", QString(), this);
  values->addWidget(m_xCaption, 0, 0);
  values->addWidget(m_x, 0, 1);
  values->addWidget(m_yCaption, 1, 0);
  values->addWidget(m_y, 1, 1);
  values->addWidget(NamedLabel("L_Radius", QStringLiteral("Radius"), this), 2, 0);
  values->addWidget(m_radius, 2, 1);
  values->addWidget(NamedLabel("L_Area", QStringLiteral("Failure Area"), this), 3, 0);
  values->addWidget(m_area, 3, 1);
  values->setColumnMinimumWidth(1, kValueWidth);

  auto* safety = new QGroupBox(QStringLiteral("Safety Factor"), this);
  safety->setObjectName(QStringLiteral("GB_Safety_Factor"));
  auto* fsLayout = new QGridLayout(safety);
  fsLayout->setHorizontalSpacing(12);
  static constexpr const char* kCaptionNames[4] = {"L_Ordinary", "L_Simp_Janbu", "L_Simp_Bishop", "L_Spencer"};
  static constexpr const char* kCaptions[4] = {"Ordinary", "Simp. Janbu", "Simp. Bishop", "Spencer"};
  static constexpr const char* kValueNames[4] = {"L_Failure_Ord", "L_Failure_SJ", "L_Failure_SB", "L_Failure_Spe"};
  for (int k = 0; k < 4; ++k) {
    fsLayout->addWidget(NamedLabel(kCaptionNames[k], QString::fromLatin1(kCaptions[k]), safety), k, 0);
    m_fs[k] = NamedLabel(kValueNames[k], QString(), safety);
    // "no factor" and its meaning may need more than one line.
    m_fs[k]->setWordWrap(true);
    fsLayout->addWidget(m_fs[k], k, 1);
  }
  fsLayout->setColumnMinimumWidth(1, kValueWidth);

  auto* left = new QVBoxLayout;
  left->addLayout(values);
  left->addSpacing(8);
  left->addWidget(safety);
  left->addStretch(1);

  m_points = new StoreTableModel(*m_document.project().store, Table::Failure_Geometry, this);
  m_points->setColumnAlignment(FailureGeometryGrid::No, Qt::AlignCenter);
  m_grid = new QTableView(this);
  m_grid->setObjectName(QStringLiteral("DBGrid1"));
  m_grid->setModel(m_points);
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->verticalHeader()->hide();
  m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
  m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  m_grid->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { color: navy; }"));
  m_grid->setColumnWidth(FailureGeometryGrid::No, 60);
  m_grid->setColumnWidth(FailureGeometryGrid::Coor_X, 80);
  m_grid->setColumnWidth(FailureGeometryGrid::Coor_Y, 80);
  // Room for the three columns and a vertical scroll bar.
  m_grid->setMinimumWidth(60 + 80 + 80 + 2 * m_grid->frameWidth() + 20);
  m_grid->setMinimumHeight(220);

  auto* right = new QVBoxLayout;
  right->addWidget(NamedLabel("L_Surface_Coordinate", QStringLiteral("Failure Surface Coordinate"), this));
  right->addWidget(m_grid, 1);

  auto* body = new QHBoxLayout;
  body->addLayout(left);
  body->addSpacing(12);
  body->addLayout(right, 1);

  m_print = new QPushButton(QStringLiteral("Print"), this);
  m_print->setObjectName(QStringLiteral("B_Print"));
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("B_Close"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_print);
  buttons->addWidget(close);

  // Which surface the values and points are: after a replayed Results row
  // they are not any method's minimum.
  m_shownSurface = NamedLabel("L_Surface_Shown", QString(), this);
  m_shownSurface->setWordWrap(true);
  m_outOfDate = NamedLabel("L_Results_Out_Of_Date", QString(), this);
  m_outOfDate->setWordWrap(true);
  m_outOfDate->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
  m_outOfDate->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_outOfDate);
  layout->addWidget(m_shownSurface);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);

  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_print, &QPushButton::clicked, this, &FailureGeometryWindow::printRequested);
  ProjectNotifier& n = m_document.notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] {
    clearValues();
    m_points->reload();
    refreshPrintButton();
  }));
  connect(&n, &ProjectNotifier::resultsChanged, this, GuardedSlot([this] { onResultsChanged(); }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { onResultsChanged(); }));
  connect(&n, &ProjectNotifier::tableReset, this, GuardedSlot([this](Table table) {
    if (table != Table::Failure_Geometry) return;
    m_points->reload();
    refreshPrintButton();
  }));

  fillValues();
  refreshPrintButton();
}

void FailureGeometryWindow::clearValues() {
  for (QLabel* label : {m_x, m_y, m_radius, m_area, m_fs[0], m_fs[1], m_fs[2], m_fs[3], m_shownSurface}) {
    label->clear();
  }
  m_shownSurface->hide();
  m_outOfDate->hide();
  m_grid->show();
  m_xCaption->setText(QStringLiteral("X Center"));
  m_yCaption->setText(QStringLiteral("Y Center"));
}

void FailureGeometryWindow::onResultsChanged() {
  if (m_document.runInProgress()) return;
  fillValues();
  refreshPrintButton();
}

void FailureGeometryWindow::fillValues() {
  clearValues();
  // Results of other data: none of their values or points is shown, and
  // the table is left as it is.
  if (!m_document.resultsCurrent()) {
    m_outOfDate->setText(
        QString::fromStdString(std::string(UiTextFor(m_document.language(), UiText::ResultsOutOfDate))));
    m_outOfDate->show();
    m_grid->hide();
    return;
  }
  // Nothing analysed yet: no values, and the table keeps what it has.
  const Project& project = m_document.project();
  if (project.slices.BoundaryX.empty()) return;
  const AnalysisModel& model = project.model;
  // The run that made the results says what they are, whatever the options
  // say now.
  const bool circular = m_document.runTheory() == 1;
  m_xCaption->setText(circular ? QStringLiteral("X Center") : QStringLiteral("X Axis"));
  m_yCaption->setText(circular ? QStringLiteral("Y Center") : QStringLiteral("Y Axis"));

  const std::array<bool, kMethodCount> selected = m_document.runMethods();
  for (std::size_t k = 0; k < 4; ++k) {
    const double fs = project.run.Minimum[k].Fs;
    const std::string none = NoFactorText(m_document.language(), fs);
    m_fs[k]->setText(selected[k] && !none.empty()
                         ? QStringLiteral(":  ") + QString::fromStdString(none)
                         : FailureValueText(selected[k] ? std::optional<double>(fs) : std::nullopt));
  }
  // Centre, radius and area of one and the same surface: the one presented
  // last, which is also the project's surface analysed last.
  double x = model.CenterX, y = model.CenterY, radius = model.TrialRadius, area = project.run.SlidingMassArea;
  if (const auto& shown = m_document.presentedSurfaces(); !shown.empty()) {
    x = shown.back().centerX;
    y = shown.back().centerY;
    radius = shown.back().radius;
    area = shown.back().slidingMassArea;
  }
  m_x->setText(FailureValueText(x));
  m_y->setText(FailureValueText(y));
  m_radius->setText(FailureValueText(circular ? std::optional<double>(radius) : std::nullopt));
  m_area->setText(FailureValueText(area));
  m_shownSurface->setText(ShownSurfaceText(m_document));
  m_shownSurface->setVisible(!m_shownSurface->text().isEmpty());

  m_document.recordCriticalSurface();
  m_points->reload();
}

void FailureGeometryWindow::refreshPrintButton() {
  // The result report lists the recorded surface: without one there is
  // nothing to print.
  m_print->setEnabled(!m_document.runInProgress() && m_document.resultsCurrent() &&
                      m_document.project().store->rowCount(Table::Failure_Geometry) > 0);
}

void FailureGeometryWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Guarded([this] { refreshPrintButton(); });
}

}  // namespace pelodyn
