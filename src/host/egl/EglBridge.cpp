// The EGL bridge on Mesa's surfaceless platform (see host/Egl.h for the contract).
//
// Every bridge handle is a pointer to one of the records below, so a handle the bridge did not
// make (or one it destroyed) is recognised by looking it up rather than by dereferencing it.
#include "host/Egl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Screen.h"
#include "host/WindowManager.h"

namespace host {

namespace {

struct BridgeConfig {
  EGLConfig real = nullptr;
  EglInt surfaceType = 0;  // what the caller asked for: window and/or pixmap
  EglInt nativeRenderable = 0;
  EglInt depthSize = 0;
  EglInt id = 0;
};

struct BridgeSurface {
  EGLSurface real = EGL_NO_SURFACE;
  bool window = false;  // else a pixmap
  Hwnd hwnd = 0;
  Hbitmap bitmap = 0;
  int width = 0;
  int height = 0;
  bool lost = false;
  // A pixmap's bitmap has been brought into GL at least once (when it is first made current).
  bool synced = false;
  EGLConfig config = nullptr;
  std::vector<std::uint8_t> readBack;  // RGBA rows, reused between frames
};

// A context of the bridge's own per configuration, used to bring a bitmap's pixels into its
// pixmap surface without touching the state of the caller's context.
struct HelperContext {
  EGLConfig config = nullptr;
  EGLContext context = EGL_NO_CONTEXT;
  bool prepared = false;
};

struct BridgeContext {
  EGLContext real = EGL_NO_CONTEXT;
};

struct BridgeDisplay {
  EGLDisplay real = EGL_NO_DISPLAY;
  int initialised = 0;           // eglInitialize calls not yet matched by eglTerminate
  bool realInitialised = false;  // Mesa's display (never terminated, see eglTerminate)
  std::vector<std::unique_ptr<BridgeConfig>> configs;
  std::vector<std::unique_ptr<BridgeSurface>> surfaces;
  std::vector<std::unique_ptr<BridgeContext>> contexts;
  std::vector<HelperContext> helpers;
};

struct BridgeState {
  std::unique_ptr<BridgeDisplay> display;
  EglInt error = kEglSuccess;
  BridgeSurface* currentSurface = nullptr;
  BridgeContext* currentContext = nullptr;
};

BridgeState& state() {
  static BridgeState s;
  return s;
}

EglBoolean fail(EglInt code) {
  state().error = code;
  return kEglFalse;
}

EglBoolean succeed() {
  state().error = kEglSuccess;
  return kEglTrue;
}

// The error Mesa reports for the call just made, as the bridge's own.
EglBoolean fromReal(EGLBoolean ok) {
  const EGLint code = ::eglGetError();
  state().error = ok ? kEglSuccess : (code == EGL_SUCCESS ? kEglBadAlloc : code);
  return ok ? kEglTrue : kEglFalse;
}

// Leaves nothing current on the thread, in Mesa and in the bridge's record.
void releaseCurrent(BridgeDisplay& d) {
  ::eglMakeCurrent(d.real, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  state().currentSurface = nullptr;
  state().currentContext = nullptr;
}

BridgeDisplay* displayOf(EglDisplay handle) {
  BridgeDisplay* d = state().display.get();
  return d && handle == d ? d : nullptr;
}

// The display, checked to be initialised; sets the error when it is not.
BridgeDisplay* liveDisplay(EglDisplay handle) {
  BridgeDisplay* d = displayOf(handle);
  if (!d) {
    state().error = kEglBadDisplay;
    return nullptr;
  }
  if (d->initialised == 0) {
    state().error = kEglNotInitialized;
    return nullptr;
  }
  return d;
}

template <typename T>
T* find(const std::vector<std::unique_ptr<T>>& list, void* handle) {
  for (const auto& item : list)
    if (item.get() == handle) return item.get();
  return nullptr;
}

template <typename T>
void erase(std::vector<std::unique_ptr<T>>& list, T* item) {
  list.erase(
      std::remove_if(list.begin(), list.end(), [item](const auto& p) { return p.get() == item; }),
      list.end());
}

EGLint realAttrib(EGLDisplay d, EGLConfig c, EGLint attribute) {
  EGLint value = 0;
  ::eglGetConfigAttrib(d, c, attribute, &value);
  return value;
}

// Builds the bridge configurations once per initialised display: one per distinct depth size
// among Mesa's 8-bit RGB pbuffer configurations for OpenGL ES, each offered for window and
// pixmap surfaces.
void buildConfigs(BridgeDisplay& d) {
  d.configs.clear();
  const EGLint wanted[] = {EGL_SURFACE_TYPE,
                           EGL_PBUFFER_BIT,
                           EGL_RENDERABLE_TYPE,
                           EGL_OPENGL_ES_BIT,
                           EGL_RED_SIZE,
                           8,
                           EGL_GREEN_SIZE,
                           8,
                           EGL_BLUE_SIZE,
                           8,
                           EGL_NONE};
  EGLint total = 0;
  if (!::eglChooseConfig(d.real, wanted, nullptr, 0, &total) || total <= 0) return;
  std::vector<EGLConfig> found(static_cast<std::size_t>(total));
  ::eglChooseConfig(d.real, wanted, found.data(), total, &total);
  for (EGLint i = 0; i < total; ++i) {
    EGLConfig c = found[static_cast<std::size_t>(i)];
    if (realAttrib(d.real, c, EGL_RED_SIZE) != 8 || realAttrib(d.real, c, EGL_GREEN_SIZE) != 8 ||
        realAttrib(d.real, c, EGL_BLUE_SIZE) != 8 || realAttrib(d.real, c, EGL_SAMPLE_BUFFERS) != 0)
      continue;
    const EGLint depth = realAttrib(d.real, c, EGL_DEPTH_SIZE);
    bool seen = false;
    for (const auto& existing : d.configs) seen = seen || existing->depthSize == depth;
    if (seen) continue;
    auto config = std::make_unique<BridgeConfig>();
    config->real = c;
    config->surfaceType = kEglWindowBit | kEglPixmapBit | kEglPbufferBit;
    config->nativeRenderable = 1;
    config->depthSize = depth;
    config->id = static_cast<EglInt>(d.configs.size()) + 1;
    d.configs.push_back(std::move(config));
  }
  std::sort(d.configs.begin(), d.configs.end(),
            [](const auto& a, const auto& b) { return a->depthSize < b->depthSize; });
}

EglInt attribOf(const BridgeConfig& c, EglInt attribute, bool& known) {
  known = true;
  switch (attribute) {
    case kEglRedSize:
    case kEglGreenSize:
    case kEglBlueSize:
      return 8;
    case kEglAlphaSize:
      return 0;
    case kEglBufferSize:
      return 24;
    case kEglDepthSize:
      return c.depthSize;
    case kEglStencilSize:
      return 0;
    case kEglLevel:
    case kEglSampleBuffers:
    case kEglSamples:
      return 0;
    case kEglNativeRenderable:
      return c.nativeRenderable;
    case kEglSurfaceType:
      return c.surfaceType;
    case kEglConfigId:
      return c.id;
    default:
      known = false;
      return 0;
  }
}

// Copies the finished GL picture of `s` (which must be current) to where the device shows it.
void readBack(BridgeSurface& s) {
  if (s.width <= 0 || s.height <= 0) return;
  s.readBack.resize(static_cast<std::size_t>(s.width) * s.height * 4);
  ::glPixelStorei(GL_PACK_ALIGNMENT, 4);
  ::glReadPixels(0, 0, s.width, s.height, GL_RGBA, GL_UNSIGNED_BYTE, s.readBack.data());
  const std::uint8_t* rgba = s.readBack.data();
  Host& host = Host::get();
  if (s.window) {
    WindowManager& wm = host.windows();
    if (!wm.isWindow(s.hwnd)) return;
    Screen& screen = host.screen();
    const Point origin = wm.clientToScreen(s.hwnd, Point{0, 0});
    const Rect area{origin.x, origin.y, origin.x + s.width, origin.y + s.height};
    for (const Rect& visible : wm.visibleRegion(s.hwnd)) {
      Rect r = intersect(intersect(visible, area), Rect{0, 0, screen.width(), screen.height()});
      if (r.empty()) continue;
      for (int y = r.top; y < r.bottom; ++y) {
        // GL's rows count from the bottom of the window.
        const int glRow = s.height - 1 - (y - origin.y);
        const std::uint8_t* src =
            rgba + (static_cast<std::size_t>(glRow) * s.width + (r.left - origin.x)) * 4;
        std::uint16_t* dst =
            screen.pixels() + static_cast<std::size_t>(y) * screen.width() + r.left;
        for (int x = r.left; x < r.right; ++x, src += 4) *dst++ = pack565(src[0], src[1], src[2]);
      }
      screen.markDirty(r);
    }
    return;
  }
  PixelSurface bitmap = host.gdi().surfaceOf(s.bitmap);
  if (!bitmap.top) return;
  const int w = std::min(bitmap.width, s.width);
  const int h = std::min(bitmap.height, s.height);
  for (int y = 0; y < h; ++y) {
    // GL's first row lands in the bitmap's first row, as if GL wrote the bitmap's memory.
    const std::uint8_t* src = rgba + static_cast<std::size_t>(y) * s.width * 4;
    std::uint8_t* row = bitmap.row(y);
    if (bitmap.format == PixelFormat::Xrgb32) {
      auto* dst = reinterpret_cast<std::uint32_t*>(row);
      for (int x = 0; x < w; ++x, src += 4)
        dst[x] = static_cast<std::uint32_t>(src[0]) << 16 |
                 static_cast<std::uint32_t>(src[1]) << 8 | src[2];
    } else if (bitmap.format == PixelFormat::Rgb565) {
      auto* dst = reinterpret_cast<std::uint16_t*>(row);
      for (int x = 0; x < w; ++x, src += 4) dst[x] = pack565(src[0], src[1], src[2]);
    } else {
      for (int x = 0; x < w; ++x, src += 4)
        bitmap.setRgb(x, y,
                      static_cast<std::uint32_t>(src[0]) << 16 |
                          static_cast<std::uint32_t>(src[1]) << 8 | src[2]);
    }
  }
}

EGLContext helperFor(BridgeDisplay& d, EGLConfig config) {
  for (HelperContext& h : d.helpers)
    if (h.config == config) return h.context;
  const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
  EGLContext context = ::eglCreateContext(d.real, config, EGL_NO_CONTEXT, version);
  if (context != EGL_NO_CONTEXT) d.helpers.push_back(HelperContext{config, context, false});
  return context;
}

// Brings the bitmap's pixels into the pixmap surface: on a device GL draws into the bitmap's
// own memory, so whatever GDI put there before is what GL draws over. The bitmap's first row
// becomes GL's first row. Leaves no context current.
void pushBitmap(BridgeDisplay& d, BridgeSurface& s) {
  PixelSurface bitmap = Host::get().gdi().surfaceOf(s.bitmap);
  EGLContext helper = helperFor(d, s.config);
  if (!bitmap.top || helper == EGL_NO_CONTEXT) return;
  if (!::eglMakeCurrent(d.real, s.real, s.real, helper)) return;
  const int w = std::min(bitmap.width, s.width);
  const int h = std::min(bitmap.height, s.height);
  s.readBack.resize(static_cast<std::size_t>(w) * h * 4);
  std::uint8_t* out = s.readBack.data();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = bitmap.row(y);
    for (int x = 0; x < w; ++x, out += 4) {
      std::uint32_t c;
      if (bitmap.format == PixelFormat::Xrgb32) {
        c = reinterpret_cast<const std::uint32_t*>(row)[x];
      } else if (bitmap.format == PixelFormat::Rgb565) {
        const std::uint16_t p = reinterpret_cast<const std::uint16_t*>(row)[x];
        c = static_cast<std::uint32_t>(red565(p)) << 16 |
            static_cast<std::uint32_t>(green565(p)) << 8 | static_cast<std::uint32_t>(blue565(p));
      } else {
        c = bitmap.rgbAt(x, y);
      }
      out[0] = static_cast<std::uint8_t>(c >> 16);
      out[1] = static_cast<std::uint8_t>(c >> 8);
      out[2] = static_cast<std::uint8_t>(c);
      out[3] = 255;
    }
  }
  for (HelperContext& helperState : d.helpers)
    if (helperState.context == helper && !helperState.prepared) {
      helperState.prepared = true;
      ::glDisable(GL_DEPTH_TEST);
      ::glDisable(GL_LIGHTING);
      ::glEnable(GL_TEXTURE_2D);
      ::glBindTexture(GL_TEXTURE_2D, 1);
      ::glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
      ::glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
      ::glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
      ::glEnableClientState(GL_VERTEX_ARRAY);
      ::glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
  ::glViewport(0, 0, w, h);
  ::glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  ::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, s.readBack.data());
  static const GLfloat corners[8] = {-1, -1, 1, -1, -1, 1, 1, 1};
  static const GLfloat texels[8] = {0, 0, 1, 0, 0, 1, 1, 1};
  ::glVertexPointer(2, GL_FLOAT, 0, corners);
  ::glTexCoordPointer(2, GL_FLOAT, 0, texels);
  ::glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  ::glFlush();
  ::eglMakeCurrent(d.real, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

EglSurface makeSurface(BridgeDisplay& d, BridgeConfig& c, bool window, Hwnd hwnd, Hbitmap bitmap,
                       int width, int height) {
  const EGLint attributes[] = {EGL_WIDTH, std::max(width, 1), EGL_HEIGHT, std::max(height, 1),
                               EGL_NONE};
  EGLSurface real = ::eglCreatePbufferSurface(d.real, c.real, attributes);
  if (real == EGL_NO_SURFACE) {
    fromReal(EGL_FALSE);
    return kEglNoSurface;
  }
  auto surface = std::make_unique<BridgeSurface>();
  surface->real = real;
  surface->window = window;
  surface->hwnd = hwnd;
  surface->bitmap = bitmap;
  surface->width = width;
  surface->height = height;
  surface->config = c.real;
  d.surfaces.push_back(std::move(surface));
  succeed();
  return d.surfaces.back().get();
}

}  // namespace

EglDisplay eglGetDisplay(EglNativeDisplay display) {
  if (const char* mode = std::getenv("SKIRROW_EGL"); mode && std::strcmp(mode, "none") == 0) {
    fail(kEglBadDisplay);
    return kEglNoDisplay;
  }
  if (display != 0 && display != 1) {
    fail(kEglBadParameter);
    return kEglNoDisplay;
  }
  BridgeState& s = state();
  if (!s.display) {
    // Ask for the surfaceless platform by name: Mesa's default platform wants an X server.
    // The extension's entry point is only reachable through eglGetProcAddress.
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        ::eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay real =
        getPlatformDisplay
            ? getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA,
                                 reinterpret_cast<void*>(EGL_DEFAULT_DISPLAY), nullptr)
            : EGL_NO_DISPLAY;
    if (real == EGL_NO_DISPLAY) {
      fail(kEglBadDisplay);
      return kEglNoDisplay;
    }
    s.display = std::make_unique<BridgeDisplay>();
    s.display->real = real;
  }
  succeed();
  return s.display.get();
}

EglBoolean eglInitialize(EglDisplay display, EglInt* major, EglInt* minor) {
  BridgeDisplay* d = displayOf(display);
  if (!d) return fail(kEglBadDisplay);
  if (d->initialised == 0) {
    if (!d->realInitialised) {
      if (!fromReal(::eglInitialize(d->real, nullptr, nullptr))) return kEglFalse;
      d->realInitialised = true;
    }
    if (!::eglBindAPI(EGL_OPENGL_ES_API)) return fromReal(EGL_FALSE);
    buildConfigs(*d);
  }
  ++d->initialised;
  // The version of the EGL underneath (1.4 or later), which covers everything bridged here.
  int realMajor = 1;
  int realMinor = 4;
  if (const char* version = ::eglQueryString(d->real, EGL_VERSION))
    std::sscanf(version, "%d.%d", &realMajor, &realMinor);
  if (major) *major = realMajor;
  if (minor) *minor = realMinor;
  return succeed();
}

EglBoolean eglTerminate(EglDisplay display) {
  BridgeDisplay* d = displayOf(display);
  if (!d) return fail(kEglBadDisplay);
  if (d->initialised == 0) return succeed();
  if (--d->initialised > 0) return succeed();
  releaseCurrent(*d);
  for (auto& surface : d->surfaces) ::eglDestroySurface(d->real, surface->real);
  for (auto& context : d->contexts) ::eglDestroyContext(d->real, context->real);
  for (HelperContext& helper : d->helpers) ::eglDestroyContext(d->real, helper.context);
  d->helpers.clear();
  d->surfaces.clear();
  d->contexts.clear();
  d->configs.clear();
  // Mesa's display stays initialised for the rest of the process: terminating it unloads the
  // driver, which leaks what the driver allocated, and the next renderer would load it again.
  return succeed();
}

EglBoolean eglChooseConfig(EglDisplay display, const EglInt* attributes, EglConfig* configs,
                           EglInt size, EglInt* count) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglFalse;
  if (!count) return fail(kEglBadParameter);
  struct Want {
    EglInt attribute;
    EglInt value;
  };
  std::vector<Want> wants;
  for (const EglInt* a = attributes; a && *a != kEglNone; a += 2) {
    bool known = false;
    if (d->configs.empty()) break;
    attribOf(*d->configs.front(), a[0], known);
    if (!known) return fail(kEglBadAttribute);
    wants.push_back({a[0], a[1]});
  }
  std::vector<BridgeConfig*> matching;
  for (const auto& c : d->configs) {
    bool ok = true;
    for (const Want& want : wants) {
      bool known = false;
      const EglInt have = attribOf(*c, want.attribute, known);
      switch (want.attribute) {
        case kEglRedSize:
        case kEglGreenSize:
        case kEglBlueSize:
        case kEglAlphaSize:
        case kEglBufferSize:
        case kEglDepthSize:
        case kEglStencilSize:
        case kEglSamples:
        case kEglSampleBuffers:
          ok = ok && have >= want.value;  // at least
          break;
        case kEglSurfaceType:
          ok = ok && (have & want.value) == want.value;  // mask
          break;
        case kEglNativeRenderable:
          ok = ok && (want.value == 0 || have != 0);  // only "must be" counts
          break;
        default:
          ok = ok && have == want.value;  // exact
      }
    }
    if (ok) matching.push_back(c.get());
  }
  // The configurations are sorted by depth size, so the first match is the smallest depth
  // buffer that satisfies the request.
  EglInt written = 0;
  if (configs)
    for (BridgeConfig* c : matching)
      if (written < size) configs[written++] = c;
  *count = configs ? written : static_cast<EglInt>(matching.size());
  return succeed();
}

EglBoolean eglGetConfigAttrib(EglDisplay display, EglConfig config, EglInt attribute,
                              EglInt* value) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglFalse;
  BridgeConfig* c = find(d->configs, config);
  if (!c) return fail(kEglBadConfig);
  bool known = false;
  const EglInt v = attribOf(*c, attribute, known);
  if (!known) return fail(kEglBadAttribute);
  if (value) *value = v;
  return succeed();
}

