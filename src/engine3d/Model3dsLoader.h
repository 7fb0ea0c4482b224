// The 3DS model loader: reads a 3D Studio file into a Group3D.
//
// One Mesh per named triangle object (the object names are kept exactly, up to 29 characters:
// the game finds model parts by them), one Material per material entry, maps loaded through the
// TextureLoader, and the whole model normalised to the requested radius. Chunks the engine does
// not use are skipped. Damaged files never make the reader leave its buffer: records that do not
// fit their chunk, faces naming vertices that do not exist and texture coordinates beyond the
// vertex list are dropped, and a chunk shorter than its header or a skipped chunk running past
// the end of the file ends the parse, keeping what was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine3d/Group3D.h"
#include "engine3d/Texture.h"
#include "engine3d/UserMessage.h"

namespace engine3d {

struct ModelLoadOptions {
  // Loads map pictures; when empty no picture is loaded (the map names are still recorded in
  // the materials).
  TextureLoader textures;
  // Receives the user-visible messages; when empty they go to standard error.
  MessageSink messages;
  // Suppresses the message for a model file that cannot be found.
  bool quietWhenMissing = false;
  // Folder of the map pictures; "" means the model's own folder.
  std::string textureFolder;
  // The file as messages name it; loadModel3ds fills it in. "" names none.
  std::string sourceName;
};

// Loads `modelName` from `directory` and normalises it to `radius` with `filter`.
// The model folder is `directory` (a '\' is added when it ends in no separator) plus the part of
// `modelName` up to its last separator; a leading separator of `modelName` is dropped. The file
// is opened through the resource archives. Returns null, after telling the user, when the file
// cannot be opened or does not start with the 3DS main chunk. A file shorter than its main chunk
// says (cut off) gives what could be read, and the user is told. Messages name the file. The
// caller owns the group.
std::unique_ptr<Group3D> loadModel3ds(const std::string& directory, const std::string& modelName,
                                      float radius, const NameFilter& filter,
                                      const ModelLoadOptions& options);

// Parses a whole 3DS file held in memory (`textureFolder` as the folder of its maps, "" for the
// working folder). With radius > 0 the model is normalised to it with `filter`; otherwise it
// keeps the file's units (with the axes turned to y up). Null for a file that does not start
// with the main chunk (the user is told); a cut-off file is parsed as far as it goes and the
// user is told too. Messages name `options.sourceName`.
std::unique_ptr<Group3D> parseModel3ds(const std::uint8_t* data, std::size_t size,
                                       const std::string& textureFolder, float radius,
                                       const NameFilter& filter, const ModelLoadOptions& options);

// The messages the loader shows, for callers that want to recognise them.
inline constexpr const char* kMissingModelText = "Error: can not find the 3DS file '";
// Without a file name; with one: "Error: <file> is not a valid 3DS file."
inline constexpr const char* kInvalidModelText = "Error: this is not a valid 3DS file.";
// "Error: the 3DS file '<file>' is cut off; only the part that could be read is shown."
inline constexpr const char* kCutOffModelText = "Error: the 3DS file '";
inline constexpr const char* kMapSizeMismatchText =
    "The alpha channel texture does not match original texture in deminsion.";

}  // namespace engine3d
