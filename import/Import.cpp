// The import driver: which units an import covers, where their files lie, the top-level loop
// over a file, and the error report.
#include "import/Import.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <algorithm>
#include <sstream>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/CppAnalys.h"
#include "import/analys/Shared.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"
#include "model/SafeNames.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "storage/Config.h"
#include "storage/File.h"

namespace {

// Thrown by ReportError after the report has been shown; ImportElement and ImportText catch it
// and answer false. It never leaves the import.
struct CImportStopped {};

}  // namespace

namespace {

// Zero bytes dropped, as a string read drops them, and every lone "\n" made "\r\n" (for files
// with zero bytes; CopyWithCrLf does the others): the runs between those bytes go to
// put(bytes, count) in order, and each "\n" as put("\r\n") or put("\n").
template <class Put>
void Convert(std::string_view in, Put&& put) {
  char last = '\0';  // the last byte put
  for (std::size_t i = 0; i < in.size();) {
    std::size_t j = i;
    while (j < in.size() && in[j] != '\n' && in[j] != '\0') ++j;
    if (j > i) {
      put(in.data() + i, j - i);
      last = in[j - 1];
    }
    if (j == in.size()) break;
    if (in[j] == '\n') {
      if (last == '\r')
        put("\n", 1);
      else
        put("\r\n", 2);
      last = '\n';
    }
    i = j + 1;
  }
}

// `in`, which holds no zero byte, with every lone "\n" made "\r\n", written at `out`, which has
// room for it; answers the end. Lines are short, so the bytes go sixteen at a time up to the next
// lone line feed rather than a search and a copy for each line.
char* CopyWithCrLf(std::string_view in, char* out) {
  const std::size_t size = in.size();
  std::size_t i = 0;
  char before = '\0';  // the byte before in[i]
  auto one = [&] {
    if (in[i] == '\n' && before != '\r') *out++ = '\r';
    before = *out++ = in[i++];
  };
  if (i < size) one();
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
  while (i + 16 <= size) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + i));
    const __m128i shifted = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + i - 1));
    const unsigned lone = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))) &
                          ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(shifted, cr)));
    // Whole sixteen bytes even when fewer are kept: at least that many are still to come.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    if (!lone) {
      out += 16;
      i += 16;
      continue;
    }
    const int kept = __builtin_ctz(lone);
    out += kept;
    *out++ = '\r';
    *out++ = '\n';
    i += std::size_t(kept) + 1;
  }
  if (i > 0) before = in[i - 1];  // an empty file has no byte before
#endif
  while (i < size) one();
  return out;
}

// Where the text read differs from the file: every line end had a "\r" added, or the
// positions after which the difference (file minus text) changes.
struct CDiskMap {
  bool every = false;
  std::vector<std::pair<std::int32_t, std::int32_t>> shifts;
};

void MapToDisk(std::string_view in, CDiskMap& map) {
  std::size_t lone = 0, all = 0;
  const bool zeros = !in.empty() && std::memchr(in.data(), '\0', in.size());
  for (const char* p = in.data(), *end = in.data() + in.size();
       (p = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)))); ++p) {
    ++all;
    lone += p == in.data() || p[-1] != '\r';
  }
  map.shifts.clear();
  map.every = !zeros && lone > 0 && lone == all;
  if (map.every || (!zeros && lone == 0)) return;
  // A mixture: each added "\r" and each dropped zero byte moves the rest.
  std::int32_t out = 0, shift = 0;
  char last = '\0';
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '\0') {
      map.shifts.push_back({out, ++shift});
      continue;
    }
    if (in[i] == '\n' && last != '\r') {
      ++out;
      map.shifts.push_back({out, --shift});
    }
    last = in[i];
    ++out;
  }
}

