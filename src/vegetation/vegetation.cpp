#include "vegetation/vegetation.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "model/numbers.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

// What one Generate may hold: the cell cohesions of every layer, the root
// radii of every plant and layer, and the minor cells of one cell, each at
// most this many values (80 MB of doubles).
constexpr std::int64_t kMaxValues = 10'000'000;

// Any language but Thai reads English.
std::uint8_t Shown(std::uint8_t language) {
  return language == kLanguageThai ? kLanguageThai : kLanguageEnglish;
}

std::string N(std::int64_t n) {
  return std::to_string(n);
}

[[noreturn]] void Refuse(std::uint8_t language, CoreText text, std::initializer_list<std::string_view> args = {},
                         const std::string& prefix = {}) {
  throw VegetationError(prefix + FormatText(CoreTextFor(Shown(language), text), args));
}

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

RootData GatherRoots(const std::vector<Row>& rootNo, const std::vector<Row>& rootLayer,
                     const std::vector<Row>& rootPosition, std::uint8_t language) {
  RootData out;
  std::map<std::int32_t, double> cohesion;  // by root type; the last row wins
  for (const Row& r : rootNo) cohesion[r.integer(RootField::RootNo)] = r.real(RootField::Cohesion);
  std::map<std::pair<std::int32_t, std::int32_t>, double> radius;  // by (type, layer)
  for (std::size_t k = 0; k < rootLayer.size(); ++k) {
    const std::int32_t layer = rootLayer[k].integer(RootLayerField::LayerNo);
    if (layer < 1) {
      Refuse(language, CoreText::VegetationLayerBelowOne, {N(static_cast<std::int64_t>(k) + 1)});
    }
    out.layerCount = std::max(out.layerCount, layer);
    radius[{rootLayer[k].integer(RootLayerField::RootNo), layer}] = rootLayer[k].real(RootLayerField::Radius);
  }
  if (static_cast<std::int64_t>(out.layerCount) * static_cast<std::int64_t>(rootPosition.size()) > kMaxValues) {
    Refuse(language, CoreText::VegetationPlantsTooMany,
           {N(out.layerCount), N(static_cast<std::int64_t>(rootPosition.size()))});
  }
  for (std::size_t k = 0; k < rootPosition.size(); ++k) {
    const Row& r = rootPosition[k];
    const std::int32_t type = r.integer(RootPositionField::RootType);
    const auto found = cohesion.find(type);
    if (found == cohesion.end()) {
      Refuse(language, CoreText::VegetationRootTypeMissing, {N(static_cast<std::int64_t>(k) + 1), N(type)});
    }
    Plant plant;
    plant.x = r.real(RootPositionField::X);
    plant.y = r.real(RootPositionField::Y);
    plant.cohesion = found->second;
    plant.radius.assign(static_cast<std::size_t>(out.layerCount), 0.0);
    for (int l = 1; l <= out.layerCount; ++l) {
      const auto rad = radius.find({type, l});
      if (rad != radius.end()) plant.radius[static_cast<std::size_t>(l - 1)] = rad->second;
    }
    out.plants.push_back(std::move(plant));
  }
  return out;
}

double VegetationResult::roundedProfile(int layer, int row) const {
  return RoundHalfEven(profileAt(layer, row), 4);
}

