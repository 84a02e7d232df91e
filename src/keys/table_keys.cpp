#include "keys/table_keys.h"

namespace pelodyn {

std::span<const FieldName> LayoutFields(TableLayout layout) {
  switch (layout) {
    case TableLayout::Soil:
      return FieldLayout<SoilField>::kNames;
    case TableLayout::Aniso:
      return FieldLayout<AnisoField>::kNames;
    case TableLayout::AnisoAdvance:
      return FieldLayout<AnisoAdvanceField>::kNames;
    case TableLayout::Geometry:
      return FieldLayout<GeometryField>::kNames;
    case TableLayout::BottomLine:
      return FieldLayout<BottomLineField>::kNames;
    case TableLayout::Points:
      return FieldLayout<PointField>::kNames;
    case TableLayout::RuVariable:
      return FieldLayout<RuField>::kNames;
    case TableLayout::Anchor:
      return FieldLayout<AnchorField>::kNames;
    case TableLayout::LineLoad:
      return FieldLayout<LineLoadField>::kNames;
    case TableLayout::StripLoad:
      return FieldLayout<StripLoadField>::kNames;
    case TableLayout::FailurePoints:
      return FieldLayout<FailurePointField>::kNames;
    case TableLayout::Results:
      return FieldLayout<ResultField>::kNames;
    case TableLayout::RootNo:
      return FieldLayout<RootField>::kNames;
    case TableLayout::RootLayer:
      return FieldLayout<RootLayerField>::kNames;
    case TableLayout::RootPosition:
      return FieldLayout<RootPositionField>::kNames;
  }
  return {};
}

}  // namespace pelodyn
