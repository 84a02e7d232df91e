// The working tables and their fields, each a typed key, with the one table
// of their names. Tables that share a layout share one field enum (the soil
// layout serves Soil_Prop and Soil_Prop_Bak; the point layout serves every
// table of numbered points). The names are the store's and the files', so
// they never change.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>

namespace pelodyn {

enum class Table : int {
  Soil_Prop,
  Aniso,
  Aniso_advance,
  Geometry,
  Bottom_Line,
  Waterline,
  Ru_variable,
  Tcrack,
  Anchor,
  Lineload,
  Stripload,
  NonCircular_Coordinate,
  Soil_Prop_Bak,
  Failure_Geometry,
  Results,
  NonCirSlip_Janbu,
  NonCirSlip_Bishop,
  NonCirSlip_Spencer,
  Root_No,
  Root_Layer,
  Root_Position,
};
inline constexpr int kTableCount = 21;

enum class FieldType { Integer, Float, String };

// The layouts of the tables.
enum class TableLayout : int {
  Soil,
  Aniso,
  AnisoAdvance,
  Geometry,
  BottomLine,
  Points,
  RuVariable,
  Anchor,
  LineLoad,
  StripLoad,
  FailurePoints,
  Results,
  RootNo,
  RootLayer,
  RootPosition,
};

constexpr TableLayout LayoutOf(Table table) {
  switch (table) {
    case Table::Soil_Prop:
    case Table::Soil_Prop_Bak:
      return TableLayout::Soil;
    case Table::Aniso:
      return TableLayout::Aniso;
    case Table::Aniso_advance:
      return TableLayout::AnisoAdvance;
    case Table::Geometry:
      return TableLayout::Geometry;
    case Table::Bottom_Line:
      return TableLayout::BottomLine;
    case Table::Ru_variable:
      return TableLayout::RuVariable;
    case Table::Anchor:
      return TableLayout::Anchor;
    case Table::Lineload:
      return TableLayout::LineLoad;
    case Table::Stripload:
      return TableLayout::StripLoad;
    case Table::Failure_Geometry:
      return TableLayout::FailurePoints;
    case Table::Results:
      return TableLayout::Results;
    case Table::Root_No:
      return TableLayout::RootNo;
    case Table::Root_Layer:
      return TableLayout::RootLayer;
    case Table::Root_Position:
      return TableLayout::RootPosition;
    case Table::Waterline:
    case Table::Tcrack:
    case Table::NonCircular_Coordinate:
    case Table::NonCirSlip_Janbu:
    case Table::NonCirSlip_Bishop:
    case Table::NonCirSlip_Spencer:
      return TableLayout::Points;
  }
  return TableLayout::Points;
}

struct FieldName {
  std::string_view name;
  FieldType type;
  int size;  // characters of a String field; 0 otherwise
};

// A field enum names the fields of one layout in the layout's order.
template <class F>
struct FieldLayout;

#define PELODYN_FIELD_ENUM_KEY(key, name, type, size) key,
#define PELODYN_FIELD_ENUM_NAME(key, name, type, size) FieldName{name, FieldType::type, size},
#define PELODYN_FIELD_ENUM(Enum, layout, LIST)                                                              \
  enum class Enum : int { LIST(PELODYN_FIELD_ENUM_KEY) };                                                   \
  template <>                                                                                               \
  struct FieldLayout<Enum> {                                                                                \
    static constexpr TableLayout kLayout = TableLayout::layout;                                             \
    static constexpr FieldName kNames[] = {LIST(PELODYN_FIELD_ENUM_NAME)};                                  \
    static constexpr int IndexIn(TableLayout l, Enum f) { return l == kLayout ? static_cast<int>(f) : -1; } \
    static constexpr std::string_view NameOf(Enum f) { return kNames[static_cast<int>(f)].name; }           \
  };

#define PELODYN_SOIL_FIELDS(FIELD)              \
  FIELD(LineNo, "Line No.", Integer, 0)         \
  FIELD(Cohesion, "Cohesion", Float, 0)         \
  FIELD(Phi, "Phi", Float, 0)                   \
  FIELD(UnitWeight, "Unit Weight", Float, 0)    \
  FIELD(Description, "Description", String, 30) \
  FIELD(Color, "Color", Integer, 0)
PELODYN_FIELD_ENUM(SoilField, Soil, PELODYN_SOIL_FIELDS)

#define PELODYN_ANISO_FIELDS(FIELD)             \
  FIELD(LineNo, "Line No.", Integer, 0)         \
  FIELD(Cv, "C-v", Float, 0)                    \
  FIELD(Ch, "C-h", Float, 0)                    \
  FIELD(PhiV, "Phi-v", Float, 0)                \
  FIELD(PhiH, "Phi-h", Float, 0)                \
  FIELD(UnitWeight, "Unit Weight", Float, 0)    \
  FIELD(Description, "Description", String, 30) \
  FIELD(Color, "Color", Integer, 0)
PELODYN_FIELD_ENUM(AnisoField, Aniso, PELODYN_ANISO_FIELDS)

#define PELODYN_ANISO_ADVANCE_FIELDS(FIELD)      \
  FIELD(LineNo, "Line No.", Integer, 0)          \
  FIELD(NormalStress, "Normal Stress", Float, 0) \
  FIELD(PhiV, "Phi-v", Float, 0)                 \
  FIELD(PhiH, "Phi-h", Float, 0)
PELODYN_FIELD_ENUM(AnisoAdvanceField, AnisoAdvance, PELODYN_ANISO_ADVANCE_FIELDS)

#define PELODYN_GEOMETRY_FIELDS(FIELD)    \
  FIELD(LineNo, "Line No.", Integer, 0)   \
  FIELD(PointNo, "Point No.", Integer, 0) \
  FIELD(X, "Coordi X", Float, 0)          \
  FIELD(Y, "Coordi Y", Float, 0)
PELODYN_FIELD_ENUM(GeometryField, Geometry, PELODYN_GEOMETRY_FIELDS)

#define PELODYN_BOTTOM_LINE_FIELDS(FIELD)      \
  FIELD(LineNo, "Line No.", Integer, 0)        \
  FIELD(BeginPoint, "Begin Point", Integer, 0) \
  FIELD(EndPoint, "End Point", Integer, 0)
PELODYN_FIELD_ENUM(BottomLineField, BottomLine, PELODYN_BOTTOM_LINE_FIELDS)

#define PELODYN_POINT_FIELDS(FIELD)       \
  FIELD(PointNo, "Point No.", Integer, 0) \
  FIELD(X, "Coordi X", Float, 0)          \
  FIELD(Y, "Coordi Y", Float, 0)
PELODYN_FIELD_ENUM(PointField, Points, PELODYN_POINT_FIELDS)

#define PELODYN_RU_FIELDS(FIELD)        \
  FIELD(LineNo, "Line No.", Integer, 0) \
  FIELD(Ru, "Ru", Float, 0)
PELODYN_FIELD_ENUM(RuField, RuVariable, PELODYN_RU_FIELDS)

#define PELODYN_ANCHOR_FIELDS(FIELD)      \
  FIELD(LoadNo, "Load No.", Integer, 0)   \
  FIELD(Magnitude, "Magnitude", Float, 0) \
  FIELD(XStart, "X start", Float, 0)      \
  FIELD(YStart, "Y start", Float, 0)      \
  FIELD(XEnd, "X end", Float, 0)          \
  FIELD(YEnd, "Y end", Float, 0)          \
  FIELD(BondedLength, "Bonded Length", Float, 0)
PELODYN_FIELD_ENUM(AnchorField, Anchor, PELODYN_ANCHOR_FIELDS)

#define PELODYN_LINE_LOAD_FIELDS(FIELD)   \
  FIELD(LoadNo, "Load No.", Integer, 0)   \
  FIELD(Magnitude, "Magnitude", Float, 0) \
  FIELD(X, "Coordi X", Float, 0)          \
  FIELD(Y, "Coordi Y", Float, 0)          \
  FIELD(Angle, "Angle", Float, 0)
PELODYN_FIELD_ENUM(LineLoadField, LineLoad, PELODYN_LINE_LOAD_FIELDS)

#define PELODYN_STRIP_LOAD_FIELDS(FIELD)  \
  FIELD(LoadNo, "Load No.", Integer, 0)   \
  FIELD(Magnitude, "Magnitude", Float, 0) \
  FIELD(BeginX, "Begin X", Float, 0)      \
  FIELD(EndX, "End X", Float, 0)          \
  FIELD(Y1, "Y1", Float, 0)               \
  FIELD(Y2, "Y2", Float, 0)
PELODYN_FIELD_ENUM(StripLoadField, StripLoad, PELODYN_STRIP_LOAD_FIELDS)

#define PELODYN_FAILURE_POINT_FIELDS(FIELD) \
  FIELD(No, "No", Integer, 0)               \
  FIELD(X, "Coor_X", Float, 0)              \
  FIELD(Y, "Coor_Y", Float, 0)
PELODYN_FIELD_ENUM(FailurePointField, FailurePoints, PELODYN_FAILURE_POINT_FIELDS)

#define PELODYN_RESULT_FIELDS(FIELD)   \
  FIELD(Num, "Num", Integer, 0)        \
  FIELD(XCenter, "X_Center", Float, 0) \
  FIELD(YCenter, "Y_Center", Float, 0) \
  FIELD(Radius, "Radius", Float, 0)    \
  FIELD(FsOrd, "FS_Ord", Float, 0)     \
  FIELD(FsJan, "FS_Jan", Float, 0)     \
  FIELD(FsBis, "FS_Bis", Float, 0)     \
  FIELD(FsSpe, "FS_Spe", Float, 0)
PELODYN_FIELD_ENUM(ResultField, Results, PELODYN_RESULT_FIELDS)

#define PELODYN_ROOT_FIELDS(FIELD)              \
  FIELD(RootNo, "Root No.", Integer, 0)         \
  FIELD(Description, "Discription", String, 30) \
  FIELD(Cohesion, "Cohesion", Float, 0)
PELODYN_FIELD_ENUM(RootField, RootNo, PELODYN_ROOT_FIELDS)

#define PELODYN_ROOT_LAYER_FIELDS(FIELD)  \
  FIELD(RootNo, "Root No.", Integer, 0)   \
  FIELD(LayerNo, "Layer No.", Integer, 0) \
  FIELD(Radius, "Radius", Float, 0)
PELODYN_FIELD_ENUM(RootLayerField, RootLayer, PELODYN_ROOT_LAYER_FIELDS)

#define PELODYN_ROOT_POSITION_FIELDS(FIELD) \
  FIELD(No, "No.", Integer, 0)              \
  FIELD(RootType, "Root Type", Integer, 0)  \
  FIELD(X, "Coordi X", Float, 0)            \
  FIELD(Y, "Coordi Y", Float, 0)
PELODYN_FIELD_ENUM(RootPositionField, RootPosition, PELODYN_ROOT_POSITION_FIELDS)

#undef PELODYN_FIELD_ENUM
#undef PELODYN_FIELD_ENUM_NAME
#undef PELODYN_FIELD_ENUM_KEY

// The fields both soil layouts have (Mohr-Coulomb and anisotropic), for code
// that serves either soil table.
enum class SoilCommonField : int { LineNo, UnitWeight, Description, Color };
template <>
struct FieldLayout<SoilCommonField> {
  static constexpr int IndexIn(TableLayout l, SoilCommonField f) {
    constexpr int kSoil[] = {0, 3, 4, 5};
    constexpr int kAniso[] = {0, 5, 6, 7};
    if (l == TableLayout::Soil) return kSoil[static_cast<int>(f)];
    if (l == TableLayout::Aniso) return kAniso[static_cast<int>(f)];
    return -1;
  }
  static constexpr std::string_view NameOf(SoilCommonField f) {
    return FieldLayout<SoilField>::NameOf(static_cast<SoilField>(IndexIn(TableLayout::Soil, f)));
  }
};

// The number that orders the rows of a table numbered by line ("Line No."):
// the first field of the soil, anisotropic, advanced, geometry, bottom-line
// and variable-Ru layouts.
enum class LineNumberField : int { LineNo };
template <>
struct FieldLayout<LineNumberField> {
  static constexpr int IndexIn(TableLayout l, LineNumberField) {
    switch (l) {
      case TableLayout::Soil:
      case TableLayout::Aniso:
      case TableLayout::AnisoAdvance:
      case TableLayout::Geometry:
      case TableLayout::BottomLine:
      case TableLayout::RuVariable:
        return 0;
      default:
        return -1;
    }
  }
  static constexpr std::string_view NameOf(LineNumberField) { return "Line No."; }
};

// The coordinates of a row of any table of points (boundary, water line,
// crack, slip surface, line load, plant).
enum class CoordinateField : int { X, Y };
template <>
struct FieldLayout<CoordinateField> {
  static constexpr int IndexIn(TableLayout l, CoordinateField f) {
    switch (l) {
      case TableLayout::Points:
      case TableLayout::FailurePoints:
        return 1 + static_cast<int>(f);
      case TableLayout::Geometry:
      case TableLayout::LineLoad:
      case TableLayout::RootPosition:
        return 2 + static_cast<int>(f);
      default:
        return -1;
    }
  }
  static constexpr std::string_view NameOf(CoordinateField f) {
    return f == CoordinateField::X ? "Coordi X" : "Coordi Y";
  }
};

// The number of a point, in a boundary line or in a table of points.
enum class PointNumberField : int { PointNo };
template <>
struct FieldLayout<PointNumberField> {
  static constexpr int IndexIn(TableLayout l, PointNumberField) {
    return l == TableLayout::Geometry ? 1 : l == TableLayout::Points ? 0 : -1;
  }
  static constexpr std::string_view NameOf(PointNumberField) { return "Point No."; }
};

// The fields every load layout begins with (line load, strip load, anchor).
enum class LoadCommonField : int { LoadNo, Magnitude };
template <>
struct FieldLayout<LoadCommonField> {
  static constexpr int IndexIn(TableLayout l, LoadCommonField f) {
    const bool load = l == TableLayout::LineLoad || l == TableLayout::StripLoad || l == TableLayout::Anchor;
    return load ? static_cast<int>(f) : -1;
  }
  static constexpr std::string_view NameOf(LoadCommonField f) {
    return f == LoadCommonField::LoadNo ? "Load No." : "Magnitude";
  }
};

template <class F>
concept FieldKey = std::is_enum_v<F> && requires(F f) {
  FieldLayout<F>::IndexIn(TableLayout::Soil, f);
};

// The field's name in the store and the files.
template <FieldKey F>
constexpr std::string_view FieldNameOf(F field) {
  return FieldLayout<F>::NameOf(field);
}

// The fields of a layout, in order.
std::span<const FieldName> LayoutFields(TableLayout layout);

}  // namespace pelodyn
