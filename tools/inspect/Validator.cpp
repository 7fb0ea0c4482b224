#include "Validator.h"

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "Requirements.h"
#include "ToolMessages.h"
#include "engine3d/Model3dsLoader.h"
#include "media/ImageLoader.h"
#include "media/ImageMessages.h"
#include "platform/Files.h"
#include "platform/ResourceArchive.h"
#include "platform/Template.h"

namespace fs = std::filesystem;

namespace inspect {

namespace {

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool isPictureName(std::string_view name) {
  const std::string low = lowered(name);
  return endsWith(low, ".gif") || endsWith(low, ".bmp") || endsWith(low, ".jpg") ||
         endsWith(low, ".jpeg");
}

bool isSoundName(std::string_view name) {
  return endsWith(lowered(name), ".wav");
}

// '/' separators, "a/../" and "./" collapsed, so that one file has one name however a template
// spells it, and the archive lookup sees the folder it was registered under.
std::string normalised(std::string_view path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '\\', '/');
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('/', start);
    if (end == std::string::npos) end = text.size();
    std::string part = text.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..")
        parts.pop_back();
      else
        parts.push_back(part);
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : "/") + part;
  return out;
}

std::string folderOf(const std::string& relative) {
  const size_t cut = relative.rfind('/');
  return cut == std::string::npos ? std::string() : relative.substr(0, cut + 1);
}

std::string formatted(std::string_view pattern, int number) {
  std::string out(pattern);
  const size_t at = out.find("%d");
  if (at != std::string::npos) out.replace(at, 2, std::to_string(number));
  return out;
}

// All bytes of a file through the archive-aware opener; nothing when it cannot be opened.
std::optional<std::vector<uint8_t>> readResource(const std::string& path) {
  platform::ResourceStream stream = platform::openResource(path, "rb");
  if (!stream) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t buffer[8192];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream.get())) > 0;)
    bytes.insert(bytes.end(), buffer, buffer + n);
  return bytes;
}

// Why a wave is not a canonical PCM file (RIFF header, a 16-byte fmt chunk and the data chunk
// at byte 36), or "" when it is: the sound player reads the header at those fixed places.
std::string waveFault(const std::vector<uint8_t>& b) {
  if (b.size() < 44) return "shorter than a WAV header";
  auto u32 = [&](size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
  };
  auto u16 = [&](size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; };
  auto text = [&](size_t at, size_t n) { return std::string(b.begin() + at, b.begin() + at + n); };
  if (text(0, 4) != "RIFF" || text(8, 8) != "WAVEfmt ") return "not a RIFF WAVE file";
  if (u32(4) != b.size() - 8) return "RIFF size does not match the file";
  if (u32(16) != 16 || u16(20) != 1) return "not plain PCM (fmt chunk of 16 bytes, format 1)";
  if (u16(22) == 0 || u16(34) == 0 || u16(32) != u16(22) * u16(34) / 8 ||
      u32(28) != u32(24) * u16(32))
    return "inconsistent block size or byte rate";
  if (text(36, 4) != "data") return "no data chunk right after the fmt chunk";
  if (u32(40) != b.size() - 44) return "data size does not match the file";
  return {};
}

}  // namespace

Validator::Validator(std::string resourcesFolder) : root_(std::move(resourcesFolder)) {
  std::replace(root_.begin(), root_.end(), '\\', '/');
  if (root_.empty() || root_.back() != '/') root_.push_back('/');
}

void Validator::report(const std::string& file, std::string what) {
  problems_.push_back({file, std::move(what)});
}

std::vector<Problem> Validator::run() {
  problems_.clear();
  checked_.clear();
  // Extracted archive members go to a folder of our own: the program's temporary folder is
  // emptied whenever it is set.
  std::string temp = (fs::temp_directory_path() / "skirrow-validate-XXXXXX").string();
  if (!::mkdtemp(temp.data())) {
    report("", "cannot make a temporary folder for archive members");
    return problems_;
  }
  platform::setTempFolder(temp + "/");

  checkArchives();
  checkScreens();
  checkChopper();
  checkRooms();
  checkPilots();
  checkEveryPictureAndSound();

  platform::releaseArchives();
  std::error_code ignored;
  fs::remove_all(temp, ignored);
  return problems_;
}