// The text an imported file reads as, with `end` after it, written once into its string.
CStr ImportedText(std::string_view in, std::string_view end = {}) {
  std::size_t length = end.size();
  const bool zeros = !in.empty() && std::memchr(in.data(), '\0', in.size());
  if (!zeros) {
    // Without zero bytes the length is the input's and a "\r" for each lone "\n".
    std::size_t lone = !in.empty() && in[0] == '\n';
    for (std::size_t i = 1; i < in.size(); ++i) lone += (in[i] == '\n') & (in[i - 1] != '\r');
    length += in.size() + lone;
  } else {
    Convert(in, [&](const char*, std::size_t count) { length += count; });
  }
  CStr text;
  char* out = text.Overwrite(length);
  if (!zeros) {
    out = CopyWithCrLf(in, out);
  } else {
    Convert(in, [&](const char* bytes, std::size_t count) {
      std::memcpy(out, bytes, count);
      out += count;
    });
  }
  if (!end.empty()) std::memcpy(out, end.data(), end.size());
  return text;
}

// Whether the text is UTF-8 that is not plain ASCII (or begins with the UTF-8 byte order mark):
// such a file is converted; any other is read as cp1251.
bool IsUtf8(std::string_view in) {
  if (in.starts_with("\xEF\xBB\xBF")) return true;
  bool wide = false;
  for (std::size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    const int more = c >= 0xC2 && c < 0xE0 ? 1 : c >= 0xE0 && c < 0xF0 ? 2 : c >= 0xF0 && c < 0xF5 ? 3 : -1;
    if (more < 0 || i + std::size_t(more) >= in.size()) return false;
    for (int k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(in[i + std::size_t(k)]) & 0xC0) != 0x80) return false;
    wide = true;
    i += std::size_t(more) + 1;
  }
  return wide;
}

// UTF-8 as cp1251: a character cp1251 cannot hold becomes "?" and is noted in `lost` once.
std::string FromUtf8(std::string_view in, std::vector<char32_t>& lost) {
  if (in.starts_with("\xEF\xBB\xBF")) in.remove_prefix(3);
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    const int more = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    char32_t code = more == 0 ? c : more == 1 ? (c & 0x1F) : more == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= more && i + std::size_t(k) < in.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(in[i + std::size_t(k)]) & 0x3F);
    i += std::size_t(more) + 1;
    const int byte = qx::cp1251::ByteOf(code);
    if (byte >= 0) {
      out += static_cast<char>(byte);
    } else {
      out += '?';
      if (std::find(lost.begin(), lost.end(), code) == lost.end()) lost.push_back(code);
    }
  }
  return out;
}

}  // namespace

void CCppAnalys::ReadUtf8(std::string& bytes) {
  if (!IsUtf8(bytes)) return;
  std::vector<char32_t> lost;
  bytes = FromUtf8(bytes, lost);
  for (char32_t code : lost) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    Unplaced.push_back({CStr("символ "_cp) + hex + CStr(" заменён на \"?\""_cp), FileName, 0});
  }
}

void CCppAnalys::LoadMacroList(const CStr& fileName) {
  // One name a line; blanks around it and empty lines do not count.
  macros_.clear();
  if (!platform::FileExists(fileName.View())) return;
  CFile file(fileName, CFile::kRead);
  if (!file.IsOpen()) return;
  std::string bytes(static_cast<std::size_t>(std::max(0, file.GetSize().Value)), '\0');
  const CInt read = file.Read(bytes.data(), static_cast<std::int32_t>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max(0, read.Value)));
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t from = line.find_first_not_of(" \t\r");
    if (from == std::string::npos) continue;
    const std::size_t to = line.find_last_not_of(" \t\r");
    macros_.push_back(line.substr(from, to - from + 1));
  }
}

void CCppAnalys::NoteDisk(std::string_view bytes) {
  CDiskMap map;
  MapToDisk(bytes, map);
  crAdded_ = map.every ? kEveryLineEnd : 0;
  shifts_ = std::move(map.shifts);
}

CStr WithCrLf(const CStr& text) {
  return ImportedText(text.View());
}

void CCppAnalys::ReportError(const CStr& message) {
  const CStr texts[] = {
      CStr("Ошибка в файле: "_cp) + FileName,
      message,
      CStr("Строка "_cp) + Line.ToStr(),
      CStr("Позиция "_cp) + CInt(DiskPosition(Pos.Value)).ToStr(),
      Text.SubStr(Pos, 200),
      CStr(LinesAround(Pos.Value)),
  };
  for (const CStr& text : texts)
    if (ShowMessage) ShowMessage(text);
  throw CImportStopped{};
}

