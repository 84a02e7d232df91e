#include "ui/document/run_texts.h"

#include <QStringList>
#include <string>

#include "model/numbers.h"
#include "texts/captions.h"
#include "texts/messages.h"

namespace pelodyn {

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
  QString warnings = RunWarningsText(language, result);
  warnings.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QString tail = warnings.isEmpty() ? QString() : QStringLiteral(" ") + warnings;
  if (result.outcome == RunOutcome::Stopped) return StoppedRunText(language, result) + tail;
  if (result.outcome != RunOutcome::Complete) return {};
  static const char* names[] = {"Ordinary", "Janbu", "Bishop", "Spencer"};
  const std::uint8_t used[] = {p.model.UseOrdinary, p.model.UseSimplifiedJanbu, p.model.UseSimplifiedBishop,
                               p.model.UseSpencer};
  std::string minima;
  for (int k = 0; k < kMethodCount; ++k) {
    const double fs = p.run.Minimum[static_cast<std::size_t>(k)].Fs;
    if (!used[k] || !(fs < 99999.0)) continue;
    if (!minima.empty()) minima += ", ";
    minima += std::string(names[k]) + " " + FormatFixed(fs, 3);
  }
  // assign(1, '-'), not = "-": the optimiser warns falsely of an overlap
  // when a one-character literal replaces a string.
  if (minima.empty()) minima.assign(1, '-');
  return QString::fromStdString(
             FormatText(UiTextFor(language, UiText::RunSummary), {minima, FormatFixed(p.run.SlidingMassArea, 2)})) +
         tail;
}

}  // namespace pelodyn
