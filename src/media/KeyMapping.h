// The stored key mapping of calibrated hardware buttons.
//
// Some devices send other key codes than the standard 193..196 (0xC1..0xC4) for their four
// application buttons A..D. The calibration dialog (KeyCalibration) finds the codes a device
// sends; the pairs (device code -> standard code) are kept in a settings template as the
// property "PocketPCKeyMapping", written "%d:%d" per pair and joined with ",", for example
// "200:195,201:196,202:196". An empty value means the device was calibrated and sends the
// standard codes. Every page loads the mapping into its canvas, which translates each incoming
// key code through it before any other key handling.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scene/Canvas.h"

namespace media {

inline constexpr const char* kKeyMappingProperty = "PocketPCKeyMapping";

struct KeyPair {
  uint32_t deviceCode = 0;
  uint32_t standardCode = 0;
  bool operator==(const KeyPair&) const = default;
};

// "%d:%d" per pair, joined with ","; empty for no pairs.
std::string formatKeyMapping(const std::vector<KeyPair>& pairs);

// The map of a property value: the value is cut at ',' into entries and each entry at ':' into
// parts (empty pieces do not count); an entry with fewer than two parts is skipped, and the first
// two are read as decimal numbers ("12abc" is 12) into map[first] = second. Numbers outside the
// key-code range 0..65535 skip their entry; a later entry for the same code wins. Null for an
// empty value.
std::unique_ptr<scene::KeyMap> parseKeyMapping(std::string_view value);

// The mapping stored in template `templateName` of `folder`; null when the template or the
// property is missing or the value is empty.
std::unique_ptr<scene::KeyMap> loadMapping(std::string_view folder, std::string_view templateName);

// Whether the template holds the property at all (an empty value counts: it is a calibration of
// a device that sends the standard codes).
bool hasMapping(std::string_view folder, std::string_view templateName);

// Sets the property to formatKeyMapping(pairs) in the template, keeping everything else it holds,
// and saves it (a missing template is created). False, with nothing written, when the template is
// there but cannot be read, or when the save fails.
bool saveMapping(std::string_view folder, std::string_view templateName,
                 const std::vector<KeyPair>& pairs);

// Gives `page` the stored mapping (or none), so that its keys translate from now on. Returns
// whether a map was installed.
bool applyMapping(scene::Canvas& page, std::string_view folder, std::string_view templateName);

}  // namespace media
