#include "ui/run/progress_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <QEvent>
#include <algorithm>
#include <cmath>

#include "model/control_state.h"
#include "model/numbers.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/run_texts.h"

namespace pelodyn {

namespace {

constexpr const char* kPictureNames[] = {"CB_ShowPic_Ord", "CB_ShowPic_SJ", "CB_ShowPic_SB", "CB_ShowPic_Spe"};
constexpr const char* kPictureTexts[] = {"  Ordinary", "  Simplified Janbu", "  Simplified Bishop", "  Spencer"};
constexpr const char* kMinimumNames[] = {"L_FS_Ord", "L_FS_Simp_Jan", "L_FS_Simp_Bis", "L_FS_Spe"};
const QString kNoMinimum = QStringLiteral("XX.XXX");
// The rows each Details grid shows without scrolling.
constexpr int kDetailRows = 8;

// Gives `view` room for every column and kDetailRows rows: each column as
// wide as its header or the widest number a cell shows, whichever is wider,
// and the vertical scroll bar beside them.
void FitDetailsGrid(QTableView* view) {
  QHeaderView* header = view->horizontalHeader();
  const QFontMetrics metrics = view->fontMetrics();
  const int number = metrics.horizontalAdvance(QStringLiteral("-99999.999")) + 2 * metrics.averageCharWidth();
  int width = 0;
  for (int c = 0; c < header->count(); ++c) {
    const int w = std::max(header->sectionSizeHint(c), number);
    header->resizeSection(c, w);
    width += w;
  }
  view->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
  const int frame = 2 * view->frameWidth();
  width += frame + view->verticalScrollBar()->sizeHint().width();
  const int height = header->sizeHint().height() + kDetailRows * view->verticalHeader()->defaultSectionSize() + frame;
  view->setMinimumSize(width, height);
}

QString Text(std::uint8_t language, UiText text) {
  const std::string_view t = UiTextFor(language, text);
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

bool MethodSelected(const Project& p, int method) {
  static const Option boxes[] = {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop,
                                 Option::CB_Spencer};
  return method == 0 ? UsesOrdinary(p.options) : p.options.checked(boxes[method]);
}

}  // namespace

ProgressWindow::ProgressWindow(ProjectDocument& document, RunController& controller, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      m_document(document),
      m_controller(controller),
      m_resultsModel(*document.project().store),
      m_sortedModel() {
  setObjectName(QStringLiteral("Form_Show_Process"));
  setWindowTitle(QStringLiteral("Calculating ..."));
  setModal(false);

  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  m_total = new QLabel(QStringLiteral("Total Process"), this);
  m_total->setObjectName(QStringLiteral("L_Total_Process"));
  m_percent = new QLabel(QStringLiteral("XX %"), this);
  m_percent->setObjectName(QStringLiteral("L_Process_Percent"));
  m_percent->setMinimumWidth(m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100 %")) + 8);
  m_percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  top->addWidget(m_total, 1);
  top->addWidget(m_percent);
  layout->addLayout(top);
  m_bar = new QProgressBar(this);
  m_bar->setObjectName(QStringLiteral("PB_Process"));
  m_bar->setRange(0, 100);
  m_bar->setValue(0);
  m_bar->setTextVisible(false);
  layout->addWidget(m_bar);

  auto* buttons = new QHBoxLayout;
  m_startStop = new QPushButton(QStringLiteral("Start"), this);
  m_startStop->setObjectName(QStringLiteral("B_Start_Stop"));
  m_details = new QPushButton(QStringLiteral("&Details"), this);
  m_details->setObjectName(QStringLiteral("B_Cal_Details"));
  m_close = new QPushButton(QStringLiteral("&Close"), this);
  m_close->setObjectName(QStringLiteral("B_Cal_Close"));
  for (QPushButton* b : {m_startStop, m_details, m_close}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  // A stopped run's results are partial: said where they show.
  m_stopped = new QLabel(this);
  m_stopped->setObjectName(QStringLiteral("L_Run_Stopped"));
  m_stopped->setWordWrap(true);
  m_stopped->setStyleSheet(QStringLiteral("QLabel { color: #a00000; }"));
  m_stopped->hide();
  layout->addWidget(m_stopped);
  // A minimum on the edge of the grid of centres is no minimum: said here
  // with what to do.
  m_warnings = new QLabel(this);
  m_warnings->setObjectName(QStringLiteral("L_Run_Warnings"));
  m_warnings->setWordWrap(true);
  m_warnings->setStyleSheet(QStringLiteral("QLabel { color: #a05000; }"));
  m_warnings->hide();
  layout->addWidget(m_warnings);
  // Results the data no longer match are no results: said instead of them.
  m_outOfDate = new QLabel(this);
  m_outOfDate->setObjectName(QStringLiteral("L_Results_Out_Of_Date"));
  m_outOfDate->setWordWrap(true);
  m_outOfDate->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
  m_outOfDate->hide();
  layout->addWidget(m_outOfDate);

  auto* minFs = new QWidget(this);
  minFs->setObjectName(QStringLiteral("P_Min_FS"));
  auto* grid = new QGridLayout(minFs);
  auto* method = new QLabel(minFs);
  method->setObjectName(QStringLiteral("Label1"));
  m_methodTitle = method;
  auto* minimum = new QLabel(minFs);
  minimum->setObjectName(QStringLiteral("Label6"));
  m_minimumTitle = minimum;
  QFont bold = method->font();
  bold.setBold(true);
  method->setFont(bold);
  minimum->setFont(bold);
  grid->addWidget(method, 0, 0);
  grid->addWidget(minimum, 0, 1, Qt::AlignRight);
  for (int k = 0; k < 4; ++k) {
    m_pictures[k] = new QCheckBox(QString::fromLatin1(kPictureTexts[k]), minFs);
    m_pictures[k]->setObjectName(QString::fromLatin1(kPictureNames[k]));
    m_pictures[k]->setChecked(true);
    m_minima[k] = new QLabel(kNoMinimum, minFs);
    m_minima[k]->setObjectName(QString::fromLatin1(kMinimumNames[k]));
    // "no factor" and its reason may need more than one line.
    m_minima[k]->setWordWrap(true);
    m_minima[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_pictures[k], k + 1, 0);
    grid->addWidget(m_minima[k], k + 1, 1);
    const int methodIndex = k;
    connect(m_pictures[k], &QCheckBox::clicked, this, GuardedSlot([this, methodIndex](bool on) {
              if (m_controller.isRunning()) return;
              m_document.setShowPicture(methodIndex, on);
              // Out-of-date minima are not drawn again on other data.
              if (m_document.project().run.RunStarted == 1 && m_document.resultsCurrent()) {
                SilentPlatform silent;
                m_document.presentCriticalSurfaces(silent);
              }
            }));
  }
  layout->addWidget(minFs);

  m_calFs = new QLabel(this);
  m_calFs->setObjectName(QStringLiteral("L_Cal_FS"));
  layout->addWidget(m_calFs);
  m_results = new QTableView(this);
  m_results->setObjectName(QStringLiteral("DBG_Results"));
  m_results->setModel(&m_resultsModel);
  m_results->verticalHeader()->hide();
  // Rows of one height: the view never asks a million rows for their size.
  m_results->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  layout->addWidget(m_results, 1);
  auto* sortRow = new QHBoxLayout;
  m_sort = new QPushButton(this);
  m_sort->setObjectName(QStringLiteral("B_Sort"));
  m_sort->setAutoDefault(false);
  m_method = new QComboBox(this);
  m_method->setObjectName(QStringLiteral("CB_Method"));
  m_method->addItem(QString());  // the sort's method, named in the user's language
  m_method->setEnabled(false);
  sortRow->addWidget(m_sort);
  sortRow->addWidget(m_method, 1);
  layout->addLayout(sortRow);
  m_sorted = new QTableView(this);
  m_sorted->setObjectName(QStringLiteral("DBG_Sort_Result"));
  m_sorted->setModel(&m_sortedModel);
  m_sorted->verticalHeader()->hide();
  m_sorted->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_sorted->setSelectionBehavior(QAbstractItemView::SelectRows);
  layout->addWidget(m_sorted, 1);

  connect(m_startStop, &QPushButton::clicked, this, GuardedSlot([this](bool) { startOrStop(); }));
  connect(m_details, &QPushButton::clicked, this, GuardedSlot([this](bool) { setDetailsShown(!m_detailsShown); }));
  connect(m_close, &QPushButton::clicked, this, &QDialog::close);
  connect(m_sort, &QPushButton::clicked, this, GuardedSlot([this](bool) { sortResults(); }));
  connect(m_sorted, &QTableView::clicked, this, GuardedSlot([this](const QModelIndex& index) {
            if (index.isValid()) chooseSortedRow(index.row());
          }));
  ProjectNotifier& n = m_document.notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { clearForNewProject(); }));
  // Results rows read back with a reopened project.
  connect(&n, &ProjectNotifier::tableReset, this, GuardedSlot([this](Table table) {
    if (table == Table::Results) refreshResults();
  }));
  // The results became out of date, current again, or were presented anew.
  connect(&n, &ProjectNotifier::resultsChanged, this, GuardedSlot([this] { showRunResults(); }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
  // Other methods chosen, another theory: the boxes follow at once.
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](Option control) {
    static constexpr Option kChoices[] = {Option::RG_Theory, Option::CB_Ordinary, Option::CB_Simp_Janbu,
                                          Option::CB_Simp_Bishop, Option::CB_Spencer};
    if (!m_controller.isRunning() &&
        std::find(std::begin(kChoices), std::end(kChoices), control) != std::end(kChoices)) {
      prepareForProject();
    }
  }));

  QtRunFeedback& f = m_controller.feedback();
  connect(&f, &QtRunFeedback::progress, this, GuardedSlot([this](const ProgressCopy& p) { onProgress(p); }));
  connect(&f, &QtRunFeedback::minima, this, GuardedSlot([this](const MinimaCopy& m) { onMinima(m); }));
  connect(&f, &QtRunFeedback::caption, this,
          GuardedSlot([this](const std::string& c) { setWindowTitle(runCaption(c)); }));
  connect(&f, &QtRunFeedback::closeRequested, this, &QDialog::close);
  connect(&m_controller, &RunController::started, this, GuardedSlot([this] { onStarted(); }));
  connect(&m_controller, &RunController::finished, this, GuardedSlot([this](int, const QString&) { onFinished(); }));

  setDetailsShown(false);
  retranslate();
  resize(340, 228);
}

QString ProgressWindow::runCaption(const std::string& caption) const {
  // The run names its two stages in English; the window shows them in the
  // user's language.
  const std::uint8_t language = m_document.language();
  if (caption == UiTextFor(kLanguageEnglish, UiText::ProgressCalculating)) {
    return Text(language, UiText::ProgressCalculating);
  }
  if (caption == UiTextFor(kLanguageEnglish, UiText::ProgressComplete)) return Text(language, UiText::ProgressComplete);
  return QString::fromStdString(caption);
}

void ProgressWindow::fitDetails() {
  FitDetailsGrid(m_results);
  FitDetailsGrid(m_sorted);
  layout()->activate();
  const QSize wanted = sizeHint().expandedTo(minimumSizeHint());
  resize(std::max(width(), wanted.width()), std::max(height(), wanted.height()));
}

void ProgressWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Guarded([this] { prepareForProject(); });
}

void ProgressWindow::retranslate() {
  const std::uint8_t language = m_document.language();
  ++m_retranslateCount;
  const bool running = m_controller.isRunning();
  m_methodTitle->setText(Text(language, UiText::ProgressMethod));
  m_minimumTitle->setText(Text(language, UiText::ProgressMinimumFs));
  const std::string_view bishop = MethodName(language, 2);
  m_method->setItemText(0, QString::fromUtf8(bishop.data(), static_cast<qsizetype>(bishop.size())));
  m_calFs->setText(Text(language, UiText::ProgressFactorOfSafety));
  m_sort->setText(Text(language, UiText::ProgressSort));
  m_close->setText(Text(language, UiText::ProgressClose));
  m_startStop->setText(Text(language, running ? UiText::ProgressStop : UiText::ProgressStart));
  m_details->setText(Text(language, m_detailsShown ? UiText::ProgressHide : UiText::ProgressDetails));
  // Before a run reports, the labels show their names.
  if (!running && m_bar->value() == 0) {
    m_total->setText(Text(language, UiText::ProgressTotal));
    setWindowTitle(Text(language, UiText::ProgressCalculating));
  }
  const QStringList titles = Text(language, UiText::ProgressResultsTitles).split(QLatin1Char('|'));
  m_resultsModel.setHeaders(titles);
  m_sortedModel.setHeaders({titles[0], titles[1], titles[2], titles[3], titles[6]});
  showRunResults();
}

void ProgressWindow::showRunResults() {
  // While a search runs the labels show what it reports.
  if (m_controller.isRunning()) return;
  const std::uint8_t language = m_document.language();
  const auto& last = m_document.lastRun();
  const bool current = m_document.resultsCurrent();
  const bool ran =
      last && !m_refused && (last->outcome == RunOutcome::Complete || last->outcome == RunOutcome::Stopped);
  const bool shown = ran && current;
  const std::array<bool, kMethodCount> methods = m_document.runMethods();
  const RunState& run = m_document.project().run;
  for (std::size_t k = 0; k < 4; ++k) {
    m_minima[k]->setText(shown && methods[k] ? FactorText(language, run.Minimum[k].Fs) : kNoMinimum);
  }
  const bool stopped = shown && last->outcome == RunOutcome::Stopped;
  m_stopped->setText(stopped ? StoppedRunText(language, *last) : QString());
  m_stopped->setVisible(stopped);
  const QString warnings = shown ? RunWarningsText(language, *last) : QString();
  m_warnings->setText(warnings);
  m_warnings->setVisible(!warnings.isEmpty());
  m_outOfDate->setText(QString::fromStdString(std::string(UiTextFor(language, UiText::ResultsOutOfDate))));
  m_outOfDate->setVisible(!current);
  // Out-of-date rows are no more current than the minima: the details list
  // none, and there is nothing to sort.
  m_resultsModel.setFrozen(!current);
  if (!current) {
    m_sortedModel.clear();
    m_sorted->setVisible(false);
  }
  m_sort->setEnabled(current);
}

void ProgressWindow::clearForNewProject() {
  const std::uint8_t language = m_document.language();
  m_total->setText(Text(language, UiText::ProgressTotal));
  m_percent->setText(QStringLiteral("XX %"));
  m_bar->setValue(0);
  setWindowTitle(Text(language, UiText::ProgressCalculating));
  m_refused = false;
  m_sortedModel.clear();
  m_sorted->setVisible(false);
  m_resultsModel.reload();
  prepareForProject();
}

void ProgressWindow::chooseSortedRow(int row) {
  if (m_controller.isRunning() || row < 0 || row >= m_sortedModel.rowCount()) return;
  if (!m_document.resultsCurrent()) return;
  const SortedResult& r = m_sortedModel.sortedRow(row);
  SilentPlatform silent;
  m_document.presentResultsRow(silent, r.radius, r.xCenter, r.yCenter);
}

void ProgressWindow::prepareForProject() {
  const Project& p = m_document.project();
  const bool irregular = p.options.itemIndex(Option::RG_Theory) == 2;
  if (irregular) {
    m_details->setText(Text(m_document.language(), UiText::ProgressDetails));
    m_details->setEnabled(false);
    setDetailsShown(false);
  } else {
    m_details->setEnabled(true);
  }
  for (int k = 0; k < 4; ++k) {
    const bool selected = MethodSelected(p, k);
    QSignalBlocker block(m_pictures[k]);
    m_pictures[k]->setEnabled(selected);
    m_pictures[k]->setChecked(selected);
    m_minima[k]->setEnabled(selected);
  }
  for (int k = 0; k < 4; ++k) m_document.setShowPicture(k, m_pictures[k]->isChecked());
  showRunResults();
}

void ProgressWindow::startOrStop() {
  const std::uint8_t language = m_document.language();
  if (m_controller.isRunning()) {
    m_startStop->setText(Text(language, UiText::ProgressStart));
    m_controller.requestStop();
    return;
  }
  m_startStop->setText(Text(language, UiText::ProgressStop));
  if (!m_controller.start()) {
    m_startStop->setText(Text(language, UiText::ProgressStart));
    m_refused = true;
    showRunResults();
  }
}

void ProgressWindow::onStarted() {
  m_startStop->setText(Text(m_document.language(), UiText::ProgressStop));
  m_sort->setEnabled(false);
  m_refused = false;
  m_stopped->hide();
  m_warnings->hide();
  m_outOfDate->hide();
  // Nothing found yet: the previous run's minima are not this run's.
  for (QLabel* label : m_minima) label->setText(kNoMinimum);
  // The worker owns the store from here: the grids read nothing.
  m_resultsModel.setFrozen(true);
  m_sortedModel.clear();
}

void ProgressWindow::onFinished() {
  m_startStop->setText(Text(m_document.language(), UiText::ProgressStart));
  m_sort->setEnabled(true);
  m_resultsModel.setFrozen(false);
  // The minima the run left replace what it reported on its way: the two
  // may differ (an automatic search reports a method's minimum as another
  // method's walk finds it, then keeps each method's own).
  showRunResults();
}

void ProgressWindow::onProgress(const ProgressCopy& progress) {
  if (!progress.total.empty()) {
    // "37 of 250": the run's English " of " in the user's language.
    QString total = QString::fromStdString(progress.total);
    total.replace(Text(kLanguageEnglish, UiText::ProgressOf), Text(m_document.language(), UiText::ProgressOf));
    m_total->setText(total);
  }
  if (!progress.percent.empty()) m_percent->setText(QString::fromStdString(progress.percent));
  m_bar->setValue(std::clamp(progress.bar, 0, 100));
}

void ProgressWindow::onMinima(const MinimaCopy& minima) {
  for (std::size_t k = 0; k < 4; ++k) {
    if (!minima.shown[k]) continue;
    m_minima[k]->setText(std::isfinite(minima.fs[k]) ? FactorText(m_document.language(), minima.fs[k])
                                                     : QString::fromStdString(minima.labels[k]));
  }
}

void ProgressWindow::setDetailsShown(bool shown) {
  if (shown && m_controller.isRunning()) shown = true;
  m_detailsShown = shown;
  m_details->setText(Text(m_document.language(), shown ? UiText::ProgressHide : UiText::ProgressDetails));
  m_calFs->setVisible(shown);
  m_results->setVisible(shown);
  m_sort->setVisible(shown);
  m_method->setVisible(shown);
  if (!shown) m_sorted->setVisible(false);
  if (shown) {
    // The details hold eight columns: the window widens to show them.
    fitDetails();
  } else {
    // Back to the small window the hidden grids no longer need.
    layout()->activate();
    resize(std::max(340, minimumSizeHint().width()), std::max(228, minimumSizeHint().height()));
  }
  if (shown && !m_controller.isRunning()) refreshResults();
}

void ProgressWindow::refreshResults() {
  if (m_controller.isRunning()) return;
  m_resultsModel.reload();
}

void ProgressWindow::sortResults() {
  if (m_controller.isRunning()) return;
  m_sortedModel.setRows(SortResultsByBishop(*m_document.project().store));
  m_sorted->setVisible(true);
  // The sorted grid below the first needs its rows too.
  fitDetails();
}

}  // namespace pelodyn
