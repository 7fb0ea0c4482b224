// KeyCalibration: the modal dialog that finds the key codes a device sends for its four
// application buttons.
//
// The dialog is a sprite scene built in code on first opening ("scene_KEYCALIBRATION", its
// elements named "..._KEYCALIBRATION", laid out in pixels of the 240-pixel design width and
// scaled with the screen) and laid over the page. It shows an introduction, then asks for the
// buttons A, B, C and D one at a time, and ends with a summary of the codes it saw:
//
// - a press counts once its key has been up for 0.9 s, when it was held at most 1.2 s and both
//   its down and up codes are at least 65; otherwise the step starts over with "Do not press
//   and hold, try again.";
// - a button held longer than 3 s cancels the whole calibration, while it is still down;
// - key code 132 is ignored; auto-repeated downs before the up overwrite the down code, downs
//   after it are ignored until the step starts over, and an up without its down in this step is
//   ignored.
//
// While open the dialog is the page's stylus and key listener (so it sees the codes the device
// sends, before any key map), runs a per-frame check as a pre-frame listener, makes only the top
// scene take the stylus, and keeps the page running frames. Ok ("Start", "Next", "Ok") and
// Cancel are its buttons. When it closes the page gets all of that back and the callback hears
// the outcome. buildMapping() then gives the pairs to store (see KeyMapping.h).
//
// The dialog opens only while the Game API's input is open: the page opens it as the display
// layer does, with engine3d::GapiDisplay::openGapi(window, false, true), which also makes the
// application buttons the standard codes 193..196.
//
// The scene belongs to the page (a template that replaces the page's content removes it and the
// next opening builds it again); the dialog itself is owned by the page that opens it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/KeyMapping.h"
#include "platform/Window.h"
#include "scene/Canvas.h"

namespace media {

class GuiCanvas;

class Image;
class SceneSprite;
class Sprite;

// Told when the dialog closes: `ok` after the summary's Ok, false for Cancel or a held button.
// `codes` holds, per button A..D, down code << 16 | up code (0 for a button not recorded).
struct CalibrationCallback {
  virtual ~CalibrationCallback() = default;
  virtual void calibrationDone(bool ok, const std::array<uint32_t, 4>& codes) = 0;
};

class KeyCalibration : public platform::MouseListener,
                       public platform::KeyListener,
                       public scene::FrameListener {
 public:
  static constexpr const char* kSceneName = "scene_KEYCALIBRATION";
  static constexpr uint32_t kFirstStandardCode = 193;  // button A; B..D follow
  static constexpr uint32_t kIgnoredKey = 132;
  static constexpr uint32_t kLowestCode = 65;
  static constexpr float kLongestPress = 1.2f;  // seconds a press may be held
  static constexpr float kCancelHold = 3.0f;    // seconds held that cancel
  static constexpr float kSettleTime = 0.9f;    // seconds after the up before a press counts
  static constexpr int kSummaryStep = 4;

  // Titles and message in `textColor` (0x00RRGGBB; the frame and background are inverted when
  // it is dark); the background and big-key pictures come from `directory` when the scene is
  // built (an empty or missing name: drawn plainly). The small key picture of the dialogs'
  // shared set is taken for symmetry with the input pad; this layout has no small keys.
  // `callback` is borrowed and may be null.
  KeyCalibration(GuiCanvas& canvas, uint32_t textColor, std::string_view directory,
                 std::string_view backgroundName, std::string_view keyName,
                 std::string_view bigKeyName, CalibrationCallback* callback);
  // An open dialog gives the page back what it took, without calling the callback.
  ~KeyCalibration() override;
  KeyCalibration(const KeyCalibration&) = delete;
  KeyCalibration& operator=(const KeyCalibration&) = delete;

  // Shows the introduction (building the scene first when the page has none). False, and
  // nothing happens, while the Game API's input is closed.
  bool openCalibration();
  // The scene's visibility; false when it was never built.
  bool isCalibrationUp() const;

  // The pairs to store after a completed calibration: for button i (standard code 193 + i) that
  // was recorded, its down code and then its up code, each when it differs from the standard
  // code and is not listed yet. Empty before completion and for a device that sends the
  // standard codes.
  std::vector<KeyPair> buildMapping() const;
  // Stores buildMapping() in template `templateName` of `directory` (see media::saveMapping).
  bool saveMapping(std::string_view directory, std::string_view templateName) const;

  // 0 introduction, 1..4 waiting for button A..D; 4 stays for the summary (complete()).
  int step() const { return step_; }
  bool complete() const { return complete_; }
  uint32_t downCode(int button) const { return downCode_[button]; }
  uint32_t upCode(int button) const { return upCode_[button]; }
  const std::array<uint32_t, 4>& codes() const { return packed_; }
  // The dialog's scene and its element `name` (with the suffix), when the page has them.
  SceneSprite* dialogScene() const;
  Sprite* element(std::string_view name) const;

  // A press on Ok or Cancel moves it one pixel down and right; the release acts.
  void onMouse(platform::Window& window, uint32_t message, uintptr_t flags, int x, int y) override;
  // Key downs and ups of the current step.
  void onKey(platform::Window& window, uint32_t message, uint32_t key) override;
  // The timing of the current press.
  void onFrame(scene::Canvas& canvas, float seconds) override;

 private:
  void build();
  void showLayout(bool on);
  void nextStep();
  void finish(bool ok);
  void release();

  GuiCanvas& canvas_;
  uint32_t textColor_;
  std::string directory_;
  std::string backgroundName_;
  std::string bigKeyName_;
  CalibrationCallback* callback_;
  platform::MouseListener* savedListener_ = nullptr;
  platform::KeyListener* savedKeyListener_ = nullptr;
  bool canvasWasActive_ = false;
  bool savedModal_ = false;
  bool open_ = false;
  int step_ = 0;
  std::array<uint32_t, 4> packed_{};
  std::array<uint32_t, 4> downCode_{};
  std::array<uint32_t, 4> upCode_{};
  bool complete_ = false;
  bool downSeen_ = false;
  bool upSeen_ = false;
  float holdTime_ = 0.0f;
  float afterUpTime_ = 0.0f;
};

}  // namespace media
