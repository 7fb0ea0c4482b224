#include "host/sdl/SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "host/Cursor.h"
#include "host/Keys.h"
#include "host/MessageBoxes.h"
#include "host/Screen.h"
#include "host/System.h"
#include "host/sdl/SdlAudio.h"

namespace host {

struct SdlBackend::State {
  DeviceProfile profile;
  std::uint32_t clockStart = 0;
  std::uint32_t ticksAtStart = 0;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  SDL_GameController* controller = nullptr;
  SDL_Cursor* cursors[3] = {nullptr, nullptr, nullptr};
  SDL_Keycode appKeys[4] = {SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_UNKNOWN};
  Screen* lastScreen = nullptr;
  int logicalScale = 1;
  bool fullScreen = false;
  bool mouseDown = false;
  bool exposed = true;
  int scale = 1;

  ~State() {
    if (controller) SDL_GameControllerClose(controller);
    for (SDL_Cursor* c : cursors)
      if (c) SDL_FreeCursor(c);
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS);
  }
};

namespace {

std::uint32_t virtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<std::uint32_t>(key - SDLK_F1);
  switch (key) {
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_END:
      return VK_END;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_INSERT:
      return VK_INSERT;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    default:
      return 0;
  }
}

std::uint32_t virtualKeyOfButton(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return VK_APP1;
    case SDL_CONTROLLER_BUTTON_B:
      return VK_APP2;
    case SDL_CONTROLLER_BUTTON_X:
      return VK_APP3;
    case SDL_CONTROLLER_BUTTON_Y:
      return VK_APP4;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return VK_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return VK_DOWN;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return VK_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return VK_RIGHT;
    case SDL_CONTROLLER_BUTTON_START:
      return VK_RETURN;
    case SDL_CONTROLLER_BUTTON_BACK:
      return VK_ESCAPE;
    default:
      return 0;
  }
}

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::create(const DeviceProfile& profile,
                                               std::uint32_t clockStart, int logicalScale) {
  // On X11, SDL would otherwise set up GLX for its windows, and with GLX loaded the program's
  // OpenGL ES calls (made on the EGL bridge's context) no longer reach that context: the 3D
  // view stayed empty. Through EGL both live side by side.
  SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
  // SDL's own drawing stays in software (its renderer and the window surface under it): GL
  // there would keep a context of its own on this thread and, believing it still current,
  // make its calls into the bridge's context once the 3D driver has bound that (the 3D view
  // then stayed empty after its first frame). Scaling one small screen picture needs no GPU.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return nullptr;
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  auto state = std::make_unique<State>();
  state->profile = profile;
  state->clockStart = clockStart;
  state->logicalScale = logicalScale;
  state->ticksAtStart = SDL_GetTicks();
  // Largest integer scale that fits the usable desktop, unless one is asked for.
  int scale = 1;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
    scale = std::max(
        1, std::min((usable.w - 16) / profile.screenWidth, (usable.h - 48) / profile.screenHeight));
  if (const char* forced = std::getenv("SKIRROW_SCALE"); forced && std::atoi(forced) > 0)
    scale = std::atoi(forced);
  state->scale = scale;
  state->window = SDL_CreateWindow("Skirrow", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   profile.screenWidth * scale, profile.screenHeight * scale,
                                   SDL_WINDOW_RESIZABLE);
  if (!state->window) return nullptr;
  state->renderer = SDL_CreateRenderer(state->window, -1, SDL_RENDERER_SOFTWARE);
  if (!state->renderer) return nullptr;
  // The logical size keeps the picture at an integer scale, centred, and maps mouse positions
  // to device pixels for us.
  SDL_RenderSetLogicalSize(state->renderer, profile.screenWidth, profile.screenHeight);
  SDL_RenderSetIntegerScale(state->renderer, SDL_TRUE);
  state->texture =
      SDL_CreateTexture(state->renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                        profile.screenWidth, profile.screenHeight);
  if (!state->texture) return nullptr;
  for (int i = 0; i < 4; ++i)
    state->appKeys[i] = SDL_GetKeyFromName(profile.appButtonKeys[i].c_str());
  SDL_DisableScreenSaver();
  return std::unique_ptr<SdlBackend>(new SdlBackend(std::move(state)));
}

SdlBackend::SdlBackend(std::unique_ptr<State> state) : state_(std::move(state)) {}

SdlBackend::~SdlBackend() = default;

AudioMode SdlBackend::startAudio(WaveMixer& mixer) {
  audio_ = SdlAudio::open(mixer);
  return audio_ ? AudioMode::kRealTime : AudioMode::kNone;
}

void SdlBackend::stopAudio() {
  audio_.reset();
}

std::uint32_t SdlBackend::now() {
  return state_->clockStart + (SDL_GetTicks() - state_->ticksAtStart);
}

void SdlBackend::sleep(std::uint32_t ms) {
  SDL_Delay(ms);
}

int SdlBackend::scale() const {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(state_->renderer, &w, &h);
  return std::max(1, std::min(w / state_->profile.screenWidth, h / state_->profile.screenHeight));
}

bool SdlBackend::fullScreen() const {
  return state_->fullScreen;
}

void SdlBackend::pushKey(const std::string& keyName, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.windowID = SDL_GetWindowID(state_->window);
  e.key.keysym.sym = SDL_GetKeyFromName(keyName.c_str());
  e.key.keysym.scancode = SDL_GetScancodeFromKey(e.key.keysym.sym);
  SDL_PushEvent(&e);
}

void SdlBackend::pushMouseButton(int windowX, int windowY, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = SDL_GetWindowID(state_->window);
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = windowX;
  e.button.y = windowY;
  SDL_PushEvent(&e);
}

