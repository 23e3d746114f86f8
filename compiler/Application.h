// An application of the model as a build: its units written into its build folder, the build
// planned, and the compiler's lines led back to the elements they were written from.
#pragma once

#include <string>

#include "compiler/Compiler.h"
#include "core/Str.h"
#include "writer/Writer.h"

class CInfo;

namespace compiler {

// The application or library that holds the element (the element itself when it is one); null
// when it belongs to none.
CInfo* ApplicationOf(CInfo* element);

// Where an application's program goes, C:\Qxe\<application>, as a Linux path; "" for a library,
// which has none.
std::string ProgramPath(const CInfo& app);

struct Prepared {
  writer::Written Written;  // the files, with the map from their lines to the elements
  compiler::Plan Plan;
  CStr Error;               // cp1251, for a box; empty when the build can start
  CInfo* Faulty = nullptr;  // the element at fault, when one is
};

// Writes the application's files into its build folder (only the
// ones whose bytes changed) and plans the build. Nothing is written when the writer refuses the
// application (a group, application or unit whose name is not a plain file name, no entry ...).
Prepared Prepare(CInfo& app);

// The program stands and is newer than every file written for it: the application has not
// changed since it was built.
bool ProgramIsCurrent(const Prepared& prepared);

// The element and the line of its code that a compiler's line names; no element when the line
// names no written file or no line of one.
writer::LinePlace PlaceOf(const writer::Written& written, const BuildLine& line);

}  // namespace compiler
