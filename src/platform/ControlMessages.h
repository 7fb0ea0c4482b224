// Message numbers of the device's native controls, as the control wrappers send them. Text
// parameters are zero-terminated UTF-8.
#pragma once

#include <cstdint>

namespace platform {

constexpr uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr uint32_t EM_LIMITTEXT = 0x00C5;
constexpr uint32_t EM_SETREADONLY = 0x00CF;

constexpr uint32_t CB_ADDSTRING = 0x0143;
constexpr uint32_t CB_DELETESTRING = 0x0144;
constexpr uint32_t CB_GETCOUNT = 0x0146;
constexpr uint32_t CB_GETCURSEL = 0x0147;
constexpr uint32_t CB_GETLBTEXT = 0x0148;
constexpr uint32_t CB_GETLBTEXTLEN = 0x0149;
constexpr uint32_t CB_RESETCONTENT = 0x014B;
constexpr uint32_t CB_FINDSTRING = 0x014C;
constexpr uint32_t CB_SETCURSEL = 0x014E;
constexpr uint32_t CB_SETITEMDATA = 0x0151;

constexpr uint32_t LB_ADDSTRING = 0x0180;
constexpr uint32_t LB_DELETESTRING = 0x0182;
constexpr uint32_t LB_RESETCONTENT = 0x0184;
constexpr uint32_t LB_SETCURSEL = 0x0186;
constexpr uint32_t LB_GETCURSEL = 0x0188;
constexpr uint32_t LB_GETTEXT = 0x0189;
constexpr uint32_t LB_GETTEXTLEN = 0x018A;
constexpr uint32_t LB_GETCOUNT = 0x018B;
constexpr uint32_t LB_FINDSTRING = 0x018F;
constexpr uint32_t LB_SETITEMDATA = 0x019A;

constexpr intptr_t kControlError = -1;  // CB_ERR and LB_ERR

}  // namespace platform
