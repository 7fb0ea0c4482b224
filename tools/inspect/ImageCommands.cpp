#include <cstdio>
#include <string>

#include "Commands.h"
#include "ToolMessages.h"
#include "host/Host.h"
#include "host/Png.h"
#include "media/Image.h"
#include "media/ImageLoader.h"
#include "media/ImageMessages.h"
#include "media/PixelFormat.h"

namespace inspect {

namespace {

const char* kindName(media::ImageKind kind) {
  switch (kind) {
    case media::ImageKind::Jpeg:
      return "JPEG";
    case media::ImageKind::Gif:
      return "GIF";
    case media::ImageKind::Bmp:
      return "BMP";
    case media::ImageKind::Unsupported:
      break;
  }
  return "unsupported";
}

// Pictures are decoded into platform bitmaps, so a host must run; the tool never shows a
// window, and the loaders' messages become the tool's lines (ToolMessages.h).
struct ToolSession {
  ToolSession() {
    host::HostConfig config = host::configFromEnvironment();
    config.backend = host::BackendKind::Headless;
    config.scriptPath.clear();
    host::Host::restart(config);
  }
  ~ToolSession() { host::Host::shutdown(); }

  ToolMessages messages;
};

// A picture that gave no frame: what the loader said, else that it did not decode.
int undecodable(const ToolSession& session, const std::string& file) {
  if (session.messages.any()) return session.messages.finish();
  return fail("cannot decode picture " + file);
}

// "--depth 16|32" anywhere among the arguments picks the depth pictures are decoded to (as the
// program's useDeviceDepth does); without it they take the device's display depth. Removes the
// option from `args`. False for a bad value.
bool takeDepthOption(Args& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--depth") continue;
    if (i + 1 >= args.size()) return false;
    const std::string value = args[i + 1];
    args.erase(args.begin() + i, args.begin() + i + 2);
    if (value == "32") {
      media::setUseDeviceDepth(false);
    } else if (value == "16") {
      media::setDisplayDepth(16);
      media::setUseDeviceDepth(true);
    } else {
      return false;
    }
    return true;
  }
  return true;
}

std::string keyText(const media::Surface& frame) {
  if (!frame.transparent) return "none";
  char text[16];
  std::snprintf(text, sizeof text, "#%06X", frame.transparentColor & 0xFFFFFF);
  return text;
}

int info(const std::string& file) {
  ToolSession session;
  media::Image image(file);
  if (image.frameCount() == 0) return undecodable(session, file);
  const media::Surface* first = image.surfaceAt(0);
  std::printf("file: %s\n", file.c_str());
  std::printf("format: %s\n", kindName(media::imageKindOf(file)));
  std::printf("size: %dx%d\n", image.decodedWidth(), image.decodedHeight());
  std::printf("depth: %d%s\n", first->bitsPerPixel(),
              first->layout().swapRedBlue ? " (red and blue swapped)" : "");
  std::printf("frames: %d\n", image.frameCount());
  for (int i = 0; i < image.frameCount(); ++i) {
    const media::Surface* frame = image.surfaceAt(i);
    std::printf("frame %d: delay %.2f s, key %s\n", i, frame->delay, keyText(*frame).c_str());
  }
  // A damaged picture may still give frames (a JPEG cut short is padded): the program would
  // have said so, and so does the tool.
  return session.messages.finish();
}

std::string stemOf(const std::string& file) {
  size_t cut = file.find_last_of("\\/");
  std::string name = cut == std::string::npos ? file : file.substr(cut + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

int exportFrames(const std::string& file, std::string folder) {
  ToolSession session;
  media::Image image(file);
  if (image.frameCount() == 0) return undecodable(session, file);
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  for (int i = 0; i < image.frameCount(); ++i) {
    media::Surface* frame = image.surfaceAt(i);
    host::RgbImage png;
    png.width = frame->width();
    png.height = frame->height();
    png.rgb.reserve(static_cast<size_t>(png.width) * png.height * 3);
    for (int y = 0; y < png.height; ++y) {
      for (int x = 0; x < png.width; ++x) {
        uint32_t c = frame->getPixel(x, y);
        png.rgb.push_back(static_cast<uint8_t>(c >> 16));
        png.rgb.push_back(static_cast<uint8_t>(c >> 8));
        png.rgb.push_back(static_cast<uint8_t>(c));
      }
    }
    char index[16];
    std::snprintf(index, sizeof index, "_%03d.png", i);
    const std::string path = folder + stemOf(file) + index;
    if (!host::writePng(path, png)) return fail("cannot write " + path);
    std::printf("%s\n", path.c_str());
  }
  return session.messages.finish();
}

}  // namespace

int imageCommand(const Args& arguments) {
  Args args = arguments;
  const char* usage =
      "usage: image info [--depth 16|32] FILE | image export [--depth 16|32] FILE DIR";
  if (!takeDepthOption(args)) return fail(usage, 2);
  if (args.size() == 2 && args[0] == "info") return info(args[1]);
  if (args.size() == 3 && args[0] == "export") return exportFrames(args[1], args[2]);
  return fail(usage, 2);
}

}  // namespace inspect
