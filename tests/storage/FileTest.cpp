// Disk files by the system's paths: the header, lines, text, scrambling, folders; and the
// configuration file saved and loaded through them.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/App.h"
#include "model/Kinds.h"
#include "platform/Text.h"
#include "storage/Config.h"
#include "storage/File.h"
#include "tests/model/Records.h"

namespace {

Bytes OnDisk(const char* systemPath) {
  std::ifstream in(platform::LinuxPath(systemPath), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutOnDisk(const char* systemPath, const Bytes& bytes) {
  std::filesystem::create_directories(
      std::filesystem::path(platform::LinuxPath(systemPath)).parent_path());
  std::ofstream out(platform::LinuxPath(systemPath), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

const Bytes kHeader = {0x51, 0x78, 0x05, 0x00, 0x05, 0x00, 0x00, 0x00,
                       0x43, 0x46, 0x69, 0x6C, 0x65, 0x05, 0x00};

}  // namespace

TEST(CFile, HeaderIsWrittenAndReadBack) {
  {
    CFile file("C:\\Qxe\\Header\\h.qxe", CFile::kCreate);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.WriteHeader().Value, 0);
    EXPECT_EQ(file.DataStart.Value, 15);
    file.WriteInt(7);
    EXPECT_TRUE(file.Close());
  }
  Bytes expected = kHeader;
  expected.insert(expected.end(), {7, 0, 0, 0});
  EXPECT_EQ(OnDisk("C:\\Qxe\\Header\\h.qxe"), expected);

  CFile file("C:\\Qxe\\Header\\h.qxe", CFile::kRead);
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(file.ReadHeader().Value, 0);
  EXPECT_EQ(file.Magic, "Qx");
  EXPECT_EQ(file.Version.Value, 5);
  EXPECT_EQ(file.FileType, "CFile");
  EXPECT_EQ(file.SubVersion.Value, 5);
  EXPECT_EQ(file.DataStart.Value, 15);
  CInt seven;
  file.ReadInt(seven);
  EXPECT_EQ(seven.Value, 7);
  EXPECT_TRUE(file.Eof());
}

TEST(CFile, HeaderFaults) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::int32_t result;
  } cases[] = {
      {"C:\\Qxe\\Faults\\empty", {}, -1},
      {"C:\\Qxe\\Faults\\one", {'Q'}, -1},
      {"C:\\Qxe\\Faults\\magic", {'Q', 'y', 5, 0}, -2},
      {"C:\\Qxe\\Faults\\short", {'Q', 'x'}, 0},  // the rest is not checked
  };
  for (const Case& c : cases) {
    PutOnDisk(c.name, c.bytes);
    CFile file(c.name, CFile::kRead);
    ASSERT_TRUE(file.IsOpen()) << c.name;
    EXPECT_EQ(file.ReadHeader().Value, c.result) << c.name;
    if (c.result < 0) {
      EXPECT_EQ(file.DataStart.Value, 0) << c.name;
    }
  }
}

TEST(CFile, LinesTextAndSeeking) {
  {
    CFile file("C:\\Qxe\\Lines\\l.txt", CFile::kCreate);
    EXPECT_EQ(file.WriteText("ab\r\nc").Value, 5);
    EXPECT_EQ(file.WriteText("").Value, 0);
    ASSERT_TRUE(file.Close());
  }
  CFile file("C:\\Qxe\\Lines\\l.txt", CFile::kRead);
  CStr line;
  EXPECT_EQ(file.ReadLine(line).Value, 2);
  EXPECT_EQ(line, "ab");
  EXPECT_EQ(file.ReadLine(line).Value, 1);
  EXPECT_EQ(line, "c");
  EXPECT_EQ(file.ReadLine(line).Value, 0);  // at the end: nothing, no hang
  EXPECT_EQ(file.Seek(-1, platform::SeekOrigin::End).Value, 4);
  EXPECT_EQ(file.Seek(-2, platform::SeekOrigin::Current).Value, 2);
  EXPECT_EQ(file.Seek(1, platform::SeekOrigin::Begin).Value, 1);
  EXPECT_EQ(file.ReadLine(line).Value, 1);
  EXPECT_EQ(line, "b");
}

TEST(CFile, CreatingMakesTheMissingFolders) {
  const std::string folder = platform::LinuxPath("C:\\Qxe\\New\\Deeper");
  ASSERT_FALSE(std::filesystem::exists(folder));
  CFile file("C:\\Qxe\\New\\Deeper\\f.txt", CFile::kCreate);
  EXPECT_TRUE(file.IsOpen());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(file.Close());

  CFile missing("C:\\Qxe\\Nowhere\\f.txt", CFile::kRead);
  EXPECT_FALSE(missing.IsOpen());
  CInt value = 5;
  missing.ReadInt(value);
  EXPECT_EQ(value.Value, 5);  // nothing read
}

TEST(CSecretFile, ScramblesByKeyAndPosition) {
  {
    CSecretFile file("C:\\Qxe\\Secret\\one", CFile::kCreate);
    file.Key = CStr(char(0x40));
    const std::uint8_t zeros[2] = {0, 0};
    file.Write(zeros, 2);
    ASSERT_TRUE(file.Close());
  }
  EXPECT_EQ(OnDisk("C:\\Qxe\\Secret\\one"), (Bytes{0x40, 0x41}));

  // A longer key over more than 256 bytes, written in pieces and read back.
  Bytes plain(700);
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = std::uint8_t(i * 7 + 3);
  {
    CSecretFile file("C:\\Qxe\\Secret\\long", CFile::kCreate);
    file.Key = "ключ"_cp;
    file.Write(plain.data(), 300);
    file.Write(plain.data() + 300, 400);
    ASSERT_TRUE(file.Close());
  }
  const Bytes stored = OnDisk("C:\\Qxe\\Secret\\long");
  ASSERT_EQ(stored.size(), plain.size());
  const CStr key = "ключ"_cp;
  for (std::size_t p : {0u, 1u, 255u, 256u, 299u, 300u, 699u})
    EXPECT_EQ(stored[p], std::uint8_t(plain[p] + key.ByteAt(std::int32_t(p % 4)).Value + p)) << p;

  CSecretFile file("C:\\Qxe\\Secret\\long", CFile::kRead);
  file.Key = "ключ"_cp;
  Bytes back(plain.size());
  file.SetPosition(0);
  EXPECT_EQ(file.Read(back.data(), 100).Value, 100);
  EXPECT_EQ(file.Read(back.data() + 100, 600).Value, 600);
  EXPECT_EQ(back, plain);

  CSecretFile clear("C:\\Qxe\\Secret\\long", CFile::kRead);
  std::uint8_t first = 0;
  clear.Read(&first, 1);
  EXPECT_EQ(first, stored[0]);  // the empty key reads the bytes as they are
}

// [SECTION] The configuration file

TEST(ConfigFile, SavesTheEmptyTreeByteExact) {
  CApp app;
  ASSERT_EQ(SaveConfig(app), "");
  const Bytes bytes = OnDisk("C:\\Qxe\\Conf.qxe");
  ASSERT_EQ(bytes.size(), 45u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 15), kHeader);
  EXPECT_EQ(IntAt(bytes, 15), 26);
}

