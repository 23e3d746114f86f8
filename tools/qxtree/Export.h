// qxtree export FILE ELEMENT DIR: the files the writer makes of an application or library,
// written into a folder of the host system, without compiling anything.
#pragma once

#include <string>

namespace qxtree {

// ELEMENT is a path of names (Work/Demo) to the application or library, or to any element in
// it. Answers the exit code: 0 written (each file only when its bytes changed); 1 the project
// file cannot be read, the element is not there, the writer refuses (its message on stderr) or a
// file cannot be written.
int Export(const std::string& file, const std::string& element, const std::string& folder);

}  // namespace qxtree
