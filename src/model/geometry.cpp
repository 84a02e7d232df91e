#include "model/geometry.h"

#include <stdexcept>
#include <string>

#include "model/collection.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

void CheckPoint(const AnalysisModel& m, int k) {
  const int count = m.LineCount < 1 ? 0 : m.LinePointCount[static_cast<std::size_t>(m.LineCount - 1)];
  if (k < 1 || k > count) {
    throw std::out_of_range(FormatText(
        CoreTextFor(m.Language == kLanguageThai ? kLanguageThai : kLanguageEnglish, CoreText::GroundLineNoPoint),
        {std::to_string(k), std::to_string(count)}));
  }
}

}  // namespace

int TopLinePointIndexAtX(const AnalysisModel& m, double x) {
  if (m.LineCount < 1) return 1;
  const auto g = static_cast<std::size_t>(m.LineCount - 1);
  int found = 1;
  for (int p = 0; p < m.LinePointCount[g]; ++p) {
    if (m.LineX[g][p] == x) found = p + 1;
  }
  return found;
}

double TopLinePointX(Project& project, PlatformServices& platform, int k) {
  BuildBoundaryLines(project, platform);
  CheckPoint(project.model, k);
  return project.model.LineX[static_cast<std::size_t>(project.model.LineCount - 1)][k - 1];
}

double TopLinePointY(const AnalysisModel& m, int k) {
  CheckPoint(m, k);
  return m.LineY[static_cast<std::size_t>(m.LineCount - 1)][k - 1];
}

}  // namespace pelodyn
