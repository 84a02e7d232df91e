#include "harness.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/rigorous.h"
#include "engine/search.h"
#include "model/numbers.h"
#include "model/verification.h"
#include "persistence/project_file.h"
#include "persistence/project_reading.h"
#include "persistence/result_file.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"

namespace pelodyn::fuzz {
namespace {

// A private folder of this process for the files a target needs.
const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path f = std::filesystem::temp_directory_path() / ("pelodyn-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

std::filesystem::path WriteInput(const std::uint8_t* data, std::size_t size, const char* name) {
  const std::filesystem::path file = Folder() / name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return file;
}

}  // namespace

// One project for every input of a target: a working store costs more to
// create than most inputs cost to read.
Project& ReusedProject() {
  static Project project(SqliteWorkingStore::OpenInMemory());
  EmptyWorkingTables(*project.store);
  project.options = OptionValues();
  project.model = AnalysisModel();
  return project;
}

namespace {

// Answers every question with OK and asks the run to stop after a bounded
// number of trials, as a user pressing Stop would.
class BoundedPlatform final : public PlatformServices {
 public:
  explicit BoundedPlatform(Project& project) : m_project(project) {}
  void showMessage(MessageKind, std::string_view, std::string_view) override {}
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const ProgressReport&) override { tick(); }
  void processPendingEvents() override { tick(); }
  void showMinima(const std::array<std::string, 4>&, const std::array<bool, 4>&) override { tick(); }

 private:
  void tick() {
    if (++m_ticks > 2000) m_project.run.StopRequested = 1;
  }
  Project& m_project;
  long m_ticks = 0;
};

}  // namespace

void ReadProjectV20(const std::uint8_t* data, std::size_t size) {
  Project& project = ReusedProject();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    StoreTransaction transaction(*project.store);
    ReadProjectBytes(project, bytes, "fuzz.pdd");
    transaction.commit();
  } catch (const std::runtime_error&) {
  }
}

void ReadProjectV118(const std::uint8_t* data, std::size_t size) {
  Project& project = ReusedProject();
  SilentPlatform silent;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    StoreTransaction transaction(*project.store);
    ReadLegacyProjectBytes(project, silent, bytes, "fuzz.pdd");
    transaction.commit();
  } catch (const std::runtime_error&) {
  }
}

void ReadSettings(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path file = WriteInput(data, size, "Pelodyn.ini");
  Project& project = ReusedProject();
  // The reader's contract: a value that does not convert, or a file it
  // cannot read, ends the reading with its message. Anything else it raises
  // leaves this function, so that the fuzzer and the regression test see it.
  try {
    ReadSettingsFile(project, file);
  } catch (const ConversionError&) {
  } catch (const FileError&) {
  }
}

void Analyse(const std::uint8_t* data, std::size_t size) {
  Project& project = ReusedProject();
  project.drawing = DrawingSettings();
  project.slices = SliceSet();
  project.run.StopRequested = 0;
  project.BatchMode = 1;
  BoundedPlatform platform(project);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    // The layout by the first line, as ReadAnyProjectFile chooses it (whose
    // scratch store would cost more than most runs).
    {
      StoreTransaction transaction(*project.store);
      if (IsCurrentProjectFile(FirstLineOf(bytes))) {
        ReadProjectBytes(project, bytes, "fuzz.pdd");
      } else {
        ReadLegacyProjectBytes(project, platform, bytes, "fuzz.pdd");
      }
      transaction.commit();
    }
    RunOptions options;
    options.movingCentreFile = Folder() / "moving_center.txt";
    // Half the inputs with the robust Spencer, which solves where the walk
    // fails; and the rigorous methods on whatever slices the run left.
    project.options.setChecked(Option::CB_Robust_Spencer, size % 2 == 1);
    RunAnalysis(project, platform, options);
    WriteResultFile(project, Folder() / "project.pdr");
    IntersliceShape halfSine;
    halfSine.kind = IntersliceFunction::HalfSine;
    SliceForces forces;
    MorgensternPrice(project.slices, project.model.SeismicKh, project.model.SeismicKv, halfSine, &forces);
    CheckSliceForces(forces);
    JanbuCorrectionOf(project.slices);
  } catch (const std::runtime_error&) {
  }
}

}  // namespace pelodyn::fuzz
