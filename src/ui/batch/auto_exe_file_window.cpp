#include "ui/batch/auto_exe_file_window.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>

#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/batch/auto_exe_file_report.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"

namespace pelodyn {

// What the batch tells the window, from the worker thread: the file it is
// at and the progress of its search, handed over by queued calls (at most
// about 30 a second). Messages are not shown: the summary holds the reason
// of every file that failed. A question is answered OK, as the command-line
// program answers it.
class BatchFeedback final : public PlatformServices {
 public:
  using Sink = std::function<void(int file, int barPercent, const QString& trials)>;
  BatchFeedback(Sink sink, const std::atomic<bool>& stop) : m_sink(std::move(sink)), m_stop(stop) {}

  void startFile(int file) {
    // The files after a stop are not begun: the position stays on the file
    // that was stopped.
    if (m_stop) return;
    m_file = file;
    m_bar = 0;
    m_last = {};
    m_sink(file, 0, QString());
  }
  // Where the batch stands, in percent of all `count` files: the files
  // before the current one and the current one's own progress. Read once
  // the worker has ended.
  int overallPercent(int count) const { return (m_file * 100 + std::clamp(m_bar, 0, 100)) / std::max(count, 1); }
  void showMessage(MessageKind, std::string_view, std::string_view) override {}
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const ProgressReport& report) override {
    // Once the stop is asked for, a search may still report its end: the
    // batch stands where it was stopped.
    if (!m_stop) m_bar = report.barPercent;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_last < std::chrono::milliseconds(33) && report.barPercent < 100) return;
    m_last = now;
    m_sink(m_file, report.barPercent, QString::fromStdString(report.totalProcess));
  }
  void processPendingEvents() override {}

 private:
  Sink m_sink;
  const std::atomic<bool>& m_stop;
  int m_file = 0;
  int m_bar = 0;
  std::chrono::steady_clock::time_point m_last{};
};

