// The battle page: its template, the HUD pictures, the help card, the training tips, the
// bitmap font of the bonus boxes, and the intro movies.
#include <cmath>
#include <string>
#include <vector>

#include "BmpWriter.h"
#include "Builder.h"
#include "GuiKit.h"
#include "Random.h"
#include "Style.h"
#include "TextRenderer.h"

namespace content {

namespace {

TextStyle style(int size, bool bold, uint32_t color) {
  return TextStyle{size, bold, color, 0xA0000000u};
}

Picture modeFace(const char* line1, const char* line2, bool lit) {
  Picture face = buttonFace(32, 20, "", lit ? ButtonKind::kPrimary : ButtonKind::kTab, lit);
  TextRenderer& text = TextRenderer::get();
  text.drawInBox(face, 0, 1, 32, 9, line1, style(8, true, kText));
  text.drawInBox(face, 0, 9, 32, 9, line2, style(8, true, lit ? kText : kAccentLight));
  return face;
}

void hudPictures(Output& out) {
  putGuiBmp(out, "autospeedmode.bmp", modeFace("AUTO", "speed", false));
  putGuiBmp(out, "maxspeedmode.bmp", modeFace("MAX", "speed", true));
  putGuiBmp(out, "vmode.bmp", modeFace("UP/DN", "climb", false));
  putGuiBmp(out, "hmode.bmp", modeFace("UP/DN", "move", true));

  Picture console(240, 66, kInk);
  console.gradientRect(0, 0, 240, 66, rgb(30, 44, 70), rgb(10, 16, 30));
  console.fillRect(0, 0, 240, 1, kPanelLight);
  panel(console, 3, 2, 80, 62, rgb(16, 40, 28));
  panel(console, 157, 2, 80, 62, rgb(48, 18, 20));
  console.fillRect(86, 1, 68, 64, rgb(0, 30, 0));
  putGuiGif(out, "console.gif", console);

  for (bool left : {true, false}) {
    std::string name = left ? "b_tipl" : "b_tipr";
    putGuiGif(out, name + ".gif", arrowButton(20, left, false));
    putGuiGif(out, name + "_on.gif", arrowButton(20, left, true));
  }

  // The bonus boxes' digits: 16 x 6 cells from the space character on, green on black; the
  // black is the colour key, so glyphs are drawn hard-edged to leave no dark fringe.
  const int cellW = 20, cellH = 28;
  Picture font(16 * cellW, 6 * cellH, rgb(0, 0, 0));
  TextRenderer& text = TextRenderer::get();
  for (int code = 32; code < 128; ++code) {
    int index = code - 32;
    Picture cell(cellW, cellH);
    char glyph[2] = {static_cast<char>(code), 0};
    text.drawInBox(cell, 0, 0, cellW, cellH, glyph, TextStyle{24, true, rgb(80, 255, 90), 0});
    for (int y = 0; y < cellH; ++y)
      for (int x = 0; x < cellW; ++x)
        if (cell.at(x, y).a >= 110)
          font.set(x + (index % 16) * cellW, y + (index / 16) * cellH, rgb(80, 255, 90));
  }
  putGuiGif(out, "fontGreen.gif", font);
}

void helpCard(Output& out) {
  Picture card(240, 230, kInk);
  card.gradientRect(0, 0, 240, 230, rgb(16, 26, 46), rgb(8, 12, 24));
  TextRenderer& text = TextRenderer::get();
  text.drawInBox(card, 0, 4, 240, 20, "CONTROLS", style(16, true, kAccent));
  // The handheld with its pad and buttons.
  card.roundRect(78, 28, 84, 62, 8, rgb(70, 80, 100));
  card.roundRect(84, 32, 72, 34, 3, rgb(120, 200, 230));
  drawHelicopter(card, 120, 50, 36, kPilots[0].color, kPilots[0].trim, 0.3f);
  card.ellipse(120, 78, 7, 7, rgb(30, 34, 44));
  card.ellipse(92, 78, 5, 5, kAccent);
  card.ellipse(148, 78, 5, 5, kTeal);
  text.drawInBox(card, 82, 72, 20, 12, "A", style(8, true, kText));
  text.drawInBox(card, 138, 72, 20, 12, "B", style(8, true, kText));
  const char* rows[][2] = {
      {"Pad left / right", "turn"},        {"Pad up / down", "climb, descend (or fly on)"},
      {"Button A (hold)", "full speed"},   {"Button B, Action", "fire the cannon"},
      {"Q  /  Mate", "fly your teammate"}, {"Z  /  Cam", "cockpit or chase view"},
      {"F1 ... F8", "camera modes"},       {"Esc  /  Quit", "leave the battle"},
  };
  int y = 96;
  for (auto& row : rows) {
    text.drawInBox(card, 8, y, 104, 15, row[0], style(10, true, kAccentLight), Align::kLeft);
    text.drawInBox(card, 112, y, 124, 15, row[1], style(10, false, kText), Align::kLeft);
    y += 16;
  }
  putGuiGif(out, "control_ppc.gif", card);
}

void gameTemplate(Output& out) {
  TemplateWriter t;
  t.comment("Battle page. USE_DEV_COMPT_BMP is set by the page before this file is read.");
  Items view;
  view("type", "Scene3D")("x", 0)("y", 0)("width", 240)("height", 230);
  view.color("ambient", rgb(96, 96, 104)).color("bkgColor", rgb(0, 0, 0));
  t.entry("scene3D", view);
  t.entry("lightSun", Items()("type", "Light")("dir", "(0.35;-1;0.55)")("container", "scene3D")
                          .color("color", rgb(255, 248, 236)));
  t.blank();
  Items gui = sceneItems(0, 230, 240, 90);
  gui("useDeviceCompatibleBitmap", "{USE_DEV_COMPT_BMP}").color("bkgColor", kInk);
  t.entry("sceneGUI", gui);
  struct Tool {
    const char* key;
    const char* label;
    const char* type;
  };
  const Tool tools[6] = {{"cmdInfo", "Info", "button"},       {"autoDemo", "Demo", "button"},
                         {"cmdCamera", "Cam", "button"},      {"cmdTeammate", "Mate", "button"},
                         {"cmdOpenHelp", "Help", "checkbox"}, {"cmdQuitGame", "Quit", "button"}};
  for (int i = 0; i < 6; ++i) {
    ButtonKind kind = i == 5 ? ButtonKind::kDanger : ButtonKind::kSecondary;
    t.entry(tools[i].key,
            buttonItems(out, "sceneGUI", std::string("g_") + tools[i].label, 2 + i * 34, 2, 32, 20,
                        tools[i].label, kind, tools[i].type, 10));
  }
  t.entry("btnSpeedControl", spriteItems("sceneGUI", 206, 2, 32, 20)("GUIType", "button")(
                                 "texture", "autospeedmode.bmp")("bright", "maxspeedmode.bmp"));
  t.entry("sptConsoleBKG", spriteItems("sceneGUI", 0, 24, 240, 66)("texture", "console.gif"));
  t.entry("sptMap", spriteItems("sceneGUI", 88, 26, 64, 62));
  const int barX[4] = {8, 46, 162, 200};
  for (int s = 0; s < 4; ++s) {
    Items bar = spriteItems("sceneGUI", barX[s], 64, 32, 5);
    bar.color("color", s < 2 ? kGood : kBad);
    t.entry("sptHealth" + std::to_string(s), bar);
  }
  t.entry("sptScore0", textItems("sceneGUI", 6, 71, 76, 16, "0", 13, kGood));
  t.entry("sptScore1", textItems("sceneGUI", 158, 71, 76, 16, "0", 13, kBad));
  t.entry("txtAutoDemo",
          textItems("sceneGUI", 88, 27, 64, 12, "AUTO DEMO", 9, rgb(255, 230, 60))("visible", 0));
  t.blank();
  Items training = sceneItems(0, 0, 240, 58);
  training("visible", 0)("useDeviceCompatibleBitmap", "{USE_DEV_COMPT_BMP}")
      .color("bkgColor", kInk);
  t.entry("sceneTraining", training);
  t.entry("txtTraining",
          textItems("sceneTraining", 4, 2, 62, 14, "TRAINING", 10, kAccent, "LEFT")("visible", 0));
  t.entry("sptTipTitile", textItems("sceneTraining", 66, 2, 150, 14, "", 10, kAccentLight, "LEFT"));
  t.entry("sptTipContent", textItems("sceneTraining", 4, 17, 210, 40, "", 10, kText, "LEFT", 400));
  t.entry("btnLastTip", spriteItems("sceneTraining", 218, 4, 20, 20)("GUIType", "button")(
                            "texture", "b_tipl.gif")("bright", "b_tipl_on.gif"));
  t.entry("btnNextTip", spriteItems("sceneTraining", 218, 32, 20, 20)("GUIType", "button")(
                            "texture", "b_tipr.gif")("bright", "b_tipr_on.gif"));
  t.blank();
  Items help = sceneItems(0, 0, 240, 230);
  help("visible", 0)("useDeviceCompatibleBitmap", "{USE_DEV_COMPT_BMP}").color("bkgColor", kInk);
  t.entry("sceneHelp", help);
  t.entry("sptHelpCard", spriteItems("sceneHelp", 0, 0, 240, 230)("texture", "control_ppc.gif"));
  t.blank();
  t.comment("Sounds.");
  const char* sounds[][2] = {{"canon", "canon.wav"},
                             {"remotecanon", "remotecanon.wav"},
                             {"engine", "engine.wav"},
                             {"explosion", "explosion.wav"},
                             {"tip", "tip.wav"},
                             {"gameover", "gameover.wav"},
                             {"collision0", "collision0.wav"},
                             {"collision1", "collision1.wav"},
                             {"collision2", "collision2.wav"}};
  for (auto& sound : sounds) t.entry(sound[0], Items()("type", "WaveSound")("src", sound[1]));
  t.blank();
  t.entry("fontGreen",
          Items()("type", "BitmapFont")("bitmap", "fontGreen.gif")("columns", 16)("rows", 6)(
              "startCode", 32)("caseConvertion", 0)("transparentColor", "(0;0;0)"));
  out.putText(guiPath("GameCanvas.properties"), t.text());
}

void trainingTips(Output& out) {
  const char* tips[][2] = {
      {"Welcome aboard",
       "This is a training flight. Nobody can get hurt. Tap the arrows on the right for the next "
       "tip."},
      {"Turning", "Hold the pad left or right to turn. Short taps make small corrections."},
      {"Climbing", "Push the pad up to climb and down to descend. Stay clear of the ceiling lamp."},
      {"Flying at MAX Speed",
       "Hold button A to fly at full speed. The speed button in the bar lights up while you do."},
      {"Attack (b)",
       "Press button B or Action to fire. The cannon needs a moment to cool between bursts."},
      {"Manual flight",
       "In manual control the pad moves you forward and back while button A is held."},
      {"Your teammate",
       "Tap Mate or press Q to take over your wingman. Your own helicopter flies on by itself."},
      {"Cameras", "Tap Cam or press Z for the cockpit view. F1 to F8 choose the other cameras."},
      {"The radar",
       "The map in the middle of the bar shows everyone: green is your team and red the enemy."},
      {"Bonus flyers",
       "Shoot the little flyers to win their box. A number adds to your score and a red cross "
       "repairs you."},
      {"Walls and furniture",
       "Bumping into things costs health. Fly around the table legs and not through them."},
      {"Landing", "Descend onto the floor or a shelf to land. Climb hard to take off again."},
      {"Ready", "When you feel at home go back to the menu and choose Battle. Good luck!"},
  };
  TemplateWriter t;
  t.comment("Training tips: the key is the title and content the text shown.");
  for (auto& tip : tips) t.entry(tip[0], std::string("type:Tip, content:") + tip[1]);
  out.putText(guiPath("trainingtips_ppc.txt"), t.text());
}

// One movie: 12 frames, 200 x 120, a caption under the action.
using SceneFn = void (*)(Picture&, int frame, float t);

void room(Picture& p) {
  p.gradientRect(0, 0, 200, 84, rgb(196, 170, 130), rgb(150, 120, 90));
  p.gradientRect(0, 84, 200, 36, rgb(120, 76, 40), rgb(80, 50, 26));
  for (int x = 0; x < 200; x += 25) p.fillRect(x, 84, 1, 36, rgb(70, 44, 22));
  p.fillRect(130, 20, 50, 34, rgb(140, 200, 240));
  p.frameRect(130, 20, 50, 34, rgb(240, 240, 240), 3);
}

void sky(Picture& p) {
  p.gradientRect(0, 0, 200, 120, rgb(20, 40, 90), rgb(240, 150, 90));
}

void movie0(Picture& p, int, float t) {
  sky(p);
  TextRenderer::get().drawInBox(p, 0, 8, 200, 30, "SKIRROW",
                                TextStyle{26, true, kAccent, 0xFF000000u});
  drawHelicopter(p, -10 + 240 * t, 74 + 6 * std::sin(t * 12), 70, kPilots[0].color, kPilots[0].trim,
                 t * 5);
}

void movie1(Picture& p, int frame, float t) {
  sky(p);
  drawHelicopter(p, 50, 60 + 4 * std::sin(t * 9), 56, kPilots[2].color, kPilots[2].trim, t * 5);
  drawHelicopter(p, 150, 60 + 4 * std::cos(t * 9), 56, kPilots[0].color, kPilots[0].trim,
                 t * 5 + 0.3f, true);
  for (int b = 0; b < 3; ++b) {
    float x = 80 + std::fmod(t * 180 + b * 22, 60);
    p.line(x, 62, x + 6, 62, 2, rgb(255, 240, 120));
  }
  (void)frame;
}

void movie2(Picture& p, int, float t) {
  room(p);
  p.fillRect(20, 62, 70, 30, rgb(150, 40, 50));
  p.fillRect(14, 52, 12, 40, rgb(130, 30, 40));
  p.fillRect(84, 52, 12, 40, rgb(130, 30, 40));
  float x = 20 + 160 * t;
  drawHelicopter(p, x, 40 + 18 * std::sin(t * 6.28f), 44, kPilots[1].color, kPilots[1].trim, t * 5,
                 false, 0.1f * std::cos(t * 6.28f));
}

void movie3(Picture& p, int frame, float t) {
  sky(p);
  if (frame < 5) {
    drawHelicopter(p, 100, 60, 60, kPilots[3].color, kPilots[3].trim, t * 5);
  } else {
    float r = 10 + (frame - 5) * 7.0f;
    p.ellipse(100, 60, r, r, rgb(255, 120, 20) & 0xC0FFFFFFu);
    p.ellipse(100, 60, r * 0.6f, r * 0.6f, rgb(255, 230, 120));
    Random random(static_cast<uint32_t>(frame));
    for (int i = 0; i < 8; ++i) {
      float a = random.range(0, 6.28f), d = r * random.range(0.9f, 1.5f);
      p.line(100, 60, 100 + d * std::cos(a), 60 + d * std::sin(a), 2, rgb(255, 200, 80));
    }
  }
}

void movie4(Picture& p, int frame, float t) {
  room(p);
  float bx = 150, by = 40 + 8 * std::sin(t * 12);
  if (frame < 8) {
    float flap = std::sin(t * 40) * 8;
    p.polygon({{bx, by}, {bx - 14, by - 10 - flap}, {bx - 16, by + 4}}, rgb(240, 120, 200));
    p.polygon({{bx, by}, {bx + 14, by - 10 - flap}, {bx + 16, by + 4}}, rgb(240, 120, 200));
    p.fillRect(static_cast<int>(bx) - 6, static_cast<int>(by) + 6, 12, 12, rgb(200, 160, 90));
  } else {
    TextRenderer::get().drawInBox(p, 110, 20, 80, 30, "+30",
                                  TextStyle{22, true, rgb(80, 255, 90), 0xFF000000u});
    p.fillRect(static_cast<int>(bx) - 6, static_cast<int>(by) + 6 + (frame - 8) * 8, 12, 12,
               rgb(200, 160, 90));
  }
  drawHelicopter(p, 50, 50, 50, kPilots[2].color, kPilots[2].trim, t * 5);
  if (frame >= 4 && frame < 8) p.line(80, 50, 80 + (frame - 3) * 16, 48, 2, rgb(255, 240, 120));
}

void movie5(Picture& p, int, float t) {
  p.gradientRect(0, 0, 200, 120, rgb(30, 20, 60), rgb(10, 10, 30));
  float glow = 0.5f + 0.5f * std::sin(t * 12.56f);
  p.ellipse(100, 50, 40 + 6 * glow, 40 + 6 * glow, rgb(255, 200, 60) & 0x40FFFFFFu);
  p.polygon({{76, 24}, {124, 24}, {116, 60}, {84, 60}}, rgb(250, 200, 40));
  p.fillRect(94, 60, 12, 14, rgb(220, 170, 30));
  p.fillRect(82, 74, 36, 8, rgb(200, 150, 20));
  p.ring(76, 36, 10, 3, rgb(250, 200, 40));
  p.ring(124, 36, 10, 3, rgb(250, 200, 40));
}

void movie6(Picture& p, int, float t) {
  sky(p);
  for (int i = 0; i < 4; ++i)
    drawHelicopter(p, 28 + i * 48, 58 + 5 * std::sin(t * 12.56f + i), 40, kPilots[i].color,
                   kPilots[i].trim, t * 5 + i * 0.25f);
}

void movies(Output& out) {
  const SceneFn scenes[7] = {movie0, movie1, movie2, movie3, movie4, movie5, movie6};
  const char* captions[7] = {"Tiny helicopters. Big rooms.",
                             "Two against two",
                             "Every room is a battlefield",
                             "Watch your health",
                             "Shoot the bonus flyers",
                             "Climb the hall of fame",
                             "Pick your pilots"};
  for (int m = 0; m < 7; ++m) {
    std::vector<GifFrame> frames;
    for (int f = 0; f < 12; ++f) {
      Picture p(200, 120);
      scenes[m](p, f, f / 12.0f);
      p.fillRect(0, 100, 200, 20, 0xB0000000u);
      TextRenderer::get().drawInBox(p, 0, 100, 200, 20, captions[m], style(11, true, kText));
      frames.push_back(GifFrame{std::move(p), f == 11 ? 60 : 12, Disposal::kNone});
    }
    out.put(guiPath("video" + std::to_string(m) + ".gif"), encodeGif(frames));
  }
}

}  // namespace

void buildGameScreens(Output& out) {
  hudPictures(out);
  helpCard(out);
  gameTemplate(out);
  trainingTips(out);
  movies(out);
}

}  // namespace content
