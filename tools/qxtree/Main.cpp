// qxtree: the project files of Qxworks from the command line.
//   qxtree dump FILE      the tree as JSON on stdout
//   qxtree check FILE     exit 0 when the file and its form designs read in full; else 1 and
//                         the first fault of the file, or every damaged design line
//   qxtree copy IN OUT    read and write again (refused when a record would be lost)
//   qxtree import FILE ELEMENT   the Import command on an element (Work/Demo/Main), then save
//   qxtree build FILE APPLICATION   Build of an application (Work/Demo), its compiler on stderr
//   qxtree export FILE ELEMENT DIR   the C++ files of the application (or library) that holds
//                         the element written into DIR
// Exit codes: 0 done, 1 the file is faulty or cannot be read or written, 2 bad arguments.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/App.h"
#include "platform/Memory.h"
#include "tools/qxtree/Build.h"
#include "tools/qxtree/Dump.h"
#include "tools/qxtree/Export.h"
#include "tools/qxtree/Import.h"
#include "tools/qxtree/ProjectFile.h"

namespace {

constexpr const char* kUsage =
    "использование:\n"
    "  qxtree dump ФАЙЛ        дерево проекта в виде JSON\n"
    "  qxtree check ФАЙЛ       проверка файла: первая ошибка и её смещение\n"
    "  qxtree copy ИЗ В        прочитать и записать заново\n"
    "  qxtree import ФАЙЛ ЭЛЕМЕНТ  импорт C++ в элемент (путь вида Work/Demo/Main) и запись\n"
    "  qxtree build ФАЙЛ ПРИЛОЖЕНИЕ  сборка программы приложения (путь вида Work/Demo)\n"
    "  qxtree export ФАЙЛ ЭЛЕМЕНТ ПАПКА  файлы C++ приложения (Work/Demo) в папку\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "qxtree: %s\n", problem);
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(nullptr);
  const std::string command = argv[1];
  if (command == "import") {
    if (argc == 4) platform::RestartWithHugePages(argv);
    return argc == 4 ? qxtree::Import(argv[2], argv[3]) : Usage("неверное число аргументов");
  }
  if (command == "build")
    return argc == 4 ? qxtree::Build(argv[2], argv[3]) : Usage("неверное число аргументов");
  if (command == "export")
    return argc == 5 ? qxtree::Export(argv[2], argv[3], argv[4]) : Usage("неверное число аргументов");
  const int wanted = command == "copy" ? 4 : 3;
  if (command != "dump" && command != "check" && command != "copy")
    return Usage(("неизвестная команда " + command).c_str());
  if (argc != wanted) return Usage("неверное число аргументов");

  CApp app;
  CInfo root;
  const std::string in = argv[2];
  // A copy would lose the records the load passed over: it refuses.
  if (!qxtree::Load(in, root, command == "dump" ? qxtree::Skips::Allowed : qxtree::Skips::Refused))
    return 1;

  if (command == "dump") {
    std::string out;
    qxtree::DumpJson(root, out);
    out += "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (command == "check") {
    std::string report;
    if (qxtree::CheckDesigns(root, report) > 0) {
      std::fprintf(stderr, "%s", report.c_str());
      return 1;
    }
    std::printf("%s: ok\n", in.c_str());
    return 0;
  }
  return qxtree::Save(argv[3], root) ? 0 : 1;
}
