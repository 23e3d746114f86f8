// The writer: an application's (or library's) units written out as C++ files, a header and a
// source for each, with the map from every written line back to the element it came from.
#pragma once

#include <string>
#include <vector>

#include "core/Str.h"

class CInfo;

namespace writer {

// The element a written line came from; CodeLine is the 0-based line of the element's Code (an
// operation's body), or -1 for a line of the declaration or a generated line.
struct LinePlace {
  CInfo* Element = nullptr;
  int CodeLine = -1;
};

// Name: a plain file name ("Main.h"); Text in UTF-8 with "\n" line ends; Lines[i] belongs to
// line i + 1 of Text.
struct WrittenFile {
  std::string Name;
  std::string Text;
  std::vector<LinePlace> Lines;
};

// Error (Russian, for a box) is empty when the application could be written; Faulty names the
// element at fault (an unsafe name, no entry point ...).
struct Written {
  std::vector<WrittenFile> Files;
  std::string Error;
  CInfo* Faulty = nullptr;
};

// The name of the file that holds the generated main, when the program needs one.
inline constexpr const char* kGeneratedMain = "main.generated.cpp";

// Every unit of the application or library that holds `app` (or is it), and the program's
// entry when it needs a generated one.
Written WriteApplication(CInfo& app);

// Writes the files into a DOS folder (made when missing), each only when its bytes changed;
// false with a Russian message when a file cannot be written.
bool StoreChanged(const Written& written, const CStr& folder, std::string& error);

// "C:\Qxe\<group>\<application>\build\": never the folder of the units' own files.
CStr BuildFolder(const CInfo& app);

}  // namespace writer
