// Face matching with fontconfig, opening and measuring with SDL2_ttf, and the caches of opened
// fonts and rendered texts.
#include "platform/draw/Font.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "platform/Text.h"
#include "platform/draw/FontFacts.h"

namespace platform {
namespace {

constexpr int kDefaultCellHeight = 16;
constexpr int kMaxHeight = 1024;
// Each font keeps its rendered texts up to this many bytes, then starts afresh: a
// repaint draws mostly the texts of the previous one.
constexpr size_t kMaxCachedBytes = size_t(16) << 20;

// fontconfig's start (its configuration files and caches) and the list of families cost a few
// milliseconds that a program pays before its first text. StartFonts begins both on a thread of
// their own, so they pass while the display connects; the first user waits for what is left, or
// does it all itself when nobody began it. fontconfig is shut down at exit, after the thread, so
// the process leaves nothing behind.
class FontconfigStart {
 public:
  void Begin() {
    std::call_once(begun_, [this] { worker_ = std::thread(&FontconfigStart::Run, this); });
  }

  bool Ready() {
    std::call_once(begun_, [this] { Run(); });
    std::call_once(joined_, [this] {
      if (worker_.joinable()) worker_.join();
    });
    return ready_;
  }

  const std::vector<std::string>& Families() {
    Ready();
    return families_;
  }

  ~FontconfigStart() {
    if (worker_.joinable()) worker_.join();
    if (ready_) FcFini();
  }

 private:
  void Run();