EglSurface eglCreateWindowSurface(EglDisplay display, EglConfig config, Hwnd window,
                                  const EglInt* attributes) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglNoSurface;
  BridgeConfig* c = find(d->configs, config);
  if (!c) return fail(kEglBadConfig), kEglNoSurface;
  if (!(c->surfaceType & kEglWindowBit)) return fail(kEglBadMatch), kEglNoSurface;
  WindowManager& wm = Host::get().windows();
  if (!wm.isWindow(window)) return fail(kEglBadNativeWindow), kEglNoSurface;
  const Rect client = wm.clientRect(window);
  return makeSurface(*d, *c, true, window, 0, client.width(), client.height());
}

EglSurface eglCreatePixmapSurface(EglDisplay display, EglConfig config, Hbitmap pixmap,
                                  const EglInt* attributes) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglNoSurface;
  BridgeConfig* c = find(d->configs, config);
  if (!c) return fail(kEglBadConfig), kEglNoSurface;
  if (!(c->surfaceType & kEglPixmapBit)) return fail(kEglBadMatch), kEglNoSurface;
  BitmapObject object;
  if (!Host::get().gdi().getObject(pixmap, object) || !object.bits ||
      (object.bitsPerPixel != 16 && object.bitsPerPixel != 32))
    return fail(kEglBadNativePixmap), kEglNoSurface;
  return makeSurface(*d, *c, false, 0, pixmap, object.width, object.height);
}

