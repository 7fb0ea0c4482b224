// The device's EGL: displays, configurations, window and pixmap surfaces and contexts for
// OpenGL ES 1.x, with the platform's call shapes and numbers.
//
// The 3D driver makes its EGL calls here and its GL calls straight to the GL ES library. The
// bridge does the real work with Mesa on the surfaceless platform, so no X server is needed:
// every surface is a pbuffer of the native object's size. What a device shows differs only in
// where the pixels end up:
//   - a window surface is read back into the device screen (the window's visible part) at
//     eglSwapBuffers, bottom row of GL last, as a device's display controller would show it;
//   - a pixmap surface is read back into its GDI bitmap at eglWaitGL (and at eglSwapBuffers),
//     GL's first row into the bitmap's first (top) row, as when GL renders straight into the
//     bitmap's memory. A pixmap scene therefore mirrors y in its projection. The other way,
//     GL takes in the bitmap's pixels when the surface is first made current and at each
//     eglWaitNative: what GDI drew into the bitmap since, GL sees only after that call, as
//     EGL requires of native drawing on a surface GL shares.
// Configurations report the surface kinds the caller asked for (window or pixmap); underneath,
// each is an 8-bit-per-channel pbuffer configuration with the asked depth size (or the smallest
// larger one).
//
// Display numbers: the Common build passes 1 to eglGetDisplay, the Common-Lite build 0
// (kEglDefaultDisplay); both give the same display. Initialising a display counts, and only the
// last eglTerminate of those counted ends it, so one renderer's teardown does not pull the
// display from under another's context.
//
// A machine without a working EGL display is reproduced with SKIRROW_EGL=none: eglGetDisplay
// then returns kEglNoDisplay.
//
// Errors: every call sets the thread's error, read (and reset to kEglSuccess) by eglGetError.
// Not thread-safe: the program draws from its one UI thread.
#pragma once

#include <cstdint>

#include "host/Types.h"

