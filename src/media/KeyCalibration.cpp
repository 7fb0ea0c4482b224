#include "media/KeyCalibration.h"

#include <cstdio>
#include <memory>

#include "host/Gapi.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "media/DialogParts.h"
#include "media/GuiCanvas.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "platform/ProcessSwitches.h"

namespace media {
namespace {

using platform::scaleInt;

constexpr const char* kFrame = "sptFrame_KEYCALIBRATION";
constexpr const char* kTitle = "sptTitle_KEYCALIBRATION";
constexpr const char* kMessage = "sptMessage_KEYCALIBRATION";
constexpr const char* kLayout = "sptLayout_KEYCALIBRATION";
constexpr const char* kCodes = "sptCodes_KEYCALIBRATION";
constexpr const char* kOk = "btnOk_KEYCALIBRATION";
constexpr const char* kCancel = "btnCancel_KEYCALIBRATION";
constexpr int kParts = 9;

constexpr const char* kIntroduction =
    "Certain Pocket PCs use non-standard key codes. Button Calibration will retrieve the real key "
    "codes of your Pocket PC, which guarantees the software will get correct key codes.\nThis "
    "procedure will not change anything on your device and is highly recommended.";
constexpr const char* kTryAgain = "Do not press and hold, try again.";

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kPartFill = 0x323232;
constexpr uint32_t kYellow = 0xFFFF00;

// The device outline: buttons A..D, then the pad's left, right, up, down and centre.
struct Part {
  int x, y, w, h;
  const char* label;
};
constexpr Part kDeviceParts[kParts] = {
    {20, 120, 20, 18, "A"},  {50, 120, 20, 18, "B"}, {160, 120, 20, 18, "C"},
    {190, 120, 20, 18, "D"}, {94, 119, 6, 20, ""},   {128, 119, 6, 20, ""},
    {104, 110, 20, 6, ""},   {104, 142, 20, 6, ""},  {106, 122, 16, 14, ""},
};

std::string partName(int i) {
  return "sptBtn" + std::to_string(i) + "_KEYCALIBRATION";
}

}  // namespace

KeyCalibration::KeyCalibration(GuiCanvas& canvas, uint32_t textColor,
                               std::string_view directory, std::string_view backgroundName,
                               std::string_view /*keyName*/, std::string_view bigKeyName,
                               CalibrationCallback* callback)
    : canvas_(canvas),
      textColor_(textColor & 0xFFFFFF),
      directory_(directory),
      backgroundName_(backgroundName),
      bigKeyName_(bigKeyName),
      callback_(callback) {}

KeyCalibration::~KeyCalibration() {
  if (open_) release();
}

SceneSprite* KeyCalibration::dialogScene() const {
  return dynamic_cast<SceneSprite*>(canvas_.findScene(kSceneName));
}

Sprite* KeyCalibration::element(std::string_view name) const {
  SceneSprite* scene = dialogScene();
  return scene ? scene->findSprite(name) : nullptr;
}

void KeyCalibration::build() {
  Image* background = dialogPicture(canvas_.runtime(), directory_, backgroundName_);
  Image* bigKey = dialogPicture(canvas_.runtime(), directory_, bigKeyName_);
  auto sprite = [](int x, int y, int w, int h) {
    return std::make_unique<Sprite>(scaleInt(x), scaleInt(y), scaleInt(w), scaleInt(h));
  };
  SceneSprite* scene = addDialogScene(canvas_, kSceneName, background, kFrame, textColor_);

  auto title = sprite(5, 6, 220, 14);
  title->setText("Pocket PC Button Calibration");
  title->textWeight = 700;
  title->textSize = scaleInt(16);
  title->textAlignment = Sprite::kCenter;
  title->textColor = textColor_;
  scene->addSprite(std::move(title), kTitle);

  auto message = sprite(10, 22, 210, 145);
  message->textColor = textColor_;
  scene->addSprite(std::move(message), kMessage);

  auto layout = sprite(10, 105, 210, 62);
  layout->color = 0x000000;
  layout->frameColor = 0xFFFFFF;
  scene->addSprite(std::move(layout), kLayout);

  auto codes = sprite(15, 150, 200, 16);
  codes->brightColor = 0x202020;
  codes->textColor = kGrey;
  codes->textSize = scaleInt(14);
  codes->textAlignment = Sprite::kCenter;
  scene->addSprite(std::move(codes), kCodes);

  for (int i = 0; i < kParts; ++i) {
    const Part& p = kDeviceParts[i];
    auto part = sprite(p.x, p.y, p.w, p.h);
    part->color = kPartFill;
    part->frameColor = kGrey;
    part->textColor = kYellow;
    part->textSize = scaleInt(16);
    part->textAlignment = Sprite::kCenter;
    part->setText(p.label);
    scene->addSprite(std::move(part), partName(i));
  }

  scene->addSprite(commandKey(91, 170, 48, 22, "Start", bigKey, textColor_, 2), kOk);
  scene->addSprite(commandKey(150, 170, 48, 22, "Cancel", bigKey, textColor_, 2), kCancel);
}

void KeyCalibration::showLayout(bool on) {
  if (Sprite* layout = element(kLayout)) layout->visible = on;
  for (int i = 0; i < kParts; ++i) {
    Sprite* part = element(partName(i));
    if (!part) continue;
    part->visible = on;
    if (on && i < 4) {
      part->frameColor = kGrey;
      part->color = kPartFill;
      part->textColor = kYellow;
    }
  }
  if (!on) return;
  if (Sprite* ok = element(kOk)) ok->setText("Start");
  if (Sprite* cancel = element(kCancel)) cancel->setText("Cancel");
}

bool KeyCalibration::openCalibration() {
  if (!host::Host::get().gapi().inputOpen()) return false;
  if (!dialogScene()) build();
  SceneSprite* scene = dialogScene();
  if (!scene) return false;
  // A dialog opened again after a cancel starts from its introduction, with its first labels.
  step_ = 0;
  Sprite* ok = element(kOk);
  Sprite* cancel = element(kCancel);
  if (ok) {
    ok->visible = true;
    ok->setText("Start");
  }
  if (cancel) {
    cancel->visible = true;
    cancel->setText("Cancel");
  }
  showLayout(false);
  if (Sprite* codes = element(kCodes)) {
    codes->status = 0;
    codes->setText("Pocket PC Hardware Buttons");
  }
  if (Sprite* message = element(kMessage)) {
    message->setText(kIntroduction);
    message->textSize = scaleInt(16);
  }

  if (!open_) {
    savedModal_ = canvas_.topSceneOnly;
    savedListener_ = canvas_.mouseListener();
    savedKeyListener_ = canvas_.keyListener();
    canvasWasActive_ = canvas_.isActive();
  }
  canvas_.topSceneOnly = true;
  packed_.fill(0);
  downCode_.fill(0);
  upCode_.fill(0);
  canvas_.setMouseListener(this);
  canvas_.setKeyListener(this);
  complete_ = downSeen_ = upSeen_ = false;
  scene->visible = true;
  canvas_.addPreFrameListener(this);
  // Frames (and with them the timing of presses) run while the dialog is up.
  if (!canvas_.isActive()) canvas_.setActive(true);
  open_ = true;
  return true;
}

bool KeyCalibration::isCalibrationUp() const {
  SceneSprite* scene = dialogScene();
  return scene && scene->visible;
}

void KeyCalibration::onMouse(platform::Window&, uint32_t message, uintptr_t, int, int) {
  if (!open_) return;
  auto* pressed = dynamic_cast<Sprite*>(canvas_.pressedSprite());
  Sprite* ok = element(kOk);
  Sprite* cancel = element(kCancel);
  if (!pressed || (pressed != ok && pressed != cancel)) return;
  if (message == host::WM_LBUTTONDOWN) {
    goHome(*pressed, 1);
    return;
  }
  if (message != host::WM_LBUTTONUP) return;
  goHome(*pressed, 0);
  if (pressed == cancel)
    finish(false);
  else if (step_ == kSummaryStep && complete_)
    finish(true);
  else
    nextStep();
}

void KeyCalibration::nextStep() {
  Sprite* message = element(kMessage);
  Sprite* ok = element(kOk);
  if (step_ == kSummaryStep) {
    std::string text =
        "\nCongratulations! The button calibration procedure is finished and all key codes have "
        "been retrieved:\n";
    for (int i = 0; i < 4; ++i) {
      packed_[i] = downCode_[i] << 16 | (upCode_[i] & 0xFFFF);
      char line[64];
      std::snprintf(line, sizeof line, "     button %c code: %u / %u\n", 'A' + i, downCode_[i],
                    upCode_[i]);
      text += line;
    }
    if (message) message->setText(text);
    if (ok) {
      ok->setText("Ok");
      ok->visible = true;
    }
    if (Sprite* cancel = element(kCancel)) cancel->visible = false;
    showLayout(false);
    complete_ = true;
    return;
  }
  if (step_ == 0) {
    showLayout(true);
    if (ok) ok->setText("Next");
  }
  ++step_;
  char text[160];
  std::snprintf(text, sizeof text,
                "[Step %d]\nClick hardware button %c now. \n\n(note:do not hold the button, do not "
                "tap screen with stylus.)",
                step_, 'A' + step_ - 1);
  if (message) message->setText(text);
  if (ok) ok->visible = false;
  downSeen_ = upSeen_ = false;
  holdTime_ = afterUpTime_ = 0.0f;
  if (Sprite* previous = step_ > 1 ? element(partName(step_ - 2)) : nullptr) {
    previous->frameColor = kGrey;
    previous->textColor = kGrey;
    previous->color = kPartFill;
  }
  if (Sprite* current = element(partName(step_ - 1))) {
    current->color = kGrey;
    current->frameColor = 0xFFFFFF;
  }
}

void KeyCalibration::onKey(platform::Window&, uint32_t message, uint32_t key) {
  if (!open_ || step_ < 1 || complete_ || key == kIgnoredKey) return;
  const int button = step_ - 1;
  Sprite* codes = element(kCodes);
  if (message == host::WM_KEYDOWN) {
    // Auto-repeat before the up overwrites the code; downs after it wait for the next try.
    if (upSeen_) return;
    downSeen_ = true;
    downCode_[button] = key;
    if (codes) codes->status = codes->status ? 0 : 1;
  } else if (message == host::WM_KEYUP) {
    // The press is the first down and its up: an up whose down this step never saw (a button
    // still held from the step before) or a second up is not part of it.
    if (!downSeen_ || upSeen_) return;
    upCode_[button] = key;
    upSeen_ = true;
    if (codes) {
      codes->status = 0;
      char text[48];
      std::snprintf(text, sizeof text, "Key Down/Up: %u/%u", downCode_[button], key);
      codes->setText(text);
    }
  }
}

void KeyCalibration::onFrame(scene::Canvas&, float seconds) {
  if (!open_ || complete_ || !downSeen_) return;
  if (!upSeen_) {
    holdTime_ += seconds;
    if (holdTime_ > kCancelHold) finish(false);
    return;
  }
  afterUpTime_ += seconds;
  if (afterUpTime_ <= kSettleTime) return;
  const int button = step_ - 1;
  if (holdTime_ <= kLongestPress && downCode_[button] >= kLowestCode &&
      upCode_[button] >= kLowestCode) {
    nextStep();
    return;
  }
  if (Sprite* message = element(kMessage)) message->setText(kTryAgain);
  downSeen_ = upSeen_ = false;
  holdTime_ = afterUpTime_ = 0.0f;
}

void KeyCalibration::release() {
  canvas_.topSceneOnly = savedModal_;
  canvas_.setMouseListener(savedListener_);
  canvas_.setKeyListener(savedKeyListener_);
  if (SceneSprite* scene = dialogScene()) scene->visible = false;
  canvas_.removePreFrameListener(this);
  if (!canvasWasActive_) canvas_.setActive(false);
  open_ = false;
}

void KeyCalibration::finish(bool ok) {
  release();
  // Last: the page may destroy the dialog from its callback.
  if (callback_) callback_->calibrationDone(ok, packed_);
}

std::vector<KeyPair> KeyCalibration::buildMapping() const {
  std::vector<KeyPair> pairs;
  if (!complete_) return pairs;
  auto add = [&pairs](uint32_t code, uint32_t standard) {
    KeyPair pair{code, standard};
    if (code == standard) return;
    for (const KeyPair& known : pairs)
      if (known == pair) return;
    pairs.push_back(pair);
  };
  for (int i = 0; i < 4; ++i) {
    if (packed_[i] == 0) continue;
    const uint32_t standard = kFirstStandardCode + static_cast<uint32_t>(i);
    add(packed_[i] >> 16, standard);
    add(packed_[i] & 0xFFFF, standard);
  }
  return pairs;
}

bool KeyCalibration::saveMapping(std::string_view directory, std::string_view templateName) const {
  return media::saveMapping(directory, templateName, buildMapping());
}

}  // namespace media