void Validator::checkArchives() {
  for (std::string_view folder : archiveFolders()) {
    const std::string name = std::string(folder) + ".zip";
    const std::string relative = std::string(folder) + "/" + name;
    checked_.insert(relative);
    if (!fs::is_regular_file(path(relative))) {
      report(relative, "missing archive");
      continue;
    }
    platform::ResourceArchive archive(path(relative));
    if (!archive.isOpen()) {
      report(relative, "archive does not open");
      continue;
    }
    platform::registerArchive(name, path(std::string(folder)));
  }
}

bool Validator::checkExists(const std::string& relative, std::string_view kind) {
  if (platform::fileExists(path(relative))) return true;
  report(relative, "missing " + std::string(kind));
  return false;
}

void Validator::checkPicture(const std::string& relative) {
  if (!checked_.insert(relative).second) return;
  if (media::imageKindOf(relative) == media::ImageKind::Unsupported) {
    report(relative, "picture name has no .gif, .bmp or .jpg extension the decoders accept");
    return;
  }
  if (!checkExists(relative, "picture")) return;
  // Every frame is decoded, as the program decodes it; a picture the program would complain
  // about while showing it (a JPEG cut short is padded, a GIF cut after some frames keeps
  // them) is as much a problem as one that gives nothing.
  ToolMessages messages;
  const bool decoded = !media::loadImageFrames(path(relative), media::DecodeOptions{}).empty();
  const std::string why = messages.any() ? ": " + messages.lines().front() : std::string();
  if (!decoded)
    report(relative, "picture does not decode" + why);
  else if (messages.any())
    report(relative, "picture is damaged" + why);
}

void Validator::checkSound(const std::string& relative) {
  if (!checked_.insert(relative).second) return;
  if (!checkExists(relative, "sound")) return;
  std::optional<std::vector<uint8_t>> bytes = readResource(path(relative));
  if (!bytes) {
    report(relative, "sound cannot be read");
    return;
  }
  std::string fault = waveFault(*bytes);
  if (!fault.empty()) report(relative, "sound is not a canonical PCM WAV: " + fault);
}

void Validator::checkModel(const std::string& relative,
                           const std::vector<std::string_view>& parts) {
  if (!checked_.insert(relative).second) return;
  if (!checkExists(relative, "model")) return;
  const std::string folder = folderOf(relative);
  ToolMessages messages;
  engine3d::ModelLoadOptions options;
  options.quietWhenMissing = true;
  options.messages = messages.modelSink();
  std::unique_ptr<engine3d::Group3D> model = engine3d::loadModel3ds(
      path(folder), relative.substr(folder.size()), 1.0f, engine3d::NameFilter{}, options);
  const std::string why = messages.any() ? ": " + messages.lines().front() : std::string();
  if (model && messages.any()) report(relative, "model is damaged" + why);
  if (!model) {
    report(relative, "model does not load" + why);
    return;
  }
  for (std::string_view part : parts)
    if (!model->findMesh(std::string(part)))
      report(relative, "model lacks the part \"" + std::string(part) + "\"");
  for (const engine3d::Material* m : model->materials())
    for (const std::string* map : {&m->textureName, &m->opacityMapName, &m->reflectionMapName})
      if (!map->empty()) checkPicture(normalised(folder + *map));
}

void Validator::checkScreens() {
  for (const scene::TemplateRequirements& screen : screenRequirements()) {
    const std::string relative = "GUI/" + std::string(screen.file);
    if (!checked_.insert(relative).second) continue;
    platform::Template t;
    for (const PresetVariable& v : presetVariables()) t.set(v.name, v.value);
    const int preset = t.count();
    if (!t.load(path("GUI/"), screen.file)) {
      report(relative, "missing template");
      continue;
    }
    if (t.count() <= preset) {
      report(relative, "template holds no properties");
      continue;
    }
    for (const scene::ObjectRequirement& needed : screen.objects) checkEntry(relative, t, needed);
    checkTemplateReferences(relative, t);
  }
  for (std::string_view file : guiFiles()) checkPicture("GUI/" + std::string(file));
}

