// qxpics IN_DIR OUT_DIR: turns every text pixel map below IN_DIR (NAME.txt) into OUT_DIR/NAME.bmp,
// keeping the folders. Every map is read before anything is written, so one bad map fails the
// build without leaving a half-updated set of pictures behind.
#include "tools/qxpics/PixelMap.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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
    const fs::path source = in / relative;
    std::string text;
    if (!ReadFile(source, text)) {
      Complain(source.string() + ": cannot be read");
      failed = true;
      continue;
    }
    qxpics::ParseResult parsed = qxpics::ParsePixelMap(text);
    if (const auto* error = std::get_if<qxpics::MapError>(&parsed)) {
      Complain(source.string() + ":" + std::to_string(error->line) + ": " + error->message);
      failed = true;
      continue;
    }
    pictures.push_back({relative, std::move(std::get<qxpics::PixelMap>(parsed))});
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
  if (argc != 3) {
    std::fprintf(stderr, "usage: qxpics IN_DIR OUT_DIR\n");
    return 2;
  }
  try {
    return Run(argv[1], argv[2]);
  } catch (const std::exception& e) {
    Complain(e.what());
    return 1;
  }
}