namespace host {

using EglInt = std::int32_t;
using EglBoolean = unsigned int;
using EglDisplay = void*;
using EglConfig = void*;
using EglSurface = void*;
using EglContext = void*;
// The native display (0 or 1), window (Hwnd) or pixmap (Hbitmap) as EGL takes it.
using EglNativeDisplay = std::intptr_t;

inline constexpr EglDisplay kEglNoDisplay = nullptr;
inline constexpr EglSurface kEglNoSurface = nullptr;
inline constexpr EglContext kEglNoContext = nullptr;
inline constexpr EglNativeDisplay kEglDefaultDisplay = 0;
inline constexpr EglBoolean kEglFalse = 0;
inline constexpr EglBoolean kEglTrue = 1;

// Error codes.
inline constexpr EglInt kEglSuccess = 0x3000;
inline constexpr EglInt kEglNotInitialized = 0x3001;
inline constexpr EglInt kEglBadAccess = 0x3002;
inline constexpr EglInt kEglBadAlloc = 0x3003;
inline constexpr EglInt kEglBadAttribute = 0x3004;
inline constexpr EglInt kEglBadConfig = 0x3005;
inline constexpr EglInt kEglBadContext = 0x3006;
inline constexpr EglInt kEglBadCurrentSurface = 0x3007;
inline constexpr EglInt kEglBadDisplay = 0x3008;
inline constexpr EglInt kEglBadMatch = 0x3009;
inline constexpr EglInt kEglBadNativePixmap = 0x300A;
inline constexpr EglInt kEglBadNativeWindow = 0x300B;
inline constexpr EglInt kEglBadParameter = 0x300C;
inline constexpr EglInt kEglBadSurface = 0x300D;
inline constexpr EglInt kEglContextLost = 0x300E;

// Configuration attributes and values.
inline constexpr EglInt kEglBufferSize = 0x3020;
inline constexpr EglInt kEglAlphaSize = 0x3021;
inline constexpr EglInt kEglBlueSize = 0x3022;
inline constexpr EglInt kEglGreenSize = 0x3023;
inline constexpr EglInt kEglRedSize = 0x3024;
inline constexpr EglInt kEglDepthSize = 0x3025;
inline constexpr EglInt kEglStencilSize = 0x3026;
inline constexpr EglInt kEglConfigId = 0x3028;
inline constexpr EglInt kEglLevel = 0x3029;
inline constexpr EglInt kEglNativeRenderable = 0x302D;
inline constexpr EglInt kEglSamples = 0x3031;
inline constexpr EglInt kEglSampleBuffers = 0x3032;
inline constexpr EglInt kEglSurfaceType = 0x3033;
inline constexpr EglInt kEglNone = 0x3038;
inline constexpr EglInt kEglHeight = 0x3056;
inline constexpr EglInt kEglCoreNativeEngine = 0x305B;
inline constexpr EglInt kEglWidth = 0x3057;
inline constexpr EglInt kEglPbufferBit = 0x0001;
inline constexpr EglInt kEglPixmapBit = 0x0002;
inline constexpr EglInt kEglWindowBit = 0x0004;

// The calls, with EGL 1.0 semantics. Handles are the bridge's own; they stay valid until
// destroyed (surfaces, contexts) or until the display's last eglTerminate.
EglDisplay eglGetDisplay(EglNativeDisplay display);
EglBoolean eglInitialize(EglDisplay display, EglInt* major, EglInt* minor);
EglBoolean eglTerminate(EglDisplay display);
// Writes up to `size` matching configurations, best first; `count` gets how many. Known
// attributes: those above that a configuration has (sizes, level, sample buffers and samples,
// native renderable, surface type, config id); any other fails with kEglBadAttribute.
EglBoolean eglChooseConfig(EglDisplay display, const EglInt* attributes, EglConfig* configs,
                           EglInt size, EglInt* count);
EglBoolean eglGetConfigAttrib(EglDisplay display, EglConfig config, EglInt attribute,
                              EglInt* value);
// A surface of the window's client size; the window must be alive and the configuration must
// include kEglWindowBit (else kEglBadNativeWindow, kEglBadMatch).
EglSurface eglCreateWindowSurface(EglDisplay display, EglConfig config, Hwnd window,
                                  const EglInt* attributes);
// A surface of the bitmap's size; the bitmap must be a DIB section of 16 or 32 bits and the
// configuration must include kEglPixmapBit.
EglSurface eglCreatePixmapSurface(EglDisplay display, EglConfig config, Hbitmap pixmap,
                                  const EglInt* attributes);
EglBoolean eglDestroySurface(EglDisplay display, EglSurface surface);
EglBoolean eglQuerySurface(EglDisplay display, EglSurface surface, EglInt attribute, EglInt* value);
// An OpenGL ES 1.x context; `share` must be kEglNoContext.
EglContext eglCreateContext(EglDisplay display, EglConfig config, EglContext share,
                            const EglInt* attributes);
EglBoolean eglDestroyContext(EglDisplay display, EglContext context);
// With all three of surfaces and context none, releases the current context.
EglBoolean eglMakeCurrent(EglDisplay display, EglSurface draw, EglSurface read, EglContext context);
EglContext eglGetCurrentContext();
EglSurface eglGetCurrentSurface();
// Finishes GL drawing and shows the surface: a window surface goes to the device screen, a
// pixmap surface to its bitmap. kEglFalse with kEglBadSurface for a destroyed surface and with
// kEglContextLost after eglLoseSurfaces.
EglBoolean eglSwapBuffers(EglDisplay display, EglSurface surface);
// Finishes GL drawing; a current pixmap surface is brought into its bitmap.
EglBoolean eglWaitGL();
// Native drawing is done: a current pixmap surface takes in its bitmap's pixels. `engine` must
// be kEglCoreNativeEngine (else kEglFalse with kEglBadParameter).
EglBoolean eglWaitNative(EglInt engine);
EglInt eglGetError();

// What the device does to surfaces when it is suspended: every live surface is lost, and its
// next eglSwapBuffers fails with kEglContextLost. Used by tests and the suspend path.
void eglLoseSurfaces();

}  // namespace host