std::int32_t CCppAnalys::DiskPosition(std::int32_t pos) const {
  // Every line end was a lone "\n" made "\r\n": one byte less for each line end before pos.
  if (crAdded_ == kEveryLineEnd) return pos - BreaksBetween(0, pos);
  std::int32_t shift = 0;
  for (const auto& [at, delta] : shifts_) {
    if (at >= pos) break;
    shift = delta;
  }
  return pos + shift;
}

std::string CCppAnalys::LinesAround(std::int32_t pos) const {
  // Ten lines before the error's and ten after, each cut at 200 characters: a large file is
  // never shown whole.
  constexpr int kLines = 10;
  constexpr std::size_t kWidth = 200;
  const std::string_view text = Text.View();
  std::size_t from = std::min<std::size_t>(std::max(pos, 0), text.size());
  for (int n = 0; n <= kLines && from > 0;) {
    --from;
    if (text[from] == '\n' && ++n > kLines) {
      ++from;
      break;
    }
  }
  std::string out;
  std::size_t at = from;
  for (int n = 0; n <= 2 * kLines && at < text.size(); ++n) {
    std::size_t end = text.find('\n', at);
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(at, end - at);
    if (line.size() > kWidth) {
      out += line.substr(0, kWidth);
      out += "...\r\n";
    } else {
      out += line;
    }
    at = end;
  }
  return out;
}

void CCppAnalys::ShowNamespaceNote() {
  if (ShowMessage) ShowMessage("DoNamespace");
}

void CCppAnalys::ReadTopLevel() {
  namespaces_.clear();
  heads_.assign(1, CHeadLevel{});
  ReadDeclarations(false);
  CHeadLevel& file = heads_.front();
  file.text.append(Text.View().substr(std::size_t(std::clamp<std::int32_t>(file.from, 0, Text.Length().Value))));
  HeadText = std::move(file.text);
  heads_.clear();
}

void CCppAnalys::CutHead(std::int32_t from, std::int32_t to) {
  if (heads_.empty()) return;
  CHeadLevel& level = heads_.back();
  if (from > level.from) level.text.append(Text.View().substr(std::size_t(level.from), std::size_t(from - level.from)));
  level.from = std::max(level.from, to);
}

void CCppAnalys::CutBlock(std::int32_t start, std::int32_t opened, std::int32_t end, CHeadLevel inner,
                          std::uint64_t made) {
  if (heads_.empty() || elementsMade_ == made) return;  // no element inside: the block is text as it is
  const std::int32_t close = std::max(inner.from, end - 1);  // the "}"
  inner.text.append(Text.View().substr(std::size_t(inner.from), std::size_t(close - inner.from)));
  CutHead(start, end);
  if (inner.text.find_first_not_of(" \t\r\n") == std::string::npos) return;
  std::string& text = heads_.back().text;
  text.append(Text.View().substr(std::size_t(start), std::size_t(opened - start)));
  text += inner.text;
  text += "}";
}