EglBoolean eglDestroySurface(EglDisplay display, EglSurface surface) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglFalse;
  BridgeSurface* s = find(d->surfaces, surface);
  if (!s) return fail(kEglBadSurface);
  if (state().currentSurface == s) releaseCurrent(*d);
  ::eglDestroySurface(d->real, s->real);
  erase(d->surfaces, s);
  return succeed();
}

EglBoolean eglQuerySurface(EglDisplay display, EglSurface surface, EglInt attribute,
                           EglInt* value) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglFalse;
  BridgeSurface* s = find(d->surfaces, surface);
  if (!s) return fail(kEglBadSurface);
  if (attribute == kEglWidth) {
    if (value) *value = s->width;
  } else if (attribute == kEglHeight) {
    if (value) *value = s->height;
  } else {
    return fail(kEglBadAttribute);
  }
  return succeed();
}

EglContext eglCreateContext(EglDisplay display, EglConfig config, EglContext share,
                            const EglInt* attributes) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglNoContext;
  BridgeConfig* c = find(d->configs, config);
  if (!c) return fail(kEglBadConfig), kEglNoContext;
  if (share != kEglNoContext) return fail(kEglBadContext), kEglNoContext;
  const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
  EGLContext real = ::eglCreateContext(d->real, c->real, EGL_NO_CONTEXT, version);
  if (real == EGL_NO_CONTEXT) return fromReal(EGL_FALSE), kEglNoContext;
  d->contexts.push_back(std::make_unique<BridgeContext>(BridgeContext{real}));
  succeed();
  return d->contexts.back().get();
}

