#include "model/control_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

#include "texts/captions.h"

namespace pelodyn {
namespace {

constexpr ControlWindow kMain = ControlWindow::Main;
constexpr ControlWindow kStep = ControlWindow::Step;
constexpr ControlWindow kSoil = ControlWindow::SoilDialog;
constexpr ControlWindow kBottom = ControlWindow::BottomDialog;
constexpr ControlWindow kAnalysis = ControlWindow::AnalysisDialog;
constexpr ControlWindow kProgress = ControlWindow::Progress;

const char* WindowName(ControlWindow w) {
  switch (w) {
    case ControlWindow::Main:
      return "Main";
    case ControlWindow::Step:
      return "Step";
    case ControlWindow::SoilDialog:
      return "SoilDialog";
    case ControlWindow::BottomDialog:
      return "BottomDialog";
    case ControlWindow::AnalysisDialog:
      return "AnalysisDialog";
    case ControlWindow::Progress:
      return "Progress";
  }
  return "?";
}

// One expected part of a control's state; the parts left unset are not
// looked at.
struct Expect {
  ControlWindow window;
  const char* control;
  std::optional<bool> checked = {};
  std::optional<int> item = {};
  std::optional<bool> enabled = {};
  std::optional<bool> visible = {};
  std::optional<std::string> hint = {};
  std::optional<std::string> text = {};
};

void Check(const std::vector<ControlState>& states, const Expect& e, const std::string& context) {
  const std::string where = context + ": " + WindowName(e.window) + " " + e.control;
  const ControlState* s = FindControlState(states, e.window, e.control);
  ASSERT_NE(s, nullptr) << where << " has no state";
  if (e.checked) {
    EXPECT_EQ(s->checked, e.checked) << where << " checked";
  }
  if (e.item) {
    EXPECT_EQ(s->item, e.item) << where << " item";
  }
  if (e.enabled) {
    EXPECT_EQ(s->enabled, e.enabled) << where << " enabled";
  }
  if (e.visible) {
    EXPECT_EQ(s->visible, e.visible) << where << " visible";
  }
  if (e.hint) {
    EXPECT_EQ(s->hint, e.hint) << where << " hint";
  }
  if (e.text) {
    EXPECT_EQ(s->text, e.text) << where << " text";
  }
}

std::vector<ControlState> StatesOf(const std::function<void(OptionValues&)>& change, std::uint8_t language = 1) {
  OptionValues o;
  change(o);
  return ControlStates(o, language);
}

TEST(ControlStates, OneEntryPerControlAndEachSaysSomething) {
  for (std::uint8_t language : {0, 1}) {
    const auto states = ControlStates(OptionValues{}, language);
    std::set<std::pair<ControlWindow, std::string>> seen;
    for (const ControlState& s : states) {
      EXPECT_TRUE(seen.insert({s.window, s.control}).second) << WindowName(s.window) << " " << s.control;
      EXPECT_TRUE(s.checked || s.item || s.enabled || s.visible || s.hint || s.text) << s.control;
    }
  }
}

TEST(ControlStates, ProjectInformationInBothWindows) {
  const auto states = StatesOf([](OptionValues& o) {
    o.setText(Option::E_Project_Name, "Dam 4");
    o.setText(Option::E_Lacation, "Khon Kaen");
    o.setText(Option::E_Engineer, "");
  });
  for (const Expect& e : {Expect{kMain, OptionCName(Option::E_Project_Name), {}, {}, {}, {}, {}, "Dam 4"},
                          Expect{kMain, OptionTwinName(Option::E_Lacation), {}, {}, {}, {}, {}, "Khon Kaen"},
                          Expect{kMain, OptionCName(Option::E_Engineer), {}, {}, {}, {}, {}, ""},
                          Expect{kStep, OptionCName(Option::E_Project_Name), {}, {}, {}, {}, {}, "Dam 4"},
                          Expect{kStep, OptionCName(Option::E_Lacation), {}, {}, {}, {}, {}, "Khon Kaen"},
                          Expect{kStep, OptionCName(Option::E_Engineer), {}, {}, {}, {}, {}, ""}}) {
    Check(states, e, "project information");
  }
}

TEST(ControlStates, SeepageKindSetsButtonsMarksAndStepControls) {
  for (int kind = 0; kind < 3; ++kind) {
    const auto states = StatesOf([kind](OptionValues& o) { o.setItemIndex(Option::CB_Seepage, kind); });
    const std::string context = "seepage " + std::to_string(kind);
    const bool none = kind == 0, water = kind == 1, ru = kind == 2;
    for (const Expect& e : {
             Expect{kMain, "TB_No_Seepage", none},
             Expect{kMain, "TB_Water_Line", water},
             Expect{kMain, "TB_Ru", ru},
             Expect{kMain, "PU_NoSeep", none},
             Expect{kMain, "PU_WaterLine", water},
             Expect{kMain, "PU_Ru", ru},
             Expect{kStep, OptionCName(Option::CB_Seepage), {}, kind},
             Expect{kStep, OptionCName(Option::CB_Phreatic_Peizometric), {}, {}, water},
             Expect{kStep, "P_WaterLine_not_Cal", {}, {}, {}, !water},
             Expect{kStep, "P_Ru_not_Cal", {}, {}, {}, true},  // the Ru condition is Average
             Expect{kStep, "L_Ru_Type", {}, {}, ru},
             Expect{kStep, OptionCName(Option::CB_Ru_Condition), {}, 0, ru},
             Expect{kStep, "L_Ru_Value", {}, {}, ru},
             Expect{kStep, OptionCName(Option::E_Ru_average), {}, {}, ru},
             Expect{kStep, "P_Dis_NoSeepage", {}, {}, {}, none},
             Expect{kStep, "P_Dis_WaterLine", {}, {}, {}, water},
             Expect{kStep, "P_Dis_Ru", {}, {}, {}, ru},
         }) {
      Check(states, e, context);
    }
  }
}

TEST(ControlStates, RuConditionWithTheSeepageThatUsesIt) {
  struct Case {
    int seepage, condition;
    bool averageEnabled, coverVisible, mainGridVisible;
  };
  for (const Case& c : {Case{2, 0, true, true, false}, Case{2, 1, false, false, true}, Case{0, 1, false, true, true},
                        Case{1, 0, false, true, false}}) {
    const auto states = StatesOf([&c](OptionValues& o) {
      o.setItemIndex(Option::CB_Seepage, c.seepage);
      o.setItemIndex(Option::CB_Ru_Condition, c.condition);
    });
    const std::string context = "seepage " + std::to_string(c.seepage) + " Ru " + std::to_string(c.condition);
    for (const Expect& e : {Expect{kStep, OptionCName(Option::CB_Ru_Condition), {}, c.condition},
                            Expect{kMain, OptionCName(Option::CB_Ru_Condition), {}, c.condition},
                            Expect{kMain, "DBG_Ru_Variable", {}, {}, {}, c.mainGridVisible},
                            Expect{kStep, "L_Ru_Value", {}, {}, c.averageEnabled},
                            Expect{kStep, OptionCName(Option::E_Ru_average), {}, {}, c.averageEnabled},
                            Expect{kStep, "P_Ru_not_Cal", {}, {}, {}, c.coverVisible}}) {
      Check(states, e, context);
    }
  }
}

TEST(ControlStates, WaterLineKindInBothCombos) {
  for (int kind : {0, 1}) {
    const auto states = StatesOf([kind](OptionValues& o) { o.setItemIndex(Option::CB_Phreatic_Peizometric, kind); });
    Check(states, {kStep, OptionCName(Option::CB_Phreatic_Peizometric), {}, kind}, "water line kind");
    Check(states, {kMain, OptionTwinName(Option::CB_Phreatic_Peizometric), {}, kind}, "water line kind");
  }
}

TEST(ControlStates, EachLoadEffectOnAndOff) {
  struct Load {
    const char* option;
    const char* button;
    const char* name;  // of the hints
    const char* popUp;
    const char* cover;
    std::vector<const char*> enabledInputs, visibleInputs;
  };
  const Load loads[] = {
      {OptionCName(Option::CB_Seismic_Disable),
       "TB_Seismic",
       "Seismic Load",
       "PU_Seismic",
       "P_Seismic_Disable",
       {OptionCName(Option::E_Kh), OptionCName(Option::E_Kv), "L_Kh", "L_Kv"},
       {}},
      {OptionCName(Option::CB_LineLoad_Disable),
       "TB_LineLoad",
       "Line Load",
       "PU_ExLoad",
       "P_LineLoad_not_Cal",
       {},
       {"GB_LineLoad"}},
      {OptionCName(Option::CB_StripLoad_Disable),
       "TB_StripLoad",
       "Strip Load",
       "PU_ExLoad",
       "P_StripLoad_not_Cal",
       {},
       {"GB_StripLoad"}},
      {OptionCName(Option::CB_Tension_Disable),
       "TB_Crack",
       "Tension Crack",
       "PU_TCrack",
       "P_Tcrack_not_Cal",
       {"L_TCrack_Table", "L_TCrack_Unit_Weight", "L_TCrack_Percent", OptionCName(Option::E_Water_Unit_Weight),
        OptionCName(Option::E_Percent_Water)},
       {}},
      {OptionCName(Option::CB_Anchor_Disable), "TB_Anchor", "Anchor Load", "PU_Anchor", "P_Anchor_not_Cal", {}, {}},
  };
  for (const Load& load : loads) {
    for (bool on : {true, false}) {
      // The hints are English in Thai too.
      for (std::uint8_t language : {0, 1}) {
        const auto states = StatesOf([&](OptionValues& o) { o.setChecked(OptionNamed(load.option), !on); }, language);
        const std::string context =
            std::string(load.option) + (on ? " on" : " off") + " language " + std::to_string(language);
        const std::string hint = std::string(on ? "Enable " : "Disable ") + load.name;
        Check(states, {kMain, load.button, on, {}, {}, {}, hint}, context);
        Check(states, {kMain, load.popUp, on}, context);
        Check(states, {kStep, load.cover, {}, {}, {}, !on}, context);
        Check(states, {kStep, load.option, !on}, context);
        for (const char* input : load.enabledInputs) Check(states, {kStep, input, {}, {}, on}, context);
        for (const char* input : load.visibleInputs) Check(states, {kStep, input, {}, {}, {}, on}, context);
      }
    }
  }
}

TEST(ControlStates, ExternalLoadItemIsCheckedWhenEitherLoadIsOn) {
  struct Case {
    bool line, strip, checked;
  };
  for (const Case& c :
       {Case{false, false, false}, Case{true, false, true}, Case{false, true, true}, Case{true, true, true}}) {
    const auto states = StatesOf([&c](OptionValues& o) {
      o.setChecked(Option::CB_LineLoad_Disable, !c.line);
      o.setChecked(Option::CB_StripLoad_Disable, !c.strip);
    });
    Check(states, {kMain, "PU_ExLoad", c.checked},
          "line " + std::to_string(c.line) + " strip " + std::to_string(c.strip));
  }
}

TEST(ControlStates, BottomLineChoiceInTheFormAndTheDialog) {
  for (int choice : {0, 1}) {
    const auto states = StatesOf([choice](OptionValues& o) {
      o.setItemIndex(Option::CB_Bottom_Line_Choose, choice);
      o.setText(Option::E_BottomLine, " 3");
    });
    const bool number = choice == 0, specific = choice == 1;
    const std::string context = "bottom line choice " + std::to_string(choice);
    for (ControlWindow w : {kStep, kBottom}) {
      Check(states, {w, OptionCName(Option::CB_Bottom_Line_Choose), {}, choice}, context);
      Check(states, {w, "L_BottomLine", {}, {}, number}, context);
      Check(states, {w, OptionCName(Option::E_BottomLine), {}, {}, number}, context);
      Check(states, {w, "L_Specific_Bottom_Line", {}, {}, specific}, context);
      Check(states, {w, "P_Specific_Bottom_Line", {}, {}, {}, number}, context);
      // The number is written back as an integer; the specific choice leaves the field alone.
      EXPECT_EQ(FindControlState(states, w, OptionCName(Option::E_BottomLine))->text,
                number ? std::optional<std::string>("3") : std::nullopt)
          << context;
    }
    for (const char* button : {"B_Bottom_Line_Insert", "B_Bottom_Line_Delete", "B_Bottom_Line_Clear_All"}) {
      Check(states, {kBottom, button, {}, {}, specific}, context);
    }
    Check(states, {kBottom, "B_Bottom_Line_Cancel", {}, {}, true}, context);
    Check(states, {kStep, "P_EX_Bottom_LineNo", {}, {}, {}, number}, context);
    Check(states, {kStep, "P_EX_Specific_Bottom_Line", {}, {}, {}, specific}, context);
    // The dialog has no example panels.
    EXPECT_EQ(FindControlState(states, kBottom, "P_EX_Bottom_LineNo"), nullptr);
  }
  // A number that is not one yet (the user is typing) stays as typed.
  const auto typing = StatesOf([](OptionValues& o) { o.setText(Option::E_BottomLine, "-"); });
  EXPECT_FALSE(FindControlState(typing, kStep, OptionCName(Option::E_BottomLine))->text.has_value());
}

TEST(ControlStates, NonCircularSearchKindAndAutomaticCentre) {
  struct Case {
    int kind;
    bool autoCenterOption;
    bool shownChecked;
  };
  for (const Case& c : {Case{1, true, true}, Case{1, false, false}, Case{0, false, false}, Case{0, true, false}}) {
    const auto states = StatesOf([&c](OptionValues& o) {
      o.setItemIndex(Option::CB_NonCir_Search, c.kind);
      o.setChecked(Option::CB_Auto_Center, c.autoCenterOption);
    });
    const bool random = c.kind == 1;
    const std::string context = "search " + std::to_string(c.kind) + " auto " + std::to_string(c.autoCenterOption);
    for (const Expect& e : {Expect{kMain, "RB_Specific_Search", !random}, Expect{kMain, "RB_Random_Search", random},
                            Expect{kStep, OptionCName(Option::CB_NonCir_Search), {}, c.kind},
                            Expect{kStep, "P_NonCir_Random_Search", {}, {}, {}, random},
                            Expect{kMain, OptionCName(Option::CB_Auto_Center), c.shownChecked, {}, random},
                            Expect{kStep, OptionCName(Option::CB_Auto_Center), c.shownChecked, {}, random},
                            Expect{kMain, "MN_Draw_AutoCen", c.shownChecked}}) {
      Check(states, e, context);
    }
  }
}

TEST(ControlStates, MethodsInBothWindows) {
  const auto states = StatesOf([](OptionValues& o) {
    o.setChecked(Option::CB_Ordinary, true);
    o.setChecked(Option::CB_Simp_Janbu, false);
    o.setChecked(Option::CB_Simp_Bishop, true);
    o.setChecked(Option::CB_Spencer, false);
  });
  for (const Expect& e :
       {Expect{kMain, OptionTwinName(Option::CB_Ordinary), true},
        Expect{kMain, OptionTwinName(Option::CB_Simp_Janbu), false},
        Expect{kMain, OptionTwinName(Option::CB_Simp_Bishop), true},
        Expect{kMain, OptionTwinName(Option::CB_Spencer), false}, Expect{kStep, OptionCName(Option::CB_Ordinary), true},
        Expect{kStep, OptionCName(Option::CB_Simp_Janbu), false},
        Expect{kStep, OptionCName(Option::CB_Simp_Bishop), true},
        Expect{kStep, OptionCName(Option::CB_Spencer), false}}) {
    Check(states, e, "methods");
  }
}

// The robust solution stands in for Spencer's walk only: without Spencer
// the choice is kept but cannot be changed.
TEST(ControlStates, RobustSpencerGoesWithSpencer) {
  for (const bool spencer : {false, true}) {
    const auto states = StatesOf([&](OptionValues& o) {
      o.setChecked(Option::CB_Spencer, spencer);
      o.setChecked(Option::CB_Robust_Spencer, true);
    });
    Check(states, Expect{kStep, OptionCName(Option::CB_Robust_Spencer), true, {}, spencer},
          spencer ? "with Spencer" : "without Spencer");
  }
}

TEST(ControlStates, CircularAndIrregularTheory) {
  for (int theory : {1, 2}) {
    const bool circular = theory == 1, irregular = theory == 2;
    const auto states = StatesOf([theory](OptionValues& o) { o.setItemIndex(Option::RG_Theory, theory); });
    const std::string context = "theory " + std::to_string(theory);
    for (const Expect& e : {
             Expect{kMain, "RB_Circular", circular},
             Expect{kMain, "RB_NonCir", irregular},
             Expect{kMain, "RB_Infinite", false},
             Expect{kMain, "RB_Cir_NonCir", false},
             Expect{kMain, "TB_Grid_Search", {}, {}, circular},
             Expect{kMain, "TB_Spec_Search", {}, {}, circular},
             Expect{kMain, "TB_Auto_Search", {}, {}, circular},
             Expect{kMain, "TB_Contour", {}, {}, circular},
             Expect{kMain, "TB_Slip_NonCir", {}, {}, irregular},
             Expect{kMain, "TB_Axis_NonCir", {}, {}, irregular},
             Expect{kMain, OptionTwinName(Option::CB_Ordinary), {}, {}, circular},
             Expect{kStep, OptionCName(Option::CB_Ordinary), {}, {}, circular},
             Expect{kStep, OptionCName(Option::RG_Theory), {}, theory},
             Expect{kStep, "GB_NonCircular_Search", {}, {}, {}, irregular},
             Expect{kStep, "P_Explain_Cir", {}, {}, {}, circular},
             Expect{kStep, "P_Explain_NonCir", {}, {}, {}, irregular},
             Expect{kProgress, "B_Cal_Details", {}, {}, circular},
         }) {
      Check(states, e, context);
    }
  }
  const auto irregular = StatesOf([](OptionValues& o) { o.setItemIndex(Option::RG_Theory, 2); });
  for (const Expect& e :
       {Expect{kProgress, "B_Cal_Details", {}, {}, false, {}, {}, "Details"},
        Expect{kProgress, "L_Cal_FS", {}, {}, {}, false}, Expect{kProgress, "DBG_Results", {}, {}, {}, false}}) {
    Check(irregular, e, "irregular progress window");
  }
}

TEST(ControlStates, ParallelAndCombinedTheoriesSetOnlyTheTheoryControls) {
  for (int theory : {0, 3}) {
    const auto states = StatesOf([theory](OptionValues& o) { o.setItemIndex(Option::RG_Theory, theory); });
    const std::string context = "theory " + std::to_string(theory);
    Check(states, {kMain, "RB_Infinite", theory == 0}, context);
    Check(states, {kMain, "RB_Cir_NonCir", theory == 3}, context);
    Check(states, {kStep, OptionCName(Option::RG_Theory), {}, theory}, context);
    for (const char* untouched : {"TB_Grid_Search", "TB_Slip_NonCir"}) {
      EXPECT_EQ(FindControlState(states, kMain, untouched), nullptr) << context << " " << untouched;
    }
    EXPECT_FALSE(FindControlState(states, kStep, OptionCName(Option::CB_Ordinary))->enabled.has_value()) << context;
    EXPECT_EQ(FindControlState(states, kStep, "GB_NonCircular_Search"), nullptr) << context;
    EXPECT_EQ(FindControlState(states, kProgress, "B_Cal_Details"), nullptr) << context;
  }
}

TEST(OptionRules, IrregularTheoryHidesOrdinaryAndCircularGivesTheChoiceBack) {
  for (bool chosen : {true, false}) {
    const std::string context = chosen ? "Ordinary chosen" : "Ordinary not chosen";
    OptionValues o;
    o.setChecked(Option::CB_Ordinary, chosen);
    o.setItemIndex(Option::RG_Theory, 2);
    ApplyOptionRules(o, Option::RG_Theory);
    EXPECT_EQ(o.checked(Option::CB_Ordinary), chosen) << context;
    EXPECT_FALSE(UsesOrdinary(o)) << context;
    auto states = ControlStates(o, 1);
    Check(states, {kMain, OptionTwinName(Option::CB_Ordinary), false, {}, false}, context + ", irregular");
    Check(states, {kStep, OptionCName(Option::CB_Ordinary), false, {}, false}, context + ", irregular");

    o.setItemIndex(Option::RG_Theory, 1);
    ApplyOptionRules(o, Option::RG_Theory);
    EXPECT_EQ(o.checked(Option::CB_Ordinary), chosen) << context;
    EXPECT_EQ(UsesOrdinary(o), chosen) << context;
    states = ControlStates(o, 1);
    Check(states, {kMain, OptionTwinName(Option::CB_Ordinary), chosen, {}, true}, context + ", circular again");
    Check(states, {kStep, OptionCName(Option::CB_Ordinary), chosen, {}, true}, context + ", circular again");
  }

  // Ordinary cannot be chosen under the irregular theory.
  OptionValues o;
  o.setItemIndex(Option::RG_Theory, 2);
  o.setChecked(Option::CB_Ordinary, true);
  ApplyOptionRules(o, Option::CB_Ordinary);
  EXPECT_FALSE(o.checked(Option::CB_Ordinary));
  // Under the circular theory Ordinary is free.
  o.setItemIndex(Option::RG_Theory, 1);
  o.setChecked(Option::CB_Ordinary, true);
  ApplyOptionRules(o, Option::CB_Ordinary);
  EXPECT_TRUE(o.checked(Option::CB_Ordinary));
}

TEST(OptionRules, TheCrackWaterFollowsTheWaterLineWhileTheyAreTheSame) {
  struct Case {
    const char* line;   // the water line's unit weight before the typing
    const char* crack;  // the crack's
    const char* typed;  // the water line's after it
    const char* crackAfter;
  };
  const Case cases[] = {
      {"1.0", "1.0", "9", "9"},      {"9", "9", "9.81", "9.81"}, {"1.0", "1", "9.81", "9.81"},
      {"1.0", "10", "9.81", "10"},   {"", "", "9", "9"},         {"abc", "abc", "9.8", "9.8"},
      {"9.81", "1.0", "9.8", "1.0"},
  };
  for (const Case& c : cases) {
    OptionValues before;
    before.setText(Option::E_Unit_Weight_Water, c.line);
    before.setText(Option::E_Water_Unit_Weight, c.crack);
    OptionValues after = before;
    after.setText(Option::E_Unit_Weight_Water, c.typed);
    ApplyTypingRules(before, after, Option::E_Unit_Weight_Water);
    EXPECT_EQ(after.text(Option::E_Water_Unit_Weight), c.crackAfter) << c.line << " / " << c.crack << " -> " << c.typed;
  }
  // Typing in the crack's own field leaves the water line alone.
  OptionValues before;
  OptionValues after = before;
  after.setText(Option::E_Water_Unit_Weight, "9.81");
  ApplyTypingRules(before, after, Option::E_Water_Unit_Weight);
  EXPECT_EQ(after.text(Option::E_Unit_Weight_Water), before.text(Option::E_Unit_Weight_Water));
}

TEST(ControlStates, ASpecificCircularSearchDisablesTheGridWithItsReason) {
  for (int kind : {0, 1, 2}) {
    for (std::uint8_t language : {std::uint8_t{0}, std::uint8_t{1}}) {
      const auto states = StatesOf([kind](OptionValues& o) { o.setItemIndex(Option::CB_Cir_Search, kind); }, language);
      const bool used = kind != 1;
      const std::string reason = used ? "" : std::string(UiTextFor(language, UiText::GridUnusedBySpecificSearch));
      const std::string context = "kind " + std::to_string(kind) + ", language " + std::to_string(language);
      for (const char* control : {OptionCName(Option::E_X_LeftDown), OptionCName(Option::E_Y_RightTop),
                                  OptionCName(Option::E_12_Division), OptionCName(Option::E_23_Division),
                                  OptionCName(Option::CB_Grid_Increment), OptionCName(Option::E_Xgrid_Increment)}) {
        const ControlState* s = FindControlState(states, kStep, control);
        ASSERT_NE(s, nullptr) << context << " " << control;
        EXPECT_EQ(s->enabled, used) << context << " " << control;
        EXPECT_EQ(s->hint, reason) << context << " " << control;
      }
      EXPECT_EQ(reason.empty(), used) << context;
    }
  }
}

TEST(OptionRules, SpecificSearchTurnsAutomaticCentreOffAndRandomLeavesItOff) {
  OptionValues o;
  o.setChecked(Option::CB_Auto_Center, true);
  o.setItemIndex(Option::CB_NonCir_Search, 0);
  ApplyOptionRules(o, Option::CB_NonCir_Search);
  EXPECT_FALSE(o.checked(Option::CB_Auto_Center));
  o.setChecked(Option::CB_Auto_Center, true);
  ApplyOptionRules(o, Option::CB_Auto_Center);
  EXPECT_FALSE(o.checked(Option::CB_Auto_Center));

  o.setItemIndex(Option::CB_NonCir_Search, 1);
  ApplyOptionRules(o, Option::CB_NonCir_Search);
  EXPECT_FALSE(o.checked(Option::CB_Auto_Center));
  o.setChecked(Option::CB_Auto_Center, true);
  ApplyOptionRules(o, Option::CB_Auto_Center);
  EXPECT_TRUE(o.checked(Option::CB_Auto_Center));
}

TEST(OptionRules, OtherControlsChangeNothing) {
  OptionValues o;
  o.setItemIndex(Option::RG_Theory, 2);
  o.setChecked(Option::CB_Ordinary, true);
  o.setItemIndex(Option::CB_NonCir_Search, 0);
  o.setChecked(Option::CB_Auto_Center, true);
  const OptionValues before = o;
  for (Option control : {Option::CB_Seepage, Option::E_Kh, Option::CB_LineLoad_Disable}) {
    ApplyOptionRules(o, control);
    EXPECT_TRUE(o == before) << OptionName(control);
  }
}

TEST(ControlStates, AnalysisSettingsInTheirShortestForm) {
  struct Case {
    const char* field;
    const char* typed;
    std::optional<std::string> shown;
  };
  for (const Case& c :
       {Case{OptionCName(Option::E_Pass_Criteria), "0.010", "0.01"},
        Case{OptionCName(Option::E_Cir_Decrement), "10.0", "10"},
        Case{OptionCName(Option::E_Cir_Depth_Tallest), "1.", "1"},
        Case{OptionCName(Option::E_NonCir_Depth_Tallest), " 2.50 ", "2.5"},
        Case{OptionCName(Option::E_Cir_Slice), "+12", "12"}, Case{OptionCName(Option::E_Cir_Add_Radius), "0", "0"},
        Case{OptionCName(Option::E_NonCir_Slice), "007", "7"},
        // Not (yet) a number of its kind: the field keeps what is typed.
        Case{OptionCName(Option::E_Cir_Slice), "12.5", std::nullopt},
        Case{OptionCName(Option::E_Pass_Criteria), "", std::nullopt},
        Case{OptionCName(Option::E_Cir_Decrement), "abc", std::nullopt}}) {
    const auto states = StatesOf([&c](OptionValues& o) { o.setText(OptionNamed(c.field), c.typed); });
    for (ControlWindow w : {kStep, kAnalysis}) {
      const ControlState* s = FindControlState(states, w, c.field);
      const std::string context = std::string(WindowName(w)) + " " + c.field + " typed '" + c.typed + "'";
      if (c.shown) {
        ASSERT_NE(s, nullptr) << context;
        EXPECT_EQ(s->text, c.shown) << context;
      } else {
        EXPECT_TRUE(s == nullptr || !s->text) << context;
      }
    }
  }
  // The defaults as New Project gives them.
  const auto defaults = ControlStates(OptionValues{}, 1);
  for (const auto& [field, shown] :
       {std::pair{OptionCName(Option::E_Cir_Decrement), "10"}, std::pair{OptionCName(Option::E_Cir_Slice), "10"},
        std::pair{OptionCName(Option::E_Cir_Depth_Tallest), "1"}, std::pair{OptionCName(Option::E_Cir_Add_Radius), "0"},
        std::pair{OptionCName(Option::E_NonCir_Slice), "10"},
        std::pair{OptionCName(Option::E_NonCir_Depth_Tallest), "0"},
        std::pair{OptionCName(Option::E_Pass_Criteria), "0.01"}}) {
    Check(defaults, {kAnalysis, field, {}, {}, {}, {}, {}, shown}, "defaults");
  }
}

TEST(ControlStates, LanguageMarks) {
  struct Case {
    std::uint8_t language;
    std::optional<bool> thai, english;
  };
  for (const Case& c : {Case{0, true, false}, Case{1, false, true}, Case{2, std::nullopt, std::nullopt}}) {
    const auto states = ControlStates(OptionValues{}, c.language);
    const ControlState* thai = FindControlState(states, kMain, "MN_LangThai");
    const ControlState* english = FindControlState(states, kMain, "MN_LangEng");
    const std::string context = "language " + std::to_string(c.language);
    EXPECT_EQ(thai ? thai->checked : std::nullopt, c.thai) << context;
    EXPECT_EQ(english ? english->checked : std::nullopt, c.english) << context;
  }
}

TEST(ControlStates, StrengthModelAndAdvancedAnisotropy) {
  for (int model : {0, 1}) {
    for (bool disabled : {true, false}) {
      const auto states = StatesOf([&](OptionValues& o) {
        o.setItemIndex(Option::CB_Strength_Model, model);
        o.setChecked(Option::CB_Advance_Prop_Disable, disabled);
      });
      const bool aniso = model == 1;
      const std::string context = "model " + std::to_string(model) + " advanced off " + std::to_string(disabled);
      for (const Expect& e :
           {Expect{kSoil, OptionCName(Option::CB_Strength_Model), {}, model},
            Expect{kSoil, "DBG_Soil_Properties", {}, {}, {}, !aniso},
            Expect{kSoil, "DBG_Soil_Aniso", {}, {}, {}, aniso}, Expect{kSoil, "B_Aniso_ad", {}, {}, aniso},
            Expect{kStep, OptionCName(Option::CB_Strength_Model), {}, model},
            Expect{kStep, "DBG_Soil_Prop", {}, {}, {}, !aniso}, Expect{kStep, "DBG_Soil_Aniso", {}, {}, {}, aniso},
            Expect{kStep, OptionCName(Option::CB_Advance_Prop_Disable), disabled},
            Expect{kSoil, OptionCName(Option::CB_Advance_Prop_Disable), disabled}}) {
        Check(states, e, context);
      }
    }
  }
}

}  // namespace
}  // namespace pelodyn
