// A digest of the analysis of more than a million varied trial surfaces:
// layers, a phreatic line, Ru, line and strip loads, an anchor, a tension
// crack with water, seismic coefficients, anisotropic soils, slivers that
// barely cut the ground, circles that miss it, and irregular polylines.
// Every surface's four factors (or result codes), slice count, entry and exit
// go into the digest bit for bit. Built from two commits, equal digests mean
// the two analyse every surface identically.
//
//   surface_digest [--dump FILE]
//
// --dump writes one line per surface at full precision, to find the first
// surface where two builds part.
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/slip_surface.h"
#include "model/collection.h"
#include "persistence/sqlite_store.h"
#include "three_soil_section.h"

namespace pelodyn {
namespace {

// FNV-1a, 64 bits: order-sensitive and the same on every build.
class Digest {
 public:
  void add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      m_hash ^= bytes[i];
      m_hash *= 1099511628211ULL;
    }
  }
  void add(double value) { add(&value, sizeof value); }
  void add(int value) { add(&value, sizeof value); }
  std::uint64_t value() const { return m_hash; }

 private:
  std::uint64_t m_hash = 14695981039346656037ULL;
};

struct Builder {
  Project& project;
  OptionValues& o() { return project.options; }
  void soil(int no, double c, double phi, double gamma) { bench::AppendSoil(project, no, c, phi, gamma); }
  void anisoSoil(int no, double cv, double ch, double phiV, double phiH, double gamma) {
    Row r(Table::Aniso);
    r.set(AnisoField::LineNo, no)
        .set(AnisoField::Cv, cv)
        .set(AnisoField::Ch, ch)
        .set(AnisoField::PhiV, phiV)
        .set(AnisoField::PhiH, phiH)
        .set(AnisoField::UnitWeight, gamma);
    project.store->append(r);
  }
  void line(int no, std::initializer_list<std::pair<double, double>> points) { bench::AppendLine(project, no, points); }
  void points(Table table, std::initializer_list<std::pair<double, double>> points) {
    int k = 1;
    for (auto [x, y] : points) {
      Row r(table);
      r.set(PointField::PointNo, k++).set(PointField::X, x).set(PointField::Y, y);
      project.store->append(r);
    }
  }
  // The 2:1 slope of the hand-checked cases, 60 wide and 20 high.
  void homogeneousSlope() {
    soil(1, 10.0, 25.0, 18.0);
    soil(2, 0.0, 0.0, 0.0);
    line(1, {{0, 0}, {60, 0}});
    line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
  }
  void water(std::initializer_list<std::pair<double, double>> line) {
    o().setItemIndex(Option::CB_Seepage, 1);
    o().setText(Option::E_Unit_Weight_Water, "9.81");
    points(Table::Waterline, line);
  }
  void lineLoad(double magnitude, double x, double angle) {
    Row r(Table::Lineload);
    r.set(LineLoadField::LoadNo, 1)
        .set(LineLoadField::Magnitude, magnitude)
        .set(LineLoadField::X, x)
        .set(LineLoadField::Angle, angle);
    project.store->append(r);
    o().setChecked(Option::CB_LineLoad_Disable, false);
  }
  void stripLoad(double magnitude, double beginX, double endX, double y1, double y2) {
    Row r(Table::Stripload);
    r.set(StripLoadField::LoadNo, 1)
        .set(StripLoadField::Magnitude, magnitude)
        .set(StripLoadField::BeginX, beginX)
        .set(StripLoadField::EndX, endX)
        .set(StripLoadField::Y1, y1)
        .set(StripLoadField::Y2, y2);
    project.store->append(r);
    o().setChecked(Option::CB_StripLoad_Disable, false);
  }
  void anchor(double magnitude, double xs, double ys, double xe, double ye, double bonded) {
    Row r(Table::Anchor);
    r.set(AnchorField::LoadNo, 1)
        .set(AnchorField::Magnitude, magnitude)
        .set(AnchorField::XStart, xs)
        .set(AnchorField::YStart, ys)
        .set(AnchorField::XEnd, xe)
        .set(AnchorField::YEnd, ye)
        .set(AnchorField::BondedLength, bonded);
    project.store->append(r);
    o().setChecked(Option::CB_Anchor_Disable, false);
  }
  void seismic(const char* kh, const char* kv) {
    o().setChecked(Option::CB_Seismic_Disable, false);
    o().setText(Option::E_Kh, kh);
    o().setText(Option::E_Kv, kv);
  }
  void crack(std::initializer_list<std::pair<double, double>> line, const char* percentWater) {
    points(Table::Tcrack, line);
    o().setChecked(Option::CB_Tension_Disable, false);
    o().setText(Option::E_Percent_Water, percentWater);
    o().setText(Option::E_Water_Unit_Weight, "9.81");
  }
};

// A section and the trial circles it is analysed with: a grid of centres
// and a fan of radii about each, from slivers to circles below the section.
struct Variant {
  const char* name;
  std::function<void(Builder&)> build;
  double x0, x1, y0, y1;  // centres
  double r0, r1;          // radii
  int nx, ny, nr;
};

