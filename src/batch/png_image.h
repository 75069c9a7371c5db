// The drawing surface as PNG bytes, for the batch tool's pictures.
#pragma once

#include <string>

namespace veltrano {

// The 750 x 750 surface as an 8-bit RGB PNG.
std::string surface_png_bytes();

}  // namespace veltrano
