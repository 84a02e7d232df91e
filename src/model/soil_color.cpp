#include "model/soil_color.h"

namespace pelodyn {

std::int32_t SoilColorDefault(int k) {
  static constexpr std::int32_t kColors[11] = {0x000000, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xFF9933, 0xFF8080,
                                               0xFF80FF, 0x8080FF, 0x0060BF, 0x4080FF, 0x00A66A};
  if (k <= 0) return 0;
  if (k > 10) k %= 10;
  return kColors[k];
}

}  // namespace pelodyn
