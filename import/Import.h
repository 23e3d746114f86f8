// The Import command: the C++ declarations and method bodies of an element's units read into the
// project tree. The IDE's Import button and `qxtree import` both come here.
#pragma once

#include <functional>
#include <vector>

#include "core/Values.h"
#include "import/CppAnalys.h"

class CInfo;

// Where the environment may keep the tree as it stood before a failed import.
inline constexpr const char* kRecoveredConfig = "C:\\Qxe\\Conf.recovered.qxe";

struct CImportResult {
  bool Ok = true;  // false: an import error was reported
  // What the import read but could not place, for the caller to show (UnplacedText).
  std::vector<CUnplacedCode> Unplaced;
};

// One line for the user about code the import left out.
CStr UnplacedText(const CUnplacedCode& code);

// Imports the element (nothing without one) with an analyser of its own; `show` receives every
// message the import shows (the caller picks the box or the console). After an import error the six
// texts of the report have been shown and the tree holds what the import had done by then.
// With a recovery file named, the tree as it stood when the command began is then written
// there, or beside it under the next free name (-2, -3...), never over an existing file; stderr
// says where.
CImportResult ImportCommand(CInfo* element, const std::function<void(const CStr&)>& show,
                            const CStr& recoveryFile = CStr());