EglBoolean eglDestroyContext(EglDisplay display, EglContext context) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglFalse;
  BridgeContext* c = find(d->contexts, context);
  if (!c) return fail(kEglBadContext);
  if (state().currentContext == c) releaseCurrent(*d);
  ::eglDestroyContext(d->real, c->real);
  erase(d->contexts, c);
  return succeed();
}

namespace {

// Makes `s` and `c` current, a pixmap first taking in its bitmap when `syncPixmap` (which
// leaves no context current on the way). Failure leaves nothing current.
EglBoolean bind(BridgeDisplay& d, BridgeSurface& s, BridgeContext& c, bool syncPixmap) {
  if (syncPixmap) {
    pushBitmap(d, s);
    s.synced = true;
  }
  BridgeState& st = state();
  const EGLBoolean ok = ::eglMakeCurrent(d.real, s.real, s.real, c.real);
  st.currentSurface = ok ? &s : nullptr;
  st.currentContext = ok ? &c : nullptr;
  return fromReal(ok);
}

}  // namespace

EglBoolean eglMakeCurrent(EglDisplay display, EglSurface draw, EglSurface read,
                          EglContext context) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglFalse;
  BridgeState& st = state();
  if (draw == kEglNoSurface && read == kEglNoSurface && context == kEglNoContext) {
    releaseCurrent(*d);
    return succeed();
  }
  BridgeSurface* s = find(d->surfaces, draw);
  BridgeContext* c = find(d->contexts, context);
  if (!s || draw != read) return fail(kEglBadSurface);
  if (!c) return fail(kEglBadContext);
  // Re-binding what is already current costs a driver round trip per call; the driver makes
  // its context current before every operation, so skip the repeat. What the thread really
  // has current is asked each time: the desktop's own GL (SDL presenting the screen) binds
  // its context between frames. A pixmap starts from its bitmap's pixels.
  const bool syncPixmap = !s->window && !s->synced;
  if (st.currentSurface == s && st.currentContext == c && !syncPixmap &&
      ::eglGetCurrentContext() == c->real && ::eglGetCurrentSurface(EGL_DRAW) == s->real)
    return succeed();
  return bind(*d, *s, *c, syncPixmap);
}