VegetationResult GenerateVegetationEffect(const RootData& roots, const VegetationGrid& g, std::uint8_t language) {
  if (g.columns < 1 || g.rows < 1 || g.minorColumns < 1 || g.minorRows < 1 || g.windowColumns < 1 || g.windowRows < 1) {
    Refuse(language, CoreText::VegetationDivisionsBelowOne);
  }
  if (g.windowColumns > g.columns || g.windowRows > g.rows) {
    Refuse(language, CoreText::VegetationWindowTooLarge,
           {N(g.windowColumns), N(g.windowRows), N(g.columns), N(g.rows)});
  }
  const double width = g.maxX - g.minX, height = g.maxY - g.minY;
  if (!(width > 0.0) || !(height > 0.0)) {
    Refuse(language, CoreText::VegetationAreaInverted);
  }
  if (roots.layerCount < 1) {
    Refuse(language, CoreText::VegetationNoLayer);
  }
  const std::int64_t cells = static_cast<std::int64_t>(g.columns) * g.rows;
  const std::int64_t minors = static_cast<std::int64_t>(g.minorColumns) * g.minorRows;
  if (cells * roots.layerCount > kMaxValues || minors > kMaxValues) {
    Refuse(language, CoreText::VegetationTooManyCells, {N(kMaxValues)});
  }

  VegetationResult r;
  r.layerCount = roots.layerCount;
  r.rows = g.rows;
  r.columns = g.columns;
  r.windowRows = g.windowRows;
  r.windowColumns = g.windowColumns;
  r.cellCohesion.assign(static_cast<std::size_t>(cells * roots.layerCount), 0.0);
  std::vector<char> covered(static_cast<std::size_t>(minors));
  const double nc = g.columns, nr = g.rows;
  for (int l = 0; l < roots.layerCount; ++l) {
    for (int i = 0; i < g.rows; ++i) {
      const double yb = g.minY + i * height / nr, yt = g.minY + (i + 1) * height / nr;
      for (int j = 0; j < g.columns; ++j) {
        const double xl = g.minX + j * width / nc, xr = g.minX + (j + 1) * width / nc;
        const double minorWidth = (xr - xl) / g.minorColumns, minorHeight = (yt - yb) / g.minorRows;
        const double m = minorHeight * minorWidth;
        std::fill(covered.begin(), covered.end(), 0);
        double rootSum = 0.0;
        for (const Plant& p : roots.plants) {
          const double radius = p.radius[static_cast<std::size_t>(l)];
          if (!(p.x - radius < xr && p.y - radius < yt && p.x + radius > xl && p.y + radius > yb)) continue;
          long count = 0;
          for (int a = 0; a < g.minorRows; ++a) {
            const double yc = yb + minorHeight * (a + 0.5);
            for (int b = 0; b < g.minorColumns; ++b) {
              const double xc = xl + minorWidth * (b + 0.5);
              if (std::sqrt((p.x - xc) * (p.x - xc) + (p.y - yc) * (p.y - yc)) < radius) {
                ++count;
                covered[static_cast<std::size_t>(a) * g.minorColumns + b] = 1;
              }
            }
          }
          rootSum += count * m * p.cohesion;
        }
        const auto free = std::count(covered.begin(), covered.end(), 0);
        const double freeArea = free * m;
        r.cellCohesion[(static_cast<std::size_t>(l) * g.rows + i) * g.columns + j] =
            (freeArea * g.soilCohesion + rootSum) / ((yt - yb) * (xr - xl));
      }
    }
  }

  const int originRows = g.rows - g.windowRows + 1, originColumns = g.columns - g.windowColumns + 1;
  r.windowSum.assign(static_cast<std::size_t>(originRows) * originColumns, 0.0);
  double smallest = 0.0;
  for (int i = 0; i < originRows; ++i) {
    for (int j = 0; j < originColumns; ++j) {
      double sum = 0.0;
      for (int l = 0; l < r.layerCount; ++l) {
        for (int a = i; a < i + g.windowRows; ++a) {
          for (int b = j; b < j + g.windowColumns; ++b) sum += r.cell(l, a, b);
        }
      }
      r.windowSum[static_cast<std::size_t>(i) * originColumns + j] = sum;
      // Ties keep the earlier window.
      if ((i == 0 && j == 0) || sum < smallest) {
        smallest = sum;
        r.minRow = i;
        r.minColumn = j;
      }
    }
  }

  r.profile.assign(static_cast<std::size_t>(r.layerCount) * g.rows, 0.0);
  for (int l = 0; l < r.layerCount; ++l) {
    for (int i = 0; i < g.rows; ++i) {
      double sum = 0.0;
      for (int c = r.minColumn; c < r.minColumn + g.windowColumns; ++c) sum += r.cell(l, i, c);
      r.profile[static_cast<std::size_t>(l) * g.rows + i] = sum / g.windowColumns;
    }
  }

  r.report.push_back("Min. cohesion row is " + N(r.minRow + 1));
  r.report.push_back("Min. cohesion column is " + N(r.minColumn + 1));
  r.report.emplace_back();
  for (int l = 0; l < r.layerCount; ++l) {
    for (int i = 0; i < g.rows; ++i) {
      r.report.push_back("C[" + N(l + 1) + "," + N(i + 1) + "] = " + FormatShortest(r.roundedProfile(l, i)));
    }
  }
  return r;
}

