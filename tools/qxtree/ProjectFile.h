// Project files named by ordinary Linux paths, read and written as the environment does, with
// what goes wrong said on stderr after the file's name.
#pragma once

#include <string>

#include "model/Info.h"

namespace qxtree {

// A message of the system (cp1251) on stderr, after the file's name.
void Report(const std::string& file, const CStr& message);

// The element at a path of names from the top of the tree (Work/Demo/Main, in UTF-8), each the
// first child of its name; null when there is none.
CInfo* FindElement(CInfo& root, const std::string& path);

// What a command does with records the load passed over (which are always reported): Allowed;
// Refused, a fault; KeptAside, for a command that writes over the file it read: the file is first
// copied beside itself (FILE.damaged-N, as the environment does), and only a failed copy is a
// fault.
enum class Skips { Allowed, Refused, KeptAside };

// Reads the file into root. A fault is reported and answers false.
bool Load(const std::string& path, CInfo& root, Skips skips);

// The element at a path of names from the top of the tree (Work/Demo/Main), each the first child
// of its name; null when there is none.
CInfo* FindElement(CInfo& root, const std::string& path);

// Writes root to the file; the previous file stays when anything fails.
bool Save(const std::string& path, CInfo& root);

}  // namespace qxtree