const std::vector<Variant>& Variants() {
  static const std::vector<Variant> variants = {
      {"homogeneous, 10 slices",
       [](Builder& b) {
         b.homogeneousSlope();
         b.o().setText(Option::E_Cir_Slice, "10");
       },
       20, 50, 22, 50, 2, 45, 40, 40, 70},
      {"three soils, phreatic line, 20 slices",
       [](Builder& b) {
         bench::AppendThreeSoilSection(b.project);
         b.o().setItemIndex(Option::CB_Seepage, 1);
         b.o().setText(Option::E_Unit_Weight_Water, "9.81");
         b.o().setText(Option::E_Cir_Slice, "20");
       },
       30, 75, 28, 60, 3, 60, 40, 40, 70},
      {"three soils, Ru 0.25, 15 slices",
       [](Builder& b) {
         bench::AppendThreeSoilSection(b.project);
         b.o().setItemIndex(Option::CB_Seepage, 2);
         b.o().setItemIndex(Option::CB_Ru_Condition, 0);
         b.o().setText(Option::E_Ru_average, "0.25");
         b.o().setText(Option::E_Cir_Slice, "15");
       },
       30, 75, 28, 60, 3, 60, 40, 40, 70},
      {"loads, anchor and seismic, 30 slices",
       [](Builder& b) {
         b.homogeneousSlope();
         b.water({{0, 16}, {25, 13}, {45, 9}, {60, 9}});
         b.lineLoad(20.0, 10.0, 15.0);
         b.stripLoad(12.0, 2.0, 18.0, 20.0, 20.0);
         b.anchor(150.0, 30.0, 15.0, 12.0, 6.0, 8.0);
         b.seismic("0.1", "0.05");
         b.o().setText(Option::E_Cir_Slice, "30");
       },
       20, 50, 22, 50, 2, 45, 40, 40, 70},
      {"tension crack half full of water, seismic, 20 slices",
       [](Builder& b) {
         b.homogeneousSlope();
         b.water({{0, 16}, {25, 13}, {45, 9}, {60, 9}});
         b.crack({{0, 14}, {25, 14}}, "50");
         b.seismic("0.15", "-0.05");
         b.o().setText(Option::E_Cir_Slice, "20");
       },
       20, 50, 22, 50, 2, 45, 40, 40, 70},
      {"anisotropic soils with advanced rows, 20 slices",
       [](Builder& b) {
         b.anisoSoil(1, 10.0, 14.0, 22.0, 30.0, 18.0);
         b.anisoSoil(2, 0.0, 0.0, 0.0, 0.0, 0.0);
         b.line(1, {{0, 0}, {60, 0}});
         b.line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
         b.o().setItemIndex(Option::CB_Strength_Model, 1);
         for (auto [stress, phiV, phiH] : {std::array{0.0, 20.0, 25.0}, {100.0, 25.0, 30.0}}) {
           Row r(Table::Aniso_advance);
           r.set(AnisoAdvanceField::LineNo, 1)
               .set(AnisoAdvanceField::NormalStress, stress)
               .set(AnisoAdvanceField::PhiV, phiV)
               .set(AnisoAdvanceField::PhiH, phiH);
           b.project.store->append(r);
         }
         b.o().setText(Option::E_Cir_Slice, "20");
       },
       20, 50, 22, 50, 2, 45, 40, 40, 70},
      {"purely frictional and purely cohesive layers, 12 slices",
       [](Builder& b) {
         b.soil(1, 40.0, 0.0, 19.0);
         b.soil(2, 0.0, 32.0, 20.0);
         b.soil(3, 0.0, 0.0, 0.0);
         b.line(1, {{0, 0}, {80, 0}});
         b.line(2, {{0, 12}, {80, 9}});
         b.line(3, {{0, 25}, {25, 25}, {55, 8}, {80, 8}});
         b.o().setText(Option::E_Cir_Slice, "12");
       },
       25, 70, 26, 55, 1, 55, 40, 40, 70},
  };
  return variants;
}

struct Tally {
  long surfaces = 0;
  std::map<long long, long> codes;  // result code -> count; 0: a factor
};

void Record(const SliceSet& s, Digest& digest, Tally& tally, std::FILE* dump) {
  const double fs[] = {s.FsOrdinary, s.FsJanbu, s.FsBishop, s.FsSpencer};
  for (double f : fs) {
    digest.add(f);
    const bool code = f >= ResultValue(ResultCode::Invalid) && f == std::floor(f);
    ++tally.codes[code ? static_cast<long long>(f) : 0];
  }
  digest.add(s.SliceCount);
  for (double v : {s.EntryX, s.EntryY, s.ExitX, s.ExitY}) digest.add(v);
  ++tally.surfaces;
  if (dump) {
    std::fprintf(dump, "%.17g %.17g %.17g %.17g %d %.17g %.17g %.17g %.17g\n", fs[0], fs[1], fs[2], fs[3], s.SliceCount,
                 s.EntryX, s.EntryY, s.ExitX, s.ExitY);
  }
}

