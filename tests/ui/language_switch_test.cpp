// Every window follows the document's language while it is open: the
// language is switched with all of them open at once, and each shows its
// captions in the new language, having put them in place exactly once per
// switch (one way to retranslate, not two).
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <functional>
#include <memory>
#include <vector>

#include "texts/messages.h"
#include "ui/batch/auto_exe_file_report.h"
#include "ui/batch/auto_exe_file_window.h"
#include "ui/forms/settings_dialogs.h"
#include "ui/forms/step_by_step_form.h"
#include "ui/forms/table_dialogs.h"
#include "ui/vegetation/vegetation_window.h"
#include "ui/widgets/grid_editor.h"
#include "window_fixture.h"

namespace pelodyn {
namespace {

class LanguageSwitch : public test::WindowTest {};

// One open window: its title (or one caption) in English and in Thai, and
// how many times it has retranslated (none for a window that does not count).
struct OpenWindow {
  const char* name;
  QWidget* widget;
  QString english;
  QString thai;
  std::function<QString()> caption;
  std::function<int()> count;
};

QString HeaderOf(const GridEditor* grid, int column) {
  return grid->model()->headerData(column, Qt::Horizontal).toString();
}

TEST_F(LanguageSwitch, EveryOpenWindowTakesTheNewLanguageOnce) {
  document->setLanguage(kLanguageEnglish);
  std::vector<std::unique_ptr<QWidget>> owned;
  const auto own = [&owned](auto* w) {
    owned.emplace_back(w);
    w->show();
    return w;
  };
  auto* soils = own(new SoilPropertiesDialog(*document, prompter));
  auto* geometry = own(new GeometryDialog(*document, prompter));
  auto* bottom = own(new BottomLineDialog(*document, prompter));
  auto* vegetation = own(new VegetationWindow(*document, prompter));
  auto* batch = own(new AutoExeFileWindow(*document, prompter));
  auto* report = own(new AutoExeFileReport(*document, prompter, "a\r\nb\r\nc\r\nd\r\n"));
  auto* setting = own(new SettingDialog(*document, prompter));
  auto* analysis = own(new AnalysisSettingDialog(*document, prompter));
  auto* page = own(new PageSetupDialog(*document, prompter));
  StepByStepForm* step = window->stepForm();
  step->show();
  ProgressWindow& run = progress();
  run.show();

  const auto title = [](QWidget* w) { return [w] { return w->windowTitle(); }; };
  const auto label = [](QWidget* w, const char* name) {
    return [w, name] { return w->findChild<QLabel*>(QString::fromLatin1(name))->text(); };
  };
  const std::vector<OpenWindow> windows = {
      {"step form", step, "Pelodyn 2.0 (Step by Step)", "Pelodyn 2.0 (ตัวช่วยป้อนข้อมูล)", title(step),
       [step] { return step->retranslateCount(); }},
      {"step form's soil grid", step, "Soil No.", "ชั้นดิน",
       [step] { return HeaderOf(step->grid(QStringLiteral("DBG_Soil_Prop")), 0); }, nullptr},
      {"progress", &run, "Method", "วิธีการ", label(&run, "Label1"), [&run] { return run.retranslateCount(); }},
      {"soil properties", soils, "Soil Properties", "คุณสมบัติดิน", title(soils),
       [soils] { return soils->retranslateCount(); }},
      {"soil properties grid", soils, "Unit Weight", "หน่วยน้ำหนัก", [soils] { return HeaderOf(soils->currentGrid(), 3); },
       nullptr},
      {"geometry", geometry, "Geometry", "รูปร่างชั้นดิน", title(geometry),
       [geometry] { return geometry->retranslateCount(); }},
      {"geometry grid", geometry, "Point No.", "จุดที่", [geometry] { return HeaderOf(geometry->grid(), 1); }, nullptr},
      {"bottom line", bottom, "Bottom Line", "ชั้นดินแข็ง", title(bottom), [bottom] { return bottom->retranslateCount(); }},
      {"bottom line grid", bottom, "End Point", "จุดสิ้นสุด", [bottom] { return HeaderOf(bottom->grid(), 2); }, nullptr},
      {"bottom line label", bottom, "Bottom Line Type", "ชนิดของชั้นดินแข็ง", label(bottom, "L_Bottom_Line"), nullptr},
      {"vegetation", vegetation, "Vegetation", "เสริมแรงด้วยรากพืช", title(vegetation),
       [vegetation] { return vegetation->retranslateCount(); }},
      {"vegetation grid", vegetation, "Radius", "รัศมี",
       [vegetation] { return HeaderOf(vegetation->rootLayerGrid(), 2); }, nullptr},
      {"batch", batch, "Automatic Execute File", "คำนวณหลายไฟล์", title(batch),
       [batch] { return batch->retranslateCount(); }},
      {"batch label", batch, "Source Files", "ไฟล์ต้นทาง", label(batch, "L_Source_Files"), nullptr},
      {"batch report", report, "Automatic Execute File Report", "รายงานผลการคำนวณหลายไฟล์", title(report),
       [report] { return report->retranslateCount(); }},
      {"setting", setting, "Setting", "กำหนดค่า", title(setting), nullptr},
      {"analysis setting", analysis, "Analysis Setting", "กำหนดค่าการวิเคราะห์", title(analysis), nullptr},
      {"page setup", page, "Page Setup", "ตั้งค่าหน้ากระดาษ", title(page), nullptr},
  };
  std::vector<int> before;
  for (const OpenWindow& w : windows) {
    SCOPED_TRACE(w.name);
    EXPECT_EQ(w.caption(), w.english);
    before.push_back(w.count ? w.count() : 0);
  }

  // Each switch reaches every window once; switching back restores English.
  const std::uint8_t switches[] = {kLanguageThai, kLanguageEnglish, kLanguageThai};
  for (std::size_t s = 0; s < std::size(switches); ++s) {
    document->setLanguage(switches[s]);
    for (std::size_t k = 0; k < windows.size(); ++k) {
      const OpenWindow& w = windows[k];
      SCOPED_TRACE(std::string(w.name) + ", switch " + std::to_string(s + 1));
      EXPECT_EQ(w.caption(), switches[s] == kLanguageThai ? w.thai : w.english);
      if (w.count) {
        EXPECT_EQ(w.count() - before[k], static_cast<int>(s) + 1);
      }
    }
  }
}

}  // namespace
}  // namespace pelodyn
