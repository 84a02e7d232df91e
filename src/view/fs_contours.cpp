#include "view/fs_contours.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "model/grid_plan.h"

namespace pelodyn {
namespace {

// The search stores a centre rounded to hundredths; the key is that number
// of hundredths, so a node and a row of the same centre meet exactly.
constexpr double kCentreUnit = 0.01;

std::optional<long long> CentreKey(double value) {
  const double k = std::nearbyint(value / kCentreUnit);
  if (!std::isfinite(k) || std::fabs(k) > 9e15) return std::nullopt;
  return static_cast<long long>(k);
}

// The factors above this are result codes or surfaces without a real
// failure; they do not stretch the colour scale.
constexpr double kHighestPaintedFs = 50.0;
// The colour of the smallest factor.
constexpr double kLowestWavelength = 645.0;

}  // namespace

int AdjustIntensity(double c, double f) {
  if (c == 0.0) return 0;
  return static_cast<int>(std::nearbyint(255.0 * std::pow(c * f, 0.8)));
}

std::array<int, 3> WavelengthToRgb(double w) {
  if (!std::isfinite(w)) return {0, 0, 0};
  // Compared as a double so that a huge value cannot overflow an int.
  const double n = std::trunc(w);
  double r = 0.0, g = 0.0, b = 0.0;
  if (n >= 380 && n < 440) {
    r = -(w - 440) / 60;
    b = 1;
  } else if (n >= 440 && n < 490) {
    g = (w - 440) / 50;
    b = 1;
  } else if (n >= 490 && n < 510) {
    g = 1;
    b = -(w - 510) / 20;
  } else if (n >= 510 && n < 580) {
    r = (w - 510) / 70;
    g = 1;
  } else if (n >= 580 && n <= 644) {
    r = 1;
    g = -(w - 645) / 65;
  } else if (n >= 645 && n <= 780) {
    r = 1;
  }
  double f = 0.0;
  if (n >= 380 && n < 420) {
    f = 0.3 + 0.7 * (w - 380) / 40;
  } else if (n >= 420 && n <= 700) {
    f = 1.0;
  } else if (n > 700 && n <= 780) {
    f = 0.3 + 0.7 * (780 - w) / 80;
  }
  return {AdjustIntensity(r, f), AdjustIntensity(g, f), AdjustIntensity(b, f)};
}

double ContourWavelength(double fs, double fsLow, double fsHigh) {
  // An empty range has no scale: everything is the lowest colour.
  if (!(fsHigh > fsLow)) return kLowestWavelength;
  const double F = fs > kHighestPaintedFs ? fsHigh : fs;
  return kLowestWavelength - (F - fsLow) / (fsHigh - fsLow) * (kLowestWavelength - 380.0);
}

std::array<int, 3> ContourRgb(double fs, double fsLow, double fsHigh) {
  return WavelengthToRgb(ContourWavelength(fs, fsLow, fsHigh));
}

namespace {

// The smallest factor of each centre that has rows, fed one row at a time.
class SmallestPerCentre {
 public:
  SmallestPerCentre() {
    Row probe(Table::Results);
    m_x = probe.fieldIndex(FieldNameOf(ResultField::XCenter));
    m_y = probe.fieldIndex(FieldNameOf(ResultField::YCenter));
    m_fs = probe.fieldIndex(FieldNameOf(ResultField::FsSpe));
  }
  void add(const Row& row) {
    const std::optional<double> x = Number(row.value(m_x)), y = Number(row.value(m_y)), fs = Number(row.value(m_fs));
    if (!x || !y || !fs || std::isnan(*fs)) return;
    const std::optional<long long> kx = CentreKey(*x), ky = CentreKey(*y);
    if (!kx || !ky) return;
    auto [it, inserted] = m_smallest.try_emplace({*kx, *ky}, *fs);
    if (!inserted && *fs < it->second) it->second = *fs;
  }
  const std::map<std::pair<long long, long long>, double>& smallest() const { return m_smallest; }