  std::once_flag begun_, joined_;
  std::thread worker_;
  bool ready_ = false;
  std::vector<std::string> families_;
};

FontconfigStart& Fontconfig() {
  static FontconfigStart start;
  return start;
}

bool FontconfigReady() {
  return Fontconfig().Ready();
}

const FcChar8* Fc(const char* s) {
  return reinterpret_cast<const FcChar8*>(s);
}

std::string GetString(FcPattern* pattern, const char* object, int n = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

int GetInteger(FcPattern* pattern, const char* object, int fallback) {
  int value = fallback;
  FcPatternGetInteger(pattern, object, 0, &value);
  return value;
}

// Faces for the record, best first. Fonts that SDL2_ttf cannot open (Type 1, bitmap fonts) are
// left out, and so are proportional faces when a fixed pitch is asked for.
std::vector<FaceMatch> AskFontconfig(const LogicalFont& request, size_t limit) {
  std::vector<FaceMatch> found;
  if (!FontconfigReady()) return found;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return found;
  const std::string family = Cp1251ToUtf8(request.face);
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, Fc(family.c_str()));
  if (request.fixedPitch) {
    FcPatternAddString(pattern, FC_FAMILY, Fc("monospace"));
    FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
  }
  const int weight = request.weight <= 0 ? 400 : std::min(request.weight, 1000);
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  // The system's text is Russian: among equally good faces, one that has Cyrillic.
  FcPatternAddString(pattern, FC_LANG, Fc("ru"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  FcResult result = FcResultNoMatch;
  FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  for (int i = 0; set && i < set->nfont && found.size() < limit; ++i) {
    FcPattern* font = FcFontRenderPrepare(nullptr, pattern, set->fonts[i]);
    if (!font) continue;
    const std::string format = GetString(font, FC_FONTFORMAT);
    const int spacing = GetInteger(font, FC_SPACING, FC_PROPORTIONAL);
    FaceMatch face;
    face.file = GetString(font, FC_FILE);
    face.index = GetInteger(font, FC_INDEX, 0);
    face.family = Utf8ToCp1251(GetString(font, FC_FAMILY));
    face.bold = GetInteger(font, FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_DEMIBOLD;
    face.italic = GetInteger(font, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    face.monospace = spacing >= FC_MONO;
    FcPatternDestroy(font);
    const bool openable = format == "TrueType" || format == "CFF";
    if (!openable || face.file.empty() || (request.fixedPitch && !face.monospace)) continue;
    found.push_back(std::move(face));
  }
  if (set) FcFontSetDestroy(set);
  FcPatternDestroy(pattern);
  return found;
}

void FontconfigStart::Run() {
  ready_ = FcInit() == FcTrue;
  if (!ready_) return;
  std::vector<std::string>& names = families_;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  std::unordered_set<std::string> seen;
  for (int i = 0; set && i < set->nfont; ++i) {
    for (int n = 0;; ++n) {
      const std::string utf8 = GetString(set->fonts[i], FC_FAMILY, n);
      if (utf8.empty()) break;
      std::string name = Utf8ToCp1251(utf8);
      if (name.empty() || Cp1251ToUtf8(name) != utf8) continue;
      if (seen.insert(name).second) names.push_back(std::move(name));
    }
  }
  if (set) FcFontSetDestroy(set);
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
}

// Everything fontconfig's answers depend on besides its files: its version and the environment.
std::string FontconfigSetting() {
  std::string setting = "fontconfig " + std::to_string(FcGetVersion());
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",
                           "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CACHE_HOME",
                           "LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"}) {
    setting += ' ';
    setting += name;
    if (const char* value = std::getenv(name)) setting += '=' + std::string(value);
  }
  return setting;
}

// The files and folders fontconfig read (its configuration, the font folders and its caches),
// the folders holding them, and the places where a user's own settings and fonts would go,
// present or not yet. Only once fontconfig has started.
std::vector<FileStamp> FontconfigStamps() {
  std::set<std::string> paths;
  // A file added beside a configuration file changes its folder.
  auto add = [&](const std::string& path, bool withFolder) {
    if (path.empty()) return;
    paths.insert(path);
    const size_t slash = path.find_last_of('/');
    if (withFolder && slash != std::string::npos && slash > 0) paths.insert(path.substr(0, slash));
  };
  auto take = [&](FcStrList* list, bool withFolders) {
    if (!list) return;
    while (const FcChar8* path = FcStrListNext(list))
      add(reinterpret_cast<const char*>(path), withFolders);
    FcStrListDone(list);
  };
  take(FcConfigGetConfigFiles(nullptr), true);
  take(FcConfigGetConfigDirs(nullptr), false);
  take(FcConfigGetFontDirs(nullptr), false);  // with every folder below the configured ones
  take(FcConfigGetCacheDirs(nullptr), false);
  const char* home = std::getenv("HOME");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string homeDir = home ? home : "";
  const std::string configDir = config && *config ? config : homeDir + "/.config";
  const std::string dataDir = data && *data ? data : homeDir + "/.local/share";
  for (const std::string& path :
       {configDir + "/fontconfig/fonts.conf", configDir + "/fontconfig/conf.d/x",
        dataDir + "/fonts/x", homeDir + "/.fonts.conf", homeDir + "/.fonts.conf.d/x",
        homeDir + "/.fonts/x"})
    add(path, true);
  std::vector<FileStamp> stamps;
  for (const std::string& path : paths)
    if (!path.ends_with("/x")) stamps.push_back(StampOf(path));
  return stamps;
}

// A regular file of at most 1 MB, whole; "" for anything else (a pipe put in its place must not
// hang the start, nor a huge file slow it).
std::string ReadSmallFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  std::string text;
  struct stat about {};
  if (fstat(fd, &about) == 0 && S_ISREG(about.st_mode) && about.st_size <= (1 << 20)) {
    text.resize(size_t(about.st_size));
    size_t got = 0;
    while (got < text.size()) {
      const ssize_t n = read(fd, text.data() + got, text.size() - got);
      if (n <= 0) break;
      got += size_t(n);
    }
    text.resize(got);
  }
  close(fd);
  return text;
}

// What fontconfig answered at an earlier start of this program, while it still holds: the
// families and the faces of the records asked for then. Facts learnt in this run are written
// back for the next. Kept in $XDG_CACHE_HOME/qxworks (~/.cache/qxworks), a file per program, as
// fontconfig's answers may depend on the program's name.
class KnownFonts {
 public:
  // Reads the file once; true while its facts hold. On the video thread, as everything here.
  bool Hold() {
    std::call_once(read_, [this] {
      path_ = FilePath();
      if (path_.empty()) return;
      std::optional<FontFacts> facts = ReadFontFacts(ReadSmallFile(path_));
      if (facts && FontFactsHold(*facts, FontconfigSetting())) facts_ = std::move(*facts);
    });
    return facts_.has_value();
  }

  const std::vector<std::string>* Families() { return Hold() ? &facts_->families : nullptr; }

  const std::vector<FaceMatch>* Faces(const LogicalFont& request) {
    if (!Hold()) return nullptr;
    const auto found = facts_->faces.find(FaceKey(request));
    return found == facts_->faces.end() ? nullptr : &found->second;
  }

  // What fontconfig has just answered for the record (it is running), or its families alone:
  // kept, and written for the next start.
  void Learn(const LogicalFont* request = nullptr, const std::vector<FaceMatch>& faces = {}) {
    if (!Hold()) {
      facts_.emplace();
      facts_->setting = FontconfigSetting();
      facts_->stamps = FontconfigStamps();
      facts_->families = Fontconfig().Families();
    }
    if (request) facts_->faces[FaceKey(*request)] = faces;
    Write();
  }

 private:
  static std::string FilePath() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    std::string dir;
    if (cache && *cache == '/')
      dir = cache;
    else if (home && *home == '/')
      dir = std::string(home) + "/.cache";
    else
      return {};
    return dir + "/qxworks/fonts-" + program_invocation_short_name;
  }

  // A whole new file takes the old one's place, so a reader never sees half of one.
  void Write() const {
    if (path_.empty()) return;
    const std::string text = WriteFontFacts(*facts_);
    if (text.empty()) return;
    std::error_code ignored;
    const std::filesystem::path file(path_);
    std::filesystem::create_directories(file.parent_path(), ignored);
    const std::string temporary = path_ + "." + std::to_string(getpid()) + ".new";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out << text;
      if (!out.flush()) {
        out.close();
        std::remove(temporary.c_str());
        return;
      }
    }
    if (std::rename(temporary.c_str(), path_.c_str()) != 0) std::remove(temporary.c_str());
  }