void Validator::checkEntry(const std::string& relative, platform::Template& t,
                           const scene::ObjectRequirement& needed) {
  using Form = scene::ObjectRequirement::Form;
  if (needed.form == Form::kCommand) {
    const std::vector<std::string> keys = t.keys();
    bool carried = std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
      return key.find(needed.name) != std::string::npos;
    });
    if (!carried)
      report(relative,
             "template has no object whose name carries \"" + std::string(needed.name) + "\"");
    return;
  }
  if (needed.form == Form::kProperty) {
    if (!t.contains(needed.name))
      report(relative, "template lacks the property \"" + std::string(needed.name) + "\"");
    return;
  }
  const std::string wanted = scene::keywordOf(needed.type);
  for (int i = 0; i < std::max(needed.count, 1); ++i) {
    const std::string key = needed.key(i);
    std::string holder = key;
    if (!t.contains(key)) {
      // "name%d" families may be one object "name" with `number` copies.
      const std::string base = needed.count > 0 && needed.name.ends_with("%d")
                                   ? std::string(needed.name.substr(0, needed.name.size() - 2))
                                   : std::string();
      if (base.empty() || !t.contains(base) || t.getInt(base, "number", 0) <= i) {
        report(relative, "template lacks the object \"" + key + "\"");
        continue;
      }
      holder = base;
    }
    const std::string type = t.getString(holder, "type").value_or(std::string());
    if (type != wanted)
      report(relative, "template's \"" + holder + "\" is " +
                           (type.empty() ? std::string("no object") : "a " + type) +
                           ", the page needs a " + wanted);
  }
}

void Validator::checkTemplateReferences(const std::string& relative, platform::Template& t) {
  const std::string folder = folderOf(relative);
  for (const std::string& key : t.keys()) {
    const std::string* value = t.getRaw(key);
    if (!value) continue;
    std::vector<std::string> names;
    if (value->find(':') == std::string::npos) {
      names.push_back(*value);
    } else {
      for (const auto& item : t.parseItems(*value)) names.push_back(item.second);
    }
    for (std::string name : names) {
      // Items are trimmed as the getters trim them; pattern names are filled in at run time.
      name.erase(0, name.find_first_not_of(" \t"));
      name.erase(name.find_last_not_of(" \t") + 1);
      if (name.empty() || name.find('%') != std::string::npos) continue;
      const std::string file = normalised(folder + name);
      if (isPictureName(name)) {
        checkPicture(file);
      } else if (isSoundName(name)) {
        checkSound(file);
      } else if (endsWith(lowered(name), ".properties")) {
        // A screen's own template is checked in full, with what its page needs, by checkScreens;
        // a link to it must not count as having checked it.
        const bool screen = std::any_of(
            screenRequirements().begin(), screenRequirements().end(),
            [&](const scene::TemplateRequirements& r) { return file == "GUI/" + std::string(r.file); });
        if (!screen && checked_.insert(file).second) checkExists(file, "template");
      }
    }
  }
}

void Validator::checkChopper() {
  checkModel("chopper/" + std::string(kHelicopterModel), helicopterParts());
  for (std::string_view file : chopperFiles()) {
    const std::string relative = "chopper/" + std::string(file);
    if (endsWith(lowered(file), ".3ds"))
      checkModel(relative, {});
    else
      checkPicture(relative);
  }
}