 private:
  static std::optional<double> Number(const FieldValue& v) {
    if (const double* d = std::get_if<double>(&v)) return *d;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    return std::nullopt;
  }
  std::size_t m_x = 0, m_y = 0, m_fs = 0;
  std::map<std::pair<long long, long long>, double> m_smallest;
};

ContourMap MapFromSmallest(const AnalysisModel& model,
                           const std::map<std::pair<long long, long long>, double>& smallest);

}  // namespace

ContourMap GatherContourMap(const AnalysisModel& model, const std::vector<Row>& results) {
  SmallestPerCentre gathered;
  for (const Row& row : results) gathered.add(row);
  return MapFromSmallest(model, gathered.smallest());
}

ContourMap GatherContourMap(const AnalysisModel& model, const WorkingStore& store) {
  // One row at a time: a run of a million circles never stands in memory.
  SmallestPerCentre gathered;
  store.visitRows(Table::Results, [&gathered](const Row& row) { gathered.add(row); });
  return MapFromSmallest(model, gathered.smallest());
}

namespace {

ContourMap MapFromSmallest(const AnalysisModel& model,
                           const std::map<std::pair<long long, long long>, double>& smallest) {
  ContourMap map;
  const int d12 = model.GridDivision12, d23 = model.GridDivision23;
  if (d12 < 1 || d23 < 1) return map;

  map.rows = d23 + 1;
  map.cols = d12 + 1;
  map.nodes.reserve(static_cast<std::size_t>(map.rows) * static_cast<std::size_t>(map.cols));
  // The grid search's own plan, so that a node lands on the centre the
  // search stored.
  const GridPlan grid(model);
  for (int i = 0; i < map.rows; ++i) {
    for (int j = 0; j < map.cols; ++j) {
      ContourNode node;
      std::tie(node.x, node.y) = grid.centre(i, j);
      const std::optional<long long> kx = CentreKey(node.x), ky = CentreKey(node.y);
      if (kx && ky) {
        if (auto it = smallest.find({*kx, *ky}); it != smallest.end()) {
          const double fs = it->second;
          node.fs = fs;
          if (fs > map.FsHigh && fs <= kHighestPaintedFs) map.FsHigh = fs;
          if (fs < map.FsLow) map.FsLow = fs;
        }
      }
      map.nodes.push_back(node);
    }
  }
  return map;
}

}  // namespace

std::optional<std::size_t> ContourMinimumNode(const ContourMap& map) {
  std::optional<std::size_t> found;
  for (std::size_t k = 0; k < map.nodes.size(); ++k) {
    const std::optional<double>& fs = map.nodes[k].fs;
    if (fs && (!found || *fs < *map.nodes[*found].fs)) found = k;
  }
  return found;
}

ContourLegend MakeContourLegend(const ContourMap& map, int count) {
  ContourLegend legend;
  const bool any =
      std::any_of(map.nodes.begin(), map.nodes.end(), [](const ContourNode& n) { return n.fs.has_value(); });
  if (!any) return legend;
  const double low = map.FsLow, high = map.FsHigh;
  legend.minimum = low;
  auto entry = [&](double fs) { return ContourLegend::Entry{fs, ContourRgb(fs, low, high)}; };
  if (high == 0.0 || !(high > low)) {
    legend.entries.push_back(entry(low));
    return legend;
  }
  // Steps below a thousandth would print the same value twice.
  constexpr double kSmallestStep = 0.001;
  const double steps = std::floor((high - low) / kSmallestStep);
  const int n = static_cast<int>(std::clamp(steps + 1.0, 2.0, static_cast<double>(std::max(count, 2))));
  for (int k = 0; k < n - 1; ++k) legend.entries.push_back(entry(low + (high - low) * k / (n - 1)));
  legend.entries.push_back(entry(high));
  return legend;
}

}  // namespace pelodyn
