#include "storage/Config.h"

#include "core/Cp1251.h"
#include "model/RecordReader.h"
#include "storage/Stream.h"

namespace {

CLoadReport Refused(std::int32_t offset, const CStr& what) {
  CLoadReport report;
  report.Fault = AtOffset(offset, what);
  report.FaultOffset = offset;
  return report;
}

}  // namespace

void WriteConfig(CStream& stream, CInfo& root) {
  stream.SetPosition(0);
  stream.Write("Qx", 2);
  stream.WriteUShort(5);
  stream.WriteStr("CFile");
  stream.WriteUShort(5);
  root.SaveToStream(stream);
}

CLoadReport ReadConfig(CStream& stream, CInfo& root) {
  stream.SetPosition(0);
  const std::int32_t size = stream.GetSize().Value;
  if (size < 2) return Refused(0, "файл короче заголовка"_cp);
  char magic[2] = {};
  stream.Read(magic, 2);
  if (magic[0] != 'Q' || magic[1] != 'x') return Refused(0, "в начале файла нет метки Qx"_cp);

  // The versions and the file type are read over and not compared with anything.
  CRecordReader header(stream);
  std::uint16_t version = 0;
  CStr type;
  header.ReadUShort(&version);
  header.ReadStr(type);
  header.ReadUShort(&version);
  if (header.Failed()) return Refused(header.FaultOffset(), "заголовок файла обрывается"_cp);

  // The root's record must end the file: a peek at its length finds bytes left over before
  // anything is read into the tree.
  const std::int32_t start = header.GetPosition().Value;
  CInt length;
  header.ReadInt(length);
  header.SetPosition(start);
  const std::int64_t end = std::int64_t(start) + 4 + length.Value;
  if (!header.Failed() && length.Value >= 0 && end < size)
    return Refused(std::int32_t(end),
                   CStr("после записи корня лишние данные: "_cp) + ByteCount(size - end));
  // The root record is the tree's own node, whatever class its record names; a name other than
  // "CInfo" is a record this loader does not know, and reading it as a CInfo would lose it.
  CRecordReader peek(stream);
  peek.SetPosition(start + 4);
  CStr className;
  peek.ReadStr(className);
  if (!peek.Failed() && className != "CInfo") {
    const CStr shown = className.Length().Value <= 64 ? className : className.SubStr(0, 64) + "...";
    return Refused(start, CStr("корень дерева класса \""_cp) + shown + "\", а не \"CInfo\""_cp);
  }
  stream.SetPosition(start);
  return root.Load(stream);
}