  std::once_flag read_;
  std::string path_;
  std::optional<FontFacts> facts_;
};

KnownFonts& Known() {
  static KnownFonts known;
  return known;
}

// Faces for the record, best first: known from an earlier start, or asked of fontconfig (and then
// known for the next). fresh asks fontconfig whatever is known.
std::vector<FaceMatch> Candidates(const LogicalFont& request, size_t limit, bool fresh = false) {
  constexpr size_t kKept = 8;
  std::vector<FaceMatch> found;
  if (const std::vector<FaceMatch>* known = fresh ? nullptr : Known().Faces(request)) {
    found = *known;
  } else {
    found = AskFontconfig(request, kKept);
    if (FontconfigReady()) Known().Learn(&request, found);
  }
  if (found.size() > limit) found.resize(limit);
  return found;
}

// Texts are looked up by the caller's bytes, without making a string of them first.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// The runs of pixels with some coverage, row by row. Gaps narrower than kGap stay inside a
// run: stepping over a few bare pixels costs less than starting another run.
std::vector<TextMask::Run> InkedRuns(const TextMask& mask) {
  constexpr int kGap = 16;
  std::vector<TextMask::Run> runs;
  for (int y = 0; y < mask.height; ++y) {
    const std::uint8_t* row = mask.coverage.data() + size_t(y) * size_t(mask.width);
    for (int x = 0; x < mask.width; ++x) {
      if (row[x] == 0) continue;
      if (!runs.empty() && runs.back().row == y && x - runs.back().right < kGap)
        runs.back().right = x + 1;
      else
        runs.push_back({y, x, x + 1});
    }
  }
  // Runs are blended a block of kBlock pixels at a time; bare pixels around a run make up its
  // last block, where the row has them, rather than leaving a remainder done one by one.
  constexpr int kBlock = 8;
  for (size_t i = 0; i < runs.size(); ++i) {
    TextMask::Run& run = runs[i];
    const int wanted = (run.right - run.left + kBlock - 1) / kBlock * kBlock;
    const int floor = i > 0 && runs[i - 1].row == run.row ? runs[i - 1].right : 0;
    const int ceiling =
        i + 1 < runs.size() && runs[i + 1].row == run.row ? runs[i + 1].left : mask.width;
    run.right = std::min(ceiling, run.left + wanted);
    run.left = std::max(floor, run.right - wanted);
  }
  return runs;
}

// Many faces put the underscore below their descent line, where the cell ends: drawn as
// rendered it would never show. What a glyph inks below the cell is lifted into it, in the
// columns it inks, by as much as the lowest of it hangs over, and laid over what those columns
// hold below the baseline. Every other pixel stays as rendered. alpha(x, y) reads the rendered
// picture, renderedHeight rows tall and at least columns wide.
template <typename Alpha>
void LiftOverhang(TextMask& mask, int columns, int renderedHeight, int baseline,
                  const Alpha& alpha) {
  int lowest = -1;
  std::vector<bool> hanging(size_t(columns), false);
  for (int y = mask.height; y < renderedHeight; ++y)
    for (int x = 0; x < columns; ++x)
      if (alpha(x, y) != 0) hanging[size_t(x)] = true, lowest = y;
  if (lowest < 0) return;
  const int lift = lowest - (mask.height - 1);
  for (int x = 0; x < columns; ++x) {
    if (!hanging[size_t(x)]) continue;
    for (int y = std::max(baseline, 0); y < mask.height; ++y) {
      std::uint8_t& target = mask.coverage[size_t(y) * size_t(mask.width) + size_t(x)];
      if (y + lift < renderedHeight) target = std::max(target, alpha(x, y + lift));
    }
  }
}

// cp1251 to what SDL2_ttf takes. Control bytes (DEL too) become spaces: a NUL would end its
// string early, and the faces draw the others (the line break of a one-line description, say) as
// boxes.
std::string ToUtf8(std::string_view cp1251) {
  std::string bytes(cp1251);
  for (char& c : bytes)
    if (static_cast<unsigned char>(c) < 32 || c == 0x7F) c = ' ';
  return Cp1251ToUtf8(bytes);
}

}  // namespace

