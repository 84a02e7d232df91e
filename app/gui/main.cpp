// pelodyn: the desktop program. With --export-picture it draws a project,
// with --export-data-report, --export-result-report and --export-drawing-page
// it writes its reports and drawing page as PDF files, without opening a
// window, for scripts.
#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

#include "engine/search.h"
#include "model/verification.h"
#include "persistence/companion_file.h"
#include "persistence/project_file.h"
#include "persistence/sqlite_store.h"
#include "reports/report_output.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/document/run_texts.h"
#include "ui/run/run_controller.h"
#include "ui/shell/about_dialog.h"
#include "ui/shell/main_window.h"
#include "view/picture_export.h"

namespace {

// An exception that escapes an event handler is shown, and the program goes
// on: it never crosses the event loop.
class PelodynApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      pelodyn::ReportException(std::current_exception());
      return false;
    }
  }
};

constexpr const char* kMethodNames[] = {"ordinary", "janbu", "bishop", "spencer"};

// After --analyse: "method factor" on standard output, one line for each
// method the project selects that found a factor, as --help says.
void PrintMinima(const pelodyn::Project& project) {
  const pelodyn::AnalysisModel& m = project.model;
  const bool selected[] = {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0,
                           m.UseSpencer != 0};
  for (int k = 0; k < pelodyn::kMethodCount; ++k) {
    const auto& minimum = project.run.Minimum[static_cast<std::size_t>(k)];
    if (selected[k] && minimum.Fs < pelodyn::kNoFactor) std::printf("%s %.6g\n", kMethodNames[k], minimum.Fs);
  }
  std::fflush(stdout);
}

bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool WantsHeadless(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--export-", 9) == 0 || std::strcmp(argv[i], "--help") == 0 ||
        std::strcmp(argv[i], "-h") == 0) {
      return true;
    }
  }
  return false;
}

// Messages of a headless export go to standard error.
class ConsolePlatform final : public pelodyn::PlatformServices {
 public:
  void showMessage(pelodyn::MessageKind, std::string_view, std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const pelodyn::ProgressReport&) override {}
  void processPendingEvents() override {}
};

// Runs the project's analysis for an export; a failed or refused run ends
// the export with its message.
pelodyn::RunResult AnalyseOrThrow(pelodyn::Project& project, pelodyn::PlatformServices& platform, int threads) {
  pelodyn::RunOptions runOptions;
  runOptions.threads = threads;
  const pelodyn::RunResult result = pelodyn::StartAnalysis(project, platform, runOptions);
  if (result.outcome == pelodyn::RunOutcome::Failed) {
    throw std::runtime_error(pelodyn::RunFailureText(result, project.model.Language));
  }
  if (result.outcome == pelodyn::RunOutcome::Refused) {
    throw std::runtime_error("the analysis was refused: " +
                             (result.message.empty() ? std::string("see the message above") : result.message));
  }
  return result;
}

int ExportHeadless(const QString& file, const QString& out, const QString& sizeText, bool analyse, int threads) {
  const QStringList parts = sizeText.split(QLatin1Char('x'));
  bool okW = false, okH = false;
  const int width = parts.size() == 2 ? parts[0].toInt(&okW) : 0;
  const int height = parts.size() == 2 ? parts[1].toInt(&okH) : 0;
  if (!okW || !okH || width < 16 || height < 16 || width > 20000 || height > 20000) {
    std::fprintf(stderr, "pelodyn: --size takes WIDTHxHEIGHT in pixels, 16 to 20000 each, e.g. 1600x1000\n");
    return 2;
  }
  try {
    pelodyn::Project project(pelodyn::SqliteWorkingStore::OpenInMemory());
    pelodyn::NewProject(project);
    ConsolePlatform platform;
    pelodyn::ReadAnyProjectFile(project, platform, std::filesystem::path(file.toStdString()));
    pelodyn::ApplyCompanionBeside(project, std::filesystem::path(file.toStdString()));
    pelodyn::ViewOptions options;
    if (analyse) {
      AnalyseOrThrow(project, platform, threads);
      // The critical circles of the methods, analysed again, leave the last
      // one with its slices to draw.
      if (project.model.AnalysisTheory == 1 && project.model.CircularSearchKind != 1) {
        pelodyn::ReplayMinima(project, platform);
      }
      options.resultAvailable = project.slices.SliceCount > 0;
      PrintMinima(project);
    }
    pelodyn::ExportPicture(project, options, std::filesystem::path(out.toStdString()), QSize(width, height));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pelodyn: %s\n", e.what());
    return 1;
  }
  return 0;
}

// The reports and the drawing page of FILE as PDF files, without a window:
// read whole first, so a field that cannot be read writes no file.
struct ReportTargets {
  QString dataReport, resultReport, drawingPage;
};

