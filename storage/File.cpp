#include "storage/File.h"

#include "core/Cp1251.h"
#include "platform/Text.h"

#include <climits>
#include <cstring>

// [SECTION] CFile

namespace {

// Every folder on the way to the file, outermost first; a drive ("C:") is not a folder.
void MakeFolders(const CStr& fileName) {
  const CInt last = fileName.LastPos("\\");
  if (last.Value < 0) return;
  const std::string_view folders = fileName.View().substr(0, std::size_t(last.Value));
  CStr prefix;
  for (std::size_t start = 0;;) {
    const std::size_t slash = folders.find('\\', start);
    prefix += CStr(folders.substr(start, slash == std::string_view::npos ? slash : slash - start));
    if (prefix.Length().Value == 0 || prefix.ByteAt(prefix.Length().Value - 1).Value != ':')
      platform::MakeDirectory((prefix + "\\").View());  // failures show when the file opens
    prefix += "\\";
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
}

}  // namespace

CFile::CFile(const CStr& name, const CInt& mode) : FileName(name), Mode(mode) {
  MakeFolders(name);
  if (mode.Value == kCreate)
    file_.CreateForWriting(name.View());
  else
    file_.OpenForReading(name.View());
}

// The name is kept in the system's encoding, like every other text that reaches a message.
CFile::CFile(const CHostPath& path, const CInt& mode)
    : FileName(platform::Utf8ToCp1251(path.Path)), Mode(mode) {
  if (mode.Value == kCreate)
    file_.CreateHostPathForWriting(path.Path);
  else
    file_.OpenHostPathForReading(path.Path);
}

CFile::~CFile() = default;

bool CFile::Close() {
  return file_.Close();
}

CStr CFile::FailureText() const {
  return FailureReasonText(file_.Reason(), file_.FailureText());
}

CStr FailureReasonText(platform::FailureReason reason, const std::string& systemWords) {
  using platform::FailureReason;
  switch (reason) {
    case FailureReason::None:
      return "";
    case FailureReason::NoSpace:
      return "на диске нет места"_cp;
    case FailureReason::NoPermission:
      return "нет прав доступа"_cp;
    case FailureReason::Folder:
      return "на месте файла стоит папка"_cp;
    case FailureReason::ReadOnlyFileSystem:
      return "файловая система только для чтения"_cp;
    case FailureReason::Missing:
      return "нет такого файла или папки"_cp;
    case FailureReason::InputOutput:
      return "ошибка ввода-вывода"_cp;
    case FailureReason::Other:
      break;
  }
  return CStr(platform::Utf8ToCp1251(systemWords));
}

CInt CFile::Read(void* buffer, const CInt& count) {
  return static_cast<std::int32_t>(file_.Read(buffer, count.Value));
}

CInt CFile::Write(const void* buffer, const CInt& count) {
  return static_cast<std::int32_t>(file_.Write(buffer, count.Value));
}

void CFile::SetSize(const CInt& size) {
  file_.SetSize(size.Value);
}

CInt CFile::GetSize() {
  // Streams count in 32 bits; a larger file reads as one that ends there.
  const std::int64_t size = file_.Size();
  return size > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(size);
}

void CFile::SetPosition(const CInt& position) {
  file_.Seek(position.Value, platform::SeekOrigin::Begin);
}

CInt CFile::GetPosition() {
  const std::int64_t at = file_.Position();
  return at > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(at);
}

CInt CFile::ReadHeader() {
  DataStart = 0;
  if (GetSize().Value < 2) return -1;
  SetPosition(0);
  char magic[2] = {};
  Read(magic, 2);
  Magic = CStr(std::string_view(magic, 2));
  if (Magic != "Qx") return -2;
  std::uint16_t number = 0;
  ReadUShort(&number);
  Version = number;
  ReadStr(FileType);
  number = 0;
  ReadUShort(&number);
  SubVersion = number;
  DataStart = GetPosition();
  return 0;
}

CInt CFile::WriteHeader() {
  SetPosition(0);
  Magic = "Qx";
  Version = 5;
  FileType = "CFile";
  SubVersion = 5;
  Write(Magic.Text(), 2);
  WriteUShort(static_cast<std::uint16_t>(Version.Value));
  WriteStr(FileType);
  WriteUShort(static_cast<std::uint16_t>(SubVersion.Value));
  DataStart = GetPosition();
  return 0;
}

CInt CFile::ReadLine(CStr& line) {
  line = "";
  // At the end already there is nothing to read: an empty line, and the position stays.
  while (GetPosition().Value < GetSize().Value) {
    char c = 0;
    if (Read(&c, 1).Value != 1) break;
    if (c == '\r') break;
    if (c == '\n') continue;
    line.AppendBytes(&c, 1);
  }
  return line.Length();
}

CInt CFile::Seek(const CInt& offset, platform::SeekOrigin origin) {
  file_.Seek(offset.Value, origin);
  return GetPosition();
}

CInt CFile::WriteText(const CStr& text) {
  if (text.Length().Value == 0) return 0;
  return Write(text.Text(), text.Length());
}

// [SECTION] CSecretFile

// The byte at position p is stored as plain + Key[p mod L] + (p mod 256), all mod 256.

CInt CSecretFile::Read(void* buffer, const CInt& count) {
  const std::int32_t length = Key.Length().Value;
  if (length == 0) return CFile::Read(buffer, count);
  if (!buffer || count.Value <= 0) return 0;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::int32_t k = GetPosition().Value % length;
  std::int32_t done = 0;
  for (; done < count.Value; ++done) {
    const std::int32_t p = GetPosition().Value;
    std::uint8_t stored = 0;
    if (CFile::Read(&stored, 1).Value != 1) break;
    bytes[done] = static_cast<std::uint8_t>(stored - Key.ByteAt(k).Value - (p & 0xFF));
    k = k + 1 == length ? 0 : k + 1;
  }
  return done;
}

CInt CSecretFile::Write(const void* buffer, const CInt& count) {
  const std::int32_t length = Key.Length().Value;
  if (length == 0) return CFile::Write(buffer, count);
  if (!buffer || count.Value <= 0) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::int32_t k = GetPosition().Value % length;
  std::int32_t done = 0;
  for (; done < count.Value; ++done) {
    const std::int32_t p = GetPosition().Value;
    const auto stored = static_cast<std::uint8_t>(bytes[done] + Key.ByteAt(k).Value + (p & 0xFF));
    if (CFile::Write(&stored, 1).Value != 1) break;
    k = k + 1 == length ? 0 : k + 1;
  }
  return done;
}
