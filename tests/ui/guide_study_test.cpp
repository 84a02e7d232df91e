// The user's guide's worked study, typed into the step-by-step form from
// the guide's own tables, cell by cell, as a reader would: it must save as
// the bundled example it describes, byte for byte, and its run must give
// the example's factors of safety and the factors the guide prints. A table
// of the guide that drifts from the example, or a setting the guide leaves
// out, fails here.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "persistence/settings_file.h"
#include "ui/document/run_texts.h"
#include "ui/file_bytes.h"
#include "ui/forms/grid_editor.h"
#include "ui/forms/step_by_step_form.h"
#include "ui/window_fixture.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

using Cells = std::vector<std::string>;

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

Cells SplitRow(const std::string& line) {
  Cells cells;
  std::string cell;
  for (std::size_t k = 1; k < line.size(); ++k) {
    if (line[k] == '|') {
      cells.push_back(Trim(cell));
      cell.clear();
    } else {
      cell += line[k];
    }
  }
  return cells;
}

// The guide's worked study: its tables, found by their header rows.
class GuideTables {
 public:
  explicit GuideTables(const fs::path& guide) {
    std::ifstream in(guide);
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("## 3.", 0) == 0) break;  // the study ends there
      m_lines.push_back(line);
    }
  }
  // The body rows of the one table whose header is `header`; the test
  // fails when there is none, or more than one.
  std::vector<Cells> table(const Cells& header) const {
    std::vector<std::vector<Cells>> found;
    for (std::size_t k = 0; k + 1 < m_lines.size(); ++k) {
      if (m_lines[k].rfind('|', 0) != 0 || SplitRow(m_lines[k]) != header) continue;
      if (k > 0 && m_lines[k - 1].rfind('|', 0) == 0) continue;  // a body row that looks like a header
      std::vector<Cells> rows;
      for (std::size_t j = k + 2; j < m_lines.size() && m_lines[j].rfind('|', 0) == 0; ++j) {
        Cells row = SplitRow(m_lines[j]);
        EXPECT_EQ(row.size(), header.size()) << m_lines[j];
        rows.push_back(std::move(row));
      }
      found.push_back(std::move(rows));
    }
    EXPECT_EQ(found.size(), 1u) << "tables headed " << header.front();
    return found.empty() ? std::vector<Cells>{} : found.front();
  }
  // A two-column table as names and values.
  std::map<std::string, std::string> settings(const Cells& header) const {
    std::map<std::string, std::string> out;
    for (const Cells& row : table(header)) out[row.at(0)] = row.at(1);
    return out;
  }

 private:
  std::vector<std::string> m_lines;
};

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

class GuideStudyTest : public test::WindowTest {
 protected:
  void SetUp() override {
    fs::remove(SettingsFilePath());
    test::WindowTest::SetUp();
    window->resize(1200, 800);
    action("MN_Step")->trigger();
    form = window->stepForm();
    ASSERT_TRUE(form->isVisible());
  }

  template <class T>
  T* find(const std::string& name) {
    T* w = form->findChild<T*>(Q(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void type(const std::string& field, const std::string& text) {
    auto* e = find<QLineEdit>(field);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, Q(text));
    emit e->editingFinished();
  }
  void choose(const char* combo, int item) {
    auto* c = find<QComboBox>(combo);
    c->setCurrentIndex(item);
    emit c->activated(item);
  }
  void click(const char* button) { find<QAbstractButton>(button)->click(); }
  // A new row after the last, typed cell by cell with Enter after each.
  void appendRow(const char* gridName, const char* insertButton, const Cells& cells) {
    GridEditor* grid = form->grid(QString::fromLatin1(gridName));
    // With no current row, the row button adds the row at the end.
    grid->setCurrentIndex(QModelIndex());
    click(insertButton);
    grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, 0));
    for (const std::string& text : cells) {
      grid->edit(grid->currentIndex());
      QList<QLineEdit*> open;
      for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>()) {
        if (!e->isHidden()) open << e;
      }
      ASSERT_EQ(open.size(), 1);
      QTest::keyClicks(open.front(), Q(text));
      QTest::keyClick(open.front(), Qt::Key_Return);
    }
  }
  // Each named setting typed into its field; a name the test does not know
  // fails, so nothing the guide asks for is left untyped.
  void typeSettings(const std::map<std::string, std::string>& values,
                    const std::map<std::string, std::string>& fields) {
    for (const auto& [name, value] : values) {
      const auto field = fields.find(name);
      if (field == fields.end()) {
        ADD_FAILURE() << "the guide's setting '" << name << "' has no field here";
        continue;
      }
      type(field->second, value);
    }
  }
  std::array<QString, 4> minimumLabels() {
    std::array<QString, 4> out;
    const char* names[] = {"L_FS_Ord", "L_FS_Simp_Jan", "L_FS_Simp_Bis", "L_FS_Spe"};
    for (int k = 0; k < 4; ++k) out[k] = progress().findChild<QLabel*>(QString::fromLatin1(names[k]))->text();
    return out;
  }

  StepByStepForm* form = nullptr;
};

