#include "GlRecorder.h"

#include <GLES/gl.h>
#include <dlfcn.h>

namespace engine3d::testing {

GlRecorder& GlRecorder::get() {
  static GlRecorder recorder;
  return recorder;
}

bool GlRecorder::called(const std::string& name, const std::vector<std::int64_t>& args) const {
  for (const GlCall& call : calls) {
    if (call.name != name || call.args.size() < args.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < args.size(); ++i) same = same && call.args[i] == args[i];
    if (same) return true;
  }
  return false;
}

int GlRecorder::count(const std::string& name) const {
  int n = 0;
  for (const GlCall& call : calls) n += call.name == name;
  return n;
}

namespace {

template <typename F>
F real(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

void note(const char* name, std::vector<std::int64_t> args) {
  GlRecorder::get().calls.push_back(GlCall{name, std::move(args)});
}

}  // namespace

}  // namespace engine3d::testing

using engine3d::testing::GlRecorder;
using engine3d::testing::note;
using engine3d::testing::real;

extern "C" {

GL_API void GL_APIENTRY glEnable(GLenum cap) {
  static auto next = real<void (*)(GLenum)>("glEnable");
  note("glEnable", {cap});
  next(cap);
}

GL_API void GL_APIENTRY glDisable(GLenum cap) {
  static auto next = real<void (*)(GLenum)>("glDisable");
  note("glDisable", {cap});
  next(cap);
}

GL_API void GL_APIENTRY glFrontFace(GLenum mode) {
  static auto next = real<void (*)(GLenum)>("glFrontFace");
  note("glFrontFace", {mode});
  next(mode);
}

GL_API void GL_APIENTRY glFogx(GLenum pname, GLfixed param) {
  static auto next = real<void (*)(GLenum, GLfixed)>("glFogx");
  note("glFogx", {pname, param});
  next(pname, param);
}

GL_API void GL_APIENTRY glMaterialx(GLenum face, GLenum pname, GLfixed param) {
  static auto next = real<void (*)(GLenum, GLenum, GLfixed)>("glMaterialx");
  note("glMaterialx", {face, pname, param});
  next(face, pname, param);
}

GL_API void GL_APIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type,
                                       const void* indices) {
  static auto next = real<void (*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
  note("glDrawElements", {mode, count, type, reinterpret_cast<std::intptr_t>(indices)});
  next(mode, count, type, indices);
}

GL_API void GL_APIENTRY glBindTexture(GLenum target, GLuint texture) {
  static auto next = real<void (*)(GLenum, GLuint)>("glBindTexture");
  note("glBindTexture", {target, texture});
  next(target, texture);
}

GL_API void GL_APIENTRY glTexImage2D(GLenum target, GLint level, GLint internalformat,
                                     GLsizei width, GLsizei height, GLint border, GLenum format,
                                     GLenum type, const void* pixels) {
  static auto next =
      real<void (*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*)>(
          "glTexImage2D");
  note("glTexImage2D", {target, level, internalformat, width, height, border, format, type});
  next(target, level, internalformat, width, height, border, format, type, pixels);
}

GL_API const GLubyte* GL_APIENTRY glGetString(GLenum name) {
  static auto next = real<const GLubyte* (*)(GLenum)>("glGetString");
  GlRecorder& r = GlRecorder::get();
  if (name == GL_VERSION && r.version) return reinterpret_cast<const GLubyte*>(r.version->c_str());
  if (name == GL_VENDOR && r.vendor) return reinterpret_cast<const GLubyte*>(r.vendor->c_str());
  return next(name);
}

}  // extern "C"
