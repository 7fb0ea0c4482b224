#include "media/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <string>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "media/ImageMessages.h"

namespace media {
namespace {

// The library's standard error manager, extended with the file name for the messages and with
// the place to return to when the library gives up.
struct ErrorManager {
  jpeg_error_mgr standard;
  std::string name;
  std::jmp_buf fatal;
};

void outputMessage(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
  char text[JMSG_LENGTH_MAX];
  cinfo->err->format_message(cinfo, text);
  reportJpegMessage(errors->name, text);
}

[[noreturn]] void errorExit(j_common_ptr cinfo) {
  // A fatal error ends this picture, not the program: show it, then unwind to read(), which
  // destroys the decompressor.
  cinfo->err->output_message(cinfo);
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->fatal, 1);
}

}  // namespace

std::optional<PixelBuffer> JpegReader::read(std::span<const uint8_t> file, std::string_view name) {
  // Everything that must survive the longjmp lives outside the setjmp scope and has no
  // destructor that the jump would skip while it is live.
  // Zeroed so that destroying it is safe even when creating it failed.
  jpeg_decompress_struct cinfo{};
  ErrorManager errors;
  errors.name.assign(name);
  std::optional<PixelBuffer> result;

  cinfo.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = errorExit;
  errors.standard.output_message = outputMessage;
  // The standard emit_message shows the first warning and only counts the later ones.

  if (setjmp(errors.fatal) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return std::nullopt;
  }
  jpeg_create_decompress(&cinfo);
  // An empty file is a fatal "Empty input file" from here, handled like any other.
  jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&cinfo, TRUE);
  // Grey, YCbCr and RGB files all come out as R, G, B triples.
  cinfo.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&cinfo);
  const int64_t pixels = int64_t{cinfo.output_width} * cinfo.output_height;
  if (pixels > options_.limits.maxImagePixels) {
    std::string text = "Image of " + std::to_string(cinfo.output_width) + "x" +
                       std::to_string(cinfo.output_height) + " pixels is too large";
    reportJpegMessage(name, text);
    jpeg_destroy_decompress(&cinfo);
    return std::nullopt;
  }
  jpeg_start_decompress(&cinfo);

  result = PixelBuffer::create(static_cast<int>(cinfo.output_width),
                               static_cast<int>(cinfo.output_height), options_.layout,
                               options_.limits.maxImagePixels);
  if (!result || cinfo.output_components != 3) {
    jpeg_destroy_decompress(&cinfo);
    return std::nullopt;
  }
  PixelBuffer& out = *result;
  const PixelLayout layout = out.layout;
  JSAMPARRAY scanline = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                   JPOOL_IMAGE, cinfo.output_width * 3, 1);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    if (jpeg_read_scanlines(&cinfo, scanline, 1) != 1) break;
    const uint8_t* src = scanline[0];
    if (layout.bitsPerPixel == 16) {
      auto* dst = reinterpret_cast<uint16_t*>(out.row(y));
      for (int x = 0; x < out.width; ++x, src += 3) {
        dst[x] = static_cast<uint16_t>(packPixel(src[0], src[1], src[2], layout));
      }
    } else {
      auto* dst = reinterpret_cast<uint32_t*>(out.row(y));
      for (int x = 0; x < out.width; ++x, src += 3)
        dst[x] = packPixel(src[0], src[1], src[2], layout);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return result;
}

}  // namespace media
