// The import driver: which units an import covers, where their files lie, the top-level loop
// over a file, and the error report.
#include "import/Import.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/CppAnalys.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "storage/Config.h"
#include "storage/File.h"

namespace {

// Thrown by ReportError after the report has been shown; ImportElement and ImportText catch it
// and answer false. It never leaves the import.
struct CImportStopped {};

// Ancestors whose names are folders of a unit's files.
constexpr std::string_view kFolderKinds[] = {"CProjectGroupInfo", "CAppInfo", "CLibInfo", "CPackInfo"};

}  // namespace

namespace {

// Zero bytes dropped, as a string read drops them, and every lone "\n" made "\r\n": the runs
// between those bytes go to put(bytes, count) in order, and each "\n" as put("\r\n") or put("\n").
template <class Put>
void Convert(std::string_view in, Put&& put) {
  // Most files have no zero byte: the line feeds are then found by memchr, not byte by byte.
  const bool zeros = !in.empty() && std::memchr(in.data(), '\0', in.size()) != nullptr;
  char last = '\0';  // the last byte put
  for (std::size_t i = 0; i < in.size();) {
    std::size_t j = i;
    if (zeros) {
      while (j < in.size() && in[j] != '\n' && in[j] != '\0') ++j;
    } else {
      const void* found = std::memchr(in.data() + i, '\n', in.size() - i);
      j = found ? static_cast<std::size_t>(static_cast<const char*>(found) - in.data()) : in.size();
    }
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

// The text an imported file reads as, with `end` after it, written once into its string.
CStr ImportedText(std::string_view in, std::string_view end = {}) {
  std::size_t length = end.size();
  if (!in.empty() && !std::memchr(in.data(), '\0', in.size())) {
    // Without zero bytes the length is the input's and a "\r" for each lone "\n": one plain
    // loop over the bytes, where Convert would stop at every line.
    std::size_t lone = in[0] == '\n';
    for (std::size_t i = 1; i < in.size(); ++i) lone += (in[i] == '\n') & (in[i - 1] != '\r');
    length += in.size() + lone;
  } else {
    Convert(in, [&](const char*, std::size_t count) { length += count; });
  }
  CStr text;
  char* out = text.Overwrite(length);
  Convert(in, [&](const char* bytes, std::size_t count) {
    std::memcpy(out, bytes, count);
    out += count;
  });
  if (!end.empty()) std::memcpy(out, end.data(), end.size());
  return text;
}

}  // namespace

CStr WithCrLf(const CStr& text) {
  return ImportedText(text.View());
}

void CCppAnalys::ReportError(const CStr& message) {
  const CStr texts[] = {
      CStr("Ошибка в файле: "_cp) + FileName,
      message,
      CStr("Строка "_cp) + Line.ToStr(),
      CStr("Позиция "_cp) + Pos.ToStr(),
      Text.SubStr(Pos, 200),
      Text,
  };
  for (const CStr& text : texts)
    if (ShowMessage) ShowMessage(text);
  throw CImportStopped{};
}

void CCppAnalys::ShowNamespaceNote() {
  if (ShowMessage) ShowMessage("DoNamespace");
}

void CCppAnalys::ReadTopLevel() {
  auto is = [&](std::string_view text, std::uint8_t kind) { return TokenKind == kind && Token.View() == text; };
  while (!IsEnd()) {
    const CInt pos = Pos, line = Line;
    NextToken();
    if (TokenKind == kTokenNone || TokenKind == kTokenComment || TokenKind == kTokenLineBreak ||
        is(";", kTokenOperator)) {
      continue;
    }
    if (is("#", kTokenOperator)) {
      ReturnSkipped = true;
      SkipLine();
      ReturnSkipped = false;
    } else if (is("class", kTokenIdent)) {
      ReadClass(ImportedUnit);
    } else if (is("typedef", kTokenIdent)) {
      ReadTypedef();
    } else if (is("namespace", kTokenIdent)) {
      ShowNamespaceNote();  // the name and the braces then read as ordinary top-level tokens
    } else if (is("extern", kTokenIdent) || is("enum", kTokenIdent)) {
      SkipToSemicolon();
    } else {
      // A global variable or function, or a method definition such as TForm1::Paint.
      Pos = pos;
      Line = line;
      ReadMember(nullptr);
    }
  }
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
  CStr text = ImportedText(std::string_view(bytes.get(), got), "\r\n");
  bytes.reset();
  TakeText(std::move(text));
  ReadTopLevel();
}

CBool CCppAnalys::ImportText(const CStr& fileName, const CStr& text) {
  FileName = fileName;
  RestartClassIndex();
  try {
    SetText(WithCrLf(text));
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
  if (element && element->ClassName() == "CUnitInfo") {
    ClearUnit(element);  // a re-import starts from an empty unit
    CStr path;
    for (const CInfo* a = element->Parent; a; a = a->Parent) {
      const CStr kind = a->ClassName();
      for (std::string_view folder : kFolderKinds)
        if (kind.View() == folder) path = a->GetName() + "\\" + path;
    }
    const CStr home = CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe");
    path = home + "\\" + path + element->GetName();
    // The same analyser reads both, so the source finds what the header declared.
    ImportFile(path + ".h");
    ImportFile(path + ".cpp");
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
