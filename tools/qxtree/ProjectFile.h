// Project files named by ordinary Linux paths, read and written as the environment does, with
// what goes wrong said on stderr after the file's name.
#pragma once

#include <string>

#include "model/Info.h"

namespace qxtree {

// A message of the system (cp1251) on stderr, after the file's name.
void Report(const std::string& file, const CStr& message);

// Reads the file into root. A fault is reported and answers false; records the load passed over
// are reported too, and answer false when skipsAreFaults.
bool Load(const std::string& path, CInfo& root, bool skipsAreFaults);

// Writes root to the file; the previous file stays when anything fails.
bool Save(const std::string& path, CInfo& root);

}  // namespace qxtree
