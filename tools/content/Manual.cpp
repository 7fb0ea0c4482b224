// The player's manual: one HTML page with its pictures, opened from the menu.
#include <string>

#include "Builder.h"
#include "Style.h"

namespace content {

namespace {

const char* kStyleSheet = R"(<style>
body { font-family: "Liberation Sans", Arial, sans-serif; background: #0c1424; color: #f0f4fa;
       max-width: 44em; margin: 0 auto; padding: 1em; line-height: 1.45; }
h1 { color: #fa5a04; font-size: 2.2em; margin-bottom: 0; }
h2 { color: #ffaa3c; border-bottom: 2px solid #fa5a04; padding-bottom: .15em; margin-top: 1.6em; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; padding: .3em .5em; border-bottom: 1px solid #2c4268; vertical-align: top; }
th { color: #96aac8; }
kbd { background: #2c4268; border-radius: 3px; padding: 0 .35em; font-family: inherit; }
.note { background: #182640; border-left: 4px solid #28c8be; padding: .5em .8em; }
a { color: #28c8be; }
</style>)";

std::string row(const std::string& a, const std::string& b) {
  return "<tr><td>" + a + "</td><td>" + b + "</td></tr>\n";
}

std::string page() {
  std::string h;
  h += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  h += "<title>Skirrow - Player's Manual</title>\n";
  h += kStyleSheet;
  h += "\n</head>\n<body>\n<h1>SKIRROW</h1>\n<p><em>Helicopter battles in the living "
       "room.</em></p>\n";
  h += "<p>Contents: <a href=\"#start\">Getting started</a> &middot; <a "
       "href=\"#controls\">Controls</a>"
       " &middot; <a href=\"#rules\">Rules</a> &middot; <a href=\"#cameras\">Cameras</a> &middot; "
       "<a href=\"#scoring\">Scoring</a> &middot; <a href=\"#training\">Training</a> &middot; "
       "<a href=\"#settings\">Settings</a> &middot; <a href=\"#rooms\">Rooms and pilots</a></p>\n";

  h += "<h2 id=\"start\">Getting started</h2>\n";
  h += "<p>You fly a toy-sized combat helicopter through an ordinary room - a living room, a "
       "kitchen, a warehouse - together with one teammate, against two enemy helicopters. The "
       "side that still has a helicopter in the air when the other has none wins the battle.</p>\n";
  h += "<ol><li>Tap the cover to reach the intro screen.</li>"
       "<li>Choose <b>Battle</b> for a real fight or <b>Training</b> for a safe practice "
       "flight.</li>"
       "<li>In the room menu, browse the rooms with the arrow buttons and tap <b>Choose "
       "Team</b>.</li>"
       "<li>Tap two pilots: they fly for you (the first one is yours, the second your wingman). "
       "The other two pilots fill the enemy slots by themselves.</li>"
       "<li>Tap <b>Start!</b> The room loads and the battle begins at once.</li></ol>\n";
  h += "<p class=\"note\">Some handhelds send unusual codes for their hardware buttons. If the "
       "buttons do not work as described below, tap <b>Calibrate Buttons</b> on the intro screen "
       "and press the buttons A to D once each when asked.</p>\n";

  h += "<h2 id=\"controls\">Controls</h2>\n<p><img src=\"controls.gif\" alt=\"Controls\" "
       "width=\"240\" height=\"230\"></p>\n";
  h += "<table><tr><th>Key or button</th><th>What it does</th></tr>\n";
  h += row("Pad <kbd>left</kbd> / <kbd>right</kbd>",
           "Turn. Turning gets faster the longer you hold.");
  h += row(
      "Pad <kbd>up</kbd> / <kbd>down</kbd>",
      "Climb and descend. With manual control and full speed held, fly forwards and backwards.");
  h += row("Button <kbd>A</kbd> (hold)", "Full speed. The speed button on the bar lights up.");
  h += row("Button <kbd>B</kbd>, <kbd>Action</kbd>, <kbd>Space</kbd>", "Fire the cannon.");
  h += row("<kbd>Q</kbd> or button <kbd>C</kbd>", "Switch to your teammate's helicopter and back.");
  h += row("<kbd>Z</kbd> or <kbd>Start</kbd>",
           "Switch between the cockpit view and the chase view.");
  h += row("<kbd>F1</kbd> ... <kbd>F8</kbd>", "Choose one of eight camera modes (see below).");
  h += row("<kbd>Esc</kbd>", "Leave the battle (you are asked first).");
  h += "</table>\n";
  h += "<p>With the stylus, tap the buttons on the bar under the picture:</p>\n<table>";
  h += row("<b>Info</b>", "Show the frame rate, the graphics driver and free memory.");
  h += row("<b>Demo</b>",
           "Let the computer fly your helicopter (auto demo). Take over again with <kbd>Q</kbd>.");
  h += row("<b>Cam</b>", "Cockpit or chase view, like <kbd>Z</kbd>.");
  h += row("<b>Mate</b>", "Fly your teammate, like <kbd>Q</kbd>.");
  h += row("<b>Help</b>", "Show the controls card; the battle pauses until you tap Help again.");
  h += row("<b>Quit</b>", "Leave the battle.");
  h += row("Speed button",
           "Shows your flight control: AUTO/MAX speed, or UP/DN climb/move in manual control. "
           "Hold it (or button A) for full speed.");
  h += "</table>\n";

  h += "<h2 id=\"rules\">Rules</h2>\n<ul>";
  h += "<li>Each side has two helicopters. Green squares on the radar are your side, red ones the "
       "enemy; grey squares are wrecks.</li>";
  h += "<li>Every helicopter starts with full health (the bars under the pilots' faces). Hits by "
       "bullets take health away; bumping into walls and furniture costs a little too.</li>";
  h += "<li>A helicopter whose health runs out falls and is out of the battle.</li>";
  h += "<li>When one side has no helicopter left the battle ends: you win, you lose, or - when the "
       "last helicopters of both sides fall together - it is a tie. A battle that lasts an hour "
       "ends in a time out.</li>";
  h += "<li>After a lost battle you may try again at once. After a won battle you enter the hall "
       "of fame.</li>";
  h += "<li>Enemy helicopters in view are marked with a yellow square.</li></ul>\n";

  h += "<h2 id=\"cameras\">Camera modes</h2>\n<table><tr><th>Key</th><th>Camera</th></tr>\n";
  h += row("<kbd>F1</kbd>", "Chase: close behind your helicopter (the normal view).");
  h += row("<kbd>F2</kbd>", "Follow from further behind and a little to the side.");
  h += row("<kbd>F3</kbd>", "Cockpit: through the pilot's eyes, with instruments and gun sight.");
  h += row("<kbd>F4</kbd>", "Fixed camera high in a corner of the room.");
  h += row("<kbd>F5</kbd>", "Straight down from the ceiling.");
  h += row("<kbd>F6</kbd>", "In front of your helicopter, looking back at it.");
  h += row("<kbd>F7</kbd>", "From the side.");
  h += row("<kbd>F8</kbd>", "From above, following your helicopter.");
  h += "</table>\n";

  h += "<h2 id=\"scoring\">Scoring</h2>\n";
  h +=
      "<p>Every hit on an enemy helicopter scores 500 points for your side. The little bonus "
      "flyers - butterflies, bats, saucers and soap bubbles - cross the room carrying a box: a box "
      "with a number (10 to 50) scores ten times that number, and a box with a red cross repairs "
      "the helicopter that shot it. A flyer that was hit drops its box and comes back "
      "elsewhere. The enemy scores the same way against you.</p>\n";
  h += "<p>Win a battle and your side's score enters the hall of fame of that room: type your name "
       "(up to ten characters) on the on-screen keyboard. Each room keeps its best eight.</p>\n";

  h += "<h2 id=\"training\">Training</h2>\n";
  h += "<p>In a training game nobody loses health, the other helicopters do not shoot and scores "
       "stay at zero. Tips appear at the top of the screen; use the arrows beside them to read the "
       "next or the previous tip. A new tip also appears every twelve seconds. The training "
       "button on the intro screen stops blinking once you have finished a training flight.</p>\n";

  h += "<h2 id=\"settings\">Settings</h2>\n<table>";
  h += row("Sound effects", "On or off (also on the room menu).");
  h += row("Graphics driver",
           "Vexagraph draws the battle in software and works everywhere; "
           "OpenGL ES uses the graphics chip when the handheld has one.");
  h += row("Skill level", "Hard, Normal or Easy: how well the enemy pilots aim and turn.");
  h += row("Flight control",
           "Auto speed: the helicopter flies on by itself and the pad climbs and "
           "descends. Manual: with full speed held, the pad moves you forwards and backwards.");
  h += "</table>\n";

  h += "<h2 id=\"rooms\">Rooms and pilots</h2>\n<ul>";
  for (const Room& room : kRooms)
    h += "<li><b>" + std::string(room.name) + "</b>" + (room.large ? " (large)" : "") + "</li>";
  h += "</ul>\n<table><tr><th>Pilot</th><th></th></tr>\n";
  for (const Pilot& pilot : kPilots)
    h += row("<b>" + std::string(pilot.name) + "</b>", std::string(pilot.motto));
  h += "</table>\n<p>Have a good flight!</p>\n</body>\n</html>\n";
  return h;
}

}  // namespace

void buildManual(Output& out) {
  const std::string folder = std::string(kManualFolder) + "/";
  out.putText(folder + "index.htm", page(), Placement::kDiskOnly);
  // The controls card of the battle page doubles as the manual's picture.
  const auto& files = out.files();
  auto card = files.find(std::string(kGuiFolder) + "/control_ppc.gif");
  if (card != files.end())
    out.put(folder + "controls.gif", card->second.bytes, Placement::kDiskOnly);
}

}  // namespace content
