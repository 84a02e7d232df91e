#include "ui/results/slice_forces_window.h"

#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "engine/rigorous.h"
#include "model/numbers.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/run_texts.h"

namespace pelodyn {
namespace {

QLabel* NamedLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(true);
  return label;
}

QString Number(double value, int decimals) {
  return QString::fromStdString(FormatFixed(RoundHalfEven(value, decimals), decimals));
}

std::string Shortest(double value, int decimals) {
  return FormatShortest(RoundHalfEven(value, decimals));
}

// The columns of the table: per slice, then E and X on its left and right.
constexpr int kColumns = 10;

}  // namespace

SliceForcesWindow::SliceForcesWindow(ProjectDocument& document, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document) {
  setObjectName(QStringLiteral("Form_Slice_Forces"));
  setModal(true);

  m_outOfDate = NamedLabel("L_Results_Out_Of_Date", this);
  m_outOfDate->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
  m_shownSurface = NamedLabel("L_Surface_Shown", this);
  m_solution = NamedLabel("L_Solution", this);
  m_checks = NamedLabel("L_Checks", this);

  m_table = new QTableWidget(0, kColumns, this);
  m_table->setObjectName(QStringLiteral("G_Slice_Forces"));
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->verticalHeader()->hide();
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_table->setMinimumHeight(200);

  m_normal = new QLineSeries(this);
  m_shear = new QLineSeries(this);
  auto* chart = new QChart;
  chart->addSeries(m_normal);
  chart->addSeries(m_shear);
  auto* xAxis = new QValueAxis(chart);
  auto* yAxis = new QValueAxis(chart);
  xAxis->setTitleText(QStringLiteral("x"));
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  for (QLineSeries* series : {m_normal, m_shear}) {
    series->attachAxis(xAxis);
    series->attachAxis(yAxis);
  }
  chart->legend()->setAlignment(Qt::AlignBottom);
  m_chart = new QChartView(chart, this);
  m_chart->setObjectName(QStringLiteral("C_Interslice_Forces"));
  m_chart->setRenderHint(QPainter::Antialiasing);
  m_chart->setMinimumSize(520, 240);

  m_close = new QPushButton(this);
  m_close->setObjectName(QStringLiteral("B_Close"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_outOfDate);
  layout->addWidget(m_shownSurface);
  layout->addWidget(m_solution);
  layout->addWidget(m_table, 1);
  layout->addWidget(m_chart, 1);
  layout->addWidget(m_checks);
  layout->addLayout(buttons);

  connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
  ProjectNotifier& n = m_document.notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { clear(); }));
  connect(&n, &ProjectNotifier::resultsChanged, this, GuardedSlot([this] {
    if (!m_document.runInProgress()) fill();
  }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { fill(); }));
  fill();
}

void SliceForcesWindow::retranslate() {
  const std::uint8_t language = m_document.language();
  auto text = [language](UiText id) { return QString::fromStdString(std::string(UiTextFor(language, id))); };
  setWindowTitle(text(UiText::SliceForcesCaption));
  m_close->setText(text(UiText::SliceForcesClose));
  m_normal->setName(text(UiText::SliceForcesNormalSeries));
  m_shear->setName(text(UiText::SliceForcesShearSeries));
  const QString left = text(UiText::SliceForcesLeft), right = text(UiText::SliceForcesRight);
  m_table->setHorizontalHeaderLabels({text(UiText::SliceForcesSlice), QStringLiteral("x"), QStringLiteral("W"),
                                      QStringLiteral("N"), QStringLiteral("S"), QStringLiteral("U"), "E " + left,
                                      "E " + right, "X " + left, "X " + right});
}

void SliceForcesWindow::clear() {
  retranslate();
  m_table->setRowCount(0);
  m_normal->clear();
  m_shear->clear();
  for (QLabel* label : {m_outOfDate, m_shownSurface, m_solution, m_checks}) {
    label->clear();
    label->hide();
  }
  m_table->show();
  m_chart->show();
}

void SliceForcesWindow::fill() {
  clear();
  const std::uint8_t language = m_document.language();
  auto show = [](QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
    label->show();
  };
  // Results of other data: none of their forces.
  if (!m_document.resultsCurrent()) {
    show(m_outOfDate, std::string(UiTextFor(language, UiText::ResultsOutOfDate)));
    m_table->hide();
    m_chart->hide();
    return;
  }
  const Project& project = m_document.project();
  const SliceSet& s = project.slices;
  SliceForces forces;
  const RigorousResult r = s.BoundaryX.empty()
                               ? RigorousResult{}
                               : MorgensternPrice(s, project.model.SeismicKh, project.model.SeismicKv, {}, &forces);
  if (r.outcome == RigorousOutcome::NotAnalysed) {
    show(m_solution, std::string(UiTextFor(language, UiText::SliceForcesNoSurface)));
    return;
  }
  const QString shown = ShownSurfaceText(m_document);
  if (!shown.isEmpty()) show(m_shownSurface, shown.toStdString());
  if (r.outcome != RigorousOutcome::Converged) {
    show(m_solution,
         FormatText(UiTextFor(language, UiText::SliceForcesNoSolution), {std::string(RigorousOutcomeText(r.outcome))}));
    return;
  }
  show(m_solution,
       FormatText(UiTextFor(language, UiText::SliceForcesSolution), {Shortest(r.F, 3), Shortest(r.lambda, 3)}));

  const std::size_t slices = forces.Weight.size();
  m_table->setRowCount(static_cast<int>(slices));
  for (std::size_t k = 0; k < slices; ++k) {
    const double values[kColumns] = {static_cast<double>(k + 1),
                                     (forces.BoundaryX[k] + forces.BoundaryX[k + 1]) / 2.0,
                                     forces.Weight[k],
                                     forces.Normal[k],
                                     forces.Shear[k],
                                     forces.PoreForce[k],
                                     forces.E[k],
                                     forces.E[k + 1],
                                     forces.X[k],
                                     forces.X[k + 1]};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(c == 0 ? QString::number(k + 1) : Number(values[c], c == 1 ? 3 : 2));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_table->setItem(static_cast<int>(k), c, item);
    }
  }

  double low = 0.0, high = 0.0;
  for (std::size_t b = 0; b < forces.E.size(); ++b) {
    m_normal->append(forces.BoundaryX[b], forces.E[b]);
    m_shear->append(forces.BoundaryX[b], forces.X[b]);
    low = std::min({low, forces.E[b], forces.X[b]});
    high = std::max({high, forces.E[b], forces.X[b]});
  }
  const auto axes = m_chart->chart()->axes();
  for (QAbstractAxis* axis : axes) {
    auto* value = qobject_cast<QValueAxis*>(axis);
    if (!value) continue;
    if (axis->alignment() == Qt::AlignBottom) {
      value->setRange(forces.BoundaryX.front(), forces.BoundaryX.back());
    } else {
      const double margin = 0.05 * std::max(high - low, 1.0);
      value->setRange(low - margin, high + margin);
    }
  }

  const std::vector<ForceWarning> warnings = CheckSliceForces(forces);
  std::string checks;
  for (const ForceWarning& w : warnings) {
    if (!checks.empty()) checks += '\n';
    checks += FormatText(UiTextFor(language, w.kind == ForceWarning::Kind::Tension ? UiText::SliceForcesTension
                                                                                   : UiText::SliceForcesThrustOutside),
                         {Shortest(w.x, 3)});
  }
  show(m_checks, warnings.empty() ? std::string(UiTextFor(language, UiText::SliceForcesChecksPassed)) : checks);
}

}  // namespace pelodyn
