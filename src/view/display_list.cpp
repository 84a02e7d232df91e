#include "view/display_list.h"

namespace pelodyn {

OverlayConditions ReadOverlayConditions(const Project&) {
  return {};
}
void LayoutDisplayList(Project&, DisplayList&) {}
void RebuildDisplayList(Project&, const ViewTransform&, DisplayList&) {}
void ReplaceDisplayItems(const Project&, const ViewTransform&, DisplayList&) {}

}  // namespace pelodyn
