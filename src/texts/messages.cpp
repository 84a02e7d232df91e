#include "texts/messages.h"

#include "keys/option_keys.h"

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
    {"Please input data before calculation.", "กรุณาป้อนข้อมูลก่อนสั่งคำนวณ"},
    {"Bottom line is cut by slip surface. The calculation may be wrong.\nChange initial slip surface or change soil "
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

constexpr std::array<Bilingual, static_cast<std::size_t>(CoreText::VegetationNothingRestored) + 1> kCoreTexts{{
    {"{0}, row {2}: {1} = {3} is outside 1 to {4}.\nPlease recheck.",
     "{0} แถวที่ {2}: {1} = {3} อยู่นอกช่วง 1 ถึง {4}\nกรุณาตรวจสอบข้อมูล"},
    {"{0}: {1} {2} is given more than once.\nPlease recheck.", "{0}: {1} {2} ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล"},
    {"Soil properties data is not correct: {0}, row {1}: {2} {3} is given a second time.\nNumber the soils 1, 2, "
     "3 ... once each, and please recheck.",
     "ป้อนคุณสมบัติดินไม่ถูกต้อง: {0} แถวที่ {1}: {2} {3} ถูกป้อนซ้ำ\nกรุณาใส่หมายเลขชั้นดิน 1, 2, 3 ... ชั้นละครั้ง "
     "และตรวจสอบข้อมูล"},
    {"Soil properties data is not correct: {0}, row {1}: {2} = {3}, but the last soil must be No. {4}, the number of "
     "soils (the soils are numbered 1 to {4}).\nPlease recheck.",
     "ป้อนคุณสมบัติดินไม่ถูกต้อง: {0} แถวที่ {1}: {2} = {3} แต่ชั้นดินสุดท้ายต้องเป็นหมายเลข {4} ตามจำนวนชั้นดิน "
     "(หมายเลข 1 ถึง {4})\nกรุณาตรวจสอบข้อมูล"},
    {"Soil geometry is not correct: line {0} has no point {1}, though its points go up to {2}.\nNumber the points "
     "of each line 1, 2, 3 ... without a gap (Key In > Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: เส้นที่ {0} ไม่มีจุดที่ {1} แต่มีจุดถึงจุดที่ {2}\nกรุณาเรียงหมายเลขจุดของแต่ละเส้นเป็น "
     "1, 2, 3 ... โดยไม่ข้าม (ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"Soil geometry is not correct: row {0}: point {2} of line {1} is given more than once.\nPlease recheck (Key "
     "In > Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: แถวที่ {0}: จุดที่ {2} ของเส้นที่ {1} ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล (ป้อนข้อมูล > "
     "รูปร่างชั้นดิน)"},
    {"Soil geometry is not correct: row {0}: {1} = {2} is below 1.\nPlease recheck (Key In > Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: แถวที่ {0}: {1} = {2} น้อยกว่า 1\nกรุณาตรวจสอบข้อมูล (ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"The geometry has {0} boundary lines but there are {1} soils.\nEach soil lies above its own line: give one line "
     "for each soil.",
     "รูปร่างชั้นดินมีเส้นขอบชั้นดิน {0} เส้น แต่มีชั้นดิน {1} ชั้น\nชั้นดินแต่ละชั้นอยู่เหนือเส้นของตัวเอง "
     "กรุณาป้อนเส้นให้ครบทุกชั้นดิน"},
    {"The geometry has {0} points, but the point numbers of its lines count {1}: a point is missing or given "
     "twice.\nPlease recheck (Key In > Geometry).",
     "รูปร่างชั้นดินมี {0} จุด แต่หมายเลขจุดของเส้นนับได้ {1} จุด: มีจุดที่ขาดหายหรือถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล "
     "(ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"The ground line (the top line) has no point {0}; it has {1} points.",
     "เส้นผิวดิน (เส้นบนสุด) ไม่มีจุดที่ {0} มีเพียง {1} จุด"},
    {"{0} = {1} is above the limit of {2}.\nPlease change it on the Draw Grid panel (Draw > Circular Failure > "
     "Grid).",
     "{0} = {1} เกินขีดจำกัด {2}\nกรุณาแก้ไขที่แผงวาดตารางการค้นหา (วาด > ส่วนของวงกลม > ตารางการค้นหา)"},
    {"{0} = {1} may not be negative.\nPlease change it on the Draw Grid panel (Draw > Circular Failure > Grid).",
     "{0} = {1} ต้องไม่เป็นค่าลบ\nกรุณาแก้ไขที่แผงวาดตารางการค้นหา (วาด > ส่วนของวงกลม > ตารางการค้นหา)"},
    {"The initial slip surface has {0} points, but none of them is Point No. {0}: a point number is given "
     "twice.\nPlease recheck.",
     "ผิวการพิบัติเริ่มต้นมี {0} จุด แต่ไม่มีจุดที่ {0}: มีหมายเลขจุดที่ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล"},
    {"Warning", "คำเตือน"},
    {"Axis Position is not appropriate.\nTo move it, use Draw > Irregular Failure > Axis.\nDo you want to continue?",
     "จุดหมุนอยู่ที่ตำแหน่งไม่เหมาะสม\nย้ายจุดหมุนได้ที่ วาด > ไม่เป็นส่วนของวงกลม > จุดหมุน\nต้องการคำนวณต่อไปหรือไม่?"},
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
    {"{0} Results rows of this run could not be written, so the Results table lacks them: {1}",
     "บันทึกผลการคำนวณ (Results) ของการคำนวณครั้งนี้ไม่ได้ {0} แถว ตาราง Results จึงไม่มีแถวเหล่านี้: {1}"},
    {"The circle cuts the soil layers at more than one place.", "วงกลมตัดชั้นดินมากกว่า 1 ตำแหน่ง"},
    {"There are no Soil Properties data", "ไม่มีข้อมูล Soil Properties"},
    {"The number of soil layers is not the number of soil properties", "จำนวนชั้นดินไม่เท่ากับจำนวนคุณสมบัติดิน"},
    {"{0} of soil {1} = {2}", "{0} ลำดับที่ {1} = {2}"},
    {"{0} of soil {1} <> 0", "{0} ลำดับที่ {1} <> 0"},
    {"Cohesion", "ค่า Cohesion"},
    {"Friction Angle", "ค่า Friction Angle"},
    {"Cohesion (C-v)", "ค่า Cohesion (C-v)"},
    {"Cohesion (C-h)", "ค่า Cohesion (C-h)"},
    {"Friction Angle (Phi-v)", "ค่า Friction Angle (Phi-v)"},
    {"Friction Angle (Phi-h)", "ค่า Friction Angle (Phi-h)"},
    {"Unit Weight", "ค่า Unit Weight"},
    {"There are no Geometry data", "ไม่มีข้อมูล Geometry"},
    {"The soil layers of the Geometry are not the soils of the Soil Properties",
     "จำนวนชั้นดินใน Geometry ไม่เท่ากับจำนวนชั้นดินใน Soil Properties"},
    {"The batch was stopped during this file; its result file was not written.", "หยุดระหว่างการคำนวณ: ไม่ได้บันทึกไฟล์ผลลัพธ์"},
    {"The batch was stopped before this file.", "หยุดก่อนการคำนวณไฟล์นี้"},
    {": no surface was analysed", ": ไม่มีผิวใดถูกวิเคราะห์"},
    {": of {0} surfaces", ": จาก {0} ผิว"},
    {", {0} with '{1}'", ", {0} ผิว '{1}'"},
    {"Root radius per layer, row {0}: the layer number must be 1 or more.",
     "รัศมีรากในแต่ละชั้น แถวที่ {0}: หมายเลขชั้นต้องเป็น 1 ขึ้นไป"},
    {"{0} layers for {1} plants need too much memory.", "จำนวนชั้น {0} ชั้นสำหรับพืช {1} ต้น ใช้หน่วยความจำมากเกินไป"},
    {"Plants, row {0}: root type {1} has no row in Root types.", "ตำแหน่งพืช แถวที่ {0}: ไม่มีรากชนิด {1} ในตารางชนิดราก"},
    {"The divisions, the minor grid numbers and the effective width and length must be 1 or more.",
     "จำนวนช่องแบ่ง จำนวนช่องย่อย และความกว้างและความยาวประสิทธิผลต้องเป็น 1 ขึ้นไป"},
    {"The effective width and length ({0} x {1}) must not exceed the divisions ({2} x {3}).",
     "ความกว้างและความยาวประสิทธิผล ({0} x {1}) ต้องไม่เกินจำนวนช่องแบ่ง ({2} x {3})"},
    {"Max (X,Y) must be greater than Min (X,Y).", "ค่า Max (X,Y) ต้องมากกว่า Min (X,Y)"},
    {"There is no root layer: the table Root radius per layer is empty.", "ไม่มีชั้นราก: ตารางรัศมีรากในแต่ละชั้นว่าง"},
    {"These divisions need too much memory: at most {0} cells over all layers, and as many minor cells per cell.",
     "จำนวนช่องแบ่งนี้ใช้หน่วยความจำมากเกินไป: ได้ไม่เกิน {0} ช่องรวมทุกชั้น และช่องย่อยต่อช่องไม่เกินจำนวนเดียวกัน"},
    {"Soil Properties, row {0} (\"{1}\"): ", "คุณสมบัติดิน แถวที่ {0} (\"{1}\"): "},
    {"layer {0} is not between 1 and {1}.", "ชั้นที่ {0} ไม่อยู่ระหว่าง 1 ถึง {1}"},
    {"row {0} is not between 1 and {1}.", "แถวที่ {0} ไม่อยู่ระหว่าง 1 ถึง {1}"},
    {"Generate the vegetation effect before Export.", "กรุณากด Generate ก่อน Export"},
    {"There is no backup of the soil properties: nothing was exported since this project was started or opened, so "
     "there is nothing to restore.",
     "ไม่มีข้อมูลสำรองของคุณสมบัติดิน: ยังไม่ได้ Export ตั้งแต่เปิดโครงการนี้ จึงไม่มีสิ่งใดให้คืนค่า"},
    {"The cohesions were written into the Mohr-Coulomb soil table, but the anisotropic strength model in use does not "
     "read that table.",
     "ค่าความเชื่อมแน่นถูกเขียนลงในตารางคุณสมบัติดินแบบ Mohr-Coulomb แต่แบบจำลองกำลังรับแรงแบบ Anisotropic ที่ใช้อยู่ไม่ได้ใช้ตารางนี้"},
    {"No cohesion was restored: every value Export wrote has been edited since.",
     "ไม่มีค่าความเชื่อมแน่นที่ต้องคืนค่า: ค่าที่ Export ไว้ถูกแก้ไขไปแล้วทั้งหมด"},
}};

struct TableTitles {
  std::string_view table;
  std::string_view fields;  // the table's fields in order, '|' between
  Bilingual caption;        // the window's name for it
  Bilingual titles;         // its grid's column titles, one for each field
};

// The grids' titles as the windows show them (form_texts.cpp and the Key In
// dialogs give the same).
constexpr TableTitles kTableTitles[] = {
    {"Soil_Prop",
     "Line No.|Cohesion|Phi|Unit Weight|Description|Color",
     {"Soil Properties", "คุณสมบัติดิน"},
     {"Soil No.|Cohesion|Phi|Unit Weight|Description|Color", "ชั้นดิน|แรงยึดเหนี่ยว|มุมเสียดทาน|หน่วยน้ำหนัก|คำอธิบาย|สี"}},
    {"Aniso",
     "Line No.|C-v|C-h|Phi-v|Phi-h|Unit Weight|Description|Color",
     {"Soil Properties (Anisotropic Strength)", "คุณสมบัติดิน (Anisotropic Strength)"},
     {"Soil No.|C-v|C-h|Phi-v|Phi-h|Unit Weight|Description|Color", "ชั้นดิน|C-v|C-h|Phi-v|Phi-h|หน่วยน้ำหนัก|คำอธิบาย|สี"}},
    {"Aniso_advance",
     "Line No.|Normal Stress|Phi-v|Phi-h",
     {"Advanced Anisotropic Properties", "คุณสมบัติ Anisotropic ขั้นสูง"},
     {"Soil No.|Normal Stress|Phi-v|Phi-h", "ชั้นดิน|หน่วยแรงตั้งฉาก|Phi-v|Phi-h"}},
    {"Geometry",
     "Line No.|Point No.|Coordi X|Coordi Y",
     {"Geometry", "รูปร่างชั้นดิน"},
     {"Soil No.|Point No.|Coordi X|Coordi Y", "ชั้นดิน|จุดที่|พิกัด X|พิกัด Y"}},
    {"Bottom_Line",
     "Line No.|Begin Point|End Point",
     {"Specific Bottom Line", "กำหนดแนวชั้นดินแข็งเอง"},
     {"Line No.|Begin Point|End Point", "เส้นที่|จุดเริ่มต้น|จุดสิ้นสุด"}},
    {"Waterline",
     "Point No.|Coordi X|Coordi Y",
     {"Water Line", "เส้นระดับน้ำ"},
     {"Point No.|Coordi X|Coordi Y", "จุดที่|พิกัด X|พิกัด Y"}},
    {"Ru_variable", "Line No.|Ru", {"Ru (Variable)", "Ru (แปรผันตามชั้นดิน)"}, {"Soil No.|Ru", "ชั้นดิน|Ru"}},
    {"Tcrack",
     "Point No.|Coordi X|Coordi Y",
     {"Tension Crack Line", "แนวรอยแตก"},
     {"Point No.|Coordi X|Coordi Y", "จุดที่|พิกัด X|พิกัด Y"}},
    {"Lineload",
     "Load No.|Magnitude|Coordi X|Coordi Y|Angle",
     {"Line Load", "น้ำหนักแบบเส้น"},
     {"Load No.|Magnitude|Coordi X|Coordi Y|Angle", "น้ำหนักที่|ขนาด|พิกัด X|พิกัด Y|มุม"}},
    {"Stripload",
     "Load No.|Magnitude|Begin X|End X|Y1|Y2",
     {"Strip Load", "น้ำหนักแบบแถบ"},
     {"Load No.|Magnitude|Begin X|End X|Begin Y|End Y", "น้ำหนักที่|ขนาด|X เริ่มต้น|X สิ้นสุด|Y เริ่มต้น|Y สิ้นสุด"}},
    {"Anchor",
     "Load No.|Magnitude|X start|Y start|X end|Y end|Bonded Length",
     {"Anchor or Geofabric", "สมอยึดหรือแผ่นใยสังเคราะห์"},
     {"Load No.|Magnitude|X start|Y start|X end|Y end|Bonded Length",
      "ที่|ขนาดแรง|X เริ่มต้น|Y เริ่มต้น|X สิ้นสุด|Y สิ้นสุด|ความยาวยึด"}},
    {"NonCircular_Coordinate",
     "Point No.|Coordi X|Coordi Y",
     {"Initial Slip Surface", "ผิวการพิบัติเริ่มต้น"},
     {"Point No.|Coordi X|Coordi Y", "จุดที่|พิกัด X|พิกัด Y"}},
};

// The option controls that a message may name, by the label beside them.
struct OptionLabel {
  std::string_view control;
  Bilingual label;
};
constexpr OptionLabel kOptionLabels[] = {
    {OptionName(Option::RG_Theory), {"Theory", "ทฤษฎี"}},
    {OptionName(Option::CB_Ordinary), {"Ordinary Method", "Ordinary Method"}},
    {OptionName(Option::CB_Simp_Janbu), {"Simplified Janbu", "Simplified Janbu"}},
    {OptionName(Option::CB_Simp_Bishop), {"Simplified Bishop", "Simplified Bishop"}},
    {OptionName(Option::CB_Spencer), {"Spencer", "Spencer"}},
    {OptionName(Option::CB_Robust_Spencer), {"Robust Spencer", "Spencer แบบลู่เข้า"}},
    {OptionName(Option::CB_Strength_Model), {"Strength Model", "แบบจำลองกำลังรับแรงเฉือน"}},
    {OptionName(Option::CB_Bottom_Line_Choose), {"Bottom Line Type", "ชนิดของชั้นดินแข็ง"}},
    {OptionName(Option::E_BottomLine), {"Bottom Line No.", "หมายเลขชั้นดินแข็ง"}},
    {OptionName(Option::CB_Seepage), {"Seepage", "สภาพน้ำ"}},
    {OptionName(Option::CB_Phreatic_Peizometric), {"Water Line Type", "ชนิดของเส้นระดับน้ำ"}},
    {OptionName(Option::E_Unit_Weight_Water), {"Unit Weight of Water", "หน่วยน้ำหนักของน้ำ"}},
    {OptionName(Option::CB_Ru_Condition), {"Ru Condition", "ลักษณะค่า Ru"}},
    {OptionName(Option::E_Ru_average), {"Ru", "Ru"}},
    {OptionName(Option::CB_Seismic_Disable), {"Seismic", "แผ่นดินไหว"}},
    {OptionName(Option::E_Kh), {"kh", "kh (สัมประสิทธิ์แนวราบ)"}},
    {OptionName(Option::E_Kv), {"kv", "kv (สัมประสิทธิ์แนวดิ่ง)"}},
    {OptionName(Option::CB_LineLoad_Disable), {"Line Load", "น้ำหนักแบบเส้น"}},
    {OptionName(Option::CB_StripLoad_Disable), {"Strip Load", "น้ำหนักแบบแถบ"}},
    {OptionName(Option::CB_Tension_Disable), {"Tension Crack", "รอยแตกจากแรงดึง"}},
    {OptionName(Option::E_Percent_Water), {"Percent of Water", "ร้อยละของน้ำในรอยแตก"}},
    {OptionName(Option::E_Water_Unit_Weight), {"Unit Weight of Water (Tension Crack)", "หน่วยน้ำหนักของน้ำ (รอยแตก)"}},
    {OptionName(Option::CB_Anchor_Disable), {"Anchor or Geofabric", "สมอยึดหรือแผ่นใยสังเคราะห์"}},
    {OptionName(Option::RG_Apply_as), {"Apply Magnitude as", "ใช้ขนาดแรงแบบ"}},
    {OptionName(Option::E_Pass_Criteria), {"Pass Criteria", "เกณฑ์การลู่เข้า"}},
    {OptionName(Option::CB_Circle_Decrement), {"No. of Circle / Radius Decrement", "จำนวนวงกลม / ระยะลดรัศมี"}},
    {OptionName(Option::E_Cir_Decrement), {"No. of Circle / Radius Decrement", "จำนวนวงกลม / ระยะลดรัศมี"}},
    {OptionName(Option::E_Cir_Slice), {"No. of Slice", "จำนวนแถบดิน"}},
    {OptionName(Option::E_Cir_Depth_Tallest), {"Min. Depth of Tallest Slice", "ความลึกต่ำสุดของแถบที่สูงที่สุด"}},
    {OptionName(Option::E_Cir_Add_Radius), {"No. of Add Radius", "จำนวนรัศมีที่เพิ่ม"}},
    {OptionName(Option::CB_Cir_Search), {"Search", "การค้นหา"}},
    {OptionName(Option::E_X_LeftDown), {"X (Left Down)", "X (ล่างซ้าย)"}},
    {OptionName(Option::E_Y_LeftDown), {"Y (Left Down)", "Y (ล่างซ้าย)"}},
    {OptionName(Option::E_X_RightDown), {"X (Right Down)", "X (ล่างขวา)"}},
    {OptionName(Option::E_Y_RightDown), {"Y (Right Down)", "Y (ล่างขวา)"}},
    {OptionName(Option::E_X_RightTop), {"X (Right Top)", "X (บนขวา)"}},
    {OptionName(Option::E_Y_RightTop), {"Y (Right Top)", "Y (บนขวา)"}},
    {OptionName(Option::E_12_Division), {"Division between 1 and 2", "จำนวนช่องระหว่าง 1 และ 2"}},
    {OptionName(Option::E_23_Division), {"Division between 2 and 3", "จำนวนช่องระหว่าง 2 และ 3"}},
    {OptionName(Option::CB_Grid_Increment), {"Increment", "ระยะเพิ่ม"}},
    {OptionName(Option::E_Xgrid_Increment), {"Increment, X axis", "ระยะเพิ่ม แนว X"}},
    {OptionName(Option::E_Ygrid_Increment), {"Increment, Y axis", "ระยะเพิ่ม แนว Y"}},
    {OptionName(Option::E_X_Center), {"X (centre)", "X (จุดศูนย์กลาง)"}},
    {OptionName(Option::E_Y_Center), {"Y (centre)", "Y (จุดศูนย์กลาง)"}},
    {OptionName(Option::E_Radius), {"Radius", "รัศมี"}},
    {OptionName(Option::E_Xauto_Start), {"X Start", "X เริ่มต้น"}},
    {OptionName(Option::E_Yauto_Start), {"Y Start", "Y เริ่มต้น"}},
    {OptionName(Option::E_Xauto_Increment), {"X Increment", "ระยะเพิ่ม X"}},
    {OptionName(Option::E_Yauto_Increment), {"Y Increment", "ระยะเพิ่ม Y"}},
    {OptionName(Option::CB_NonCir_Search), {"Non-Circular Search", "การค้นหาแบบไม่เป็นวงกลม"}},
    {OptionName(Option::E_NonCir_X_Center), {"Axis X", "จุดหมุน X"}},
    {OptionName(Option::E_NonCir_Y_Center), {"Axis Y", "จุดหมุน Y"}},
    {OptionName(Option::E_No_Direction), {"No. of Direction", "จำนวนทิศทาง"}},
    {OptionName(Option::E_Move_Length), {"Moving Length", "ระยะเลื่อน"}},
    {OptionName(Option::E_Divide_Step), {"Divide Step", "จำนวนครั้งที่แบ่งระยะ"}},
    {OptionName(Option::E_NonCir_Slice), {"No. of Slice (irregular)", "จำนวนแถบดิน (ไม่เป็นวงกลม)"}},
    {OptionName(Option::E_NonCir_Depth_Tallest),
     {"Min. Depth of Tallest Slice (irregular)", "ความลึกต่ำสุดของแถบที่สูงที่สุด (ไม่เป็นวงกลม)"}},
    {OptionName(Option::CB_Auto_Center), {"Automatic Center", "หาจุดศูนย์กลางอัตโนมัติ"}},
    {OptionName(Option::CB_Moving_Center), {"Moving Center", "เลื่อนจุดศูนย์กลาง"}},
    {OptionName(Option::E_MCX), {"Moving Center X", "ระยะเลื่อนจุดศูนย์กลาง X"}},
    {OptionName(Option::E_MCY), {"Moving Center Y", "ระยะเลื่อนจุดศูนย์กลาง Y"}},
    {OptionName(Option::CB_Advance_Prop_Disable), {"Disable Advance Properties", "ไม่ใช้คุณสมบัติขั้นสูง"}},
};

constexpr Bilingual kConversion[2] = {
    {"'{0}' is not a valid floating point value", "'{0}' ไม่ใช่ตัวเลขที่ถูกต้อง"},
    {"'{0}' is not a valid integer value", "'{0}' ไม่ใช่จำนวนเต็มที่ถูกต้อง"},
};
constexpr Bilingual kCell{"{0}, row {1}, {2}", "{0} แถวที่ {1} {2}"};

// The index-th piece of a '|'-separated list; empty past its end.
std::string_view Piece(std::string_view list, std::size_t index) {
  for (std::size_t k = 0; k < index; ++k) {
    const std::size_t bar = list.find('|');
    if (bar == std::string_view::npos) return {};
    list.remove_prefix(bar + 1);
  }
  return list.substr(0, list.find('|'));
}

const TableTitles* FindTable(std::string_view table) {
  for (const TableTitles& t : kTableTitles) {
    if (t.table == table) return &t;
  }
  return nullptr;
}

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
    {static_cast<int>(kNoFactor), {"no factor was found", "ไม่พบค่าอัตราส่วนความปลอดภัย"}},
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

std::string_view TableCaption(std::uint8_t language, std::string_view table) {
  const TableTitles* t = FindTable(table);
  return t == nullptr ? table : Pick(t->caption, language);
}

std::string_view FieldCaption(std::uint8_t language, std::string_view table, std::string_view field) {
  const TableTitles* t = FindTable(table);
  if (t == nullptr) return field;
  for (std::size_t k = 0;; ++k) {
    const std::string_view name = Piece(t->fields, k);
    if (name.empty()) return field;
    if (name == field) {
      const std::string_view title = Piece(Pick(t->titles, language), k);
      return title.empty() ? field : title;
    }
  }
}

std::string_view GridTitles(std::uint8_t language, std::string_view table) {
  const TableTitles* t = FindTable(table);
  return t == nullptr ? std::string_view() : Pick(t->titles, language);
}

std::string CellCaption(std::uint8_t language, std::string_view table, int row, std::string_view field) {
  return FormatText(Pick(kCell, language),
                    {TableCaption(language, table), std::to_string(row), FieldCaption(language, table, field)});
}

std::string_view OptionCaption(std::uint8_t language, std::string_view control) {
  for (const OptionLabel& row : kOptionLabels) {
    if (row.control == control) return Pick(row.label, language);
  }
  return control;
}

std::string ConversionText(std::uint8_t language, std::string_view text, bool integer) {
  return FormatText(Pick(kConversion[integer ? 1 : 0], language), {text});
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