std::optional<FaceMatch> MatchFace(const LogicalFont& request) {
  std::vector<FaceMatch> faces = Candidates(request, 1);
  if (faces.empty()) return std::nullopt;
  return std::move(faces.front());
}

void StartFonts() {
  // What an earlier start learnt needs no fontconfig; a record not asked for then starts it.
  if (!Known().Hold()) Fontconfig().Begin();
}

std::vector<std::string> FontFamilies() {
  if (const std::vector<std::string>* known = Known().Families()) return *known;
  std::vector<std::string> families = Fontconfig().Families();
  if (FontconfigReady()) Known().Learn();
  return families;
}

// --- Font -------------------------------------------------------------------------------------

struct Font::Impl {
  TTF_Font* ttf = nullptr;
  LogicalFont request;
  FaceMatch face;
  int height = 0;
  int ascent = 0;
  mutable std::unordered_map<std::string, TextMask, TextHash, std::equal_to<>> masks;
  mutable size_t maskBytes = 0;
  // The last text measured and not rendered: drawing a new text measures it and then renders
  // it, which measures it again.
  mutable std::string measured;
  mutable int measuredWidth = -1;

  ~Impl() {
    if (ttf) TTF_CloseFont(ttf);
  }
};

Font::Font(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Font::~Font() = default;

const LogicalFont& Font::Request() const {
  return impl_->request;
}
const FaceMatch& Font::Face() const {
  return impl_->face;
}
int Font::Height() const {
  return impl_->height;
}
int Font::Ascent() const {
  return impl_->ascent;
}

Size Font::Extent(std::string_view cp1251) const {
  // A rendered text is exactly as large as its extent.
  if (const TextMask* mask = Rendered(cp1251)) return {mask->width, mask->height};
  if (impl_->measuredWidth >= 0 && impl_->measured == cp1251)
    return {impl_->measuredWidth, impl_->height};
  int w = 0, h = 0;
  const std::string utf8 = ToUtf8(cp1251);
  if (!utf8.empty() && TTF_SizeUTF8(impl_->ttf, utf8.c_str(), &w, &h) != 0) w = 0;
  impl_->measured.assign(cp1251);
  impl_->measuredWidth = std::max(w, 0);
  return {impl_->measuredWidth, impl_->height};
}

const TextMask* Font::Rendered(std::string_view cp1251) const {
  const auto it = impl_->masks.find(cp1251);
  return it != impl_->masks.end() ? &it->second : nullptr;
}

const TextMask& Font::Render(std::string_view cp1251) const {
  if (const TextMask* mask = Rendered(cp1251)) return *mask;
  auto& masks = impl_->masks;

  TextMask mask;
  const Size size = Extent(cp1251);
  mask.width = size.width;
  mask.height = size.height;
  mask.coverage.assign(size_t(mask.width) * size_t(mask.height), 0);
  const std::string utf8 = ToUtf8(cp1251);
  if (mask.width > 0 && !utf8.empty()) {
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended(impl_->ttf, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    SDL_Surface* argb = rendered && rendered->format->format != SDL_PIXELFORMAT_ARGB8888
                            ? SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0)
                            : rendered;
    if (argb && SDL_LockSurface(argb) == 0) {
      // The rendered picture is the extent's size, taller where a glyph reaches below the cell;
      // the mask keeps to the extent so text never paints outside what it measures.
      const int rows = std::min(mask.height, argb->h), columns = std::min(mask.width, argb->w);
      const auto alpha = [argb](int x, int y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                          y * argb->pitch);
        return std::uint8_t(row[x] >> 24);
      };
      for (int y = 0; y < rows; ++y) {
        std::uint8_t* target = mask.coverage.data() + size_t(y) * mask.width;
        for (int x = 0; x < columns; ++x) target[x] = alpha(x, y);
      }
      LiftOverhang(mask, columns, argb->h, impl_->ascent, alpha);
      SDL_UnlockSurface(argb);
    }
    if (argb && argb != rendered) SDL_FreeSurface(argb);
    if (rendered) SDL_FreeSurface(rendered);
  }

  mask.runs = InkedRuns(mask);

  // The text itself counts too: a text of no width has no pixels but may be long.
  const size_t cost = mask.coverage.size() + mask.runs.size() * sizeof(TextMask::Run) +
                      cp1251.size() + sizeof(TextMask);
  if (impl_->maskBytes + cost > kMaxCachedBytes) {
    masks.clear();
    impl_->maskBytes = 0;
  }
  impl_->maskBytes += cost;
  return masks.emplace(std::string(cp1251), std::move(mask)).first->second;
}

