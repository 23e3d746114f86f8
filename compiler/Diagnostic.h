// What the compiler and the linker say, line by line: which lines are errors and warnings, and the
// place in a file each one names.
#pragma once

#include <string>
#include <string_view>

namespace compiler {

enum class LineKind {
  Plain,     // context: "In function ...", the quoted source, a caret
  Error,     // an error or fatal error
  Warning,
  Note,
  Program,   // the started program's standard output
  ProgramError,  // its standard error
  Outcome,   // the environment's own word: what was done, a failure outside the compiler
};

struct BuildLine {
  std::string Text;  // as it was written (UTF-8)
  LineKind Kind = LineKind::Plain;
  std::string File;  // the file the line names, as named; "" when none
  int Line = 0;      // 1-based; 0 when the line names none
  int Column = 0;    // 1-based; 0 when none

  bool operator==(const BuildLine&) const = default;
};

// Reads one line of the compiler's or the linker's output: "file:line:col: error: ...",
// "file:line: warning: ...", "file: error: ..." and the like. Anything else is Plain.
BuildLine ParseCompilerLine(std::string_view text);

// An error or a warning: a line that a press leads from to its place.
inline bool IsProblem(LineKind kind) {
  return kind == LineKind::Error || kind == LineKind::Warning;
}

}  // namespace compiler
