#include "model/control_state.h"

#include <string>

#include "model/numbers.h"
#include "texts/captions.h"

namespace pelodyn {

namespace {

constexpr ControlWindow kMain = ControlWindow::Main;
constexpr ControlWindow kStep = ControlWindow::Step;
constexpr ControlWindow kSoil = ControlWindow::SoilDialog;
constexpr ControlWindow kBottom = ControlWindow::BottomDialog;
constexpr ControlWindow kAnalysis = ControlWindow::AnalysisDialog;
constexpr ControlWindow kProgress = ControlWindow::Progress;

constexpr int kTheoryParallel = 0;
constexpr int kTheoryCircular = 1;
constexpr int kTheoryIrregular = 2;
constexpr int kTheoryCombined = 3;
constexpr int kSearchSpecific = 0;

// Collects the states, one entry per (window, control): an operation that
// sets another part of a control already listed adds to its entry.
class StateList {
 public:
  ControlState& at(ControlWindow window, std::string_view control) {
    for (ControlState& s : m_states) {
      if (s.window == window && s.control == control) return s;
    }
    ControlState& s = m_states.emplace_back();
    s.window = window;
    s.control = std::string(control);
    return s;
  }
  ControlState& at(ControlWindow window, Option control) { return at(window, OptionName(control)); }
  void checked(ControlWindow w, std::string_view c, bool v) { at(w, c).checked = v; }
  void checked(ControlWindow w, Option c, bool v) { at(w, c).checked = v; }
  void item(ControlWindow w, Option c, int v) { at(w, c).item = v; }
  void enabled(ControlWindow w, Option c, bool v) { at(w, c).enabled = v; }
  void visible(ControlWindow w, Option c, bool v) { at(w, c).visible = v; }
  void text(ControlWindow w, Option c, std::string v) { at(w, c).text = std::move(v); }
  void hint(ControlWindow w, Option c, std::string v) { at(w, c).hint = std::move(v); }
  void item(ControlWindow w, std::string_view c, int v) { at(w, c).item = v; }
  void enabled(ControlWindow w, std::string_view c, bool v) { at(w, c).enabled = v; }
  void visible(ControlWindow w, std::string_view c, bool v) { at(w, c).visible = v; }
  void text(ControlWindow w, std::string_view c, std::string v) { at(w, c).text = std::move(v); }
  void hint(ControlWindow w, std::string_view c, std::string v) { at(w, c).hint = std::move(v); }

  std::vector<ControlState> take() { return std::move(m_states); }

