#include "host/Png.h"

#include <png.h>

#include <cstdio>
#include <memory>

#include "host/Files.h"

namespace host {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void makeParentFolders(const std::string& path) {
  std::string native = nativePath(path);
  for (size_t i = 1; i < native.size(); ++i) {
    if (native[i] != '/') continue;
    std::string prefix = native.substr(0, i);
    if (pathKind(prefix) == PathKind::None) makeFolder(prefix);
  }
}

}  // namespace

bool writePng(const std::string& path, const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() < static_cast<size_t>(image.width) * image.height * 3)
    return false;
  makeParentFolders(path);
  FilePtr file(openFile(path, "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y)
    png_write_row(png, image.rgb.data() + static_cast<size_t>(y) * image.width * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}

std::optional<RgbImage> readPng(const std::string& path) {
  FilePtr file(openFile(path, "rb"));
  if (!file) return std::nullopt;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  RgbImage image;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::nullopt;
  }
  png_init_io(png, file.get());
  png_read_info(png, info);
  // Normalise every colour type to 8-bit RGB so callers see one layout.
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_packing(png);
  png_set_palette_to_rgb(png);
  png_set_expand_gray_1_2_4_to_8(png);
  png_set_gray_to_rgb(png);
  png_read_update_info(png, info);
  image.width = static_cast<int>(png_get_image_width(png, info));
  image.height = static_cast<int>(png_get_image_height(png, info));
  image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
  std::vector<png_bytep> rows(image.height);
  for (int y = 0; y < image.height; ++y)
    rows[y] = image.rgb.data() + static_cast<size_t>(y) * image.width * 3;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return image;
}

}  // namespace host
