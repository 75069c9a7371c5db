#include "png_image.h"

#include <png.h>

#include <vector>

#include "app/errors.h"
#include "view/surface.h"

namespace veltrano {

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void no_flush(png_structp) {}

}  // namespace

std::string surface_png_bytes() {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    throw Error("Cannot make the picture: out of memory");
  }
  std::vector<png_byte> row(kSurfaceSize * 3);
  // libpng reports its errors by a long jump back here.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw Error("Cannot make the picture");
  }
  png_set_write_fn(png, &out, append_bytes, no_flush);
  png_set_IHDR(png, info, kSurfaceSize, kSurfaceSize, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < kSurfaceSize; ++y) {
    for (int x = 0; x < kSurfaceSize; ++x) {
      const Colour c = surface_pixels[y * kSurfaceSize + x];
      row[x * 3] = static_cast<png_byte>(c >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(c >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace veltrano
