// What fontconfig answered at an earlier start, kept in a small file of the user's cache so the
// next start can draw its first frame without starting fontconfig (a few milliseconds of parsing
// its configuration). The file holds the state of every file and folder fontconfig read, and
// the settings it depends on; if any of them has changed since, the facts are not used.
//
//   std::optional<FontFacts> facts = ReadFontFacts(text);
//   if (facts && FontFactsHold(*facts, setting)) ... use facts->families, facts->faces ...
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/Font.h"

namespace platform {

// One file or folder as it stands: absent (size -1), or its size, inode and change times.
struct FileStamp {
  std::string path;
  std::int64_t size = -1;
  std::int64_t inode = 0;
  std::int64_t modified = 0;  // nanoseconds
  std::int64_t changed = 0;   // of the inode, nanoseconds: no one can set it back

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp StampOf(const std::string& path);

struct FontFacts {
  std::string setting;                // the library's version and the environment it read
  std::vector<FileStamp> stamps;      // everything fontconfig read, or would read once made
  std::vector<std::string> families;  // as FontFamilies gives them
  std::map<std::string, std::vector<FaceMatch>> faces;  // by FaceKey; best first

  friend bool operator==(const FontFacts&, const FontFacts&) = default;
};

// What face matching depends on in a record: the face, weight, slant and fixed pitch.
std::string FaceKey(const LogicalFont& request);

// The file's text; empty when some text cannot be written in it (a tab or a line break).
std::string WriteFontFacts(const FontFacts& facts);
// nullopt for a text that is not such a file, whole.
std::optional<FontFacts> ReadFontFacts(std::string_view text);
// The same setting, and every stamp as the file or folder stands now.
bool FontFactsHold(const FontFacts& facts, const std::string& setting);

}  // namespace platform
