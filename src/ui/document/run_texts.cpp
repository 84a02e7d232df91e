#include "ui/document/run_texts.h"

#include <QStringList>
#include <string>

#include "model/numbers.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/project_document.h"

namespace pelodyn {

namespace {

// As the Failure Geometry window and the result report write their numbers.
std::string Shortest4(double value) {
  return FormatShortest(RoundHalfEven(value, 4));
}

std::string Factor4(std::uint8_t language, double fs) {
  const std::string none = NoFactorText(language, fs);
  return none.empty() ? Shortest4(fs) : none;
}

}  // namespace

QString FactorText(std::uint8_t language, double fs) {
  const std::string none = NoFactorText(language, fs);
  return QString::fromStdString(none.empty() ? FormatFixed(fs, kFactorDecimals) : none);
}

QString StoppedRunText(std::uint8_t language, const RunResult& result) {
  const std::string done = std::to_string(result.trialsDone);
  if (result.trialsTotal > 0) {
    return QString::fromStdString(
        FormatText(UiTextFor(language, UiText::RunStoppedAfterOf), {done, std::to_string(result.trialsTotal)}));
  }
  return QString::fromStdString(FormatText(UiTextFor(language, UiText::RunStoppedAfter), {done}));
}

QString RunWarningsText(std::uint8_t language, const RunResult& result) {
  // One line per edge, naming every method whose minimum lies on it: four
  // times the same advice would hide what it says.
  QStringList lines;
  for (int edge = 0; edge < 4; ++edge) {
    std::string methods;
    for (const RunWarning& w : result.warnings) {
      if (static_cast<int>(w.edge) != edge) continue;
      if (!methods.empty()) methods += ", ";
      methods += MethodName(language, w.method);
    }
    if (methods.empty()) continue;
    lines << QString::fromStdString(
        FormatText(GridEdgeWarningPattern(language), {methods, std::string(GridEdgeName(language, edge))}));
  }
  return lines.join(QLatin1Char('\n'));
}

QString RunSummaryText(std::uint8_t language, const Project& p, const RunResult& result) {
  // One line holds several messages: a mark between them shows where each
  // begins, in Thai too, whose sentences end without a full stop.
  const QString separator = QStringLiteral("  |  ");
  QString warnings = RunWarningsText(language, result);
  warnings.replace(QLatin1Char('\n'), separator);
  const QString tail = warnings.isEmpty() ? QString() : separator + warnings;
  if (result.outcome == RunOutcome::Stopped) return StoppedRunText(language, result) + tail;
  if (result.outcome != RunOutcome::Complete) return {};
  static const char* names[] = {"Ordinary", "Janbu", "Bishop", "Spencer"};
  const std::uint8_t used[] = {p.model.UseOrdinary, p.model.UseSimplifiedJanbu, p.model.UseSimplifiedBishop,
                               p.model.UseSpencer};
  std::string minima;
  for (int k = 0; k < kMethodCount; ++k) {
    const double fs = p.run.Minimum[static_cast<std::size_t>(k)].Fs;
    if (!used[k] || !(fs < kNoFactor)) continue;
    if (!minima.empty()) minima += ", ";
    minima += std::string(names[k]) + " " + FactorText(language, fs).toStdString();
  }
  // assign(1, '-'), not = "-": the optimiser warns falsely of an overlap
  // when a one-character literal replaces a string.
  if (minima.empty()) minima.assign(1, '-');
  return QString::fromStdString(
             FormatText(UiTextFor(language, UiText::RunSummary), {minima, FormatFixed(p.run.SlidingMassArea, 2)})) +
         tail;
}

}  // namespace pelodyn

namespace pelodyn {

std::vector<std::string> ResultFileNotes(std::uint8_t language, const RunResult& result) {
  std::vector<std::string> notes;
  if (result.outcome == RunOutcome::Stopped) notes.push_back(StoppedRunText(language, result).toStdString());
  const QString warnings = RunWarningsText(language, result);
  if (!warnings.isEmpty()) {
    for (const QString& line : warnings.split(QLatin1Char('\n'))) notes.push_back(line.toStdString());
  }
  return notes;
}

std::vector<std::string> ResultFileNotes(const ProjectDocument& document) {
  const auto& last = document.lastRun();
  if (!last) return {};
  return ResultFileNotes(document.language(), *last);
}

QString ShownSurfaceText(const ProjectDocument& document) {
  const auto& surfaces = document.presentedSurfaces();
  if (surfaces.empty()) return {};
  const CriticalSurface& s = surfaces.back();
  const std::uint8_t language = document.language();
  const Project& p = document.project();
  const bool circle = document.runTheory() == 1;
  std::string what;
  if (s.method >= Ordinary && s.method <= Spencer) {
    what = FormatText(UiTextFor(language, circle ? UiText::SurfaceCriticalCircle : UiText::SurfaceBestIrregular),
                      {MethodName(language, s.method)});
  } else if (circle) {
    // A grid or an automatic search presents its minima by method: a
    // surface of no method there is a Results row chosen in the sorted view.
    // The search kinds are the run's: shown surfaces belong to the data the
    // model was collected from.
    what = UiTextFor(language,
                     p.model.CircularSearchKind == 1 ? UiText::SurfaceSpecifiedCircle : UiText::SurfaceResultsRow);
  } else {
    what = UiTextFor(language,
                     p.model.NonCirSearchKind == 0 ? UiText::SurfaceSpecifiedIrregular : UiText::SurfaceAnalysedLast);
  }
  // A method's critical surface is told by the factor its label shows, the
  // one its minimum lists; another surface by the factors of every method
  // the run analysed.
  std::string factors;
  if (s.method >= Ordinary && s.method <= Spencer) {
    factors = Factor4(language, s.labelFs);
  } else {
    const std::array<bool, kMethodCount> methods = document.runMethods();
    for (int k = Ordinary; k <= Spencer; ++k) {
      if (!methods[static_cast<std::size_t>(k)]) continue;
      if (!factors.empty()) factors += ", ";
      factors += std::string(MethodName(language, k)) + " " + Factor4(language, s.fs[static_cast<std::size_t>(k)]);
    }
  }
  std::string where = FormatText(UiTextFor(language, UiText::SurfaceFactors), {factors});
  if (circle) {
    where = FormatText(UiTextFor(language, UiText::SurfaceCircleGeometry),
                       {Shortest4(s.centerX), Shortest4(s.centerY), Shortest4(s.radius)}) +
            ", " + where;
  }
  return Q(FormatText(UiTextFor(language, UiText::SurfaceShown), {what, where}));
}

}  // namespace pelodyn
