// What differs between the two builds of the program: the Common-profile build (`skirrow`) and
// the Common-Lite build (`skirrow-cl`).
#pragma once

namespace app {

#ifdef SKIRROW_COMMON_LITE
inline constexpr int kEglDisplayArgument = 0;
inline constexpr bool kHiResAware = true;  // runs unscaled on hi-res screens
inline constexpr const char* kBuildName = "Common-Lite";
#else
inline constexpr int kEglDisplayArgument = 1;
inline constexpr bool kHiResAware = false;  // the device scales it on hi-res screens
inline constexpr const char* kBuildName = "Common";
#endif

}  // namespace app