TEST_F(GuideStudyTest, TheStudyTypedFromTheGuidesTablesIsTheExampleAndGivesItsFactors) {
  const fs::path examples(PELODYN_EXAMPLES);
  const GuideTables guide(examples.parent_path() / "docs" / "guide.md");

  // Page 1: the project's details; the methods are the new project's.
  typeSettings(
      guide.settings({"Field", "Value"}),
      {{"Project Name", Option::E_Project_Name}, {"Location", Option::E_Lacation}, {"Engineer", Option::E_Engineer}});
  click("B_Next_Project_Name");

  // Page 2: the soils, then the boundary lines' points.
  const std::vector<Cells> soils = guide.table({"Soil No.", "Cohesion", "Phi", "Unit Weight", "Description"});
  ASSERT_EQ(soils.size(), 4u);
  for (const Cells& soil : soils) appendRow("DBG_Soil_Prop", "B_Geometry_Insert", soil);
  const std::vector<Cells> points = guide.table({"Line No.", "Point No.", "Coordi X", "Coordi Y"});
  ASSERT_FALSE(points.empty());
  for (const Cells& point : points) appendRow("DBG_Geometry", "Button16", point);
  click("B_Next_Soil_Properties");
  EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text.toStdString();
  click("Button1");

  // Page 4: the phreatic line and the water's unit weight.
  const std::map<std::string, std::string> settings = guide.settings({"Setting", "Value"});
  choose(Option::CB_Seepage, 1);
  for (const Cells& point : guide.table({"Point No.", "Coordi X", "Coordi Y"})) {
    appendRow("DBG_Waterline", "Button2", point);
  }
  typeSettings({{"Unit weight of water", settings.at("Unit weight of water")}},
               {{"Unit weight of water", Option::E_Unit_Weight_Water}});
  click("B_Next_Seepage");

  // Page 5: the earthquake and the loads.
  click(Option::CB_Seismic_Disable);
  typeSettings({{"kh", settings.at("kh")}, {"kv", settings.at("kv")}}, {{"kh", Option::E_Kh}, {"kv", Option::E_Kv}});
  EXPECT_EQ(settings.size(), 3u) << "a setting of the guide that no page here types";
  click(Option::CB_LineLoad_Disable);
  for (const Cells& load : guide.table({"Load No.", "Magnitude", "Coordi X", "Coordi Y", "Angle"})) {
    appendRow("DBG_LindLoad", "Button12", load);
  }
  click(Option::CB_StripLoad_Disable);
  for (const Cells& load : guide.table({"Load No.", "Magnitude", "Begin X", "End X", "Begin Y", "End Y"})) {
    appendRow("DBG_StripLoad", "Button10", load);
  }
  click("B_Next_Load_Effect");

  // Page 6: the grid of centres and the search settings.
  const std::map<std::string, std::pair<std::string, std::string>> corners = {
      {"Left Down", {Option::E_X_LeftDown, Option::E_Y_LeftDown}},
      {"Right Down", {Option::E_X_RightDown, Option::E_Y_RightDown}},
      {"Right Top", {Option::E_X_RightTop, Option::E_Y_RightTop}}};
  const std::vector<Cells> grid = guide.table({"Corner", "X", "Y"});
  EXPECT_EQ(grid.size(), 3u);
  for (const Cells& corner : grid) {
    ASSERT_TRUE(corners.count(corner[0])) << corner[0];
    type(corners.at(corner[0]).first, corner[1]);
    type(corners.at(corner[0]).second, corner[2]);
  }
  std::map<std::string, std::string> search = guide.settings({"Search setting", "Value"});
  ASSERT_EQ(search["Search"], "Grid Search");
  choose(Option::CB_Cir_Search, 0);
  search.erase("Search");
  ASSERT_TRUE(search.count("No. of Circle"));
  choose(Option::CB_Circle_Decrement, 0);
  typeSettings(search, {{"Division between 1 and 2", Option::E_12_Division},
                        {"Division between 2 and 3", Option::E_23_Division},
                        {"No. of Circle", Option::E_Cir_Decrement},
                        {"No. of Slice", Option::E_Cir_Slice},
                        {"Min. Depth of Tallest Slice", Option::E_Cir_Depth_Tallest},
                        {"Pass Criteria", Option::E_Pass_Criteria}});
  click("B_Close_Step");
  EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text.toStdString();

  // Saved, the study is the example, byte for byte.
  const fs::path saved = dir / "study.pdd";
  prompter.saveTargets = {SaveTarget{Q(saved.string()), 0}};
  action("MN_SaveAs")->trigger();
  ASSERT_TRUE(fs::exists(saved));
  EXPECT_EQ(test::Bytes(saved), test::Bytes(examples / "layered-phreatic-loads.pdd"));

  // Run, it gives the example's factors, and the factors the guide prints.
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  const std::array<QString, 4> typed = minimumLabels();
  const auto typedMinimum = document->project().run.Minimum;
  prompter.saveAnswers = {SaveChoice::Discard};
  open("layered-phreatic-loads.pdd");
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  EXPECT_EQ(minimumLabels(), typed);
  for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(document->project().run.Minimum[k].Fs, typedMinimum[k].Fs) << k;
  const std::map<std::string, std::string> factors = guide.settings({"Method", "Minimum FS"});
  const std::map<std::string, int> methods = {
      {"Ordinary", 0}, {"Simplified Janbu", 1}, {"Simplified Bishop", 2}, {"Spencer", 3}};
  EXPECT_EQ(factors.size(), 3u);
  for (const auto& [method, fs] : factors) {
    ASSERT_TRUE(methods.count(method)) << method;
    EXPECT_EQ(typed[static_cast<std::size_t>(methods.at(method))].toStdString(), fs) << method;
  }
}

}  // namespace
}  // namespace pelodyn