bool Font::HasGlyphs(std::string_view cp1251) const {
  const std::string utf8 = ToUtf8(cp1251);
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    // Cp1251ToUtf8 yields well-formed UTF-8 of at most three bytes a character.
    Uint32 code = *p;
    int extra = code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
    code &= extra == 2 ? 0x0F : extra == 1 ? 0x1F : 0x7F;
    for (++p; extra > 0 && p < end; --extra, ++p) code = (code << 6) | (*p & 0x3F);
    if (!TTF_GlyphIsProvided32(impl_->ttf, code)) return false;
  }
  return true;
}

// --- the cache of opened fonts ----------------------------------------------------------------

namespace {

// The size is set through the resolution: points x dpi / 72 is the em in pixels, and a whole
// number of points over a finely stepped dpi reaches every cell height that a whole point size
// would skip. A width asks for a horizontal resolution of its own.
bool SizeFont(TTF_Font* ttf, const LogicalFont& request) {
  int points, dpi;
  if (request.height < 0) {
    points = int(std::min(-std::int64_t(request.height), std::int64_t(kMaxHeight)));
    dpi = 72;
  } else {
    const int cell =
        request.height == 0 ? kDefaultCellHeight : std::min(request.height, kMaxHeight);
    points = std::min(cell, 32);
    auto heightAt = [&](int d) {
      return TTF_SetFontSizeDPI(ttf, points, d, d) == 0 ? TTF_FontHeight(ttf) : kMaxHeight * 8;
    };
    // The largest resolution whose cell is not taller than asked, from the one that makes the
    // em a pixel (FreeType refuses anything smaller).
    int lo = (72 + points - 1) / points, hi = 72 * 4 * cell / points + 72;
    if (heightAt(lo) > cell) {
      hi = lo;
    } else {
      while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (heightAt(mid) <= cell)
          lo = mid;
        else
          hi = mid - 1;
      }
    }
    dpi = lo;
  }
  if (TTF_SetFontSizeDPI(ttf, points, dpi, dpi) != 0) return false;

