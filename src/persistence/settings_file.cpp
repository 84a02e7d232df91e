#include "persistence/settings_file.h"

#include "model/numbers.h"
#include "persistence/folders.h"
#include "persistence/text_file.h"

namespace pelodyn {

std::filesystem::path SettingsFilePath() {
  return ConfigFolder() / "Pelodyn.ini";
}

void ReadSettingsFile(Project& project, const std::filesystem::path& file) {
  EnsureFolder(file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path());
  AppSettings& s = project.settings;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    s.PageLandscape = true;
    s.PageMarginLeft = s.PageMarginRight = s.PageMarginTop = s.PageMarginBottom = 1.0;
    return;
  }
  LayoutReader r(ReadFileBytes(file));
  auto integer = [&] { return StrToInt(r.readText()); };
  auto real = [&] { return StrToFloat(r.readText()); };
  auto skip = [&](int lines) {
    for (int i = 0; i < lines; ++i) r.nextLine();
  };
  DrawingSettings& d = project.drawing;
  AnalysisModel& m = project.model;
  OptionValues& o = project.options;

  skip(1);
  s.PageLandscape = integer() != 0;
  s.PageUnit = integer();
  s.PageMarginLeft = real();
  s.PageMarginRight = real();
  s.PageMarginTop = real();
  s.PageMarginBottom = real();

  skip(2);
  // The work area and the scales are read and converted, but New Project
  // sets them back right after.
  integer();
  integer();
  integer();
  integer();
  real();
  real();
  d.MaxPointOnLine = integer();
  integer();
  d.SnapTopLayerLength = real();
  d.ShowReferenceAxis = static_cast<std::uint8_t>(integer());
  d.ShowFailureAnimation = static_cast<std::uint8_t>(integer());
  d.TwoIntersectWarning = static_cast<std::uint8_t>(integer());
  m.Language = static_cast<std::uint8_t>(integer());

  skip(2);
  const std::int32_t circles = integer();
  if (circles != 0) {
    s.CircleChoice = 0;
    s.SetCircleDecrement = circles;
  }
  const double decrement = real();
  if (decrement != 0.0) {
    s.CircleChoice = 1;
    s.SetCircleDecrement = decrement;
  }
  s.SetCircleSlices = integer();
  s.SetCircleDepthTallest = real();
  s.SetCircleAddRadius = integer();
  s.SetNonCirSlices = integer();
  s.SetNonCirDepthTallest = real();
  s.SetPassCriteria = real();
  // The data-entry controls take the analysis settings.
  o.setItemIndex(Option::CB_Circle_Decrement, s.CircleChoice);
  o.setText(Option::E_Cir_Decrement, FormatShortest(s.SetCircleDecrement));
  o.setText(Option::E_Cir_Slice, std::to_string(s.SetCircleSlices));
  o.setText(Option::E_Cir_Depth_Tallest, FormatShortest(s.SetCircleDepthTallest));
  o.setText(Option::E_Cir_Add_Radius, std::to_string(s.SetCircleAddRadius));
  o.setText(Option::E_NonCir_Slice, std::to_string(s.SetNonCirSlices));
  o.setText(Option::E_NonCir_Depth_Tallest, FormatShortest(s.SetNonCirDepthTallest));
  o.setText(Option::E_Pass_Criteria, FormatShortest(s.SetPassCriteria));

  skip(2);
  std::uint8_t* methods[] = {&m.UseOrdinary, &m.UseSimplifiedJanbu, &m.UseSimplifiedBishop, &m.UseSpencer};
  const char* boxes[] = {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer};
  for (int k = 0; k < 4; ++k) {
    *methods[k] = static_cast<std::uint8_t>(integer());
    o.setChecked(boxes[k], *methods[k] == 1);
  }

  skip(2);
  if (integer() == 0) s.ShowGrid = false;
  skip(2);
  if (integer() == 0) s.SnapGrid = false;
  skip(2);
  // One step on from the mode stored, as one press of the hatch button.
  const std::int32_t w = integer();
  if (w == 0) {
    s.FailureSurfaceMode = 1;
    s.SliceHatchShown = 0;
  } else if (w == 1) {
    s.FailureSurfaceMode = 2;
    s.SliceHatchShown = 1;
  } else if (w == 2) {
    s.FailureSurfaceMode = 0;
    s.SliceHatchShown = 0;
  } else {
    s.FailureSurfaceMode = w;
  }
}