void CCppAnalys::ReadDeclarations(bool braced) {
  const std::int32_t blockStart = Pos.Value;
  for (;;) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    const std::int32_t declStart = next.start;
    // A function or variable at file level belongs to the unit being imported.
    auto readOne = [&] {
      const std::uint64_t made = elementsMade_;
      ReadDeclaration(braced ? nullptr : dynamic_cast<CUnitInfo*>(ImportedUnit), ImportedUnit);
      if (elementsMade_ != made) CutHead(declStart, Pos.Value);
    };
    if (next.kind == kTokenNone) {
      if (braced) ReportAt(blockStart, "Пропущен символ \"}\""_cp);
      return;
    }
    if (next.kind == kTokenOperator && t == "}" && braced) {
      Take(next);
      return;
    }
    if (next.kind == kTokenOperator && t == "#") {
      // A "#" that does not begin its line (after a comment): the rest of the line.
      Take(next);
      ReturnSkipped = true;
      SkipLine();
      ReturnSkipped = false;
      continue;
    }
    if (next.kind == kTokenIdent && (t == "namespace" || t == "inline")) {
      const std::int32_t from = Pos.Value;
      Take(next);
      if (t == "inline" && !Try("namespace")) {
        SetPos(from);
        readOne();
        continue;
      }
      // namespace a::b [[attr]] {, namespace { (anonymous), namespace X = Y;
      std::vector<std::string> names;
      while (Peek().kind == kTokenIdent) {
        if (Try("inline")) continue;
        names.push_back(GetWord().ToStd());
        if (!Try("::")) break;
      }
      // Attributes and macros before the brace: namespace std _GLIBCXX_VISIBILITY(default) {
      while (TextOf(Peek()) == "[" ||
             (Peek().kind == kTokenIdent && (analys::IsAttributeWord(TextOf(Peek())) || IsMacro(TextOf(Peek()))))) {
        if (Peek().kind == kTokenIdent) Take(Peek());
        if (TextOf(Peek()) == "(" || TextOf(Peek()) == "[") SkipGroup();
      }
      if (Try("{")) {
        if (names.empty()) names.push_back("(anonymous)");
        for (const std::string& n : names) {
          namespaces_.push_back(n);
          if (std::find(knownNamespaces_.begin(), knownNamespaces_.end(), n) == knownNamespaces_.end())
            knownNamespaces_.push_back(n);
        }
        ReadBlock(declStart);
        namespaces_.resize(namespaces_.size() - names.size());
        continue;
      }
      if (names.size() == 1 && TextOf(Peek()) == ";") {
        // namespace N; is no C++: the note, and N reads as before.
        ShowNamespaceNote();
        SetPos(from);
        Take(Peek());
        continue;
      }
      const bool alias = TextOf(Peek()) == "=";
      SetPos(from);
      if (alias)
        SkipDeclarationQuietly();
      else
        SkipUnplaced(from, "namespace");
      continue;
    }
    if (next.kind == kTokenIdent && t == "extern") {
      const std::int32_t from = Pos.Value;
      Take(next);
      if (Peek().kind == kTokenString) {
        Take(Peek());  // extern "C"
        if (Try("{")) {
          ReadBlock(declStart);
          continue;
        }
        constructStart_ = from;
        ReadDeclaration(nullptr, ImportedUnit);
        continue;
      }
      SetPos(from);
    }
    readOne();
  }
}

void CCppAnalys::ReadBlock(std::int32_t start) {
  // After the "{" of a namespace or linkage block that began at `start`.
  const std::int32_t opened = Pos.Value;
  const std::uint64_t made = elementsMade_;
  if (!heads_.empty()) heads_.push_back({std::string(), opened});
  ReadDeclarations(true);
  if (heads_.size() < 2) return;
  CHeadLevel inner = std::move(heads_.back());
  heads_.pop_back();
  CutBlock(start, opened, Pos.Value, std::move(inner), made);
}

