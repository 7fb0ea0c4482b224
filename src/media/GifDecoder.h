// Decoder for GIF pictures and animations (GIF87a and GIF89a).
//
// Every frame comes out as a full picture of the logical screen size: the frame's rectangle is
// decoded onto a canvas prepared from the previous frame by that frame's disposal method
// (1: keep the previous frame, 2: fill with the background or transparent colour, otherwise
// start cleared). Pixels of a frame rectangle that fall outside the logical screen are dropped.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "media/PixelBuffer.h"

namespace media {

class GifDecoder {
 public:
  explicit GifDecoder(DecodeOptions options) : options_(options) {}

  // Decodes the frames of the GIF file held in `file`; `name` names it in messages. With
  // stopAfterFirst only the first decodable frame is produced.
  //
  // Each frame carries its delay (hundredths of a second in the file, seconds here) and, when
  // its graphic control block says so, the colour of its transparent index as see-through key.
  // The transparent index itself is drawn with its table colour.
  //
  // Reports through the message seam: a missing "GIF" signature (decoding goes on), a frame
  // whose data is corrupt (that frame is dropped, the others kept), a logical screen larger
  // than the limits allow or frames beyond the animation limit (decoding stops), and a file
  // that yields no frame at all or ends before its trailer (the frames read are kept). Returns
  // the decoded frames, possibly none; the caller owns them.
  std::vector<ImageFrame> decode(std::span<const uint8_t> file, std::string_view name,
                                 bool stopAfterFirst = false);

 private:
  struct FrameRect {
    int left, top, width, height;
    bool interlaced;
  };

  // Decodes one frame's LZW code stream (codeBuffer_) onto `canvas`. False when the stream is
  // corrupt; a stream that ends early (end code or no more data) is not an error.
  bool decodeImageData(int minCodeSize, const FrameRect& rect, const uint32_t* pixelOfIndex,
                       PixelBuffer& canvas);
  template <typename Pixel>
  bool decodeLzw(int minCodeSize, const FrameRect& rect, const uint32_t* pixelOfIndex,
                 PixelBuffer& canvas);

  DecodeOptions options_;
  std::vector<uint8_t> codeBuffer_;  // one frame's sub-blocks back to back, plus 4 zero bytes
  // LZW tables: prefix code and last character of each string, and the output stack.
  uint16_t prefix_[4097];
  uint8_t suffix_[4097];
  uint8_t stack_[4097];
};

}  // namespace media
