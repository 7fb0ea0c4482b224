// The menu screens: cover, intro, main menu, team set-up, credits, scoreboard, settings, the
// message box and the input pad pictures. Layouts are for the 240 x 320 design screen.
#include <string>

#include "Builder.h"
#include "GuiKit.h"
#include "Style.h"
#include "TextRenderer.h"

namespace content {

namespace {

TextStyle style(int size, bool bold, uint32_t color) {
  return TextStyle{size, bold, color, 0xA0000000u};
}

void cover(Output& out) {
  Picture bg = screenBackground(240, 320, 11);
  // A squadron crossing the sky.
  drawHelicopter(bg, 150, 150, 120, kPilots[0].color, kPilots[0].trim, 0.1f, false, -0.12f);
  drawHelicopter(bg, 62, 112, 54, kPilots[2].color, kPilots[2].trim, 0.6f, false, -0.1f);
  drawHelicopter(bg, 196, 236, 44, kPilots[1].color, kPilots[1].trim, 0.3f, true, 0.1f);
  TextRenderer& text = TextRenderer::get();
  TextStyle big{46, true, kAccent, 0xFF000000u};
  text.drawInBox(bg, 0, 18, 240, 50, "SKIRROW", big);
  text.drawInBox(bg, 0, 66, 240, 16, "helicopter battles in the living room",
                 style(11, false, kText));
  text.drawInBox(bg, 0, 282, 240, 20, "Tap the screen to start", style(13, true, kAccentLight));
  putGuiJpeg(out, "cover.jpg", bg, 92);

  TemplateWriter t;
  t.comment("Cover: one tap anywhere opens the intro.");
  t.entry("sceneCover", sceneItems(0, 0, 240, 320)("bkgTexture", "cover.jpg"));
  t.entry("lnkStart", spriteItems("sceneCover", 0, 0, 240, 320)("GUIType", "hyperlink")(
                          "href", "intro.properties")("textUnderline", 0));
  out.putText(guiPath("cover.properties"), t.text());
}

void intro(Output& out) {
  Picture bg = screenBackground(240, 320, 12);
  TextRenderer::get().drawInBox(bg, 0, 6, 240, 32, "SKIRROW",
                                TextStyle{28, true, kAccent, 0xFF000000u});
  panel(bg, 16, 40, 208, 128);
  putGuiJpeg(out, "intro_bg.jpg", bg);

  TemplateWriter t;
  t.comment("Intro: the movie loop and the way into the game.");
  t.entry("introScene", sceneItems(0, 0, 240, 320)("bkgTexture", "intro_bg.jpg"));
  t.entry("sptMovie", spriteItems("introScene", 20, 44, 200, 120)("texture", "video0.gif")(
                          "animationEnabled", 1));
  t.entry("cmdEnterGame",
          buttonItems(out, "introScene", "battle", 20, 176, 200, 26, "Battle", ButtonKind::kPrimary,
                      "hyperlink", 14)("href", "MainMenu.properties")("textUnderline", 0));
  t.entry("cmdEnterTraining",
          buttonItems(out, "introScene", "training", 20, 207, 200, 26, "Training", ButtonKind::kTab,
                      "hyperlink", 14)("href", "MainMenu.properties")("textUnderline", 0));
  t.entry("cmdKeyCalibration", buttonItems(out, "introScene", "calibrate", 20, 238, 200, 24,
                                           "Calibrate Buttons", ButtonKind::kSecondary));
  t.entry("cmdGSetting", buttonItems(out, "introScene", "settings", 20, 272, 64, 24, "Settings",
                                     ButtonKind::kSecondary, "button", 11));
  t.entry("cmdManual", buttonItems(out, "introScene", "manual", 88, 272, 64, 24, "Manual",
                                   ButtonKind::kSecondary, "button", 11));
  t.entry("cmdQuitGame", buttonItems(out, "introScene", "quit", 156, 272, 64, 24, "Quit",
                                     ButtonKind::kDanger, "button", 11));
  t.entry("txtVersion",
          textItems("introScene", 0, 302, 240, 14, "Version 1.0", 10, kTextDim, "CENTER", 400));
  t.entry("titleMusic", Items()("type", "WaveSound")("src", "title.wav"));
  out.putText(guiPath("intro.properties"), t.text());
}

void mainMenu(Output& out) {
  Picture bg = screenBackground(240, 320, 13);
  panel(bg, 26, 56, 188, 143);
  putGuiJpeg(out, "menu_bg.jpg", bg);
  for (bool left : {true, false}) {
    std::string name = left ? "b_left" : "b_right";
    putGuiGif(out, name + ".gif", arrowButton(24, left, false));
    putGuiGif(out, name + "_on.gif", arrowButton(24, left, true));
  }
  // Radio strips as wide as their sprites: a sprite stretches its picture to its own size.
  for (int width : {92, 72}) {
    putGuiGif(out, "radio" + std::to_string(width) + ".gif", radioFace(width, 18, false));
    putGuiGif(out, "radio" + std::to_string(width) + "_on.gif", radioFace(width, 18, true));
  }

  TemplateWriter t;
  t.comment("Main menu: pick the room, then the team.");
  t.entry("sceneGUI", sceneItems(0, 0, 240, 320)("bkgTexture", "menu_bg.jpg"));
  t.entry("txtTitle", textItems("sceneGUI", 0, 6, 240, 22, "Select Room for Battle", 15, kText));
  t.entry("cmdEnterGame",
          buttonItems(out, "sceneGUI", "tab_battle", 24, 32, 94, 20, "Battle", ButtonKind::kPrimary,
                      "hyperlink", 11)("href", "MainMenu.properties")("textUnderline", 0));
  t.entry("cmdEnterTraining", buttonItems(out, "sceneGUI", "tab_training", 122, 32, 94, 20,
                                          "Training", ButtonKind::kTab, "hyperlink",
                                          11)("href", "MainMenu.properties")("textUnderline", 0));
  // The page puts the chosen room's picture here.
  t.entry("sptPreview", spriteItems("sceneGUI", 30, 60, 180, 135));
  t.entry("btnLastRoom", spriteItems("sceneGUI", 2, 116, 24, 24)("GUIType", "button")(
                             "texture", "b_left.gif")("bright", "b_left_on.gif"));
  t.entry("btnNextRoom", spriteItems("sceneGUI", 214, 116, 24, 24)("GUIType", "button")(
                             "texture", "b_right.gif")("bright", "b_right_on.gif"));
  t.entry("txtRoomName", textItems("sceneGUI", 0, 200, 240, 24, "Living Room", 14, kAccentLight));
  // A link as well as a command: the screen opens by itself, from a tap or a key.
  t.entry("cmdEnterTeamSetup", buttonItems(out, "sceneGUI", "team", 40, 228, 160, 28, "Choose Team",
                                           ButtonKind::kPrimary, "hyperlink",
                                           14)("href", "TeamSetup.properties")("textUnderline", 0));
  for (int i = 0; i < 2; ++i) {
    Items radio = spriteItems("sceneGUI", 24 + i * 100, 264, 92, 18);
    radio("GUIType", "checkbox")("group", "soundEffect")("status", i == 0 ? 1 : 0);
    radio("texture", "radio92.gif")("bright", "radio92_on.gif");
    radio("text", i == 0 ? "Sound on" : "Sound off")("textSize", 12)("textOffsetX", 22)(
        "textOffsetY", 1)("textFormatted", 0);
    radio.color("textColor", kText);
    t.entry("rdoSound" + std::to_string(i), radio);
  }
  t.entry("cmdGSetting", buttonItems(out, "sceneGUI", "m_settings", 6, 292, 54, 22, "Settings",
                                     ButtonKind::kSecondary, "button", 10));
  t.entry("cmdManual", buttonItems(out, "sceneGUI", "m_manual", 64, 292, 54, 22, "Manual",
                                   ButtonKind::kSecondary, "button", 10));
  t.entry("cmdQuitGame", buttonItems(out, "sceneGUI", "m_credits", 122, 292, 54, 22, "Credits",
                                     ButtonKind::kSecondary, "button", 10));
  t.entry("cmdExit", buttonItems(out, "sceneGUI", "m_exit", 180, 292, 54, 22, "Exit",
                                 ButtonKind::kDanger, "button", 10));
  t.blank();
  t.comment("Menu state, kept between visits.");
  t.entry("soundEffect", "GUIType:checkboxGroup, selected:0");
  t.entry("sceneSelected", "0");
  out.putText(guiPath("MainMenu.properties"), t.text());
}

void teamSetup(Output& out) {
  Picture bg = screenBackground(240, 320, 14);
  TextRenderer& text = TextRenderer::get();
  panel(bg, 12, 38, 96, 190);
  panel(bg, 132, 38, 96, 190);
  text.drawInBox(bg, 12, 40, 96, 18, "YOUR TEAM", style(11, true, kGood));
  text.drawInBox(bg, 132, 40, 96, 18, "ENEMIES", style(11, true, kBad));
  text.drawInBox(bg, 108, 120, 24, 24, "vs", style(14, true, kAccentLight));
  const int slotX[4] = {28, 28, 148, 148}, slotY[4] = {64, 148, 64, 148};
  for (int i = 0; i < 4; ++i) {
    bg.fillRect(slotX[i], slotY[i], 64, 64, rgb(8, 12, 24));
    bg.frameRect(slotX[i] - 2, slotY[i] - 2, 68, 68, i < 2 ? kGood : kBad, 2);
    text.drawInBox(bg, slotX[i], slotY[i] + 64, 64, 14, i % 2 == 0 ? "leader" : "wingman",
                   style(9, false, kTextDim));
  }
  text.drawInBox(bg, 0, 228, 240, 14, "Tap two pilots for your team", style(10, false, kTextDim));
  for (int j = 0; j < 4; ++j) bg.fillRect(12 + 57 * j, 244, 48, 48, rgb(8, 12, 24));
  putGuiJpeg(out, "team_bg.jpg", bg);

  TemplateWriter t;
  t.comment("Team set-up: portraits move into the team slots.");
  t.entry("sceneGUI", sceneItems(0, 0, 240, 320)("bkgTexture", "team_bg.jpg"));
  t.entry("txtCombination", textItems("sceneGUI", 24, 8, 192, 22, "Battle Team", 15, kText));
  t.entry("lnkBack", spriteItems("sceneGUI", 4, 7, 24, 24)("GUIType", "hyperlink")(
                         "href", "MainMenu.properties")("texture", "b_left.gif")(
                         "bright", "b_left_on.gif")("textUnderline", 0));
  for (int j = 0; j < 4; ++j) {
    Items home = spriteItems("sceneGUI", 12 + 57 * j, 244, 48, 48);
    home.color("frame", kPanelLight);
    t.entry("spticon" + std::to_string(j), home);
  }
  for (int j = 0; j < 4; ++j) {
    Items portrait = spriteItems("sceneGUI", 12 + 57 * j, 244, 48, 48);
    portrait("GUIType", "checkbox")("status", 0);
    t.entry("sptRacer" + std::to_string(j), portrait);
  }
  for (int i = 0; i < 4; ++i) {
    Items slot = spriteItems("sceneGUI", slotX[i], slotY[i], 64, 64);
    slot("text", "")("textSize", 11)("textWeight", 700)("textAlignment", "CENTER")(
        "textOffsetY", 50)("textFormatted", 0);
    slot.color("textColor", kText);
    t.entry("sptbigicon" + std::to_string(i), slot);
  }
  t.entry("btnReset",
          buttonItems(out, "sceneGUI", "reset", 16, 296, 96, 22, "Reset", ButtonKind::kSecondary));
  t.entry("cmdStartGame", buttonItems(out, "sceneGUI", "start", 128, 296, 96, 22, "Start!",
                                      ButtonKind::kPrimary, "button", 13));
  out.putText(guiPath("TeamSetup.properties"), t.text());
}

void back(Output& out) {
  Picture bg = screenBackground(240, 320, 15);
  putGuiJpeg(out, "back_bg.jpg", bg);
  Picture credits(240, 420);
  TextRenderer& text = TextRenderer::get();
  text.drawInBox(credits, 0, 0, 240, 40, "SKIRROW", TextStyle{30, true, kAccent, 0xFF000000u});
  int y = 48;
  const char* lines[][2] = {
      {"A game of tiny helicopters", "in very big rooms"},
      {"Pilots", "Vega, Rook, Nova and Juno"},
      {"Rooms", "seven of them, from the living room to the gym hall"},
      {"Graphics", "OpenGL ES or the Vexagraph software renderer"},
      {"Pictures, models and sound", "drawn and synthesised by the content builder"},
      {"Type", "Liberation Sans"},
      {"Thank you for flying!", "See you in the next battle."},
  };
  for (auto& line : lines) {
    text.drawInBox(credits, 0, y, 240, 18, line[0], style(13, true, kAccentLight));
    y += 18;
    y += text.drawWrapped(credits, 20, y, 200, line[1], style(12, false, kText), Align::kCenter) +
         22;
  }
  drawHelicopter(credits, 120, 392, 70, kPilots[3].color, kPilots[3].trim, 0.2f);
  putGuiGif(out, "credits.gif", credits);

  TemplateWriter t;
  t.comment("Closing screen: the credits roll upwards.");
  t.entry("sceneBack", sceneItems(0, 0, 240, 320)("bkgTexture", "back_bg.jpg"));
  t.entry("scenePrompt", sceneItems(0, 320, 240, 420));
  t.entry("sptCredits", spriteItems("scenePrompt", 0, 0, 240, 420)("texture", "credits.gif"));
  Items bar = sceneItems(0, 286, 240, 34);
  bar.color("bkgColor", kInk);
  t.entry("sceneButtons", bar);
  t.entry("lnkIntro", buttonItems(out, "sceneButtons", "again", 16, 6, 100, 24, "Play again",
                                  ButtonKind::kPrimary,
                                  "hyperlink")("href", "intro.properties")("textUnderline", 0));
  t.entry("cmdExit",
          buttonItems(out, "sceneButtons", "exit", 124, 6, 100, 24, "Exit", ButtonKind::kDanger));
  t.entry("titleMusic", Items()("type", "WaveSound")("src", "title.wav"));
  t.comment("Escape (or a gamepad's B) follows this link.");
  t.entry("backLink", "lnkIntro");
  out.putText(guiPath("back.properties"), t.text());
}

void scoreboard(Output& out) {
  Picture bg = screenBackground(240, 320, 16);
  TextRenderer& text = TextRenderer::get();
  text.drawInBox(bg, 0, 6, 240, 28, "HALL OF FAME", TextStyle{20, true, kAccent, 0xFF000000u});
  panel(bg, 6, 56, 228, 46);
  text.drawInBox(bg, 12, 58, 110, 14, "New record", style(10, true, kTextDim), Align::kLeft);
  panel(bg, 6, 106, 228, 178);
  text.drawInBox(bg, 12, 108, 110, 14, "Pilot", style(10, true, kTextDim), Align::kLeft);
  text.drawInBox(bg, 126, 108, 50, 14, "Score", style(10, true, kTextDim), Align::kLeft);
  text.drawInBox(bg, 180, 108, 50, 14, "Date", style(10, true, kTextDim), Align::kLeft);
  for (int n = 0; n < 8; ++n)
    if (n % 2 == 0) bg.fillRect(10, 124 + n * 19, 220, 19, rgb(40, 60, 96) & 0x80FFFFFFu);
  putGuiJpeg(out, "score_bg.jpg", bg);

  TemplateWriter t;
  t.comment("Scoreboard: the new record and the best eight of the room.");
  t.entry("sceneGUI", sceneItems(0, 0, 240, 320)("bkgTexture", "score_bg.jpg"));
  t.entry("txtLevel", textItems("sceneGUI", 0, 36, 240, 18, "", 13, kAccentLight));
  Items name = spriteItems("sceneGUI", 12, 74, 110, 20);
  name("GUIType", "editbox")("maxLength", 10)("allowEmpty", 1)("title", "Please Input Your Name:");
  name("textSize", 12)("textWeight", 700)("textOffsetX", 4)("textOffsetY", 2)("textFormatted", 0);
  name.color("textColor", kText)
      .color("color", kPanelLight)
      .color("brightColor", kPanel)
      .color("frame", kAccent);
  t.entry("sptNewRecordPlayer", name);
  t.entry("sptNewRecordScore",
          textItems("sceneGUI", 126, 76, 50, 18, "", 12, kAccentLight, "LEFT"));
  t.entry("sptNewRecordDate", textItems("sceneGUI", 180, 76, 52, 18, "", 12, kText, "LEFT", 400));
  for (int n = 0; n < 8; ++n) {
    int y = 126 + n * 19;
    std::string index = std::to_string(n);
    t.entry("player" + index, textItems("sceneGUI", 14, y, 110, 16, "", 12, kText, "LEFT"));
    t.entry("score" + index, textItems("sceneGUI", 126, y, 50, 16, "", 12, kAccentLight, "LEFT"));
    t.entry("date" + index, textItems("sceneGUI", 180, y, 52, 16, "", 12, kTextDim, "LEFT", 400));
  }
  t.entry("cmdContinue", buttonItems(out, "sceneGUI", "continue", 70, 290, 100, 24, "Continue",
                                     ButtonKind::kPrimary,
                                     "hyperlink")("href", "intro.properties")("textUnderline", 0));
  t.entry("scoreboard", Items()("type", "WaveSound")("src", "scoreboard.wav"));
  out.putText(guiPath("scoreboard.properties"), t.text());
}

Picture messageGrid(bool simple) {
  Picture grid(200, 110, kInk);
  grid.roundRect(0, 0, 200, 110, 6, kAccent);
  grid.roundRect(2, 2, 196, 106, 5, rgb(28, 34, 50));
  if (!simple) {
    for (int x = 8; x < 196; x += 8) grid.fillRect(x, 3, 1, 104, 0x18FFFFFFu);
    for (int y = 8; y < 106; y += 8) grid.fillRect(3, y, 194, 1, 0x18FFFFFFu);
  }
  grid.fillRect(2, 2, 196, 4, kAccent);
  return grid;
}

void messageBox(Output& out) {
  putGuiBmp(out, "msgGrid.bmp", messageGrid(false));
  putGuiBmp(out, "msgGrid_smp.bmp", messageGrid(true));
  TemplateWriter t;
  t.comment("Message box, merged into the page that shows it.");
  t.entry("sceneMessageBox",
          sceneItems(20, 105, 200, 110)("bkgTexture", "{MSG_GRID_PIC}")("visible", 0));
  t.entry("sptMessage",
          textItems("sceneMessageBox", 10, 14, 180, 56, "", 13, kText, "CENTER", 700));
  t.entry("sptMessageContext", spriteItems("sceneMessageBox", 0, 0, 1, 1)("visible", 0));
  t.entry("btnOk", buttonItems(out, "sceneMessageBox", "ok", 60, 78, 80, 24, "OK",
                               ButtonKind::kPrimary)("visible", 0));
  t.entry("btnYes", buttonItems(out, "sceneMessageBox", "yes", 14, 78, 80, 24, "Yes",
                                ButtonKind::kPrimary)("visible", 0));
  t.entry("btnNo", buttonItems(out, "sceneMessageBox", "no", 106, 78, 80, 24, "No",
                               ButtonKind::kSecondary)("visible", 0));
  out.putText(guiPath("messagebox.properties"), t.text());
}

void inputPad(Output& out) {
  // The pad shows black text: light surfaces for the pad and the character keys, a dark face
  // for the command keys, whose labels are drawn in white.
  Picture pad(230, 200, rgb(214, 222, 234));
  pad.gradientRect(0, 0, 230, 200, rgb(232, 238, 246), rgb(190, 202, 220));
  pad.frameRect(0, 0, 230, 200, kAccent, 2);
  pad.fillRect(2, 2, 226, 20, rgb(255, 190, 120));
  putGuiGif(out, "inputpad.gif", pad);
  Picture key(18, 18, rgb(190, 202, 220));
  key.roundRect(0, 0, 18, 18, 3, rgb(120, 130, 150));
  key.roundRect(1, 1, 16, 16, 3, rgb(250, 252, 255));
  key.gradientRect(2, 10, 14, 6, rgb(250, 252, 255), rgb(220, 228, 240));
  putGuiGif(out, "keypadBtn.gif", key);
  Picture big(40, 20, rgb(190, 202, 220));
  big.roundRect(0, 0, 40, 20, 4, rgb(120, 40, 0));
  big.roundRect(1, 1, 38, 18, 4, kAccent);
  big.gradientRect(3, 10, 34, 7, kAccent, rgb(200, 60, 0));
  putGuiGif(out, "keypadBtnBig.gif", big);
}

void settingsFile(Output& out, const std::string& file, int driver) {
  Picture bg = screenBackground(240, 320, 17);
  TextRenderer& text = TextRenderer::get();
  text.drawInBox(bg, 0, 6, 240, 26, "SETTINGS", TextStyle{20, true, kAccent, 0xFF000000u});
  const char* sections[4] = {"Sound effects", "Graphics driver", "Skill level", "Flight control"};
  for (int s = 0; s < 4; ++s) {
    panel(bg, 6, 38 + s * 60, 228, 54);
    text.drawInBox(bg, 14, 40 + s * 60, 200, 16, sections[s], style(12, true, kAccentLight),
                   Align::kLeft);
  }
  putGuiJpeg(out, "settings_bg.jpg", bg);

  struct Group {
    const char* key;
    const char* prefix;
    std::vector<const char*> options;
    int selected;
  };
  const Group groups[4] = {
      {"soundEffect", "optSound", {"On", "Off"}, 0},
      {"driverType", "optDriver", {"Vexagraph", "OpenGL ES"}, driver},
      // Skill 0 gives the enemies their widest hit radius and sharpest turns: the hardest.
      {"skillLevel", "optSkill", {"Hard", "Normal", "Easy"}, 1},
      {"controlStyle", "optControl", {"Auto speed", "Manual"}, 0},
  };
  TemplateWriter t;
  t.comment("Settings: read at start and by the game; also shown as a screen.");
  t.entry("sceneGUI", sceneItems(0, 0, 240, 320)("bkgTexture", "settings_bg.jpg"));
  for (int s = 0; s < 4; ++s) {
    const Group& g = groups[s];
    // Three choices share a row in narrow boxes; two get wide ones, so that labels such as
    // "Auto speed" end well before the next circle.
    const bool wide = g.options.size() == 2;
    const int boxWidth = wide ? 92 : 72;
    const int step = wide ? 110 : 74;
    for (size_t i = 0; i < g.options.size(); ++i) {
      Items radio =
          spriteItems("sceneGUI", 14 + static_cast<int>(i) * step, 62 + s * 60, boxWidth, 18);
      radio("GUIType", "checkbox")("group", g.key)("persistent", 1)(
          "status", static_cast<int>(i) == g.selected ? 1 : 0);
      radio("texture", wide ? "radio92.gif" : "radio72.gif")(
          "bright", wide ? "radio92_on.gif" : "radio72_on.gif");
      radio("text", g.options[i])("textSize", 11)("textOffsetX", 21)("textOffsetY", 2)(
          "textFormatted", 0);
      radio.color("textColor", kText);
      t.entry(std::string(g.prefix) + std::to_string(i), radio);
    }
  }
  t.entry("lnkDone",
          buttonItems(out, "sceneGUI", "done", 70, 286, 100, 24, "Done", ButtonKind::kPrimary,
                      "hyperlink")("href", "intro.properties")("textUnderline", 0));
  t.comment("Escape (or a gamepad's B) follows this link.");
  t.entry("backLink", "lnkDone");
  t.blank();
  t.comment("Chosen options (the position of the selected box in each group).");
  for (const Group& g : groups)
    t.entry(g.key, "GUIType:checkboxGroup, selected:" + std::to_string(g.selected));
  out.putText(guiPath(file), t.text());
}

// The hangar: the helicopter model turning in a 3D view under the menu's title, lit by two
// lights in light fog, a spark chip at its heart, a caption drawn over the view. Content authors
// open it with "skirrow ARG:hangar" to check models as the game draws them.
void hangar(Output& out) {
  TemplateWriter t;
  t.comment("Hangar: the helicopter as the 3D engine draws it.");
  Items view;
  view("type", "Scene3D")("x", 0)("y", 40)("width", 240)("height", 240)("eye", "(7;4;-8)")
      .color("ambient", rgb(70, 70, 80))
      .color("bkgColor", rgb(24, 30, 44));
  t.entry("scene3D", view);
  t.entry("heli",
          Items()("type", "Group3D")("container", "scene3D")(
              "model", "..\\chopper\\chopper_LOD.3ds")("radius", "4.5")("cullingPolicy", 0));
  t.entry("spark",
          Items()("type", "Chip3D")("container", "scene3D")("texture", "..\\chopper\\spark.gif")(
              "radius", "0.6")("billboard", 2)("detailLevel", 0));
  t.entry("lightKey", Items()("type", "Light")("dir", "(0.5;-1;0.8)")("container", "scene3D")
                          .color("color", rgb(255, 244, 224)));
  t.entry("lightFill", Items()("type", "Light")("dir", "(-0.8;0.3;0.4)")("container", "scene3D")
                           .color("color", rgb(80, 96, 140)));
  t.entry("fog", Items()("type", "Fog")("container", "scene3D")("front", 8)("back", 40)
                     .color("color", rgb(24, 30, 44)));
  t.blank();
  // A caption laid over the 3D view: a sprite scene without a colour of its own.
  t.entry("sceneCaption", sceneItems(0, 250, 240, 24));
  t.entry("txtCaption", textItems("sceneCaption", 0, 2, 240, 20, "Vega", 13, kText));
  t.entry("sceneTitle", sceneItems(0, 0, 240, 40).color("bkgColor", kInk));
  t.entry("txtTitle", textItems("sceneTitle", 0, 10, 240, 24, "Hangar", 16, kText));
  t.entry("sceneBar", sceneItems(0, 280, 240, 40).color("bkgColor", kInk));
  t.entry("lnkBack", textItems("sceneBar", 0, 10, 240, 24, "Back to the menu", 13, kAccentLight)(
                         "GUIType", "hyperlink")("href", "MainMenu.properties"));
  out.putText(guiPath("hangar.properties"), t.text());
}

// A room seen from inside, as the battle's camera sees it: the living room in a portrait 3D
// view from a low eye beside the sofa, across the rug and the coffee table to the television,
// culled mesh by mesh and drawn unlit like the battle's level. The scene's colour is a green
// no room shows, so a hole in the drawing stands out. "skirrow ARG:roomview" shows it with
// either driver.
void roomView(Output& out) {
  TemplateWriter t;
  t.comment("Room view: a level drawn from inside, as the battle's camera sees it.");
  Items view;
  view("type", "Scene3D")("x", 0)("y", 0)("width", 240)("height", 292)("eye", "(-34;-11;-14)")(
      "target", "(40;-12;4)")
      .color("bkgColor", rgb(0, 255, 0));
  t.entry("scene3D", view);
  t.entry("room", Items()("type", "Group3D")("container", "scene3D")(
                      "model", "..\\scenes\\level0\\level.3ds")("radius", "50")("detailLevel", 1)(
                      "cullingPolicy", 2));
  t.blank();
  t.entry("sceneBar", sceneItems(0, 292, 240, 28).color("bkgColor", kInk));
  t.entry("lnkBack", textItems("sceneBar", 0, 5, 240, 20, "Back to the menu", 13, kAccentLight)(
                         "GUIType", "hyperlink")("href", "MainMenu.properties"));
  out.putText(guiPath("roomview.properties"), t.text());
}

}  // namespace

void buildGui(Output& out) {
  hangar(out);
  roomView(out);
  cover(out);
  intro(out);
  mainMenu(out);
  teamSetup(out);
  back(out);
  scoreboard(out);
  messageBox(out);
  inputPad(out);
  settingsFile(out, "gsetting.properties", 0);
  settingsFile(out, "gsetting_2700G.properties", 1);
}

}  // namespace content
