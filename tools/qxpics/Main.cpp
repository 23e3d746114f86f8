// qxpics IN_DIR OUT_DIR: turns every text pixel map below IN_DIR (NAME.txt) into OUT_DIR/NAME.bmp,
// keeping the folders. Every map is read before anything is written, so one bad map fails the
// build without leaving a half-updated set of pictures behind.
// qxpics --icon MAP.txt FACTOR OUT.png: the application's icon, the map FACTOR times larger.
#include "tools/qxpics/Icon.h"
#include "tools/qxpics/PixelMap.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Picture {
  fs::path relative;  // below IN_DIR, still ending in .txt
  qxpics::PixelMap map;
};

void Complain(const std::string& what) { std::fprintf(stderr, "qxpics: %s\n", what.c_str()); }

bool ReadFile(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  return bool(out);
}

// The maps below `in`, in a fixed order so that messages come out the same way every time.
std::vector<fs::path> FindMaps(const fs::path& in, std::error_code& ec) {
  std::vector<fs::path> found;
  for (fs::recursive_directory_iterator it(in, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec) && it->path().extension() == ".txt")
      found.push_back(fs::relative(it->path(), in, ec));
    if (ec) break;
  }
  std::sort(found.begin(), found.end());
  return found;
}

// A map read and parsed; a fault is named with its file and line.
std::optional<qxpics::PixelMap> ReadMap(const fs::path& source) {
  std::string text;
  if (!ReadFile(source, text)) {
    Complain(source.string() + ": cannot be read");
    return std::nullopt;
  }
  qxpics::ParseResult parsed = qxpics::ParsePixelMap(text);
  if (const auto* error = std::get_if<qxpics::MapError>(&parsed)) {
    Complain(source.string() + ":" + std::to_string(error->line) + ": " + error->message);
    return std::nullopt;
  }
  return std::move(std::get<qxpics::PixelMap>(parsed));
}

int RunIcon(const fs::path& source, const std::string& factorText, const fs::path& out) {
  int factor = 0;
  const auto [end, ec] =
      std::from_chars(factorText.data(), factorText.data() + factorText.size(), factor);
  if (ec != std::errc() || end != factorText.data() + factorText.size() || factor < 1 ||
      factor > 16) {
    Complain(factorText + ": the factor is a whole number from 1 to 16");
    return 1;
  }
  const std::optional<qxpics::PixelMap> map = ReadMap(source);
  if (!map) return 1;
  std::error_code fsError;
  if (out.has_parent_path()) fs::create_directories(out.parent_path(), fsError);
  if (fsError || !WriteFile(out, qxpics::EncodePng(qxpics::MakeIcon(*map, factor)))) {
    Complain(out.string() + ": cannot be written");
    return 1;
  }
  return 0;
}

int Run(const fs::path& in, const fs::path& out) {
  std::error_code ec;
  if (!fs::is_directory(in, ec)) {
    Complain(in.string() + ": not a folder");
    return 1;
  }
  const std::vector<fs::path> maps = FindMaps(in, ec);
  if (ec) {
    Complain(in.string() + ": " + ec.message());
    return 1;
  }
  if (maps.empty()) {
    Complain(in.string() + ": no pixel maps (*.txt) found");
    return 1;
  }

  std::vector<Picture> pictures;
  bool failed = false;
  for (const fs::path& relative : maps) {
    if (std::optional<qxpics::PixelMap> map = ReadMap(in / relative))
      pictures.push_back({relative, std::move(*map)});
    else
      failed = true;
  }
  if (failed) return 1;

  for (const Picture& picture : pictures) {
    fs::path target = out / picture.relative;
    target.replace_extension(".bmp");
    fs::create_directories(target.parent_path(), ec);
    if (ec || !WriteFile(target, qxpics::EncodeBmp(picture.map))) {
      Complain(target.string() + ": cannot be written" + (ec ? ": " + ec.message() : ""));
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool icon = argc == 5 && std::string_view(argv[1]) == "--icon";
  if (argc != 3 && !icon) {
    std::fprintf(stderr,
                 "usage: qxpics IN_DIR OUT_DIR\n"
                 "       qxpics --icon MAP.txt FACTOR OUT.png\n");
    return 2;
  }
  try {
    return icon ? RunIcon(argv[2], argv[3], argv[4]) : Run(argv[1], argv[2]);
  } catch (const std::exception& e) {
    Complain(e.what());
    return 1;
  }
}
