#include "texts/form_texts.h"

#include "keys/option_keys.h"

namespace pelodyn {

namespace {

// The form's texts in English and Thai, by control name. Controls named
// here get their text (a caption, a page title, a group title) from this
// table at every language change.
const FormText kTexts[] = {
    {"Form_Step_by_Step", "Pelodyn 2.0 (Step by Step)", "Pelodyn 2.0 (ตัวช่วยป้อนข้อมูล)"},
    {"P_Step_by_Step_Top", "Pelodyn Step by Step  ", "Pelodyn ตัวช่วยป้อนข้อมูล  "},
    {"TS_Project_Information", "Project Information and Method", "ข้อมูลโครงการและวิธีวิเคราะห์"},
    {"TS_Soil_Properties", "Soil Properties and Geometry", "คุณสมบัติดินและรูปร่างชั้นดิน"},
    {"TabSheet1", "Bottom Line", "ชั้นดินแข็ง"},
    {"TS_Seepage", "Seepage Condition", "สภาพน้ำใต้ดิน"},
    {"TS_Load_Effect", "Load Effect", "ผลของน้ำหนักกระทำ"},
    {"TS_Search", "Search Condition", "เงื่อนไขการค้นหา"},
    {"L_Project_Name", "Project Name", "ชื่อโครงการ"},
    {"L_Location", "Location", "สถานที่"},
    {"L_Engineer", "Engineer", "วิศวกร"},
    {OptionName(Option::RG_Theory), "Theory", "ทฤษฎี"},
    {"RG_Theory_0", "Parallel Failure", "การพิบัติแบบระนาบขนาน"},
    {"RG_Theory_1", "Circular Failure", "การพิบัติแบบวงกลม"},
    {"RG_Theory_2", "Irregular Failure", "การพิบัติแบบไม่เป็นวงกลม"},
    {"RG_Theory_3", "Circular and Irregular Failure", "การพิบัติแบบวงกลมและไม่เป็นวงกลม"},
    {"GB_Method", "Method", "วิธีวิเคราะห์"},
    {OptionName(Option::CB_Ordinary), "Ordinary Method", "Ordinary Method"},
    {OptionName(Option::CB_Simp_Janbu), "Simplified Janbu", "Simplified Janbu"},
    {OptionName(Option::CB_Simp_Bishop), "Simplified Bishop", "Simplified Bishop"},
    {OptionName(Option::CB_Spencer), "Spencer", "Spencer"},
    {OptionName(Option::CB_Robust_Spencer), "Robust Spencer (solve where the iteration does not converge)",
     "Spencer แบบลู่เข้า (หาคำตอบเมื่อการทำซ้ำไม่ลู่เข้า)"},
    {"L_Strength_Model", "Strength Model", "แบบจำลองกำลังรับแรงเฉือน"},
    {OptionName(Option::CB_Advance_Prop_Disable), "Disable Advance Properties", "ไม่ใช้คุณสมบัติขั้นสูง"},
    {"L_Soil_Table", "Soil Properties", "คุณสมบัติดิน"},
    {"L_Geometry_Table", "Geometry", "รูปร่างชั้นดิน"},
    {"L_Bottom_Line", "Bottom Line Type", "ชนิดของชั้นดินแข็ง"},
    {"L_BottomLine", "Bottom Line No.", "หมายเลขชั้นดินแข็ง"},
    {"L_Specific_Bottom_Line", "Specific Bottom Line", "กำหนดแนวชั้นดินแข็งเอง"},
    {"P_Specific_Bottom_Line", "Specific bottom line not used", "ไม่ใช้แนวชั้นดินแข็งที่กำหนดเอง"},
    {"P_EX_Bottom_LineNo",
     "The slip surface may not pass below boundary line No. n:\nthe soil under it is taken as firm.",
     "ผิวการพิบัติจะไม่ผ่านใต้เส้นขอบชั้นดินหมายเลข n\nดินที่อยู่ใต้เส้นนี้ถือว่าแข็งแรง"},
    {"P_EX_Specific_Bottom_Line", "The firm base follows the listed segments:\nline No. with its begin and end points.",
     "ชั้นดินแข็งตามช่วงที่กำหนด\nหมายเลขเส้นพร้อมจุดเริ่มต้นและจุดสิ้นสุด"},
    {"L_Seepage", "Seepage", "สภาพน้ำ"},
    {"L_WaterLine_Kind", "Water Line Type", "ชนิดของเส้นระดับน้ำ"},
    {"L_Unit_Weight_Water", "Unit Weight of Water", "หน่วยน้ำหนักของน้ำ"},
    {"L_Ru_Type", "Ru Condition", "ลักษณะค่า Ru"},
    {"L_Ru_Value", "Ru", "Ru"},
    {"P_WaterLine_not_Cal", "Water Line not Calculated", "ไม่คำนวณเส้นระดับน้ำ"},
    {"P_Ru_not_Cal", "Ru not Calculated", "ไม่คำนวณค่า Ru"},
    {"P_Dis_NoSeepage", "The effect of water is not taken into account.", "ไม่คำนึงถึงผลกระทบจากน้ำ"},
    {"P_Dis_WaterLine", "Pore pressure from the water line (phreatic or piezometric).",
     "แรงดันน้ำจากเส้นระดับน้ำ (Phreatic หรือ Piezometric)"},
    {"P_Dis_Ru", "Pore pressure as a ratio of the overburden (Ru).", "แรงดันน้ำเป็นสัดส่วนของหน่วยแรงกดทับ (Ru)"},
    {"TS_Seismic", "Seismic", "แผ่นดินไหว"},
    {"TS_Ex_Load", "External Load", "น้ำหนักภายนอก"},
    {"TS_Tension_Crack", "Tension Crack", "รอยแตกจากแรงดึง"},
    {"TS_Anchor", "Anchor or Geofabric", "สมอยึดหรือแผ่นใยสังเคราะห์"},
    {OptionName(Option::CB_Seismic_Disable), "Disable", "ไม่ใช้"},
    {"L_Kh", "Kh =", "Kh ="},
    {"L_Kv", "Kv =", "Kv ="},
    // The scale's short descriptions, each with the peak ground acceleration
    // an intensity commonly goes with, so kh can be judged against them.
    {"P_Seismic_Dis",
     "Modified Mercalli Intensity Scale (1931, Wood and Neumann)\n"
     "Intensity: what is felt and seen - typical peak ground acceleration\n"
     "I  Not felt - below 0.0017 g\n"
     "II  Felt only by a few people at rest, on upper floors - 0.0017 to 0.014 g\n"
     "III  Felt indoors; hanging objects swing - 0.0017 to 0.014 g\n"
     "IV  Felt indoors by many; dishes, windows and doors rattle - 0.014 to 0.039 g\n"
     "V  Felt by nearly everyone; small objects upset, some dishes broken - 0.039 to 0.092 g\n"
     "VI  Felt by all; heavy furniture moved, slight damage - 0.092 to 0.18 g\n"
     "VII  Slight damage in good buildings, considerable in poor ones - 0.18 to 0.34 g\n"
     "VIII  Considerable damage in ordinary buildings; chimneys and walls fall - 0.34 to 0.65 g\n"
     "IX  Great damage; buildings shifted off their foundations - 0.65 to 1.24 g\n"
     "X  Most masonry destroyed; rails bent; landslides - above 1.24 g\n"
     "XI  Few structures left standing; bridges destroyed - above 1.24 g\n"
     "XII  Damage total; objects thrown into the air - above 1.24 g",
     "มาตราเมอร์คัลลีปรับปรุง (Modified Mercalli Intensity Scale, 1931, Wood and Neumann)\n"
     "ระดับ: สิ่งที่รู้สึกและพบเห็น - ความเร่งสูงสุดของพื้นดินโดยทั่วไป\n"
     "I  ไม่รู้สึก - ต่ำกว่า 0.0017 g\n"
     "II  รู้สึกได้เฉพาะบางคนที่อยู่นิ่งบนชั้นบนของอาคาร - 0.0017 ถึง 0.014 g\n"
     "III  รู้สึกได้ในอาคาร ของที่แขวนไว้แกว่ง - 0.0017 ถึง 0.014 g\n"
     "IV  หลายคนในอาคารรู้สึกได้ ถ้วยชาม หน้าต่าง ประตูสั่น - 0.014 ถึง 0.039 g\n"
     "V  เกือบทุกคนรู้สึกได้ ของเล็ก ๆ ล้ม ถ้วยชามบางส่วนแตก - 0.039 ถึง 0.092 g\n"
     "VI  ทุกคนรู้สึกได้ เฟอร์นิเจอร์หนักเคลื่อนที่ เสียหายเล็กน้อย - 0.092 ถึง 0.18 g\n"
     "VII  อาคารที่ดีเสียหายเล็กน้อย อาคารที่ไม่ดีเสียหายมาก - 0.18 ถึง 0.34 g\n"
     "VIII  อาคารทั่วไปเสียหายมาก ปล่องไฟและผนังพังลง - 0.34 ถึง 0.65 g\n"
     "IX  เสียหายรุนแรง อาคารเลื่อนหลุดจากฐานราก - 0.65 ถึง 1.24 g\n"
     "X  อาคารก่ออิฐส่วนใหญ่พังทลาย รางรถไฟบิดงอ ดินถล่ม - มากกว่า 1.24 g\n"
     "XI  สิ่งปลูกสร้างเหลือตั้งอยู่น้อยมาก สะพานพัง - มากกว่า 1.24 g\n"
     "XII  เสียหายทั้งหมด วัตถุกระเด็นขึ้นในอากาศ - มากกว่า 1.24 g"},
    {"P_Seismic_Disable", "Seismic effect not calculated", "ไม่คำนวณผลของแผ่นดินไหว"},
    {OptionName(Option::CB_LineLoad_Disable), "Disable Line Load", "ไม่ใช้น้ำหนักแบบเส้น"},
    {"GB_LineLoad", " Line Load ", " น้ำหนักแบบเส้น "},
    {"P_LineLoad_not_Cal", "Line Load not Calculated", "ไม่คำนวณน้ำหนักแบบเส้น"},
    {OptionName(Option::CB_StripLoad_Disable), "Disable Strip Load", "ไม่ใช้น้ำหนักแบบแถบ"},
    {"GB_StripLoad", " Strip Load", " น้ำหนักแบบแถบ"},
    {"P_StripLoad_not_Cal", "Strip Load not Calculated", "ไม่คำนวณน้ำหนักแบบแถบ"},
    {OptionName(Option::CB_Tension_Disable), "Disable", "ไม่ใช้"},
    {"L_TCrack_Unit_Weight", "Unit Weight of Water", "หน่วยน้ำหนักของน้ำ"},
    {"L_TCrack_Percent", "Percent of Water", "ร้อยละของน้ำในรอยแตก"},
    {"L_TCrack_Table", "Tension Crack Line", "แนวรอยแตก"},
    {"P_Tcrack_not_Cal", "Tension crack not calculated", "ไม่คำนวณรอยแตกจากแรงดึง"},
    {OptionName(Option::CB_Anchor_Disable), "Disable", "ไม่ใช้"},
    {OptionName(Option::RG_Apply_as), "Apply Magnitude as", "ใช้ขนาดแรงแบบ"},
    {"RG_Apply_as_0", "Variable", "แปรผัน"},
    {"RG_Apply_as_1", "Constant", "คงที่"},
    {"P_Anchor_not_Cal", "Anchor or Geofabric not Calculated", "ไม่คำนวณสมอยึดหรือแผ่นใยสังเคราะห์"},
    {"GB_Circular_Search", " Circular Search ", " การค้นหาแบบวงกลม "},
    {"L_Cir_Search", "Search", "การค้นหา"},
    {"L_LeftDown", "X,Y (Left Down)", "X,Y (ล่างซ้าย)"},
    {"L_RightDown", "X,Y (Right Down)", "X,Y (ล่างขวา)"},
    {"L_RightTop", "X,Y (Right Top)", "X,Y (บนขวา)"},
    {"L_Division", "Division", "จำนวนช่อง"},
    {OptionName(Option::CB_Grid_Increment), "Increment", "ระยะเพิ่ม"},
    {"P_Grid_Increment", "Disable Increment", "ไม่ใช้ระยะเพิ่ม"},
    {"L_X_Center", "X", "X"},
    {"L_Y_Center", "Y", "Y"},
    {"L_Radius", "Radius", "รัศมี"},
    {"L_Xauto_Start", "X Start", "X เริ่มต้น"},
    {"L_Yauto_Start", "Y Start", "Y เริ่มต้น"},
    {"L_Xauto_Increment", "X Increment", "ระยะเพิ่ม X"},
    {"L_Yauto_Increment", "Y Increment", "ระยะเพิ่ม Y"},
    {"GB_NonCircular_Search", " Non-Circular Search ", " การค้นหาแบบไม่เป็นวงกลม "},
    {"L_NonCir_Search", "Search", "การค้นหา"},
    {"L_NonCir_Center", "Center X, Y", "จุดศูนย์กลาง X, Y"},
    {"L_No_Direction", "No. of Direction", "จำนวนทิศทาง"},
    {"L_Move_Length", "Moving Length", "ระยะเลื่อน"},
    {"L_Divide_Step", "Divide Step", "จำนวนครั้งที่แบ่งระยะ"},
    {OptionName(Option::CB_Auto_Center), "Automatic Center", "หาจุดศูนย์กลางอัตโนมัติ"},
    {"GB_Circle_Prop", " Circle Properties", " คุณสมบัติวงกลม"},
    {"L_Cir_Slice", "No. of Slice", "จำนวนแถบดิน"},
    {"L_Cir_Depth_Tallest", "Min. Depth of Tallest Slice", "ความลึกต่ำสุดของแถบที่สูงที่สุด"},
    {"L_Cir_Add_Radius", "No. of Add Radius", "จำนวนรัศมีที่เพิ่ม"},
    {"GB_Failure_Surface_Prop", " Failure Surface Properties ", " คุณสมบัติผิวการพิบัติ "},
    {"L_NonCir_Slice", "No. of Slice", "จำนวนแถบดิน"},
    {"L_NonCir_Depth_Tallest", "Min. Depth of Tallest Slice", "ความลึกต่ำสุดของแถบที่สูงที่สุด"},
    {"L_Pass_Criteria", "Pass Criteria", "เกณฑ์การลู่เข้า"},
    {"B_Close_Step", "&Close", "ปิด"},
    {"P_Explain_Cir",
     "Circular Failure\nThe slip surface is close to an arc of a circle.\nIt usually occurs in soils that have both c "
     "and φ\nand are of one kind throughout (homogeneous soil)\nor of similar strength.",
     "Circular Failure\nการพิบัติที่ผิวเคลื่อนพังมีลักษณะคล้ายส่วนโค้งวงกลม\nมักจะเกิดกับ ดินที่มีทั้ง c และ φ "
     "โดยมีลักษณะเป็น\nเนื้อเดียวกัน (Homogeneous Soil) หรือมีความแข็งแรง\nใกล้เคียงกัน "},
    {"P_Explain_NonCir",
     "Irregular Failure\nUsually occurs in soils that have φ only, or in soils\nwhose strengths differ greatly, for "
     "example:\n- a soft clay layer that guides the slip surface\n- natural soil or rock slopes with weak "
     "layers\n- soil resting on firm soil or rock.",
     "Irregular Failure\nมักเกิดกับดินประเภทที่มีเฉพาะ φ หรือเกิดกับดินที่มี\nความแข็งแรงแตกต่างกันมาก เช่น "
     "\n- กรณีที่มีชั้นดินเหนียวอ่อนบังคับแนวการเคลื่อนพัง\n- กรณีลาดดินหรือหินธรรมชาติที่มีแนวชั้นดินอ่อน\n- "
     "ชั้นดินวางตัวอยู่บนชั้นดินหรือชั้นหินแข็ง เป็นต้น"},
};

// Combo items in English and Thai.
const FormText kCombos[] = {
    {OptionName(Option::CB_Strength_Model), "Mohr-Coulomb Material|Anisotropic Strength",
     "วัสดุแบบ Mohr-Coulomb|กำลังรับแรงเฉือนแบบ Anisotropic"},
    {OptionName(Option::CB_Bottom_Line_Choose), "Bottom Line No.|Specific Bottom Line",
     "หมายเลขชั้นดินแข็ง|กำหนดแนวชั้นดินแข็งเอง"},
    {OptionName(Option::CB_Seepage), "No Seepage|Water Line|Pore Pressure Ratio",
     "ไม่มีน้ำ|เส้นระดับน้ำ|อัตราส่วนแรงดันน้ำ (Ru)"},
    {OptionName(Option::CB_Phreatic_Peizometric), "Phreatic Line|Piezometric Line", "เส้น Phreatic|เส้น Piezometric"},
    {OptionName(Option::CB_Ru_Condition), "Average|Variable", "ค่าเฉลี่ย|แปรผันตามชั้นดิน"},
    {"CB_Load_Type", "Line Load|Strip Load", "น้ำหนักแบบเส้น|น้ำหนักแบบแถบ"},
    {OptionName(Option::RG_Apply_as), "Variable|Constant", "แปรผัน|คงที่"},
    {OptionName(Option::CB_Cir_Search), "Grid Search|Specific Search|Automatic Search",
     "ค้นหาแบบกริด|กำหนดวงกลมเอง|ค้นหาอัตโนมัติ"},
    {OptionName(Option::CB_NonCir_Search), "Specific Search|Random Search", "กำหนดผิวเอง|ค้นหาแบบสุ่ม"},
    {OptionName(Option::CB_Circle_Decrement), "No. of Circle|Radius Decrement", "จำนวนวงกลม|ระยะลดรัศมี"},
};

// The grids' column titles in English and Thai; the table's fields in order.
const FormText kGridTitles[] = {
    {"DBG_Soil_Prop", "Soil No.|Cohesion|Phi|Unit Weight|Description|Color",
     "ชั้นดิน|แรงยึดเหนี่ยว|มุมเสียดทาน|หน่วยน้ำหนัก|คำอธิบาย|สี"},
    {"DBG_Soil_Aniso", "Soil No.|C-v|C-h|Phi-v|Phi-h|Unit Weight|Description|Color",
     "ชั้นดิน|C-v|C-h|Phi-v|Phi-h|หน่วยน้ำหนัก|คำอธิบาย|สี"},
    {"DBG_Geometry", "Soil No.|Point No.|Coordi X|Coordi Y", "ชั้นดิน|จุดที่|พิกัด X|พิกัด Y"},
    {"DBG_Specific_Bottom_Line", "Line No.|Begin Point|End Point", "เส้นที่|จุดเริ่มต้น|จุดสิ้นสุด"},
    {"DBG_Waterline", "Point No.|Coordi X|Coordi Y", "จุดที่|พิกัด X|พิกัด Y"},
    {"DBG_Ru_Variable", "Soil No.|Ru", "ชั้นดิน|Ru"},
    {"DBG_LindLoad", "Load No.|Magnitude|Coordi X|Coordi Y|Angle", "น้ำหนักที่|ขนาด|พิกัด X|พิกัด Y|มุม"},
    {"DBG_StripLoad", "Load No.|Magnitude|Begin X|End X|Begin Y|End Y", "น้ำหนักที่|ขนาด|X เริ่มต้น|X สิ้นสุด|Y เริ่มต้น|Y สิ้นสุด"},
    {"DBG_Tension_Crack", "Point No.|Coordi X|Coordi Y", "จุดที่|พิกัด X|พิกัด Y"},
    {"DBG_Anchor", "Load No.|Magnitude|X start|Y start|X end|Y end|Bonded Length",
     "ที่|ขนาดแรง|X เริ่มต้น|Y เริ่มต้น|X สิ้นสุด|Y สิ้นสุด|ความยาวยึด"},
    {"DBG_NonCir_Coordi", "Point No.|Coordi X|Coordi Y", "จุดที่|พิกัด X|พิกัด Y"},
};

// The vegetation window's labels, buttons and pages.
const FormText kVegetationTexts[] = {
    {"TS_Root_Properties", "Root Properties", "คุณสมบัติราก"},
    {"TS_Root_Position", "Root Position", "ตำแหน่งราก"},
    {"TS_Results", "Results", "ผลลัพธ์"},
    {"L_Root_No", "Root types", "ชนิดราก"},
    {"L_Root_Layer", "Root radius per layer", "รัศมีรากในแต่ละชั้น"},
    {"L_Original_Cohesion", "Soil Cohesion without Root =", "ความเชื่อมแน่นของดินที่ไม่มีราก ="},
    {"L_Layer_Height", "z =", "z ="},
    {"L_Root_Position", "Plants", "ตำแหน่งพืช"},
    {"GB_Area", "Area and grid", "พื้นที่และกริด"},
    {"L_Min_Area", "Min (X,Y)", "Min (X,Y)"},
    {"L_Max_Area", "Max (X,Y)", "Max (X,Y)"},
    {"L_Hor_Grid_No", "Hor. Div", "จำนวนช่องแนวนอน"},
    {"L_Ver_Grid_No", "Ver. Div.", "จำนวนช่องแนวตั้ง"},
    {"L_Hor_SmallGrid_No", "Minor horizontal grid No. =", "จำนวนช่องย่อยแนวนอน ="},
    {"L_Ver_SmallGrid_No", "Minor vertical grid No. =", "จำนวนช่องย่อยแนวตั้ง ="},
    {"L_Eff_Width_No", "Eff. width", "ความกว้างประสิทธิผล"},
    {"L_Eff_Length_No", "Eff. length", "ความยาวประสิทธิผล"},
    {"B_Gen_VegEff", "Generate", "คำนวณ"},
    {"B_Export", "Export", "ส่งออก"},
    {"B_Restore", "Restore", "คืนค่า"},
    {"B_Close", "Close", "ปิด"},
};

// The vegetation window's grids.
const FormText kVegetationGridTitles[] = {
    {"DBG_Root_No", "Root No.|Description|Cohesion", "ชนิดราก|คำอธิบาย|ความเชื่อมแน่น"},
    {"DBG_Root_Layer", "Root No.|Layer No.|Radius", "ชนิดราก|ชั้นที่|รัศมี"},
    {"DBG_Root_Position", "No.|Root Type|Coordi X|Coordi Y", "ลำดับ|ชนิดราก|พิกัด X|พิกัด Y"},
};

}  // namespace

std::string_view FormTextFor(std::span<const FormText> texts, std::string_view name, std::uint8_t language) {
  if (language > 1) return {};
  for (const FormText& t : texts) {
    if (name == t.name) return language == 0 ? t.thai : t.english;
  }
  return {};
}

std::span<const FormText> VegetationFormTexts() {
  return kVegetationTexts;
}

std::span<const FormText> VegetationGridTitles() {
  return kVegetationGridTitles;
}

std::span<const FormText> StepFormTexts() {
  return kTexts;
}

std::span<const FormText> StepFormComboItems() {
  return kCombos;
}

std::span<const FormText> StepFormGridTitles() {
  return kGridTitles;
}

}  // namespace pelodyn