void SdlBackend::poll(std::vector<InputEvent>& out, std::uint32_t waitMs) {
  SDL_Event event;
  if (waitMs > 0 && SDL_WaitEventTimeout(&event, static_cast<int>(waitMs))) translate(&event, out);
  while (SDL_PollEvent(&event)) translate(&event, out);
  // A window that was uncovered or resized shows the last picture again.
  if (state_->exposed && state_->lastScreen) {
    state_->exposed = false;
    present(*state_->lastScreen);
  }
}

void SdlBackend::translate(const void* raw, std::vector<InputEvent>& out) {
  const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
  InputEvent in;
  // Window pixels are physical device pixels; the program sees logical ones.
  int k = state_->logicalScale;
  auto clampX = [&](int x) { return std::clamp(x / k, 0, state_->profile.screenWidth / k - 1); };
  auto clampY = [&](int y) { return std::clamp(y / k, 0, state_->profile.screenHeight / k - 1); };
  switch (e.type) {
    case SDL_QUIT:
      in.kind = InputEvent::Kind::Close;
      out.push_back(in);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) {
        in.kind = InputEvent::Kind::Minimize;
        out.push_back(in);
      } else if (e.window.event == SDL_WINDOWEVENT_RESTORED) {
        in.kind = InputEvent::Kind::Restore;
        out.push_back(in);
      }
      state_->exposed = true;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      bool down = e.type == SDL_KEYDOWN;
      SDL_Keycode key = e.key.keysym.sym;
      if (down && key == SDLK_RETURN && (e.key.keysym.mod & KMOD_ALT)) {
        state_->fullScreen = !state_->fullScreen;
        SDL_SetWindowFullscreen(state_->window,
                                state_->fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        break;
      }
      if (key == SDLK_PRINTSCREEN) {
        if (down) saveScreenshot();
        break;
      }
      std::uint32_t vk = 0;
      for (int i = 0; i < 4; ++i)
        if (key == state_->appKeys[i]) vk = VK_APP1 + static_cast<std::uint32_t>(i);
      if (!vk) vk = virtualKeyOf(key);
      if (!vk) break;
      in.kind = down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
      in.key = vk;
      out.push_back(in);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT) break;
      in.kind =
          e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::StylusDown : InputEvent::Kind::StylusUp;
      in.x = clampX(e.button.x);
      in.y = clampY(e.button.y);
      out.push_back(in);
      break;
    case SDL_MOUSEMOTION:
      if (!(e.motion.state & SDL_BUTTON_LMASK)) break;
      in.kind = InputEvent::Kind::StylusMove;
      in.x = clampX(e.motion.x);
      in.y = clampY(e.motion.y);
      out.push_back(in);
      break;
    case SDL_CONTROLLERDEVICEADDED:
      if (!state_->controller) state_->controller = SDL_GameControllerOpen(e.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      in.key = virtualKeyOfButton(e.cbutton.button);
      if (!in.key) break;
      in.kind =
          e.type == SDL_CONTROLLERBUTTONDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
      out.push_back(in);
      break;
    default:
      break;
  }
}

bool SdlBackend::present(Screen& screen) {
  state_->lastScreen = &screen;
  SDL_UpdateTexture(state_->texture, nullptr, screen.physicalPixels(), screen.physicalWidth() * 2);
  SDL_SetRenderDrawColor(state_->renderer, 0, 0, 0, 255);
  SDL_RenderClear(state_->renderer);
  SDL_RenderCopy(state_->renderer, state_->texture, nullptr, nullptr);
  SDL_RenderPresent(state_->renderer);
  return true;
}

void SdlBackend::saveScreenshot() {
  if (!state_->lastScreen) return;
  char name[64];
  std::time_t now = std::time(nullptr);
  std::strftime(name, sizeof name, "/skirrow-%Y%m%d-%H%M%S.png", std::localtime(&now));
  std::string path = picturesFolder() + name;
  if (state_->lastScreen->writePng(path))
    std::fprintf(stderr, "skirrow: screenshot %s\n", path.c_str());
}

std::optional<int> SdlBackend::askMessageBox(const MessageBoxRequest& request) {
  std::vector<int> answers = buttonsOf(request.type);
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (size_t i = 0; i < answers.size(); ++i) {
    Uint32 flags = 0;
    if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (answers[i] == IDCANCEL || answers[i] == IDNO)
      flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons.push_back({flags, answers[i], answerName(answers[i])});
  }
  Uint32 icon = SDL_MESSAGEBOX_INFORMATION;
  if ((request.type & 0xF0) == MB_ICONSTOP) icon = SDL_MESSAGEBOX_ERROR;
  if ((request.type & 0xF0) == MB_ICONEXCLAMATION) icon = SDL_MESSAGEBOX_WARNING;
  SDL_MessageBoxData data{icon,
                          state_->window,
                          request.caption.c_str(),
                          request.text.c_str(),
                          static_cast<int>(buttons.size()),
                          buttons.data(),
                          nullptr};
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) return std::nullopt;
  return pressed;
}

void SdlBackend::raise() {
  SDL_RestoreWindow(state_->window);
  SDL_RaiseWindow(state_->window);
}

void SdlBackend::showCursor(int id) {
  SDL_SystemCursor shapes[3] = {SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_IBEAM,
                                SDL_SYSTEM_CURSOR_HAND};
  int index = id == IDC_IBEAM ? 1 : id == IDC_HAND ? 2 : 0;
  // Made once and kept: SDL needs the cursor alive while it is shown.
  if (!state_->cursors[index]) state_->cursors[index] = SDL_CreateSystemCursor(shapes[index]);
  if (state_->cursors[index]) SDL_SetCursor(state_->cursors[index]);
}

}  // namespace host
