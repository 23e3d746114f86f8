// The configuration file on disk: the image of storage/Config.cpp through a scrambling file
// with the empty key, so its bytes are stored as they are.
#include <cstring>

#include "core/App.h"
#include "core/Cp1251.h"
#include "model/RecordReader.h"
#include "platform/Text.h"
#include "storage/Config.h"
#include "storage/File.h"

namespace {

CLoadReport Refused(std::int32_t offset, const CStr& what) {
  CLoadReport report;
  report.Fault = offset >= 0 ? AtOffset(offset, what) : what;
  report.FaultOffset = offset;
  return report;
}

// The message and the reason the file gives for its failure.
CStr Because(const CStr& message, const CFile& file) {
  const CStr why = file.FailureText();
  return why.Length().Value ? message + ": " + why : message;
}

}  // namespace

CLoadReport ReadConfigFile(CFile& file, CInfo& root) {
  if (!file.IsOpen())
    return Refused(-1, Because(CStr("не удалось открыть файл "_cp) + file.FileName, file));
  switch (file.ReadHeader().Value) {
    case -1:
      return Refused(0, "файл короче заголовка"_cp);
    case -2:
      return Refused(0, "в начале файла нет метки Qx"_cp);
  }
  const std::int32_t size = file.GetSize().Value;
  if (size >= kMaxConfigBytes)
    return Refused(-1, CStr("файл слишком велик: "_cp) + ByteCount(file.GetSize().Value));

  // Parsing in memory: a record is peeked at before it is read, and seeking a disk file back
  // and forth for every node would cost far more than one copy of the file.
  CMemory image;
  file.SetPosition(0);
  const std::int32_t got = image.ReadFrom(file, size).Value;
  if (got < size) return Refused(got, Because("файл не читается дальше"_cp, file));
  return ReadConfig(image, root);
}

CStr WriteConfigFile(CFile& file, CInfo& root) {
  if (!file.IsOpen()) return Because(CStr("не удалось создать файл "_cp) + file.FileName, file);
  // The whole record first: nothing reaches the file before it can be written in full.
  CMemory body;
  root.SaveToStream(body);
  return WriteConfigFile(file, body);
}

CStr WriteConfigFile(CFile& file, CMemory& record) {
  if (!file.IsOpen()) return Because(CStr("не удалось создать файл "_cp) + file.FileName, file);
  file.WriteHeader();
  const bool written = file.Write(record.Data(), record.GetSize()).Value == record.GetSize().Value;
  const bool closed = file.Close();
  if (!written || !closed)
    return Because(CStr("не удалось сохранить файл "_cp) + file.FileName, file);
  return "";
}

namespace {

// The loader reads nodes up to kMaxDepth - 1 levels below the record it starts with, and says
// "deeper than kMaxDepth" of the rest; so do the savers.
CStr TooDeep() {
  return CStr("дерево проектов глубже "_cp) + CInt(CInfo::kMaxDepth).ToStr() +
         " уровней, такой файл нельзя будет прочитать"_cp;
}

}  // namespace

CStr UnreadableTree(const CInfo& root) {
  return root.LevelsBelow() < CInfo::kMaxDepth ? CStr() : TooDeep();
}

CStr ReadableRecord(CInfo& root, CMemory& record) {
  return root.SaveReadable(record) ? CStr() : TooDeep();
}

CStr ConfigPath(const CApp& app) {
  return app.HomeDir + "\\Conf.qxe";
}

void RemoveStaleConfigSaves(const CApp& app) {
  platform::RemoveStaleTemporaries(ConfigPath(app).View());
}

CLoadReport LoadConfig(CApp& app) {
  return LoadConfig(app, app.InfoMan.Root);
}

// [SECTION] Damaged files

namespace {

constexpr const char* kDamagedStem = ".damaged-";

CStr KeptLine(const CStr& copy) {
  return CStr("повреждённый файл сохранён в копии "_cp) + copy;
}

CStr ReasonText(int error) {
  return FailureReasonText(platform::ReasonOf(error), std::strerror(error));
}

}  // namespace

CStr KeepDamagedFile(const CStr& path, CStr& why) {
  int error = 0;
  const int n = platform::KeepCopy(path.View(), kDamagedStem, error);
  if (n > 0) return path + kDamagedStem + CInt(n).ToStr();
  why = ReasonText(error);
  return "";
}

CStr KeepDamagedHostFile(const std::string& path, CStr& why) {
  int error = 0;
  const int n = platform::KeepCopyOfHostPath(path, kDamagedStem, error);
  if (n > 0) return CStr(platform::Utf8ToCp1251(path + kDamagedStem + std::to_string(n)));
  why = ReasonText(error);
  return "";
}

void NoteKeptCopy(CLoadReport& report, const CStr& copy, const CStr& why) {
  report.KeepFailed = copy.Length().Value == 0;
  report.Kept = report.KeepFailed ? CStr("не удалось сделать копию повреждённого файла: "_cp) +
                                        why + "; поверх него ничего не будет записано"_cp
                                  : KeptLine(copy);
}

CStr SaveConfigKeepingDamaged(CApp& app, bool& kept) {
  // Gone meanwhile (or a folder now, which the save names): nothing left to keep.
  if (!platform::FileExists(ConfigPath(app).View())) {
    kept = true;
    return SaveConfig(app);
  }
  CStr why;
  const CStr copy = KeepDamagedFile(ConfigPath(app), why);
  kept = copy.Length().Value > 0;
  if (!kept)
    return CStr("не удалось сделать копию повреждённого файла "_cp) + ConfigPath(app) + ": " + why +
           "; файл не перезаписан"_cp;
  const CStr failure = SaveConfig(app);
  return failure.Length().Value ? KeptLine(copy) + "\n" + failure : KeptLine(copy);
}

// [SECTION] The application's file

CLoadReport LoadConfig(const CApp& app, CInfo& root) {
  const CStr path = ConfigPath(app);
  // A folder in the file's place is no missing file: opening it says so.
  if (!platform::PathExists(path.View())) return {};
  CLoadReport report;
  {
    CSecretFile file(path, CFile::kRead);
    file.Key = "";
    report = ReadConfigFile(file, root);
  }
  // Kept before the user can do anything, so that neither a Save nor a crash on the way loses it.
  if ((!report.Ok() || !report.Skipped.empty()) && platform::FileExists(path.View())) {
    CStr why;
    const CStr copy = KeepDamagedFile(path, why);
    NoteKeptCopy(report, copy, why);
  }
  return report;
}

CStr SaveConfig(CApp& app) {
  CMemory record;
  if (const CStr why = ReadableRecord(app.InfoMan.Root, record); why.Length().Value) return why;
  CSecretFile file(ConfigPath(app), CFile::kCreate);
  file.Key = "";
  return WriteConfigFile(file, record);
}
