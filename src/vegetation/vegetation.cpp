#include "vegetation/vegetation.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "model/numbers.h"

namespace pelodyn {
namespace {

// What one Generate may hold: the cell cohesions of every layer, the root
// radii of every plant and layer, and the minor cells of one cell, each at
// most this many values (80 MB of doubles).
constexpr std::int64_t kMaxValues = 10'000'000;

bool Thai(std::uint8_t language) {
  return language == 0;
}

std::string N(std::int64_t n) {
  return std::to_string(n);
}

[[noreturn]] void Refuse(std::uint8_t language, const std::string& english, const std::string& thai) {
  throw VegetationError(Thai(language) ? thai : english);
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
  for (const Row& r : rootNo) cohesion[r.integer("Root No.")] = r.real("Cohesion");
  std::map<std::pair<std::int32_t, std::int32_t>, double> radius;  // by (type, layer)
  for (std::size_t k = 0; k < rootLayer.size(); ++k) {
    const std::int32_t layer = rootLayer[k].integer(RootLayerField::LayerNo);
    if (layer < 1) {
      Refuse(
          language,
          "Root radius per layer, row " + N(static_cast<std::int64_t>(k) + 1) + ": the layer number must be 1 or more.",
          "รัศมีรากในแต่ละชั้น แถวที่ " + N(static_cast<std::int64_t>(k) + 1) + ": หมายเลขชั้นต้องเป็น 1 ขึ้นไป");
    }
    out.layerCount = std::max(out.layerCount, layer);
    radius[{rootLayer[k].integer("Root No."), layer}] = rootLayer[k].real("Radius");
  }
  if (static_cast<std::int64_t>(out.layerCount) * static_cast<std::int64_t>(rootPosition.size()) > kMaxValues) {
    Refuse(language,
           N(out.layerCount) + " layers for " + N(static_cast<std::int64_t>(rootPosition.size())) +
               " plants need too much memory.",
           "จำนวนชั้น " + N(out.layerCount) + " ชั้นสำหรับพืช " + N(static_cast<std::int64_t>(rootPosition.size())) +
               " ต้น ใช้หน่วยความจำมากเกินไป");
  }
  for (std::size_t k = 0; k < rootPosition.size(); ++k) {
    const Row& r = rootPosition[k];
    const std::int32_t type = r.integer(RootPositionField::RootType);
    const auto found = cohesion.find(type);
    if (found == cohesion.end()) {
      Refuse(language,
             "Plants, row " + N(static_cast<std::int64_t>(k) + 1) + ": root type " + N(type) +
                 " has no row in Root types.",
             "ตำแหน่งพืช แถวที่ " + N(static_cast<std::int64_t>(k) + 1) + ": ไม่มีรากชนิด " + N(type) + " ในตารางชนิดราก");
    }
    Plant plant;
    plant.x = r.real("Coordi X");
    plant.y = r.real("Coordi Y");
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
    Refuse(language, "The divisions, the minor grid numbers and the effective width and length must be 1 or more.",
           "จำนวนช่องแบ่ง จำนวนช่องย่อย และความกว้างและความยาวประสิทธิผลต้องเป็น 1 ขึ้นไป");
  }
  if (g.windowColumns > g.columns || g.windowRows > g.rows) {
    Refuse(language,
           "The effective width and length (" + N(g.windowColumns) + " x " + N(g.windowRows) +
               ") must not exceed the divisions (" + N(g.columns) + " x " + N(g.rows) + ").",
           "ความกว้างและความยาวประสิทธิผล (" + N(g.windowColumns) + " x " + N(g.windowRows) + ") ต้องไม่เกินจำนวนช่องแบ่ง (" +
               N(g.columns) + " x " + N(g.rows) + ")");
  }
  const double width = g.maxX - g.minX, height = g.maxY - g.minY;
  if (!(width > 0.0) || !(height > 0.0)) {
    Refuse(language, "Max (X,Y) must be greater than Min (X,Y).", "ค่า Max (X,Y) ต้องมากกว่า Min (X,Y)");
  }
  if (roots.layerCount < 1) {
    Refuse(language, "There is no root layer: the table Root radius per layer is empty.",
           "ไม่มีชั้นราก: ตารางรัศมีรากในแต่ละชั้นว่าง");
  }
  const std::int64_t cells = static_cast<std::int64_t>(g.columns) * g.rows;
  const std::int64_t minors = static_cast<std::int64_t>(g.minorColumns) * g.minorRows;
  if (cells * roots.layerCount > kMaxValues || minors > kMaxValues) {
    Refuse(language,
           "These divisions need too much memory: at most " + N(kMaxValues) +
               " cells over all layers, and as many minor cells per cell.",
           "จำนวนช่องแบ่งนี้ใช้หน่วยความจำมากเกินไป: ได้ไม่เกิน " + N(kMaxValues) + " ช่องรวมทุกชั้น และช่องย่อยต่อช่องไม่เกินจำนวนเดียวกัน");
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
    const std::string where = "Soil Properties, row " + N(position) + " (\"" + description + "\"): ";
    const std::string whereThai = "คุณสมบัติดิน แถวที่ " + N(position) + " (\"" + description + "\"): ";
    std::int32_t layer = 0, profileRow = 0;
    try {
      layer = StrToInt(Trim(std::string_view(description).substr(0, comma)));
      profileRow = StrToInt(Trim(std::string_view(description).substr(comma + 1)));
    } catch (const ConversionError& e) {
      Refuse(language, where + e.what(), whereThai + e.what());
    }
    if (layer < 1 || layer > result.layerCount) {
      Refuse(language, where + "layer " + N(layer) + " is not between 1 and " + N(result.layerCount) + ".",
             whereThai + "ชั้นที่ " + N(layer) + " ไม่อยู่ระหว่าง 1 ถึง " + N(result.layerCount));
    }
    if (profileRow < 1 || profileRow > result.rows) {
      Refuse(language, where + "row " + N(profileRow) + " is not between 1 and " + N(result.rows) + ".",
             whereThai + "แถวที่ " + N(profileRow) + " ไม่อยู่ระหว่าง 1 ถึง " + N(result.rows));
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
  const bool thai = Thai(language);
  switch (text) {
    case VegetationText::ExportBeforeGenerate:
      return thai ? "กรุณากด Generate ก่อน Export" : "Generate the vegetation effect before Export.";
    case VegetationText::NoBackup:
      return thai ? "ไม่มีข้อมูลสำรองของคุณสมบัติดิน: ยังไม่ได้ Export ตั้งแต่เปิดโครงการนี้ จึงไม่มีสิ่งใดให้คืนค่า"
                  : "There is no backup of the soil properties: nothing was exported since this project was "
                    "started or opened, so there is nothing to restore.";
    case VegetationText::AnisotropicModel:
      return thai ? "ค่าความเชื่อมแน่นถูกเขียนลงในตารางคุณสมบัติดินแบบ Mohr-Coulomb แต่แบบจำลองกำลังรับแรงแบบ Anisotropic "
                    "ที่ใช้อยู่ไม่ได้ใช้ตารางนี้"
                  : "The cohesions were written into the Mohr-Coulomb soil table, but the anisotropic strength model "
                    "in use does not read that table.";
    case VegetationText::NothingRestored:
      return thai ? "ไม่มีค่าความเชื่อมแน่นที่ต้องคืนค่า: ค่าที่ Export ไว้ถูกแก้ไขไปแล้วทั้งหมด"
                  : "No cohesion was restored: every value Export wrote has been edited since.";
  }
  return {};
}

}  // namespace pelodyn
