#include "texts/messages.h"

#include <array>

namespace pelodyn {
namespace {

struct Bilingual {
  std::string_view english;
  std::string_view thai;
};

// The English and Thai texts of one entry are not always translations of each
// other; each language shows its own text, exactly as written here.
constexpr std::array<Bilingual, kMessageCount> kMessages{{
    {"Division between grid search point is invalid.", "ยังไม่ได้ป้อนจำนวนช่องการแบ่งตารางค้นหา"},
    {"Specific radius more than maximum radius.", "รัศมีการค้นหา มากกว่ารัศมีที่มากที่สุด"},
    {"Specific radius less than minimum radius.", "รัศมีการค้นหา น้อยกว่ารัศมีที่น้อยที่สุด"},
    {"Please input data before calcutation.", "กรุณาป้อนข้อมูลก่อนสั่งคำนวณ"},
    {"Bottom line is cut by slip surface. Calculaion maybe mistake.\nChange initial slip surface or change soil "
     "geometry.",
     "มีการตัด Bottom Line ค่าที่ได้จากการคำนวณอาจไม่ถูกต้อง\nกรุณาเปลี่ยนผิวการพิบัติเริ่มต้นใหม่ หรือปรับเปลี่ยนชั้นดิน"},
    {"Initial slip surface is not close. Please recheck.", "ป้อนผิวการพิบัติเริ่มต้นไม่ถูกต้อง"},
    {"Initial slip surface is invalid.", "ไม่มีข้อมูลผิวการพิบัติเริ่มต้น"},
    {"Search direction less than 4 point.\nThe results will be error.",
     "ทิศทางการเคลื่อนที่ของจุดพิบัติย่อย < 4 จุด\nผลการค้นหาผิวการพิบัติอาจจะคลาดเคลื่อน"},
    {"Soil properties are not equal as soil layer. Please recheck.", "จำนวนชั้นดินไม่เท่ากับจำนวนคุณสมบัติดิน"},
    {"Soil properties data is not correct. Please recheck.", "ป้อนคุณสมบัติดินไม่ถูกต้อง"},
    {"Soil properties data is invalid.", "ต้องป้อนข้อมูลคุณสมบัติดินก่อนวาดชั้นดิน"},
    {"Not already input the last air line.\n(c=0, phi=0, unit weight=0).",
     "ต้องมีชั้นอากาศเป็นชั้นสุดท้าย\nc=0, phi=0, unit weight=0 "},
    {"Not already input the last air line.\n(ch=0, cv=0, phi_h=0, phi_v=0, unit weight=0).",
     "ต้องมีชั้นอากาศเป็นชั้นสุดท้าย\nch=0, cv=0, phi_h=0, phi_v=0, unit weight=0"},
    {"Pelodyn 2.0 can not analysis this theory.", "ยังไม่สามารถวิเคราะห์ได้ใน Pelodyn 2.0"},
    {"Bottom line No. = 0\nPlease check Bottom line No.", "Bottom line No. = 0\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"Specific bottom line is not have data.\nPlease recheck.",
     "ไม่พบข้อมูลใน Specific bottom line\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"Pass criteria = 0\nPlease input data (Default = 0.01) at Analysis Setting",
     "Pass criteria = 0\nกรุณาป้อนค่า (ค่าเริ่มต้น = 0.01) ที่ Analysis Setting"},
    {"No of Circle is not have data.\nPlease check Analysis Setting.",
     "ไม่พบข้อมูลจำนวนวงในการค้นหา (No of Circle)\nกรูณาตรวจสอบค่าที่ Analysis Setting"},
    {"No of slice is not have data.\nPlease check Analysis Setting",
     "ไม่พบข้อมูลจำนวนชิ้นในการวิเคราะห์ (No of Slice)\nกรูณาตรวจสอบค่าที่ Analysis Setting"},
}};

constexpr std::array<Bilingual, 21> kCoreTexts{{
    {"Table {0}, row {2}: {1} = {3} is outside 1 to {4}.\nPlease recheck.",
     "ตาราง {0} แถวที่ {2}: {1} = {3} อยู่นอกช่วง 1 ถึง {4}\nกรุณาตรวจสอบข้อมูล"},
    {"Table {0}: {1} {2} is given more than once.\nPlease recheck.", "ตาราง {0}: {1} {2} ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล"},
    {"Bottom line No. = {0} but there are only {1} boundary lines.\nPlease check Bottom line No.",
     "Bottom line No. = {0} แต่มีเส้นขอบชั้นดินเพียง {1} เส้น\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"Specific bottom line, row {0}: line No. {1} is outside 1 to {2}.\nPlease recheck.",
     "Specific bottom line แถวที่ {0}: เส้นที่ {1} อยู่นอกช่วง 1 ถึง {2}\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"Specific bottom line, row {0}: point {1} is not a point of line No. {2} (1 to {3}).\nPlease recheck.",
     "Specific bottom line แถวที่ {0}: จุดที่ {1} ไม่อยู่บนเส้นที่ {2} (1 ถึง {3})\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"Advanced anisotropic properties, row {0}: soil No. {1}.\nThe rows must be listed soil by soil in ascending soil "
     "number, from 1 to {2}.",
     "คุณสมบัติ Anisotropic ขั้นสูง แถวที่ {0}: ชั้นดินที่ {1}\nต้องป้อนเรียงตามลำดับชั้นดินจากน้อยไปมาก ตั้งแต่ 1 ถึง {2}"},
    {"Advanced anisotropic properties, row {0}: the normal stress of soil No. {1} is below that of the row "
     "before.\nList the rows of each soil in ascending normal stress.",
     "คุณสมบัติ Anisotropic ขั้นสูง แถวที่ {0}: Normal Stress ของชั้นดินที่ {1} น้อยกว่าแถวก่อนหน้า\nกรุณาเรียง Normal Stress "
     "ของแต่ละชั้นดินจากน้อยไปมาก"},
    {"{0} = {1} is above the limit of {2}.\nPlease check Analysis Setting.",
     "{0} = {1} เกินขีดจำกัด {2}\nกรุณาตรวจสอบค่าที่ Analysis Setting"},
    {"{0} = {1} may not be negative.\nPlease check Analysis Setting.",
     "{0} = {1} ต้องไม่เป็นค่าลบ\nกรุณาตรวจสอบค่าที่ Analysis Setting"},
    {"{0} = {1} is below the limit of {2} for this section.\nPlease check Analysis Setting.",
     "{0} = {1} น้อยกว่าขีดจำกัด {2} ของหน้าตัดนี้\nกรุณาตรวจสอบค่าที่ Analysis Setting"},
    {"{0} = {1} is beyond any real section (at most 1e9 in size).\nPlease recheck.",
     "{0} = {1} มีค่ามากเกินกว่าหน้าตัดจริงใด ๆ (ไม่เกิน 1e9)\nกรุณาตรวจสอบข้อมูล"},
    {"The grid search would analyse and keep {0} circles (the circles of every centre of the grid, from Division "
     "1-2, Division 2-3 and {1}), above the limit of {2} that the Results table can hold.\nPlease check Analysis "
     "Setting.",
     "การค้นหาแบบกริดจะวิเคราะห์และเก็บวงกลม {0} วง (วงกลมของทุกจุดศูนย์กลางในกริด จาก Division 1-2, Division 2-3 "
     "และ {1}) เกินขีดจำกัด {2} วงที่ตาราง Results เก็บได้\nกรุณาตรวจสอบค่าที่ Analysis Setting"},
    {"Soil No. {0}: {1} = {2} is negative.\nCohesion, friction angle and unit weight are 0 or more; please check the "
     "soil properties.",
     "ชั้นดินที่ {0}: {1} = {2} เป็นค่าลบ\nค่า Cohesion มุมเสียดทาน และหน่วยน้ำหนัก ต้องไม่น้อยกว่า 0 กรุณาตรวจสอบคุณสมบัติดิน"},
    {"Soil No. {0}: {1} = {2} degrees is 90 or more.\nA friction angle lies below 90 degrees; please check the soil "
     "properties.",
     "ชั้นดินที่ {0}: {1} = {2} องศา มีค่าตั้งแต่ 90 ขึ้นไป\nมุมเสียดทานต้องน้อยกว่า 90 องศา กรุณาตรวจสอบคุณสมบัติดิน"},
    {"Advanced anisotropic properties, row {0}, soil No. {1}: {2} = {3} degrees is outside 0 to below 90.\nPlease "
     "recheck.",
     "คุณสมบัติ Anisotropic ขั้นสูง แถวที่ {0} ชั้นดินที่ {1}: {2} = {3} องศา อยู่นอกช่วง 0 ถึงน้อยกว่า 90\n"
     "กรุณาตรวจสอบข้อมูล"},
    {"No method is selected.\nSelect at least one of Ordinary, Simplified Janbu, Simplified Bishop and Spencer.",
     "ยังไม่ได้เลือกวิธีการวิเคราะห์\nกรุณาเลือกอย่างน้อยหนึ่งวิธี: Ordinary, Simplified Janbu, Simplified Bishop หรือ "
     "Spencer"},
    {"Automatic search: {0} = {1}; with a step that is not larger than 0 the search would analyse its start centre "
     "alone.\nType an increment larger than 0 at Analysis Setting.",
     "การค้นหาอัตโนมัติ: {0} = {1} ระยะเลื่อนที่ไม่มากกว่า 0 ทำให้วิเคราะห์ได้เพียงจุดศูนย์กลางเริ่มต้นจุดเดียว\n"
     "กรุณาป้อนระยะเลื่อนที่มากกว่า 0 ที่ Analysis Setting"},
    {"Automatic search: {0} = {1}; with a step that is not larger than 0 the search would analyse its start centre "
     "alone.\nType an increment larger than 0 at Analysis Setting, for example {2} (the spacing of the grid of "
     "centres).",
     "การค้นหาอัตโนมัติ: {0} = {1} ระยะเลื่อนที่ไม่มากกว่า 0 ทำให้วิเคราะห์ได้เพียงจุดศูนย์กลางเริ่มต้นจุดเดียว\n"
     "กรุณาป้อนระยะเลื่อนที่มากกว่า 0 ที่ Analysis Setting เช่น {2} (ระยะห่างของกริดจุดศูนย์กลาง)"},
    {"Water is given by a water line (Seepage), but the water line has no point.\nEnter the points of the water "
     "line, or choose another kind of seepage.",
     "เลือกน้ำใต้ดินแบบเส้นระดับน้ำ (Seepage) แต่เส้นระดับน้ำยังไม่มีจุด\nกรุณาป้อนจุดของเส้นระดับน้ำ หรือเลือกรูปแบบอื่น"},
    {"The result file was not written: {0}", "ไม่ได้บันทึกไฟล์ผลลัพธ์: {0}"},
    {"Warning: boundary line {0} lies above the ground surface (line {1}) from x = {2} to {3}; the soil below it "
     "shows there as a band above the ground. Check the points of line {0} in Geometry.",
     "คำเตือน: เส้นขอบชั้นดินที่ {0} อยู่สูงกว่าผิวดิน (เส้นที่ {1}) ช่วง x = {2} ถึง {3} ดินใต้เส้นนี้จึงปรากฏเป็นแถบเหนือผิวดิน "
     "กรุณาตรวจสอบจุดของเส้นที่ {0} ใน Geometry"},
}};

constexpr Bilingual kGridEdgeWarning{
    "{0}: the minimum lies on the {1} edge of the grid of centres; extend the grid beyond its {1} edge.",
    "{0}: ค่าต่ำสุดอยู่ที่ขอบด้าน{1}ของกริดจุดศูนย์กลาง กรุณาขยายกริดออกไปทางขอบด้าน{1}"};
constexpr std::array<Bilingual, 4> kGridEdgeNames{{
    {"lower", "ล่าง"},
    {"upper", "บน"},
    {"left", "ซ้าย"},
    {"right", "ขวา"},
}};
constexpr std::array<Bilingual, 4> kMethodNames{{
    {"Ordinary", "Ordinary"},
    {"Simplified Janbu", "Simplified Janbu"},
    {"Simplified Bishop", "Simplified Bishop"},
    {"Spencer", "Spencer"},
}};

struct CodeText {
  int code;
  Bilingual text;
};

constexpr std::array<CodeText, 8> kResultCodeTexts{{
    {99999, {"no factor was found", "ไม่พบค่าอัตราส่วนความปลอดภัย"}},
    {1000000,
     {"the factor is not admissible (not positive, above 100, failed the ratio test, or Spencer's bracket did not "
      "close)",
      "ค่าอัตราส่วนความปลอดภัยใช้ไม่ได้ (ไม่เป็นบวก เกิน 100 ไม่ผ่านการทดสอบอัตราส่วน หรือวิธีของ Spencer หาค่าไม่ได้)"}},
    {1000006,
     {"the tallest slice is not taller than the depth limit", "แผ่นดินที่สูงที่สุดไม่สูงกว่าความลึกที่กำหนด (Depth Tallest)"}},
    {1000007, {"more than half of the slice bases have no strength", "ฐานของแผ่นดินมากกว่าครึ่งหนึ่งไม่มีกำลังรับแรงเฉือน"}},
    {1000008, {"a slice base is turned past the vertical", "ฐานของแผ่นดินบางแผ่นเอียงเกินแนวดิ่ง"}},
    {1000009, {"the circle does not reach the ground", "วงกลมไม่ตัดผิวดิน"}},
    {1000010, {"the iteration did not converge in 100 rounds", "การคำนวณไม่ลู่เข้าภายใน 100 รอบ"}},
    {1000011, {"an arithmetic fault (division by zero, overflow)", "เกิดความผิดพลาดทางคณิตศาสตร์ (หารด้วยศูนย์ หรือค่าล้น)"}},
}};

constexpr Bilingual kNoAdmissibleSurface{"no admissible slip surface", "ไม่มีผิวการพิบัติที่ใช้ได้"};

std::string_view Pick(const Bilingual& text, std::uint8_t language) {
  if (language == kLanguageEnglish) return text.english;
  if (language == kLanguageThai) return text.thai;
  return {};
}

}  // namespace

std::string_view MessageText(std::uint8_t language, int number) {
  if (number < 0 || number >= kMessageCount) return {};
  return Pick(kMessages[static_cast<std::size_t>(number)], language);
}

std::string_view CoreTextFor(std::uint8_t language, CoreText text) {
  const auto index = static_cast<std::size_t>(text);
  if (index >= kCoreTexts.size()) return {};
  return Pick(kCoreTexts[index], language);
}

std::string_view ResultCodeText(std::uint8_t language, int code) {
  for (const CodeText& entry : kResultCodeTexts) {
    if (entry.code == code) return Pick(entry.text, language);
  }
  return {};
}

std::string_view NoAdmissibleSurfaceText(std::uint8_t language) {
  return Pick(kNoAdmissibleSurface, language);
}

std::string_view GridEdgeWarningPattern(std::uint8_t language) {
  return Pick(kGridEdgeWarning, language);
}

std::string_view GridEdgeName(std::uint8_t language, int edge) {
  if (edge < 0 || edge >= static_cast<int>(kGridEdgeNames.size())) return {};
  return Pick(kGridEdgeNames[static_cast<std::size_t>(edge)], language);
}

std::string_view MethodName(std::uint8_t language, int method) {
  if (method < 0 || method >= static_cast<int>(kMethodNames.size())) return {};
  return Pick(kMethodNames[static_cast<std::size_t>(method)], language);
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 32);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{') {
      const std::size_t close = pattern.find('}', i);
      if (close != std::string_view::npos && close > i + 1) {
        std::size_t n = 0;
        bool digits = true;
        for (std::size_t j = i + 1; j < close; ++j) {
          if (pattern[j] < '0' || pattern[j] > '9') {
            digits = false;
            break;
          }
          n = n * 10 + static_cast<std::size_t>(pattern[j] - '0');
        }
        if (digits && n < args.size()) {
          out += *(args.begin() + n);
          i = close;
          continue;
        }
      }
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace pelodyn
