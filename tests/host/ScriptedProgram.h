// A small program for scripted sessions: a square that arrow keys move and time moves down, a
// dot where the stylus taps, the square's colour changing with button A, a message box on M.
#pragma once

#include <string>
#include <vector>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/MessageBoxes.h"
#include "host/System.h"
#include "host/WindowManager.h"

namespace host::testing {

class ScriptedProgram {
 public:
  ScriptedProgram() {
    WindowManager& wm = Host::get().windows();
    WindowClass c;
    c.name = "PROGRAM";
    c.proc = [this](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
      return handle(w, m, wp, lp);
    };
    wm.registerClass(c);
    window_ = wm.createWindow(0, "PROGRAM", "Program", WS_VISIBLE, 0, 0, 240, 320, 0, 0, nullptr);
    wm.setTimer(window_, 1, 33);
  }

  // Runs the message loop until quit; returns the exit code.
  int run() {
    Message m;
    WindowManager& wm = Host::get().windows();
    while (wm.getMessage(m)) {
      wm.translateMessage(m);
      wm.dispatchMessage(m);
    }
    return static_cast<int>(m.wParam);
  }

  std::vector<int> answers;

 private:
  std::intptr_t handle(Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
    WindowManager& wm = Host::get().windows();
    Gdi& gdi = Host::get().gdi();
    switch (m) {
      case WM_KEYDOWN:
        if (wp == VK_LEFT) x_ -= 4;
        if (wp == VK_RIGHT) x_ += 4;
        if (wp == VK_APP1)
          color_ = color_ == rgb(255, 200, 0) ? rgb(0, 200, 255) : rgb(255, 200, 0);
        if (wp == 'M') answers.push_back(messageBox(w, "Quit now?", "Question", MB_YESNO));
        return 0;
      case WM_LBUTTONDOWN:
        dots_.push_back({xOfLParam(lp), yOfLParam(lp)});
        return 0;
      case WM_TIMER: {
        // Time moves the square down: the same script gives the same frames.
        int y = static_cast<int>(tickCount() / 10 % 280);
        Hdc dc = wm.getDC(w);
        Hbrush background = gdi.createSolidBrush(rgb(10, 20, 40));
        Hbrush square = gdi.createSolidBrush(color_);
        Hbrush dot = gdi.createSolidBrush(rgb(255, 255, 255));
        gdi.fillRect(dc, {0, 0, 240, 320}, background);
        gdi.fillRect(dc, {x_, y, x_ + 30, y + 30}, square);
        for (Point p : dots_) gdi.fillRect(dc, {p.x - 2, p.y - 2, p.x + 3, p.y + 3}, dot);
        gdi.setBkMode(dc, TRANSPARENT);
        gdi.setTextColor(dc, rgb(255, 255, 255));
        gdi.extTextOut(dc, 4, 300, 0, nullptr, "t=" + std::to_string(tickCount()));
        for (Hbrush b : {background, square, dot}) gdi.deleteObject(b);
        wm.releaseDC(w, dc);
        return 0;
      }
      case WM_DESTROY:
        wm.postQuitMessage(0);
        return 0;
      default:
        return wm.defWindowProc(w, m, wp, lp);
    }
  }

  Hwnd window_ = 0;
  int x_ = 100;
  ColorRef color_ = rgb(255, 200, 0);
  std::vector<Point> dots_;
};

}  // namespace host::testing
