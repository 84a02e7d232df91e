#include "view/view_transform.h"

#include <gtest/gtest.h>

namespace pelodyn {
namespace {

TEST(ViewTransform, Placeholder) {
  EXPECT_EQ(RoundPixel(2.5), 2);
}

}  // namespace
}  // namespace pelodyn