namespace {

QPushButton* Button(const char* name, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

QLabel* Label(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

QListWidget* List(const char* name, QWidget* parent) {
  auto* l = new QListWidget(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setSelectionMode(QAbstractItemView::ExtendedSelection);
  return l;
}

QString Ui(std::uint8_t language, UiText text) {
  const std::string_view t = UiTextFor(language, text);
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString Ui(std::uint8_t language, UiText text, std::initializer_list<std::string_view> args) {
  return QString::fromStdString(FormatText(UiTextFor(language, text), args));
}

}  // namespace

AutoExeFileWindow::AutoExeFileWindow(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_document(document), m_prompter(prompter) {
  setObjectName(QStringLiteral("Form_AutoExeFile"));
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid, 1);

  // The folder chooser: drives (and the home folder), the folder shown and
  // its sub-folders.
  m_directoryLabel = Label("L_Source_Directory", this);
  grid->addWidget(m_directoryLabel, 0, 0);
  m_drives = new QComboBox(this);
  m_drives->setObjectName(QStringLiteral("DCB_Source"));
  grid->addWidget(m_drives, 1, 0);
  m_folderLabel = Label("L_Source_Folder", this);
  m_folderLabel->setWordWrap(true);
  m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(m_folderLabel, 2, 0);
  m_folders = new QListWidget(this);
  m_folders->setObjectName(QStringLiteral("DLB_Source"));
  grid->addWidget(m_folders, 3, 0);
  // The platform's folder dialog reaches a folder faster than a walk
  // through the list.
  m_browse = Button("B_Browse", this);
  grid->addWidget(m_browse, 4, 0);

  m_filesLabel = Label("L_Source_Files", this);
  grid->addWidget(m_filesLabel, 0, 1);
  m_files = List("FLB_Source", this);
  grid->addWidget(m_files, 1, 1, 3, 1);

  auto* middle = new QVBoxLayout;
  middle->addStretch(1);
  m_add = Button("B_Add", this);
  m_addAll = Button("B_AddAll", this);
  middle->addWidget(m_add);
  middle->addWidget(m_addAll);
  middle->addStretch(1);
  grid->addLayout(middle, 1, 2, 3, 1);

  m_selectedLabel = Label("L_Selected_Files", this);
  grid->addWidget(m_selectedLabel, 0, 3);
  m_select = List("LB_Select", this);
  m_select->installEventFilter(this);
  grid->addWidget(m_select, 1, 3, 3, 1);
  m_total = Label("L_Total_Case", this);
  grid->addWidget(m_total, 4, 3);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(3, 4);

  // The progress of a batch.
  auto* progress = new QGroupBox(this);
  progress->setObjectName(QStringLiteral("GB_Batch_Progress"));
  m_progress = progress;
  auto* pv = new QVBoxLayout(progress);
  m_fileLabel = Label("L_Batch_File", progress);
  m_bar = new QProgressBar(progress);
  m_bar->setObjectName(QStringLiteral("PB_Batch"));
  m_bar->setRange(0, 100);
  m_bar->setValue(0);
  m_trialLabel = Label("L_Batch_Process", progress);
  pv->addWidget(m_fileLabel);
  pv->addWidget(m_bar);
  pv->addWidget(m_trialLabel);
  outer->addWidget(progress);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  m_run = Button("B_Run", this);
  m_stop = Button("B_Stop", this);
  m_cancel = Button("B_Cancel", this);
  buttons->addWidget(m_run);
  buttons->addWidget(m_stop);
  buttons->addWidget(m_cancel);
  outer->addLayout(buttons);

  m_add->setEnabled(false);
  m_addAll->setEnabled(false);
  m_run->setEnabled(false);
  m_stop->setEnabled(false);

  connect(this, &AutoExeFileWindow::progressArrived, this,
          GuardedSlot([this](int file, int bar, const QString& trials) { showProgress(file, bar, trials); }),
          Qt::QueuedConnection);
  m_feedback = std::make_unique<BatchFeedback>(
      [this](int file, int bar, const QString& trials) { emit progressArrived(file, bar, trials); }, m_stopRequested);

  connect(m_browse, &QPushButton::clicked, this, GuardedSlot([this](bool) { chooseFolder(); }));
  connect(m_add, &QPushButton::clicked, this, GuardedSlot([this](bool) { addSelected(); }));
  connect(m_addAll, &QPushButton::clicked, this, GuardedSlot([this](bool) { addAll(); }));
  connect(m_run, &QPushButton::clicked, this, GuardedSlot([this](bool) { run(); }));
  connect(m_stop, &QPushButton::clicked, this, GuardedSlot([this](bool) { stop(); }));
  connect(m_cancel, &QPushButton::clicked, this, GuardedSlot([this](bool) { reject(); }));
  connect(&document.notifier(), &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
  connect(m_drives, &QComboBox::activated, this,
          GuardedSlot([this](int index) { setFolder(m_drives->itemData(index).toString()); }));
  connect(m_folders, &QListWidget::itemActivated, this,
          GuardedSlot([this](QListWidgetItem* item) { enterFolder(item->text()); }));

  fillDrives();
  setFolder(startFolder());
  retranslate();
  resize(860, 480);
}

AutoExeFileWindow::~AutoExeFileWindow() {
  if (m_thread) {
    m_stopRequested = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
  }
}

void AutoExeFileWindow::fillDrives() {
  m_drives->clear();
  for (const QFileInfo& drive : QDir::drives()) m_drives->addItem(drive.absoluteFilePath(), drive.absoluteFilePath());
  m_drives->addItem(QDir::homePath(), QDir::homePath());
}

QString AutoExeFileWindow::startFolder() const {
  // The open project's folder, where its neighbours are likely to be; a
  // project not yet saved has none.
  const QFileInfo project(m_document.projectFilePath());
  if (project.isAbsolute() && project.absoluteDir().exists()) return project.absolutePath();
  return QDir::homePath();
}

void AutoExeFileWindow::chooseFolder() {
  if (isRunning()) return;
  const auto chosen = m_prompter.chooseFolder(Ui(m_document.language(), UiText::BatchSourceDirectory), m_folder);
  if (chosen) setFolder(*chosen);
}

void AutoExeFileWindow::setFolder(const QString& folder) {
  const QDir dir(folder);
  if (!dir.exists()) return;
  m_folder = dir.absolutePath();
  m_folderLabel->setText(QDir::toNativeSeparators(m_folder));
  // The drive (or home folder) the folder lies on.
  int drive = -1;
  for (int k = 0; k < m_drives->count(); ++k) {
    const QString root = m_drives->itemData(k).toString();
    if ((m_folder + QLatin1Char('/')).startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/')) &&
        (drive < 0 || root.size() > m_drives->itemData(drive).toString().size())) {
      drive = k;
    }
  }
  if (drive >= 0) m_drives->setCurrentIndex(drive);
  m_folders->clear();
  if (!dir.isRoot()) m_folders->addItem(QStringLiteral(".."));
  m_folders->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
  m_files->clear();
  m_files->addItems(dir.entryList({QStringLiteral("*.pdd")}, QDir::Files, QDir::Name));
  refreshState();
}

void AutoExeFileWindow::enterFolder(const QString& name) {
  QDir dir(m_folder);
  if (dir.cd(name)) setFolder(dir.absolutePath());
}

QStringList AutoExeFileWindow::selectedFiles() const {
  QStringList out;
  for (int k = 0; k < m_select->count(); ++k) out << m_select->item(k)->text();
  return out;
}

void AutoExeFileWindow::addSelected() {
  if (isRunning()) return;
  const QDir dir(m_folder);
  for (int k = 0; k < m_files->count(); ++k) {
    QListWidgetItem* item = m_files->item(k);
    if (!item->isSelected()) continue;
    const QString path = dir.filePath(item->text());
    if (selectedFiles().contains(path, Qt::CaseSensitive)) continue;
    m_select->addItem(path);
    ++m_selectedCount;
    refreshTotal();
  }
  refreshState();
}

void AutoExeFileWindow::addAll() {
  if (isRunning()) return;
  m_files->selectAll();
  addSelected();
}

void AutoExeFileWindow::removeSelected() {
  if (isRunning()) return;
  for (int k = m_select->count() - 1; k >= 0; --k) {
    if (m_select->item(k)->isSelected()) {
      delete m_select->takeItem(k);
      --m_selectedCount;
      refreshTotal();
    }
  }
  refreshState();
}

bool AutoExeFileWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_select && event->type() == QEvent::KeyPress) {
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
      Guarded([this] { removeSelected(); });
      return true;
    }
    refreshState();
  }
  return QDialog::eventFilter(watched, event);
}

void AutoExeFileWindow::refreshState() {
  const bool idle = !isRunning();
  m_add->setEnabled(idle && m_files->count() > 0);
  m_addAll->setEnabled(idle && m_files->count() > 0);
  m_run->setEnabled(idle && m_select->count() > 0);
  m_stop->setEnabled(!idle);
  m_cancel->setEnabled(idle);
  for (QWidget* w : std::initializer_list<QWidget*>{m_drives, m_folders, m_browse, m_files, m_select}) {
    w->setEnabled(idle);
  }
}

void AutoExeFileWindow::refreshTotal() {
  m_total->setText(Ui(m_document.language(), UiText::BatchTotal, {std::to_string(m_selectedCount)}));
}

bool AutoExeFileWindow::run() {
  if (isRunning() || m_select->count() == 0) return false;
  const std::uint8_t language = m_document.language();
  const bool ok = m_prompter.askOkCancel(Ui(language, UiText::BatchQuestionCaption),
                                         MessageBoxText(UiTextFor(language, UiText::BatchQuestion)));
  if (!ok) return false;

  // Every batch starts with the stop request cleared.
  m_stopRequested = false;
  m_batchFiles = selectedFiles();
  m_reports.clear();
  m_summary.clear();
  m_summaryError.clear();
  if (m_report) {
    m_report->close();
    m_report->deleteLater();
    m_report = nullptr;
  }
  std::vector<std::filesystem::path> files;
  for (const QString& f : m_batchFiles) files.emplace_back(f.toStdString());
  BatchOptions options;
  options.language = m_document.language();
  options.threads = 0;  // one per core; the results are the same for any number
  options.stop = &m_stopRequested;

  m_thread = QThread::create([this, files = std::move(files), options] {
    BatchFeedback& feedback = *m_feedback;
    feedback.startFile(0);
    std::vector<FileReport> reports =
        AnalyseProjectFiles(files, feedback, options, [&](std::size_t index, const FileReport&) {
          emit fileDone(static_cast<int>(index));
          if (index + 1 < files.size()) feedback.startFile(static_cast<int>(index) + 1);
        });
    std::string summary = SummaryText(reports, options.language);
    std::string error;
    try {
      WriteSummaryText(DefaultSummaryPath(), summary);
    } catch (const std::exception& e) {
      error = e.what();
    }
    // Read by the window only after the thread has finished.
    m_reports = std::move(reports);
    m_summary = std::move(summary);
    m_summaryError = std::move(error);
  });
  connect(m_thread, &QThread::finished, this, [this] { Guarded([this] { onFinished(); }); });
  refreshState();
  showProgress(0, 0, QString());
  m_thread->start();
  return true;
}

void AutoExeFileWindow::stop() {
  if (isRunning()) m_stopRequested = true;
}

void AutoExeFileWindow::reject() {
  // Closing the window while a batch runs stops it; the window closes when
  // it has ended.
  if (isRunning()) {
    stop();
    return;
  }
  QDialog::reject();
}

void AutoExeFileWindow::showProgress(int file, int barPercent, const QString& trials) {
  if (!isRunning()) return;
  const int count = static_cast<int>(m_batchFiles.size());
  if (file < 0 || file >= count) return;
  const std::string name = QDir::toNativeSeparators(m_batchFiles[file]).toStdString();
  m_fileLabel->setText(
      Ui(m_document.language(), UiText::BatchFileOf, {std::to_string(file + 1), std::to_string(count), name}));
  m_bar->setValue((file * 100 + std::clamp(barPercent, 0, 100)) / std::max(count, 1));
  m_trialLabel->setText(trials);
}

void AutoExeFileWindow::onFinished() {
  if (!m_thread) return;
  m_thread->wait();
  m_thread->deleteLater();
  m_thread = nullptr;
  const std::uint8_t language = m_document.language();
  const bool stopped = std::any_of(m_reports.begin(), m_reports.end(), [](const FileReport& r) { return r.stopped; });
  // A stopped batch shows where it stopped, not a full bar.
  m_bar->setValue(stopped ? m_feedback->overallPercent(static_cast<int>(m_batchFiles.size())) : 100);
  m_fileLabel->setText(Ui(language, stopped ? UiText::BatchStopped : UiText::BatchComplete));
  m_trialLabel->clear();
  refreshState();
  if (!m_summaryError.empty()) {
    m_prompter.error(ProgramTitle(), QString::fromStdString(m_summaryError));
  }
  m_report = new AutoExeFileReport(m_document, m_prompter, m_summary, this);
  m_report->setAttribute(Qt::WA_DeleteOnClose, false);
  m_report->open();
  emit batchFinished();
}

void AutoExeFileWindow::retranslate() {
  ++m_retranslateCount;
  const std::uint8_t language = m_document.language();
  setWindowTitle(Ui(language, UiText::BatchCaption));
  m_directoryLabel->setText(Ui(language, UiText::BatchSourceDirectory));
  m_filesLabel->setText(Ui(language, UiText::BatchSourceFiles));
  m_selectedLabel->setText(Ui(language, UiText::BatchSelectedFiles));
  m_progress->setTitle(Ui(language, UiText::BatchProgress));
  m_browse->setText(Ui(language, UiText::BatchChooseFolder));
  m_add->setText(Ui(language, UiText::BatchAdd));
  m_addAll->setText(Ui(language, UiText::BatchAddAll));
  m_run->setText(Ui(language, UiText::BatchRun));
  m_stop->setText(Ui(language, UiText::BatchStop));
  m_cancel->setText(Ui(language, UiText::BatchCancel));
  if (!isRunning() && m_reports.empty()) m_fileLabel->setText(Ui(language, UiText::BatchNotRunYet));
  refreshTotal();
}

}  // namespace pelodyn