  if (request.width > 0) {
    // The average advance of the lowercase letters stands for the face's average width.
    int total = 0, count = 0;
    for (Uint32 c = 'a'; c <= 'z'; ++c) {
      int minx, maxx, miny, maxy, advance;
      if (TTF_GlyphMetrics32(ttf, c, &minx, &maxx, &miny, &maxy, &advance) == 0)
        total += advance, ++count;
    }
    if (count > 0 && total > 0) {
      const double average = double(total) / count;
      const int across =
          std::clamp(int(std::lround(dpi * std::min(request.width, kMaxHeight) / average)), 1,
                     72 * 4 * kMaxHeight);
      if (TTF_SetFontSizeDPI(ttf, points, across, dpi) != 0) return false;
    }
  }
  return true;
}

struct FontCache {
  bool started = false;
  bool failed = false;
  // Face files by path; declared first, so they go after the fonts opened from them.
  std::map<std::string, std::string> files;
  std::map<LogicalFont, std::unique_ptr<Font>> fonts;  // nullptr: no face could be opened

  ~FontCache() {
    fonts.clear();
    if (started) TTF_Quit();
  }
};

FontCache& Cache() {
  static FontCache cache;
  return cache;
}

// Each face file read once into memory, kept for the life of the process like the fonts opened
// from it: a font opened from its file would hold a file descriptor for good, and a program
// trying many sizes would run out of them.
const std::string* FaceFile(const std::string& path) {
  auto& files = Cache().files;
  if (auto it = files.find(path); it != files.end()) return &it->second;
  SDL_RWops* in = SDL_RWFromFile(path.c_str(), "rb");
  if (!in) return nullptr;
  std::string bytes;
  const Sint64 size = SDL_RWsize(in);
  if (size > 0) {
    bytes.resize(size_t(size));
    if (SDL_RWread(in, bytes.data(), 1, bytes.size()) != bytes.size()) bytes.clear();
  }
  SDL_RWclose(in);
  if (bytes.empty()) return nullptr;
  return &files.emplace(path, std::move(bytes)).first->second;
}

std::unique_ptr<Font::Impl> Open(const LogicalFont& request, bool fresh) {
  for (FaceMatch& face : Candidates(request, 8, fresh)) {
    const std::string* file = FaceFile(face.file);
    if (!file) continue;
    TTF_Font* ttf =
        TTF_OpenFontIndexRW(SDL_RWFromConstMem(file->data(), int(file->size())), 1, 12, face.index);
    if (!ttf) continue;
    auto impl = std::make_unique<Font::Impl>();
    impl->ttf = ttf;
    // Styles the face lacks are made by SDL2_ttf.
    int style = TTF_STYLE_NORMAL;
    if (request.weight >= 600 && !face.bold) style |= TTF_STYLE_BOLD;
    if (request.italic && !face.italic) style |= TTF_STYLE_ITALIC;
    if (request.underline) style |= TTF_STYLE_UNDERLINE;
    if (request.strikeOut) style |= TTF_STYLE_STRIKETHROUGH;
    TTF_SetFontStyle(ttf, style);
    if (!SizeFont(ttf, request)) continue;  // impl closes the font
    impl->request = request;
    impl->face = std::move(face);
    impl->height = TTF_FontHeight(ttf);
    impl->ascent = TTF_FontAscent(ttf);
    return impl;
  }
  return nullptr;
}

}  // namespace

const Font* OpenFont(const LogicalFont& request) {
  FontCache& cache = Cache();
  if (auto it = cache.fonts.find(request); it != cache.fonts.end()) return it->second.get();
  if (!cache.started && !cache.failed) {
    cache.started = TTF_Init() == 0;
    cache.failed = !cache.started;
  }
  std::unique_ptr<Font> font;
  if (cache.started) {
    // Faces known from an earlier start that no longer open are asked for again.
    auto impl = Open(request, false);
    if (!impl && Known().Faces(request)) impl = Open(request, true);
    if (impl) font.reset(new Font(std::move(impl)));
  }
  return cache.fonts.emplace(request, std::move(font)).first->second.get();
}

}  // namespace platform