AppSettings WithAnalysisSettingsOf(const OptionValues& o, AppSettings s) {
  // A field whose text is not a number (half typed) keeps the value kept.
  const auto real = [&o](const char* field, double& into) { TryStrToFloat(o.text(field), into); };
  const auto integer = [&o](const char* field, int& into) {
    std::int32_t value = 0;
    if (TryStrToInt(o.text(field), value)) into = value;
  };
  s.CircleChoice = o.itemIndex(Option::CB_Circle_Decrement);
  real(Option::E_Cir_Decrement, s.SetCircleDecrement);
  integer(Option::E_Cir_Slice, s.SetCircleSlices);
  real(Option::E_Cir_Depth_Tallest, s.SetCircleDepthTallest);
  integer(Option::E_Cir_Add_Radius, s.SetCircleAddRadius);
  integer(Option::E_NonCir_Slice, s.SetNonCirSlices);
  real(Option::E_NonCir_Depth_Tallest, s.SetNonCirDepthTallest);
  real(Option::E_Pass_Criteria, s.SetPassCriteria);
  return s;
}

void WriteSettingsFile(const Project& project, const std::filesystem::path& file) {
  // The analysis settings a new project starts with are the ones in use
  // now, as the methods are.
  const AppSettings s = WithAnalysisSettingsOf(project.options, project.settings);
  const DrawingSettings& d = project.drawing;
  const AnalysisModel& m = project.model;
  LayoutWriter w;
  auto line = [&](const std::string& text) { w.literal(text).endLine(); };
  auto r3 = [](double v) { return FormatFixed(v, 3); };
  line("[Page_Setup]");
  line(s.PageLandscape ? "1" : "0");
  line(std::to_string(s.PageUnit));
  line(r3(s.PageMarginLeft));
  line(r3(s.PageMarginRight));
  line(r3(s.PageMarginTop));
  line(r3(s.PageMarginBottom));
  w.blank();
  line("[Setting]");
  line(FormatFixed(d.WorkAreaXmax, 0));
  line(FormatFixed(d.WorkAreaXmin, 0));
  line(FormatFixed(d.WorkAreaYmax, 0));
  line(FormatFixed(d.WorkAreaYmin, 0));
  line(r3(d.ScaleX));
  line(r3(d.ScaleY));
  line(std::to_string(d.MaxPointOnLine));
  line(std::to_string(s.PixelsPerUnit));
  line(r3(d.SnapTopLayerLength));
  line(std::to_string(d.ShowReferenceAxis));
  line(std::to_string(d.ShowFailureAnimation));
  line(std::to_string(d.TwoIntersectWarning));
  line(std::to_string(m.Language));
  w.blank();
  line("[Analysis_Setting]");
  line(s.CircleChoice == 0 ? FormatFixed(s.SetCircleDecrement, 0) : "0");
  line(s.CircleChoice == 0 ? "0" : r3(s.SetCircleDecrement));
  line(std::to_string(s.SetCircleSlices));
  line(r3(s.SetCircleDepthTallest));
  line(std::to_string(s.SetCircleAddRadius));
  line(std::to_string(s.SetNonCirSlices));
  line(r3(s.SetNonCirDepthTallest));
  line(r3(s.SetPassCriteria));
  w.blank();
  line("[Method]");
  for (std::uint8_t flag : {m.UseOrdinary, m.UseSimplifiedJanbu, m.UseSimplifiedBishop, m.UseSpencer}) {
    line(std::to_string(flag));
  }
  w.blank();
  line("[Grid]");
  line(s.ShowGrid ? "1" : "0");
  w.blank();
  line("[Snap_Grid]");
  line(s.SnapGrid ? "1" : "0");
  w.blank();
  line("[Show_Failure_Surface]");
  line(std::to_string(s.FailureSurfaceMode == 0 ? 2 : s.FailureSurfaceMode - 1));
  WriteFileReplacing(file, w.bytes());
}

}  // namespace pelodyn