TEST(ConfigFile, LoadsWhatWasSavedAndNothingWithoutAFile) {
  CApp app;
  app.HomeDir = "C:\\Elsewhere";
  auto* group = new CProjectGroupInfo;
  group->SetName("Work");
  app.InfoMan.Root.Append(group);
  auto* oper = new COperInfo;
  oper->SetName("Run");
  oper->Code = "return;";
  group->Append(oper);

  const CLoadReport none = LoadConfig(app);  // no file yet: nothing happens
  EXPECT_TRUE(none.Ok());
  EXPECT_EQ(none.Message(), "");
  EXPECT_EQ(app.InfoMan.Root.ChildCount().Value, 1);

  ASSERT_EQ(SaveConfig(app), "");
  app.InfoMan.Root.Children.Clear();
  const CLoadReport report = LoadConfig(app);
  ASSERT_TRUE(report.Ok()) << report.Fault;
  ASSERT_EQ(app.InfoMan.Root.ChildCount().Value, 1);
  auto* back = dynamic_cast<COperInfo*>(app.InfoMan.Root.Child(0)->Child(0));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Code, "return;");
  EXPECT_EQ(back->Parent, app.InfoMan.Root.Child(0));
}

TEST(ConfigFile, ACorruptFileIsRefusedAndTheTreeKept) {
  CApp app;
  app.HomeDir = "C:\\Corrupt";
  auto* unit = new CUnitInfo;
  unit->SetName("Main");
  app.InfoMan.Root.Append(unit);
  ASSERT_EQ(SaveConfig(app), "");
  Bytes bytes = OnDisk("C:\\Corrupt\\Conf.qxe");
  PutInt(bytes, 15 + 30, 0x7FFFFFFF);  // the unit's record length
  PutOnDisk("C:\\Corrupt\\Conf.qxe", bytes);

  const CLoadReport report = LoadConfig(app);
  EXPECT_FALSE(report.Ok());
  EXPECT_EQ(report.FaultOffset.Value, 45);
  EXPECT_GE(report.Message().Pos("45").Value, 0) << report.Message();
  ASSERT_EQ(app.InfoMan.Root.ChildCount().Value, 1);
  EXPECT_EQ(app.InfoMan.Root.Child(0), unit);
  // The file is kept as it is before anything can be saved over it, and the user is told where.
  EXPECT_EQ(OnDisk("C:\\Corrupt\\Conf.qxe.damaged-1"), bytes);
  EXPECT_FALSE(report.KeepFailed);
  EXPECT_GE(report.Message()
                .Pos("\nповреждённый файл сохранён в копии C:\\Corrupt\\Conf.qxe.damaged-1"_cp)
                .Value,
            0)
      << report.Message();
}

