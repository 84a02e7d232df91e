// Default fill colours of the soil bands, as 0x00BBGGRR.
#pragma once

#include <cstdint>

namespace pelodyn {

// Colour of soil number k: ten colours for 1 to 10; above 10 the last decimal
// digit of k picks the colour (11 to 19 as 1 to 9, 20, 30 ... black); 0 and
// negative numbers are black.
std::int32_t SoilColorDefault(int k);

}  // namespace pelodyn