void Validator::checkRooms() {
  // Previews are found by level number: the room's name is whatever follows "level%d_".
  std::set<std::string> previews;
  if (fs::is_directory(path("scenes")))
    for (const auto& entry : fs::directory_iterator(path("scenes")))
      previews.insert(entry.path().filename().string());
  platform::ResourceArchive archive(path("scenes/scenes.zip"));
  if (archive.isOpen())
    for (const platform::ArchiveMember& m : archive.members()) previews.insert(m.name);

  for (int level = 0; level < kRoomCount; ++level) {
    const std::string prefix = "level" + std::to_string(level) + "_";
    auto preview = std::find_if(previews.begin(), previews.end(), [&](const std::string& name) {
      return name.compare(0, prefix.size(), prefix) == 0 && endsWith(lowered(name), ".gif");
    });
    if (preview == previews.end())
      report("scenes/" + prefix + "NAME.gif",
             "missing room preview for level " + std::to_string(level));
    else
      checkPicture("scenes/" + *preview);

    const std::string folder = "scenes/level" + std::to_string(level) + "/";
    for (std::string_view pattern : roomFiles()) {
      const std::string relative = folder + formatted(pattern, level);
      if (endsWith(relative, ".3ds"))
        checkModel(relative, roomParts());
      else if (isPictureName(relative))
        checkPicture(relative);
      else
        checkFlyers(relative);
    }
  }
  for (std::string_view file : scenesFiles()) checkPicture("scenes/" + std::string(file));
}

void Validator::checkFlyers(const std::string& roomFile) {
  if (!checked_.insert(roomFile).second) return;
  platform::Template t;
  if (!t.load(path(folderOf(roomFile)), roomFile.substr(folderOf(roomFile).size()))) {
    report(roomFile, "missing flyer list");
    return;
  }
  if (t.count() == 0) report(roomFile, "flyer list names no flyer");
  for (const std::string& name : t.keys()) {
    const int kind = t.getInt(name, "type", 0);
    if (kind < 0 || kind > 6) {
      report(roomFile,
             "flyer \"" + name + "\" has kind " + std::to_string(kind) + " outside 0 to 6");
      continue;
    }
    std::vector<std::string_view> parts = flyerParts();
    for (std::string_view part : flyerKindParts(kind)) parts.push_back(part);
    const std::string folder = "flyable/" + name + "/";
    checkModel(folder + name + ".3ds", parts);
    const int skins = t.getInt(name, "textureNum", 1);
    for (int i = 0; i < skins; ++i) checkPicture(folder + name + "_" + std::to_string(i) + ".gif");
  }
  for (std::string_view file : flyableFiles()) checkPicture("flyable/" + std::string(file));
}

void Validator::checkPilots() {
  std::set<std::string> pilots;
  const std::string neutral(pilotPictureSuffixes().front());
  if (fs::is_directory(path("characters")))
    for (const auto& entry : fs::directory_iterator(path("characters"))) {
      const std::string file = entry.path().filename().string();
      if (endsWith(file, neutral) && file.size() > neutral.size())
        pilots.insert(file.substr(0, file.size() - neutral.size()));
    }
  if (static_cast<int>(pilots.size()) < kMinPilots)
    report("characters/", "only " + std::to_string(pilots.size()) + " pilots (\"NAME" + neutral +
                              "\"), at least " + std::to_string(kMinPilots) + " needed");
  for (const std::string& pilot : pilots) {
    for (std::string_view suffix : pilotPictureSuffixes())
      checkPicture("characters/" + pilot + std::string(suffix));
    checkPicture("chopper/chopper_" + pilot + ".jpg");
  }
}

void Validator::checkEveryPictureAndSound() {
  std::vector<std::string> files;
  std::error_code error;
  if (fs::is_directory(root_))
    for (auto it = fs::recursive_directory_iterator(root_, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
      if (it->is_regular_file()) files.push_back(fs::relative(it->path(), root_).generic_string());
  for (std::string_view folder : archiveFolders()) {
    platform::ResourceArchive archive(
        path(std::string(folder) + "/" + std::string(folder) + ".zip"));
    if (!archive.isOpen()) continue;
    for (const platform::ArchiveMember& m : archive.members())
      files.push_back(normalised(std::string(folder) + "/" + m.name));
  }
  for (const std::string& file : files) {
    if (isPictureName(file))
      checkPicture(file);
    else if (isSoundName(file))
      checkSound(file);
  }
}

}  // namespace inspect