TEST(ConfigFile, AFailedSaveIsReported) {
  CApp app;
  // A folder where the file should go is not replaced.
  app.HomeDir = "C:\\Blocked";
  const std::string folder = platform::LinuxPath("C:\\Blocked\\Conf.qxe");
  std::filesystem::create_directories(folder);
  // Each failure names its reason, in the user's words where they have some.
  EXPECT_EQ(SaveConfig(app),
            CStr("не удалось создать файл C:\\Blocked\\Conf.qxe: на месте файла стоит папка"_cp));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  // Nor is the folder taken for a missing file by the load.
  EXPECT_EQ(LoadConfig(app).Message(),
            CStr("не удалось открыть файл C:\\Blocked\\Conf.qxe: на месте файла стоит папка"_cp));

  // A file where a folder of the path should be.
  PutOnDisk("C:\\Plain", {1});
  app.HomeDir = "C:\\Plain\\Qxe";
  EXPECT_EQ(SaveConfig(app),
            CStr("не удалось создать файл C:\\Plain\\Qxe\\Conf.qxe: Not a directory"_cp));

  // Nor can a file on a drive that does not exist be made.
  app.HomeDir = "D:\\Qxe";
  EXPECT_EQ(SaveConfig(app),
            CStr("не удалось создать файл D:\\Qxe\\Conf.qxe: нет такого файла или папки"_cp));
  EXPECT_TRUE(LoadConfig(app).Ok());  // no file there: nothing to load
}

TEST(ConfigFile, ReasonsUsersMeetAreSaidInTheirWords) {
  const struct {
    int error;
    const char* text;
  } cases[] = {
      {ENOSPC, "на диске нет места"},         {EDQUOT, "на диске нет места"},
      {EACCES, "нет прав доступа"},           {EPERM, "нет прав доступа"},
      {EISDIR, "на месте файла стоит папка"}, {EROFS, "файловая система только для чтения"},
      {ENOENT, "нет такого файла или папки"}, {EIO, "ошибка ввода-вывода"},
      {ENOTDIR, "the system's words"},        {0, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FailureReasonText(platform::ReasonOf(c.error), "the system's words"),
              CStr(platform::Utf8ToCp1251(c.text)))
        << c.error;
}

// A tree deeper than the loader reads would save, and then be refused at every start: Save
// must say so and leave the previous file alone.
TEST(ConfigFile, ATreeTooDeepToReadBackIsNotSaved) {
  CApp app;
  app.HomeDir = "C:\\Deep";
  // A chain of `levels` nodes below the root.
  auto chain = [&](int levels) {
    app.InfoMan.Root.Children.Clear();
    CInfo* at = &app.InfoMan.Root;
    for (int i = 0; i < levels; ++i) {
      auto* next = new CUnitInfo;
      at->Append(next);
      at = next;
    }
  };
  chain(CInfo::kMaxDepth - 1);
  ASSERT_EQ(SaveConfig(app), "");
  const Bytes readable = OnDisk("C:\\Deep\\Conf.qxe");
  ASSERT_TRUE(LoadConfig(app).Ok());

  chain(CInfo::kMaxDepth);
  const CStr refused = SaveConfig(app);
  EXPECT_GE(refused.Pos(CInt(CInfo::kMaxDepth).ToStr()).Value, 0) << refused;
  EXPECT_EQ(OnDisk("C:\\Deep\\Conf.qxe"), readable);
}
