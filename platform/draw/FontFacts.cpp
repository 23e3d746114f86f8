#include "platform/draw/FontFacts.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <set>

namespace platform {
namespace {

constexpr std::string_view kFirstLine = "qxworks fonts 1";

bool Writable(std::string_view text) {
  return text.find_first_of("\t\n") == std::string_view::npos;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

template <class Number>
bool Parse(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseFlag(std::string_view text, bool& value) {
  if (text != "0" && text != "1") return false;
  value = text == "1";
  return true;
}

}  // namespace

FileStamp StampOf(const std::string& path) {
  FileStamp stamp;
  stamp.path = path;
  struct stat about {};
  if (stat(path.c_str(), &about) != 0) return stamp;
  auto nanoseconds = [](const timespec& t) {
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
  };
  stamp.size = about.st_size;
  stamp.inode = std::int64_t(about.st_ino);
  stamp.modified = nanoseconds(about.st_mtim);
  stamp.changed = nanoseconds(about.st_ctim);
  return stamp;
}

std::string FaceKey(const LogicalFont& request) {
  const int weight = request.weight <= 0 ? 400 : std::min(request.weight, 1000);
  return std::to_string(weight) + (request.italic ? " italic" : " roman") +
         (request.fixedPitch ? " fixed " : " any ") + request.face;
}

std::string WriteFontFacts(const FontFacts& facts) {
  std::string text(kFirstLine);
  text += '\n';
  auto line = [&](std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
      if (!first) text += '\t';
      text += field;
      first = false;
    }
    text += '\n';
  };
  if (!Writable(facts.setting)) return {};
  line({"setting", facts.setting});
  for (const FileStamp& s : facts.stamps) {
    if (!Writable(s.path)) return {};
    line({"stamp", std::to_string(s.size), std::to_string(s.inode), std::to_string(s.modified),
          std::to_string(s.changed), s.path});
  }
  for (const std::string& family : facts.families) {
    if (!Writable(family)) return {};
    line({"family", family});
  }
  for (const auto& [key, faces] : facts.faces) {
    if (!Writable(key)) return {};
    if (faces.empty()) line({"none", key});
    for (const FaceMatch& f : faces) {
      if (!Writable(f.file) || !Writable(f.family)) return {};
      line({"face", key, f.file, std::to_string(f.index), f.family, f.bold ? "1" : "0",
            f.italic ? "1" : "0", f.monospace ? "1" : "0"});
    }
  }
  line({"end"});
  return text;
}

std::optional<FontFacts> ReadFontFacts(std::string_view text) {
  FontFacts facts;
  bool first = true, setting = false, ended = false;
  std::set<std::string, std::less<>> without;  // records read with no faces
  while (!text.empty()) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos || ended) return std::nullopt;  // cut short, or past the end
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (first) {
      if (line != kFirstLine) return std::nullopt;
      first = false;
      continue;
    }
    const std::vector<std::string_view> f = Fields(line);
    const std::string_view tag = f[0];
    if (tag == "setting" && f.size() == 2 && !setting) {
      facts.setting = f[1];
      setting = true;
    } else if (tag == "stamp" && f.size() == 6) {
      FileStamp s;
      if (!Parse(f[1], s.size) || !Parse(f[2], s.inode) || !Parse(f[3], s.modified) ||
          !Parse(f[4], s.changed) || f[5].empty())
        return std::nullopt;
      s.path = f[5];
      facts.stamps.push_back(std::move(s));
    } else if (tag == "family" && f.size() == 2) {
      facts.families.emplace_back(f[1]);
    } else if (tag == "none" && f.size() == 2) {
      if (facts.faces.count(std::string(f[1]))) return std::nullopt;
      facts.faces[std::string(f[1])];
      without.emplace(f[1]);
    } else if (tag == "face" && f.size() == 8) {
      FaceMatch face;
      face.file = f[2];
      face.family = f[4];
      if (without.count(f[1]) || face.file.empty() || !Parse(f[3], face.index) ||
          !ParseFlag(f[5], face.bold) || !ParseFlag(f[6], face.italic) ||
          !ParseFlag(f[7], face.monospace))
        return std::nullopt;
      facts.faces[std::string(f[1])].push_back(std::move(face));
    } else if (tag == "end" && f.size() == 1) {
      ended = true;
    } else {
      return std::nullopt;
    }
  }
  if (!ended || !setting) return std::nullopt;
  return facts;
}

bool FontFactsHold(const FontFacts& facts, const std::string& setting) {
  if (facts.setting != setting || facts.stamps.empty()) return false;
  for (const FileStamp& stamp : facts.stamps)
    if (!(StampOf(stamp.path) == stamp)) return false;
  return true;
}

}  // namespace platform