int ExportReportsHeadless(const QString& file, const ReportTargets& targets, bool analyse, int threads) {
  try {
    pelodyn::Project project(pelodyn::SqliteWorkingStore::OpenInMemory());
    pelodyn::NewProject(project);
    ConsolePlatform platform;
    pelodyn::ReadAnyProjectFile(project, platform, std::filesystem::path(file.toStdString()));
    pelodyn::ApplyCompanionBeside(project, std::filesystem::path(file.toStdString()));
    const QDateTime now = QDateTime::currentDateTime();
    pelodyn::ReportStamp stamp;
    stamp.fileName = QFileInfo(file).fileName().toStdString();
    stamp.time = QLocale::system().toString(now.time(), QLocale::ShortFormat).toStdString();
    stamp.date = QLocale::system().toString(now.date(), QLocale::ShortFormat).toStdString();
    std::optional<pelodyn::ReportRunDescription> run;
    std::optional<pelodyn::CriticalSurface> surface;
    if (analyse) {
      const pelodyn::RunResult result = AnalyseOrThrow(project, platform, threads);
      PrintMinima(project);
      const pelodyn::AnalysisModel& m = project.model;
      if (m.AnalysisTheory == 1 && m.CircularSearchKind != 1) pelodyn::ReplayMinima(project, platform);
      pelodyn::RecordCriticalSurface(project);
      run.emplace();
      run->theory = m.AnalysisTheory;
      run->selected = {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0, m.UseSpencer != 0};
      run->minima = project.run.Minimum;
      run->language = m.Language;
      // A minimum on the grid's edge is printed with the report, as the
      // window shows it.
      run->notes = pelodyn::ResultFileNotes(m.Language, result);
      if (!project.slices.BoundaryX.empty()) {
        surface.emplace();
        pelodyn::TakeSurfaceGeometry(project.slices, *surface);
        surface->centerX = m.CenterX;
        surface->centerY = m.CenterY;
      }
    } else if (!targets.resultReport.isEmpty()) {
      throw std::runtime_error("--export-result-report needs --analyse: the report lists the analysis' results");
    }
    // Everything is read before the first file is written.
    std::optional<pelodyn::ReportModel> data, results;
    std::optional<pelodyn::DrawingPageContent> page;
    if (!targets.dataReport.isEmpty()) data = pelodyn::BuildDataReport(project, stamp);
    if (!targets.resultReport.isEmpty()) results = pelodyn::BuildResultReport(*project.store, *run, stamp);
    if (!targets.drawingPage.isEmpty()) {
      page = pelodyn::ReadDrawingPage(project, surface ? run : std::nullopt, surface ? &*surface : nullptr);
    }
    auto path = [](const QString& out) { return std::filesystem::path(out.toStdString()); };
    if (data) {
      pelodyn::ExportReportPdf(path(targets.dataReport), *data, project.settings, pelodyn::PrintedDocument::DataReport);
    }
    if (results) {
      pelodyn::ExportReportPdf(path(targets.resultReport), *results, project.settings,
                               pelodyn::PrintedDocument::ResultReport);
    }
    if (page) pelodyn::ExportDrawingPagePdf(path(targets.drawingPage), *page, project.settings);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pelodyn: %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool headless = WantsHeadless(argc, argv);
  if (headless && !HasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  if (!headless && !HasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "pelodyn: no display is available (DISPLAY is not set). Run it in a desktop session, "
                 "or use --export-picture or pelodyn-cli.\n");
    return 1;
  }
  PelodynApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pelodyn"));
  QApplication::setApplicationVersion(QStringLiteral("2.1"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Pelodyn 2.1: slope stability analysis by limit equilibrium."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Project file (.pdd) to open."));
  const QCommandLineOption exportOption(
      QStringLiteral("export-picture"),
      QStringLiteral("Draw FILE as the view shows it into OUT (.png, .svg or .pdf) and exit, without a window."),
      QStringLiteral("OUT"));
  const QCommandLineOption sizeOption(QStringLiteral("size"),
                                      QStringLiteral("Picture size for --export-picture (default 1600x1000)."),
                                      QStringLiteral("WIDTHxHEIGHT"), QStringLiteral("1600x1000"));
  const QCommandLineOption langOption(QStringLiteral("lang"),
                                      QStringLiteral("Language of the captions and messages: en or th (default: the "
                                                     "settings file's)."),
                                      QStringLiteral("en|th"));
  parser.addOption(langOption);
  const QCommandLineOption analyseOption(QStringLiteral("analyse"),
                                         QStringLiteral("With --export-picture or a report export: analyse FILE first "
                                                        "and draw its critical surface with its slices; the "
                                                        "minimum factor of each selected method is printed on "
                                                        "standard output, one line each (e.g. 'bishop 1.2345')."));
  parser.addOption(analyseOption);
  const QCommandLineOption threadsOption(
      QStringLiteral("threads"),
      QStringLiteral("Threads a search uses (default 0: one per CPU this process may use); the results are the same "
                     "for any number."),
      QStringLiteral("N"), QStringLiteral("0"));
  parser.addOption(threadsOption);
  parser.addOption(exportOption);
  parser.addOption(sizeOption);
  const QCommandLineOption dataReportOption(
      QStringLiteral("export-data-report"),
      QStringLiteral("Write the data report of FILE into the PDF file OUT and exit, without a window."),
      QStringLiteral("OUT"));
  const QCommandLineOption resultReportOption(
      QStringLiteral("export-result-report"),
      QStringLiteral("With --analyse: write the result report of FILE into the PDF file OUT and exit."),
      QStringLiteral("OUT"));
  const QCommandLineOption drawingPageOption(
      QStringLiteral("export-drawing-page"),
      QStringLiteral("Write the printed drawing page of FILE into the PDF file OUT and exit; with --analyse it shows "
                     "the critical surface."),
      QStringLiteral("OUT"));
  parser.addOption(dataReportOption);
  parser.addOption(resultReportOption);
  parser.addOption(drawingPageOption);
  parser.process(app);
  const QStringList files = parser.positionalArguments();
  bool threadsOk = false;
  const int threads = parser.value(threadsOption).toInt(&threadsOk);
  if (!threadsOk || threads < 0 || threads > 256) {
    std::fprintf(stderr, "pelodyn: --threads takes a number from 0 (one per core) to 256\n");
    return 2;
  }
  if (parser.isSet(langOption) && parser.value(langOption) != QLatin1String("en") &&
      parser.value(langOption) != QLatin1String("th")) {
    std::fprintf(stderr, "pelodyn: --lang takes en or th\n");
    return 2;
  }

  if (parser.isSet(exportOption)) {
    if (files.size() != 1) {
      std::fprintf(stderr, "pelodyn: --export-picture needs exactly one project file\n");
      return 2;
    }
    return ExportHeadless(files.front(), parser.value(exportOption), parser.value(sizeOption),
                          parser.isSet(analyseOption), threads);
  }
  if (parser.isSet(dataReportOption) || parser.isSet(resultReportOption) || parser.isSet(drawingPageOption)) {
    if (files.size() != 1) {
      std::fprintf(stderr, "pelodyn: the report exports need exactly one project file\n");
      return 2;
    }
    return ExportReportsHeadless(
        files.front(),
        {parser.value(dataReportOption), parser.value(resultReportOption), parser.value(drawingPageOption)},
        parser.isSet(analyseOption), threads);
  }
  if (parser.isSet(analyseOption)) {
    std::fprintf(stderr,
                 "pelodyn: --analyse goes with --export-picture or a report export (pelodyn-cli analyses without a "
                 "picture)\n");
    return 2;
  }

  auto splash = std::make_unique<pelodyn::SplashForm>();
  splash->show();
  splash->showStep(QStringLiteral("Form Main Pelodyn"));

  std::unique_ptr<pelodyn::ProjectDocument> document;
  try {
    document = pelodyn::ProjectDocument::openDesktop();
  } catch (const std::exception& e) {
    // Without its data folder the program still works, on a private store.
    std::fprintf(stderr, "pelodyn: %s\n", e.what());
    document = pelodyn::ProjectDocument::openPrivate();
  }
  pelodyn::QtPrompter prompter(nullptr);
  pelodyn::MainWindow window(*document, prompter);
  prompter.setParentWidget(&window);
  prompter.setThai([&window] { return window.document().language() == pelodyn::kLanguageThai; });
  window.runController().setThreads(threads);
  splash->showStep(QStringLiteral("Complete."));
  // Without a window manager (a bare X server) nothing maximises the window:
  // it starts with the screen's working area either way.
  if (QScreen* screen = QGuiApplication::primaryScreen()) window.setGeometry(screen->availableGeometry());
  window.showMaximized();
  if (parser.isSet(langOption)) {
    const QString lang = parser.value(langOption);
    window.setLanguage(lang == QLatin1String("th") ? pelodyn::kLanguageThai : pelodyn::kLanguageEnglish);
  }
  if (!files.isEmpty()) {
    const QString file = files.front();
    QTimer::singleShot(0, &window,
                       [&window, file] { pelodyn::Guarded([&] { window.fileCommands().openPath(file); }); });
  }
  QTimer::singleShot(300, splash.get(), [&splash] { splash->close(); });
  return app.exec();
}
