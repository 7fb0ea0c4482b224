#include "host/Script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "HostFixture.h"
#include "ScriptedProgram.h"
#include "host/Gdi.h"
#include "host/Keys.h"
#include "host/MessageBoxes.h"
#include "host/Png.h"
#include "host/Screen.h"
#include "host/System.h"

namespace host::testing {
namespace {

TEST(ScriptParseTest, CommandsExpandIntoTimedActions) {
  std::string error;
  auto script = ScriptPlayer::parse(
      "# a comment\n"
      "100 key down LEFT\n"
      "+50 key up left   # relative time\n"
      "200 button B\n"
      "200 tap 10 20\n"
      "300 stylus move 5 6\n"
      "answer yes\n"
      "400 screenshot out/a.png\n"
      "500 quit\n",
      &error);
  ASSERT_TRUE(script) << error;
  EXPECT_EQ(script->actionCount(), 9u);
  EXPECT_EQ(*script->nextTime(), 100u);
  EXPECT_TRUE(script->takeDue(99).empty());
  auto due = script->takeDue(150);
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[0].input.kind, InputEvent::Kind::KeyDown);
  EXPECT_EQ(due[1].input.kind, InputEvent::Kind::KeyUp);
  EXPECT_EQ(due[1].input.key, VK_LEFT);
  due = script->takeDue(200);
  ASSERT_EQ(due.size(), 4u);  // button down+up, then stylus down+up, in file order
  EXPECT_EQ(due[0].input.key, VK_APP2);
  EXPECT_EQ(due[2].input.kind, InputEvent::Kind::StylusDown);
  EXPECT_EQ(due[3].input.y, 20);
  EXPECT_EQ(script->takeAnswer(), IDYES);
  EXPECT_FALSE(script->takeAnswer());
  due = script->takeDue(10000);
  ASSERT_EQ(due.size(), 3u);
  EXPECT_EQ(due[1].kind, ScriptAction::Kind::Screenshot);
  EXPECT_EQ(due[1].path, "out/a.png");
  EXPECT_EQ(due[2].kind, ScriptAction::Kind::Quit);
  EXPECT_FALSE(script->nextTime());
}

TEST(ScriptParseTest, TypeHoldsShiftForCapitals) {
  std::string error;
  auto script = ScriptPlayer::parse("10 type Ab 1\n", &error);
  ASSERT_TRUE(script) << error;
  std::vector<std::pair<InputEvent::Kind, std::uint32_t>> got;
  for (const ScriptAction& a : script->takeDue(10)) got.push_back({a.input.kind, a.input.key});
  using K = InputEvent::Kind;
  std::vector<std::pair<InputEvent::Kind, std::uint32_t>> expected{
      {K::KeyDown, VK_SHIFT}, {K::KeyDown, 'A'}, {K::KeyUp, 'A'},        {K::KeyUp, VK_SHIFT},
      {K::KeyDown, 'B'},      {K::KeyUp, 'B'},   {K::KeyDown, VK_SPACE}, {K::KeyUp, VK_SPACE},
      {K::KeyDown, '1'},      {K::KeyUp, '1'}};
  EXPECT_EQ(got, expected);
  EXPECT_FALSE(ScriptPlayer::parse("10 type a:b\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("10 type\n", &error));
}

TEST(ScriptParseTest, BadLinesAreReportedWithTheirNumber) {
  std::string error;
  EXPECT_FALSE(ScriptPlayer::parse("10 key LEFT\n5 key RIGHT\n", &error));
  EXPECT_EQ(error, "line 2: time goes backwards");
  EXPECT_FALSE(ScriptPlayer::parse("\n\n10 key NOSUCHKEY\n", &error));
  EXPECT_EQ(error, "line 3: unknown key 'NOSUCHKEY'");
  EXPECT_FALSE(ScriptPlayer::parse("10 button E\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("10 stylus down 5\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("answer maybe\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("soon quit\n", &error));
}

TEST(ScriptParseTest, RawVirtualKeysAndHeldPresses) {
  std::string error;
  auto script = ScriptPlayer::parse(
      "100 vkey 0xC1\n"    // down and up
      "110 vkey down 7\n"  // code 7, not the digit key
      "120 vkey up 7\n"
      "200 vkey 193 hold 250\n"  // up at 450
      "300 key LEFT hold 100\n"  // up at 400
      "300 button B hold 50\n"   // up at 350
      "400 screenshot a.png\n",  // due with LEFT's release, written after it
      &error);
  ASSERT_TRUE(script) << error;
  using K = InputEvent::Kind;
  // Input actions by their kind, the screenshot as kShot.
  constexpr int kShot = -1;
  struct Seen {
    std::uint32_t time;
    int kind;
    std::uint32_t key;
    bool operator==(const Seen&) const = default;
  };
  auto in = [](K kind) { return static_cast<int>(kind); };
  std::vector<Seen> seen;
  for (std::uint32_t t = 0; t <= 500; ++t)
    for (const ScriptAction& a : script->takeDue(t))
      seen.push_back(
          {t, a.kind == ScriptAction::Kind::Input ? in(a.input.kind) : kShot, a.input.key});
  const int down = in(K::KeyDown), up = in(K::KeyUp);
  std::vector<Seen> expected{{100, down, VK_APP1}, {100, up, VK_APP1}, {110, down, 7},
                             {120, up, 7},         {200, down, 193},   {300, down, VK_LEFT},
                             {300, down, VK_APP2}, {350, up, VK_APP2}, {400, up, VK_LEFT},
                             {400, kShot, 0},      {450, up, 193}};
  EXPECT_EQ(seen, expected);

  EXPECT_FALSE(ScriptPlayer::parse("10 vkey LEFT\n", &error));
  EXPECT_EQ(error, "line 1: a virtual key code is a number from 1 to 255, not 'LEFT'");
  EXPECT_FALSE(ScriptPlayer::parse("10 vkey 256\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("10 vkey 0\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("10 vkey 0x\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("10 vkey 12 hold soon\n", &error));
  EXPECT_EQ(error, "line 1: hold needs milliseconds");
  EXPECT_FALSE(ScriptPlayer::parse("10 key down LEFT hold 5\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("10 vkey\n", &error));
  EXPECT_FALSE(ScriptPlayer::parse("10 button A sideways\n", &error));
}

TEST(KeyNamesTest, NumbersAreDecimalOrHexadecimalCodes) {
  EXPECT_EQ(keyCodeFromNumber("193"), VK_APP1);
  EXPECT_EQ(keyCodeFromNumber("0xc1"), VK_APP1);
  EXPECT_EQ(keyCodeFromNumber("010"), 10u);  // no octal
  EXPECT_EQ(keyCodeFromNumber("255"), 255u);
  EXPECT_FALSE(keyCodeFromNumber("256"));
  EXPECT_FALSE(keyCodeFromNumber("0"));
  EXPECT_FALSE(keyCodeFromNumber("-1"));
  EXPECT_FALSE(keyCodeFromNumber("0x-1"));
  EXPECT_FALSE(keyCodeFromNumber("12a"));
  EXPECT_FALSE(keyCodeFromNumber(""));
}

TEST(ScriptParseTest, AFolderOrAMissingFileIsNoScript) {
  std::string error;
  EXPECT_FALSE(ScriptPlayer::load("/tmp", &error));
  EXPECT_EQ(error, "cannot be read");
  EXPECT_FALSE(ScriptPlayer::load("/nonexistent/script.txt", &error));
  EXPECT_EQ(error, "cannot be read");
}

TEST(ScriptParseTest, ResumeStateRoundTrips) {
  auto script = ScriptPlayer::parse("10 key A\n20 key B\nanswer ok\nanswer no\n", nullptr);
  ASSERT_TRUE(script);
  script->takeDue(15);
  script->takeAnswer();
  auto state = parseScriptResume(script->stateForChild(17));
  ASSERT_TRUE(state);
  EXPECT_EQ(state->next, 2u);
  EXPECT_EQ(state->answers, 1u);
  EXPECT_EQ(state->clock, 17u);
  auto child = ScriptPlayer::parse("10 key A\n20 key B\nanswer ok\nanswer no\n", nullptr);
  child->resume(*state);
  EXPECT_EQ(*child->nextTime(), 20u);
  EXPECT_EQ(child->takeAnswer(), IDNO);
  EXPECT_FALSE(parseScriptResume("next=1;clock=2"));
  EXPECT_FALSE(parseScriptResume("next=x;answers=0;clock=2"));
}

TEST(KeyNamesTest, NamesAndTypedCharacters) {
  EXPECT_EQ(keyCodeFromName("left"), VK_LEFT);
  EXPECT_EQ(keyCodeFromName("PageDown"), VK_NEXT);
  EXPECT_EQ(keyCodeFromName("f12"), VK_F1 + 11);
  EXPECT_EQ(keyCodeFromName("q"), static_cast<std::uint32_t>('Q'));
  EXPECT_EQ(keyCodeFromName("7"), static_cast<std::uint32_t>('7'));
  EXPECT_EQ(keyCodeFromName("0x86"), VK_ACTION);
  EXPECT_EQ(keyCodeFromName("C-BUTTON"), VK_APP3);
  EXPECT_FALSE(keyCodeFromName("F13"));
  EXPECT_FALSE(keyCodeFromName(""));
  EXPECT_EQ(characterOfKey('A', false), static_cast<std::uint32_t>('a'));
  EXPECT_EQ(characterOfKey('A', true), static_cast<std::uint32_t>('A'));
  EXPECT_EQ(characterOfKey(VK_RETURN, false), static_cast<std::uint32_t>('\r'));
  EXPECT_EQ(characterOfKey(VK_LEFT, false), 0u);
}

using MessageBoxTest = HostTest;

TEST_F(MessageBoxTest, HeadlessAnswersFirstButtonAndRecordsEveryBox) {
  std::string logPath = "/tmp/skirrow-mb-" + std::to_string(::getpid()) + ".log";
  std::remove(logPath.c_str());
  ::setenv("SKIRROW_MESSAGEBOX_LOG", logPath.c_str(), 1);
  EXPECT_EQ(messageBox(0, "Free memory is low", "Memory Warning", MB_YESNO | MB_ICONEXCLAMATION),
            IDYES);
  EXPECT_EQ(messageBox(0, "Missing file", "Error", MB_OK | MB_ICONSTOP), IDOK);
  ::unsetenv("SKIRROW_MESSAGEBOX_LOG");
  const auto& records = Host::get().messageBoxes().records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].caption, "Memory Warning");
  EXPECT_EQ(records[0].type & 0xF0, MB_ICONEXCLAMATION);
  EXPECT_EQ(records[1].answer, IDOK);
  std::ifstream in(logPath);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "message box [Memory Warning] Free memory is low -> Yes\n"
            "message box [Error] Missing file -> OK\n");
}

TEST_F(MessageBoxTest, ScriptAnswersInOrderAndOnlyWithTheBoxButtons) {
  std::string path = "/tmp/skirrow-mb-script-" + std::to_string(::getpid()) + ".txt";
  std::ofstream(path) << "answer no\nanswer cancel\nanswer yes\n";
  restart("qvga", path);
  Hwnd owner = topLevel("main");
  EXPECT_EQ(messageBox(owner, "Continue?", "Memory Warning", MB_YESNO), IDNO);
  EXPECT_EQ(messageBox(owner, "Game over", "Skirrow", MB_OK), IDOK);  // cancel is not offered
  EXPECT_EQ(messageBox(owner, "Again?", "Skirrow", MB_YESNO), IDYES);
  EXPECT_EQ(messageBox(owner, "Last", "Skirrow", MB_YESNO), IDYES);  // answers used up
  EXPECT_TRUE(wm().isEnabled(owner));
}

class ScriptedSessionTest : public HostTest {
 protected:
  std::string folder = "/tmp/skirrow-session-" + std::to_string(::getpid());

  std::string writeScript(const std::string& run) {
    std::string path = folder + "/" + run + ".txt";
    ::mkdir(folder.c_str(), 0700);
    std::ofstream(path) << "100 key down RIGHT\n"
                           "120 key up RIGHT\n"
                           "+10 key RIGHT\n"
                           "200 tap 40 60\n"
                           "250 button A\n"
                           "300 screenshot "
                        << folder << "/" << run
                        << "-1.png\n"
                           "310 key M\n"
                           "answer no\n"
                           "400 stylus down 200 100\n"
                           "420 stylus move 180 120\n"
                           "440 stylus up 180 120\n"
                           "500 screenshot "
                        << folder << "/" << run
                        << "-2.png\n"
                           "510 quit\n";
    return path;
  }

  std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(ScriptedSessionTest, SameScriptGivesByteIdenticalScreenshots) {
  std::vector<int> answers[2];
  for (int run = 0; run < 2; ++run) {
    restart("qvga", writeScript("run" + std::to_string(run)));
    ScriptedProgram program;
    EXPECT_EQ(program.run(), 0);
    answers[run] = program.answers;
  }
  EXPECT_EQ(answers[0], std::vector<int>{IDNO});
  EXPECT_EQ(answers[1], answers[0]);
  for (int shot = 1; shot <= 2; ++shot) {
    std::string a = bytesOf(folder + "/run0-" + std::to_string(shot) + ".png");
    std::string b = bytesOf(folder + "/run1-" + std::to_string(shot) + ".png");
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, b) << "screenshot " << shot;
  }
  // The input reached the program: the tap left a dot, the square moved and changed colour.
  auto first = readPng(folder + "/run0-1.png");
  ASSERT_TRUE(first);
  auto at = [&](int x, int y) {
    const std::uint8_t* p = &first->rgb[(static_cast<size_t>(y) * 240 + x) * 3];
    return rgb(p[0], p[1], p[2]);
  };
  EXPECT_EQ(at(40, 60), rgb(255, 255, 255));
  int y = 297 / 10 % 280;  // the frame before the screenshot ran at t = 297
  EXPECT_EQ(at(108 + 29, y + 1), rgb(0, 203, 255));
  EXPECT_EQ(at(107, y + 1), rgb(8, 20, 41));
  auto second = readPng(folder + "/run0-2.png");
  ASSERT_TRUE(second);
  const std::uint8_t* dot = &second->rgb[(static_cast<size_t>(100) * 240 + 200) * 3];
  EXPECT_EQ(rgb(dot[0], dot[1], dot[2]), rgb(255, 255, 255));
}

TEST_F(ScriptedSessionTest, StylusPositionsAreDevicePixelsOnAHalfSizeScreen) {
  // A program that is not hi-res aware sees the VGA device at 240x320: a tap at device pixel
  // (200, 300) touches its (100, 150), as the desktop's mouse would.
  ::mkdir(folder.c_str(), 0700);
  std::string path = folder + "/vga.txt";
  std::ofstream(path) << "10 tap 200 300\n20 stylus down 479 639\n";
  HostConfig config;
  config.backend = BackendKind::Headless;
  config.profile = *findProfile("vga");
  config.scriptPath = path;
  config.hiResAware = false;
  Host::restart(config);
  registerRecorder();
  Hwnd w = topLevel("main");
  Message m;
  while (tickCount() < 30)
    if (wm().peekMessage(m, true)) wm().dispatchMessage(m);
  std::vector<std::pair<int, int>> downs;
  for (const Received& r : log)
    if (r.window == w && r.message == WM_LBUTTONDOWN)
      downs.push_back({xOfLParam(r.lParam), yOfLParam(r.lParam)});
  EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{100, 150}, {239, 319}}));

  // Hi-res aware, the same device pixels reach the program unchanged.
  config.hiResAware = true;
  Host::restart(config);
  log.clear();
  registerRecorder();
  w = wm().createWindow(0, "REC", "main", WS_VISIBLE, 0, 0, 480, 640, 0, 0, nullptr);
  while (tickCount() < 30)
    if (wm().peekMessage(m, true)) wm().dispatchMessage(m);
  downs.clear();
  for (const Received& r : log)
    if (r.window == w && r.message == WM_LBUTTONDOWN)
      downs.push_back({xOfLParam(r.lParam), yOfLParam(r.lParam)});
  EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{200, 300}, {479, 639}}));
}

TEST_F(ScriptedSessionTest, AScreenshotThatCannotBeWrittenIsCounted) {
  ::mkdir(folder.c_str(), 0700);
  std::string path = folder + "/shots.txt";
  // A file stands where the screenshot's folder would have to be.
  std::ofstream(folder + "/blocker") << "x";
  std::ofstream(path) << "10 screenshot " << folder << "/blocker/a.png\n20 screenshot " << folder
                      << "/ok.png\n";
  restart("qvga", path);
  Message m;
  while (tickCount() < 30) wm().peekMessage(m, true);
  EXPECT_EQ(Host::get().records().failedScreenshots, 1);
  EXPECT_TRUE(readPng(folder + "/ok.png"));
}

TEST_F(ScriptedSessionTest, ChildProcessResumesScriptWhereParentStopped) {
  std::string path = writeScript("resume");
  restart("qvga", path);
  Hwnd w = topLevel("main");
  (void)w;
  Message m;
  while (tickCount() < 260)
    if (wm().peekMessage(m, true)) wm().dispatchMessage(m);
  std::string state = Host::get().script()->stateForChild(tickCount());

  HostConfig config;
  config.backend = BackendKind::Headless;
  config.profile = *findProfile("qvga");
  config.scriptPath = path;
  config.scriptState = state;
  config.clockStart = parseScriptResume(state)->clock;
  Host::restart(config);
  EXPECT_EQ(tickCount(), config.clockStart);
  EXPECT_EQ(*Host::get().script()->nextTime(), 300u);  // the first screenshot comes next
  EXPECT_EQ(Host::get().script()->takeAnswer(), IDNO);
}

}  // namespace
}  // namespace host::testing