 private:
  std::vector<ControlState> m_states;
};

void ShowProjectInfo(const OptionValues& o, StateList& s) {
  const std::string& name = o.text(Option::E_Project_Name);
  const std::string& location = o.text(Option::E_Lacation);
  const std::string& engineer = o.text(Option::E_Engineer);
  s.text(kMain, Option::E_Project_Name, name);
  s.text(kMain, OptionTwinName(Option::E_Lacation), location);
  s.text(kMain, Option::E_Engineer, engineer);
  s.text(kStep, Option::E_Project_Name, name);
  s.text(kStep, Option::E_Lacation, location);
  s.text(kStep, Option::E_Engineer, engineer);
}

// The seepage kind with the water-line kind and the Ru condition: the
// controls that two of them touch get the state both call for.
void ApplySeepage(const OptionValues& o, StateList& s) {
  const int seepage = o.itemIndex(Option::CB_Seepage);
  const int ruCondition = o.itemIndex(Option::CB_Ru_Condition);
  const int waterLineKind = o.itemIndex(Option::CB_Phreatic_Peizometric);
  const char* buttons[] = {"TB_No_Seepage", "TB_Water_Line", "TB_Ru"};
  const char* items[] = {"PU_NoSeep", "PU_WaterLine", "PU_Ru"};
  const char* explanations[] = {"P_Dis_NoSeepage", "P_Dis_WaterLine", "P_Dis_Ru"};
  for (int k = 0; k < 3; ++k) {
    s.checked(kMain, buttons[k], seepage == k);
    s.checked(kMain, items[k], seepage == k);
    s.visible(kStep, explanations[k], seepage == k);
  }
  s.item(kStep, Option::CB_Seepage, seepage);

  const bool waterLine = seepage == 1;
  s.enabled(kStep, Option::CB_Phreatic_Peizometric, waterLine);
  s.visible(kStep, "P_WaterLine_not_Cal", !waterLine);
  s.item(kStep, Option::CB_Phreatic_Peizometric, waterLineKind);
  s.item(kMain, OptionTwinName(Option::CB_Phreatic_Peizometric), waterLineKind);

  const bool ru = seepage == 2;
  const bool average = ruCondition == 0;
  const bool variable = ruCondition == 1;
  s.enabled(kStep, "L_Ru_Type", ru);
  s.enabled(kStep, Option::CB_Ru_Condition, ru);
  s.enabled(kStep, "L_Ru_Value", ru && average);
  s.enabled(kStep, Option::E_Ru_average, ru && average);
  // The cover says the variable-Ru grid is not used.
  s.visible(kStep, "P_Ru_not_Cal", !(ru && variable));
  s.item(kStep, Option::CB_Ru_Condition, ruCondition);
  s.item(kMain, Option::CB_Ru_Condition, ruCondition);
  s.visible(kMain, "DBG_Ru_Variable", variable);
}

struct LoadEffect {
  Option option;  // the "Disable" check box of the step-by-step form
  const char* button;
  const char* hintOn;
  const char* hintOff;
  const char* popUpItem;  // nullptr: shared, set separately
  const char* cover;
  std::vector<std::string_view> enabledInputs;
  std::vector<std::string_view> visibleInputs;
};

const LoadEffect kLoadEffects[] = {
    {Option::CB_Seismic_Disable,
     "TB_Seismic",
     "Enable Seismic Load",
     "Disable Seismic Load",
     "PU_Seismic",
     "P_Seismic_Disable",
     {OptionName(Option::E_Kh), OptionName(Option::E_Kv), "L_Kh", "L_Kv"},
     {}},
    {Option::CB_LineLoad_Disable,
     "TB_LineLoad",
     "Enable Line Load",
     "Disable Line Load",
     nullptr,
     "P_LineLoad_not_Cal",
     {},
     {"GB_LineLoad"}},
    {Option::CB_StripLoad_Disable,
     "TB_StripLoad",
     "Enable Strip Load",
     "Disable Strip Load",
     nullptr,
     "P_StripLoad_not_Cal",
     {},
     {"GB_StripLoad"}},
    {Option::CB_Tension_Disable,
     "TB_Crack",
     "Enable Tension Crack",
     "Disable Tension Crack",
     "PU_TCrack",
     "P_Tcrack_not_Cal",
     {"L_TCrack_Table", "L_TCrack_Unit_Weight", "L_TCrack_Percent", OptionName(Option::E_Water_Unit_Weight),
      OptionName(Option::E_Percent_Water)},
     {}},
    {Option::CB_Anchor_Disable,
     "TB_Anchor",
     "Enable Anchor Load",
     "Disable Anchor Load",
     "PU_Anchor",
     "P_Anchor_not_Cal",
     {},
     {}},
};

// Hints stay English in both languages.
void ApplyLoadEffects(const OptionValues& o, StateList& s) {
  for (const LoadEffect& load : kLoadEffects) {
    const bool on = !o.checked(load.option);
    s.checked(kMain, load.button, on);
    s.hint(kMain, load.button, on ? load.hintOn : load.hintOff);
    if (load.popUpItem) s.checked(kMain, load.popUpItem, on);
    s.visible(kStep, load.cover, !on);
    s.checked(kStep, load.option, !on);
    for (std::string_view input : load.enabledInputs) s.enabled(kStep, input, on);
    for (std::string_view input : load.visibleInputs) s.visible(kStep, input, on);
  }
  // One pop-up item for both kinds of external load: it shows that some
  // external load is on.
  s.checked(kMain, "PU_ExLoad", !o.checked(Option::CB_LineLoad_Disable) || !o.checked(Option::CB_StripLoad_Disable));
}

void ApplyBottomLineChoice(const OptionValues& o, StateList& s) {
  const int choice = o.itemIndex(Option::CB_Bottom_Line_Choose);
  const bool number = choice == 0;
  const bool specific = choice == 1;
  std::int32_t lineNo = 0;
  const bool readable = TryStrToInt(o.text(Option::E_BottomLine), lineNo);
  for (ControlWindow w : {kStep, kBottom}) {
    s.item(w, Option::CB_Bottom_Line_Choose, choice);
    s.enabled(w, "L_BottomLine", number);
    s.enabled(w, Option::E_BottomLine, number);
    s.enabled(w, "L_Specific_Bottom_Line", specific);
    s.visible(w, "P_Specific_Bottom_Line", !specific);
    if (number && readable) s.text(w, Option::E_BottomLine, std::to_string(lineNo));
  }
  for (const char* button : {"B_Bottom_Line_Insert", "B_Bottom_Line_Delete", "B_Bottom_Line_Clear_All"}) {
    s.enabled(kBottom, button, specific);
  }
  // Apply does not close the dialog: Close must stay usable.
  s.enabled(kBottom, "B_Bottom_Line_Cancel", true);
  s.visible(kStep, "P_EX_Bottom_LineNo", !specific);
  s.visible(kStep, "P_EX_Specific_Bottom_Line", specific);
}

void ApplyNonCirSearch(const OptionValues& o, StateList& s) {
  const int kind = o.itemIndex(Option::CB_NonCir_Search);
  const bool random = kind != kSearchSpecific;
  // A specific surface has no automatic centre, whatever the option holds.
  const bool autoCenter = random && o.checked(Option::CB_Auto_Center);
  s.checked(kMain, "RB_Specific_Search", !random);
  s.checked(kMain, "RB_Random_Search", random);
  s.item(kStep, Option::CB_NonCir_Search, kind);
  s.visible(kStep, "P_NonCir_Random_Search", random);
  for (ControlWindow w : {kMain, kStep}) {
    s.checked(w, Option::CB_Auto_Center, autoCenter);
    s.enabled(w, Option::CB_Auto_Center, random);
  }
  s.checked(kMain, "MN_Draw_AutoCen", autoCenter);
}

void ApplyTheoryAndMethods(const OptionValues& o, StateList& s) {
  const int theory = o.itemIndex(Option::RG_Theory);
  const bool irregular = theory == kTheoryIrregular;
  const std::pair<const char*, Option> methods[] = {{OptionTwinName(Option::CB_Ordinary), Option::CB_Ordinary},
                                                    {OptionTwinName(Option::CB_Simp_Janbu), Option::CB_Simp_Janbu},
                                                    {OptionTwinName(Option::CB_Simp_Bishop), Option::CB_Simp_Bishop},
                                                    {OptionTwinName(Option::CB_Spencer), Option::CB_Spencer}};
  for (const auto& [main, step] : methods) {
    // The Ordinary method is not offered for an irregular surface.
    const bool on = step == Option::CB_Ordinary ? UsesOrdinary(o) : o.checked(step);
    s.checked(kMain, main, on);
    s.checked(kStep, step, on);
  }
  // The robust solution only stands in for Spencer's walk.
  s.checked(kStep, Option::CB_Robust_Spencer, o.checked(Option::CB_Robust_Spencer));
  s.enabled(kStep, Option::CB_Robust_Spencer, o.checked(Option::CB_Spencer));

  const std::pair<const char*, int> radios[] = {{"RB_Infinite", kTheoryParallel},
                                                {"RB_Circular", kTheoryCircular},
                                                {"RB_NonCir", kTheoryIrregular},
                                                {"RB_Cir_NonCir", kTheoryCombined}};
  for (const auto& [radio, value] : radios) s.checked(kMain, radio, theory == value);
  s.item(kStep, Option::RG_Theory, theory);
  if (theory != kTheoryCircular && theory != kTheoryIrregular) return;

  const bool circular = !irregular;
  for (const char* button : {"TB_Grid_Search", "TB_Spec_Search", "TB_Auto_Search", "TB_Contour"}) {
    s.enabled(kMain, button, circular);
  }
  for (const char* button : {"TB_Slip_NonCir", "TB_Axis_NonCir"}) s.enabled(kMain, button, irregular);
  s.enabled(kMain, OptionTwinName(Option::CB_Ordinary), circular);
  s.enabled(kStep, Option::CB_Ordinary, circular);
  s.visible(kStep, "GB_NonCircular_Search", irregular);
  s.visible(kStep, "P_Explain_Cir", circular);
  s.visible(kStep, "P_Explain_NonCir", irregular);
  // An irregular run has no Results grid to show.
  s.enabled(kProgress, "B_Cal_Details", circular);
  if (irregular) {
    s.text(kProgress, "B_Cal_Details", "Details");
    s.visible(kProgress, "L_Cal_FS", false);
    s.visible(kProgress, "DBG_Results", false);
  }
}

// A specific circular search analyses one circle: the grid of centres,
// its divisions and steps are not used, and say so.
void ApplyCircularSearchKind(const OptionValues& o, std::uint8_t language, StateList& s) {
  constexpr int kCircularSpecific = 1;
  const bool grid = o.itemIndex(Option::CB_Cir_Search) != kCircularSpecific;
  const std::string reason =
      grid ? std::string() : std::string(UiTextFor(language, UiText::GridUnusedBySpecificSearch));
  for (std::string_view control : std::initializer_list<std::string_view>{
           "L_LeftDown", OptionName(Option::E_X_LeftDown), OptionName(Option::E_Y_LeftDown), "L_RightDown",
           OptionName(Option::E_X_RightDown), OptionName(Option::E_Y_RightDown), "L_RightTop",
           OptionName(Option::E_X_RightTop), OptionName(Option::E_Y_RightTop), "L_Division",
           OptionName(Option::E_12_Division), OptionName(Option::E_23_Division), OptionName(Option::CB_Grid_Increment),
           OptionName(Option::E_Xgrid_Increment), OptionName(Option::E_Ygrid_Increment)}) {
    s.enabled(kStep, control, grid);
    s.hint(kStep, control, reason);
  }
}

void ShowAnalysisSettings(const OptionValues& o, StateList& s) {
  struct Setting {
    Option field;
    bool integer;
  };
  const Setting settings[] = {{Option::E_Cir_Decrement, false},     {Option::E_Cir_Slice, true},
                              {Option::E_Cir_Depth_Tallest, false}, {Option::E_Cir_Add_Radius, true},
                              {Option::E_NonCir_Slice, true},       {Option::E_NonCir_Depth_Tallest, false},
                              {Option::E_Pass_Criteria, false}};
  for (const Setting& setting : settings) {
    std::string shown;
    if (setting.integer) {
      std::int32_t value = 0;
      if (!TryStrToInt(o.text(setting.field), value)) continue;
      shown = std::to_string(value);
    } else {
      double value = 0.0;
      if (!TryStrToFloat(o.text(setting.field), value)) continue;
      shown = FormatShortest(value);
    }
    s.text(kAnalysis, setting.field, shown);
    s.text(kStep, setting.field, shown);
  }
}

void ApplyLanguageMarks(std::uint8_t language, StateList& s) {
  if (language > 1) return;
  s.checked(kMain, "MN_LangThai", language == 0);
  s.checked(kMain, "MN_LangEng", language == 1);
}

void ApplyStrengthModel(const OptionValues& o, StateList& s) {
  const int model = o.itemIndex(Option::CB_Strength_Model);
  const bool aniso = model == 1;
  s.item(kSoil, Option::CB_Strength_Model, model);
  s.visible(kSoil, "DBG_Soil_Properties", !aniso);
  s.visible(kSoil, "DBG_Soil_Aniso", aniso);
  s.enabled(kSoil, "B_Aniso_ad", aniso);
  s.item(kStep, Option::CB_Strength_Model, model);
  s.visible(kStep, "DBG_Soil_Prop", !aniso);
  s.visible(kStep, "DBG_Soil_Aniso", aniso);
}

void ApplyAdvancedAniso(const OptionValues& o, StateList& s) {
  const bool disabled = o.checked(Option::CB_Advance_Prop_Disable);
  s.checked(kStep, Option::CB_Advance_Prop_Disable, disabled);
  s.checked(kSoil, Option::CB_Advance_Prop_Disable, disabled);
}

}  // namespace

std::vector<ControlState> ControlStates(const OptionValues& options, std::uint8_t language) {
  StateList s;
  ShowProjectInfo(options, s);
  ApplySeepage(options, s);
  ApplyLoadEffects(options, s);
  ApplyBottomLineChoice(options, s);
  ApplyNonCirSearch(options, s);
  ApplyTheoryAndMethods(options, s);
  ApplyCircularSearchKind(options, language, s);
  if (language <= 1) {
    s.hint(kStep, Option::E_Unit_Weight_Water, std::string(UiTextFor(language, UiText::WaterLineUnitWeightHint)));
    s.hint(kStep, Option::E_Water_Unit_Weight, std::string(UiTextFor(language, UiText::CrackUnitWeightHint)));
  }
  ShowAnalysisSettings(options, s);
  ApplyLanguageMarks(language, s);
  ApplyStrengthModel(options, s);
  ApplyAdvancedAniso(options, s);
  return s.take();
}

const ControlState* FindControlState(const std::vector<ControlState>& states, ControlWindow window,
                                     std::string_view control) {
  for (const ControlState& s : states) {
    if (s.window == window && s.control == control) return &s;
  }
  return nullptr;
}

bool UsesOrdinary(const OptionValues& options) {
  return options.checked(Option::CB_Ordinary) && options.itemIndex(Option::RG_Theory) != kTheoryIrregular;
}

void ApplyOptionRules(OptionValues& options, Option changedControl) {
  // The theory itself leaves the Ordinary choice as the user made it: the
  // irregular theory only does not use it (UsesOrdinary), so a return to
  // the circular theory finds it again.
  if (changedControl == Option::CB_Ordinary) {
    if (options.itemIndex(Option::RG_Theory) == kTheoryIrregular) options.setChecked(Option::CB_Ordinary, false);
  } else if (changedControl == Option::CB_NonCir_Search || changedControl == Option::CB_Auto_Center) {
    if (options.itemIndex(Option::CB_NonCir_Search) == kSearchSpecific)
      options.setChecked(Option::CB_Auto_Center, false);
  }
}

}  // namespace pelodyn

namespace pelodyn {

void ApplyTypingRules(const OptionValues& before, OptionValues& after, Option changedControl) {
  if (changedControl != Option::E_Unit_Weight_Water) return;
  const std::string& line = before.text(Option::E_Unit_Weight_Water);
  const std::string& crack = before.text(Option::E_Water_Unit_Weight);
  double a = 0.0, b = 0.0;
  const bool same = line == crack || (TryStrToFloat(line, a) && TryStrToFloat(crack, b) && a == b);
  if (same) after.setText(Option::E_Water_Unit_Weight, after.text(Option::E_Unit_Weight_Water));
}

}  // namespace pelodyn