void CCppAnalys::ImportFile(const CStr& name) {
  FileName = name;
  // A unit may have only one of its two files: a missing one contributes nothing.
  if (!platform::FileExists(name.View())) return;
  CFile file(name, CFile::kRead);
  if (!file.IsOpen()) return;
  // One read of the whole file into a buffer that is not cleared first, then one conversion
  // straight into the parser's text: the bytes of a large file are written twice in all.
  const std::size_t size = static_cast<std::size_t>(std::max(0, file.GetSize().Value));
  std::unique_ptr<char[]> bytes(new char[size]);
  const CInt read = file.Read(bytes.get(), static_cast<std::int32_t>(size));
  const std::size_t got =
      static_cast<std::size_t>(std::clamp<std::int32_t>(read.Value, 0, std::int32_t(size)));
  std::string_view in(bytes.get(), got);
  std::string converted;
  if (std::any_of(in.begin(), in.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    converted.assign(in);
    ReadUtf8(converted);
    in = converted;
  }
  CStr text = ImportedText(in, "\r\n");
  NoteDisk(in);
  bytes.reset();
  TakeText(std::move(text));
  ReadTopLevel();
}

CBool CCppAnalys::ImportText(const CStr& fileName, const CStr& text) {
  FileName = fileName;
  RestartClassIndex();
  try {
    std::string bytes(text.View());
    ReadUtf8(bytes);
    TakeText(ImportedText(bytes, "\r\n"));
    NoteDisk(bytes);
    ReadTopLevel();
  } catch (const CImportStopped&) {
    ReturnSkipped = false;
    return false;
  }
  return true;
}

CBool CCppAnalys::ImportElement(CInfo* element) {
  // The tree may have changed since the last import; classes are looked up afresh.
  RestartClassIndex();
  macrosRead_ = false;
  try {
    ImportTree(element);
  } catch (const CImportStopped&) {
    ImportedUnit = nullptr;
    ReturnSkipped = false;
    return false;
  }
  return true;
}

void CCppAnalys::ImportTree(CInfo* element) {
  ImportedUnit = element;
  Root = CoreApp ? &CoreApp->InfoMan.Root : nullptr;
  if (!macrosRead_) {
    // The user's macro names lie beside the configuration file.
    macrosRead_ = true;
    LoadMacroList((CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe")) + "\\Macros.txt");
  }
  if (element && element->ClassName() == "CUnitInfo") {
    // Names become a path only when none of them leaves its folder.
    if (const CInfo* bad = FirstUnsafeOnPath(*element)) {
      if (ShowMessage) ShowMessage(CStr(UnsafeNameWords()) + "\"" + bad->GetName() + "\"");
      throw CImportStopped{};
    }
    ClearUnit(element);  // a re-import starts from an empty unit
    const CStr path = ProjectFolder(*element) + element->GetName();
    // The same analyser reads both, so the source finds what the header declared.
    HeadTexts heads;
    HeadText.clear();
    ImportFile(path + ".h");
    const std::string name = element->GetName().ToStd();
    heads.Header = HeadFromFile(HeadText, {"#pragma once", "#include \"" + name + ".forms.h\""});
    HeadText.clear();
    ImportFile(path + ".cpp");
    heads.Source = HeadFromFile(HeadText, {"#include \"" + name + ".h\""});
    static_cast<CUnitInfo*>(element)->UnitExtra = WriteHeads(heads);
  } else if (element) {
    for (std::int32_t i = 0; i < element->ChildCount().Value; ++i) ImportTree(element->Child(i));
  }
  ImportedUnit = nullptr;
}

namespace {

// A text of the system on stderr, as the platform's message box writes its own.
void ToStderr(const CStr& text) {
  const std::string line = platform::Cp1251ToUtf8(text.View()) + "\n";
  std::fputs(line.c_str(), stderr);
}

// The name of the n-th recovery file: the name itself, then "-2", "-3"... before its extension.
CStr RecoveryName(const CStr& file, int n) {
  if (n == 1) return file;
  const std::int32_t dot = file.LastPos(".").Value, slash = file.LastPos("\\").Value;
  const std::int32_t cut = dot > slash ? dot : file.Length().Value;
  return file.SubStr(0, cut) + "-" + CInt(n).ToStr() + file.SubStr(cut, file.Length());
}

void KeepRecoveryCopy(CMemory& before, const CStr& file) {
  for (int n = 1; n < 100; ++n) {
    const CStr name = RecoveryName(file, n);
    platform::File copy;
    if (copy.CreateForWriting(name.View(), platform::File::kKeepExisting) &&
        copy.Write(before.Data(), before.GetSize().Value) == before.GetSize().Value &&
        copy.Close()) {
      ToStderr(CStr("Дерево проектов до импорта сохранено в файле "_cp) + name);
      return;
    }
    if (copy.Failure() != EEXIST) break;
  }
  ToStderr(CStr("Не удалось сохранить дерево проектов в файле "_cp) + file);
}

}  // namespace

CStr UnplacedText(const CUnplacedCode& code) {
  return CStr("Не помещено в проект: "_cp) + code.Name + ", " + code.FileName + ", строка "_cp +
         code.Line.ToStr();
}

CImportResult ImportCommand(CInfo* element, const std::function<void(const CStr&)>& show,
                            const CStr& recoveryFile) {
  CImportResult result;
  if (!element || !CoreApp) return result;
  const bool keep = recoveryFile.Length().Value > 0;
  CMemory before;
  if (keep) WriteConfig(before, CoreApp->InfoMan.Root);
  CCppAnalys analys(show);
  result.Ok = static_cast<bool>(analys.ImportElement(element));
  result.Unplaced = std::move(analys.Unplaced);
  if (!result.Ok && keep) KeepRecoveryCopy(before, recoveryFile);
  return result;
}