bool Collect(Project& project, const char* name) {
  SilentPlatform platform;
  CollectAnalysisData(project, platform);
  if (project.model.DataError != 0) {
    std::fprintf(stderr, "%s: the collection refused the section\n", name);
    return false;
  }
  return true;
}

double Step(double a, double b, int n, int i) {
  return n <= 1 ? a : a + (b - a) * static_cast<double>(i) / static_cast<double>(n - 1);
}

// Irregular polylines through the homogeneous slope: entry on the crest,
// exit on the toe, a belly that deepens and tilts, from 3 to 9 points.
void Irregular(Digest& digest, Tally& tally, std::FILE* dump) {
  Project project(SqliteWorkingStore::OpenInMemory());
  Builder b{project};
  b.homogeneousSlope();
  b.water({{0, 16}, {25, 13}, {45, 9}, {60, 9}});
  b.seismic("0.05", "0");
  b.o().setItemIndex(Option::RG_Theory, 2);
  b.o().setText(Option::E_NonCir_Slice, "20");
  b.o().setText(Option::E_NonCir_X_Center, "35");
  b.o().setText(Option::E_NonCir_Y_Center, "35");
  b.points(Table::NonCircular_Coordinate, {{10, 20}, {30, 5}, {50, 10}});
  if (!Collect(project, "irregular")) return;
  AnalysisModel& md = project.model;
  SliceSet& slices = project.slices;
  for (int points = 3; points <= 9; ++points) {
    for (int entry = 0; entry < 24; ++entry) {
      for (int exit = 0; exit < 24; ++exit) {
        for (int depth = 0; depth < 20; ++depth) {
          for (int tilt = 0; tilt < 6; ++tilt) {
            const double xa = 2.0 + entry * 0.9, ya = 20.0;
            const double xb = 40.5 + exit * 0.8, yb = 10.0;
            const double d = 0.2 + depth * 0.75, t = (tilt - 2.5) * 0.15;
            md.NonCirX.assign(static_cast<std::size_t>(points), 0.0);
            md.NonCirY.assign(static_cast<std::size_t>(points), 0.0);
            for (int k = 0; k < points; ++k) {
              const double u = static_cast<double>(k) / (points - 1);
              const auto uk = static_cast<std::size_t>(k);
              md.NonCirX[uk] = xa + (xb - xa) * u;
              md.NonCirY[uk] = ya + (yb - ya) * u - d * std::sin(3.14159265358979 * u) * (1.0 + t * (u - 0.5));
            }
            md.NonCirPointCount = points;
            md.NonCirSegmentCount = points - 1;
            AnalyseSlipSurface(md, 35.0 + t * 4.0, 35.0 + depth * 0.2, slices);
            Record(slices, digest, tally, dump);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace pelodyn

int main(int argc, char** argv) {
  using namespace pelodyn;
  std::FILE* dump = nullptr;
  if (argc == 3 && std::strcmp(argv[1], "--dump") == 0) {
    dump = std::fopen(argv[2], "w");
    if (!dump) {
      std::perror(argv[2]);
      return 2;
    }
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: surface_digest [--dump FILE]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  Digest all;
  Tally tally;
  for (const Variant& v : Variants()) {
    Project project(SqliteWorkingStore::OpenInMemory());
    Builder b{project};
    v.build(b);
    b.o().setChecked(Option::CB_Ordinary, true);
    b.o().setText(Option::E_Cir_Depth_Tallest, "0");
    if (!Collect(project, v.name)) return 1;
    Digest one;
    const long before = tally.surfaces;
    for (int i = 0; i < v.nx; ++i) {
      for (int j = 0; j < v.ny; ++j) {
        for (int k = 0; k < v.nr; ++k) {
          AnalyseSlipSurface(project.model, Step(v.x0, v.x1, v.nx, i), Step(v.y0, v.y1, v.ny, j),
                             Step(v.r0, v.r1, v.nr, k), project.slices);
          Record(project.slices, one, tally, dump);
        }
      }
    }
    const std::uint64_t d = one.value();
    all.add(&d, sizeof d);
    std::printf("%-56s %8ld surfaces  %016llx\n", v.name, tally.surfaces - before, static_cast<unsigned long long>(d));
  }
  {
    Digest one;
    const long before = tally.surfaces;
    Irregular(one, tally, dump);
    const std::uint64_t d = one.value();
    all.add(&d, sizeof d);
    std::printf("%-56s %8ld surfaces  %016llx\n", "irregular polylines, water, seismic, 20 slices",
                tally.surfaces - before, static_cast<unsigned long long>(d));
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("\nresults by code (four per surface):");
  for (const auto& [code, count] : tally.codes) {
    std::printf(" %s %ld", code == 0 ? "factor" : std::to_string(code).c_str(), count);
  }
  std::printf("\n%ld surfaces in %.2f s\ndigest %016llx\n", tally.surfaces, seconds,
              static_cast<unsigned long long>(all.value()));
  if (dump) std::fclose(dump);
  return 0;
}