EglContext eglGetCurrentContext() {
  return state().currentContext;
}

EglSurface eglGetCurrentSurface() {
  return state().currentSurface;
}

EglBoolean eglSwapBuffers(EglDisplay display, EglSurface surface) {
  BridgeDisplay* d = liveDisplay(display);
  if (!d) return kEglFalse;
  BridgeSurface* s = find(d->surfaces, surface);
  if (!s) return fail(kEglBadSurface);
  if (s->lost) return fail(kEglContextLost);
  BridgeState& st = state();
  if (st.currentSurface != s) return fail(kEglBadSurface);
  ::glFinish();
  readBack(*s);
  return succeed();
}

EglBoolean eglWaitGL() {
  BridgeState& st = state();
  if (!st.currentSurface) return succeed();
  ::glFinish();
  if (!st.currentSurface->window && !st.currentSurface->lost) readBack(*st.currentSurface);
  return succeed();
}

EglBoolean eglWaitNative(EglInt engine) {
  if (engine != kEglCoreNativeEngine) return fail(kEglBadParameter);
  BridgeState& st = state();
  BridgeSurface* s = st.currentSurface;
  BridgeContext* c = st.currentContext;
  BridgeDisplay* d = st.display.get();
  if (!s || !c || !d || s->window || s->lost) return succeed();
  return bind(*d, *s, *c, true);
}

EglInt eglGetError() {
  const EglInt code = state().error;
  state().error = kEglSuccess;
  return code;
}

void eglLoseSurfaces() {
  if (BridgeDisplay* d = state().display.get())
    for (auto& surface : d->surfaces) surface->lost = true;
}

}  // namespace host