ExportPlan PlanExport(const VegetationResult& result, const std::vector<Row>& soils, const std::vector<Row>& backup,
                      const std::vector<ExportedCohesion>& exported, std::uint8_t language) {
  ExportPlan plan;
  plan.soils = soils;
  // One backup until Restore: a later Export keeps it and its records.
  if (backup.empty()) {
    for (const Row& soil : soils) {
      Row copy(Table::Soil_Prop_Bak);
      for (std::size_t f = 0; f < soil.fieldCount() && f < copy.fieldCount(); ++f) copy.value(f) = soil.value(f);
      plan.backup.push_back(std::move(copy));
    }
  } else {
    plan.backup = backup;
    plan.exported = exported;
  }
  for (std::size_t k = 0; k < soils.size(); ++k) {
    const Row& row = soils[k];
    if (row.real(SoilField::Cohesion) == 0.0 && row.real(SoilField::Phi) == 0.0 &&
        row.real(SoilCommonField::UnitWeight) == 0.0)
      continue;
    const std::string description = row.text(SoilCommonField::Description);
    const auto comma = description.find(',');
    if (comma == std::string::npos) continue;
    const int position = static_cast<int>(k) + 1;
    const std::string where =
        FormatText(CoreTextFor(Shown(language), CoreText::VegetationSoilRow), {N(position), description});
    std::int32_t layer = 0, profileRow = 0;
    try {
      layer = StrToInt(Trim(std::string_view(description).substr(0, comma)));
      profileRow = StrToInt(Trim(std::string_view(description).substr(comma + 1)));
    } catch (const ConversionError& e) {
      throw VegetationError(where + e.what());
    }
    if (layer < 1 || layer > result.layerCount) {
      Refuse(language, CoreText::VegetationLayerOutOfRange, {N(layer), N(result.layerCount)}, where);
    }
    if (profileRow < 1 || profileRow > result.rows) {
      Refuse(language, CoreText::VegetationRowOutOfRange, {N(profileRow), N(result.rows)}, where);
    }
    const double before = row.real(SoilField::Cohesion);
    const double value = result.roundedProfile(layer - 1, profileRow - 1);
    plan.soils[k].set(SoilField::Cohesion, value);
    ++plan.written;
    // A row exported before and not edited since keeps its first original.
    auto same = std::find_if(plan.exported.begin(), plan.exported.end(), [&](const ExportedCohesion& e) {
      return e.position == position && e.lineNo == row.integer(SoilCommonField::LineNo) &&
             e.description == description && e.written == before;
    });
    if (same != plan.exported.end()) {
      same->written = value;
    } else {
      std::erase_if(plan.exported, [&](const ExportedCohesion& e) { return e.position == position; });
      plan.exported.push_back({position, row.integer(SoilCommonField::LineNo), description, before, value});
    }
  }
  return plan;
}

RestorePlan PlanRestore(const std::vector<Row>& soils, const std::vector<ExportedCohesion>& exported) {
  RestorePlan plan;
  plan.soils = soils;
  const auto matches = [](const Row& row, const ExportedCohesion& e) {
    return row.integer(SoilCommonField::LineNo) == e.lineNo &&
           row.text(SoilCommonField::Description) == e.description && row.real(SoilField::Cohesion) == e.written;
  };
  std::vector<bool> done(soils.size(), false);
  for (const ExportedCohesion& e : exported) {
    std::size_t at = soils.size();
    if (e.position >= 1 && static_cast<std::size_t>(e.position) <= soils.size() &&
        matches(soils[static_cast<std::size_t>(e.position - 1)], e)) {
      at = static_cast<std::size_t>(e.position - 1);
    } else {
      // Rows inserted or deleted above it moved it: the only row that is
      // still what Export made of it.
      int found = 0;
      for (std::size_t k = 0; k < soils.size(); ++k) {
        if (matches(soils[k], e)) {
          ++found;
          at = k;
        }
      }
      if (found != 1) at = soils.size();
    }
    if (at == soils.size() || done[at]) continue;
    done[at] = true;
    plan.soils[at].set(SoilField::Cohesion, e.original);
    ++plan.restored;
  }
  return plan;
}

std::string VegetationMessage(VegetationText text, std::uint8_t language) {
  switch (text) {
    case VegetationText::ExportBeforeGenerate:
      return std::string(CoreTextFor(Shown(language), CoreText::VegetationExportBeforeGenerate));
    case VegetationText::NoBackup:
      return std::string(CoreTextFor(Shown(language), CoreText::VegetationNoBackup));
    case VegetationText::AnisotropicModel:
      return std::string(CoreTextFor(Shown(language), CoreText::VegetationAnisotropicModel));
    case VegetationText::NothingRestored:
      return std::string(CoreTextFor(Shown(language), CoreText::VegetationNothingRestored));
  }
  return {};
}

}  // namespace pelodyn
