// Every picture of the tree decodes with the reference libraries (giflib, libjpeg), and the
// pictures with a required shape have it.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BuiltTree.h"
#include "Builder.h"

namespace fs = std::filesystem;

namespace {

struct Size {
  int width = 0, height = 0, frames = 0;
};

Size gifSize(const fs::path& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.string().c_str(), &error);
  if (!gif) return {};
  Size size;
  if (DGifSlurp(gif) == GIF_OK) size = {gif->SWidth, gif->SHeight, gif->ImageCount};
  DGifCloseFile(gif, &error);
  return size;
}

Size jpegSize(const fs::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (!file) return {};
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  Size size;
  if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
    jpeg_start_decompress(&cinfo);
    std::vector<JSAMPLE> row(static_cast<size_t>(cinfo.output_width * cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW rows[1] = {row.data()};
      jpeg_read_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_decompress(&cinfo);
    size = {static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), 1};
  }
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
  return size;
}

Size bmpSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return {};
  auto u32 = [&](size_t at) {
    return int(b[at]) | int(b[at + 1]) << 8 | int(b[at + 2]) << 16 | int(b[at + 3]) << 24;
  };
  int width = u32(18), height = u32(22), bits = b[28] | b[29] << 8;
  int stride = (width * bits / 8 + 3) & ~3;
  if (u32(10) + stride * height != static_cast<int>(b.size())) return {};
  return {width, height, 1};
}

class Pictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string pattern = (fs::temp_directory_path() / "content-pictures-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    root_ = new fs::path(made ? made : "");
    built_ = made && content_test::writeBuiltTree(*root_);
    for (const auto& entry : fs::recursive_directory_iterator(*root_)) {
      std::string ext = entry.path().extension().string();
      Size size;
      if (ext == ".gif")
        size = gifSize(entry.path());
      else if (ext == ".jpg")
        size = jpegSize(entry.path());
      else if (ext == ".bmp")
        size = bmpSize(entry.path());
      else
        continue;
      (*sizes_)[fs::relative(entry.path(), *root_ / "resources").generic_string()] = size;
    }
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(*root_, ec);
    delete root_;
  }
  void SetUp() override { ASSERT_TRUE(built_); }

  static fs::path* root_;
  static bool built_;
  static std::map<std::string, Size>* sizes_;
};

fs::path* Pictures::root_ = nullptr;
bool Pictures::built_ = false;
std::map<std::string, Size>* Pictures::sizes_ = new std::map<std::string, Size>;

bool powerOfTwo(int n) {
  return n > 0 && (n & (n - 1)) == 0;
}

TEST_F(Pictures, EveryPictureDecodes) {
  EXPECT_GT(sizes_->size(), 100u);
  for (const auto& [name, size] : *sizes_) {
    EXPECT_GT(size.width, 0) << name;
    EXPECT_GT(size.height, 0) << name;
    EXPECT_GE(size.frames, 1) << name;
  }
}

TEST_F(Pictures, SheetsAndMoviesHaveTheirShape) {
  for (int m = 0; m < 7; ++m) {
    const Size& movie = (*sizes_)["GUI/video" + std::to_string(m) + ".gif"];
    EXPECT_GE(movie.frames, 2) << m;
  }
  const Size& explosion = (*sizes_)["scenes/explosion.jpg"];
  EXPECT_EQ(explosion.width % 4, 0);
  EXPECT_EQ(explosion.height % 4, 0);
  EXPECT_TRUE(powerOfTwo(explosion.width) && powerOfTwo(explosion.height));
  const Size& font = (*sizes_)["GUI/fontGreen.gif"];
  EXPECT_EQ(font.width % 16, 0);
  EXPECT_EQ(font.height % 6, 0);
  const Size& pad = (*sizes_)["GUI/inputpad.gif"];
  EXPECT_EQ(pad.width, 230);
  EXPECT_EQ(pad.height, 200);
}

// Models' textures are sized to powers of two when loaded; drawn that way they need no
// resampling.
TEST_F(Pictures, ModelTexturesArePowersOfTwo) {
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(*root_ / "resources")) {
    if (entry.path().extension() != ".3ds") continue;
    Lib3dsFile* file = lib3ds_file_load(entry.path().string().c_str());
    ASSERT_TRUE(file) << entry.path();
    for (Lib3dsMaterial* m = file->materials; m; m = m->next) {
      if (!m->texture1_map.name[0]) continue;
      fs::path texture = entry.path().parent_path() / m->texture1_map.name;
      auto it = sizes_->find(fs::relative(texture, *root_ / "resources").generic_string());
      ASSERT_TRUE(it != sizes_->end()) << texture;
      EXPECT_TRUE(powerOfTwo(it->second.width) && powerOfTwo(it->second.height)) << texture;
      ++checked;
    }
    lib3ds_file_free(file);
  }
  EXPECT_GT(checked, 40);
  for (const auto& [name, size] : *sizes_) {
    if (name.rfind("chopper/", 0) == 0 || name.rfind("flyable/", 0) == 0 ||
        name == "scenes/explosion.jpg") {
      EXPECT_TRUE(powerOfTwo(size.width) && powerOfTwo(size.height)) << name;
    }
  }
}

}  // namespace
