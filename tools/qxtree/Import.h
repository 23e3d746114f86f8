// qxtree import FILE ELEMENT: the Import command of the environment on one element of a project
// file, then the file saved.
#pragma once

#include <string>

namespace qxtree {

// ELEMENT is the path of names from the top of the tree, such as Work/Demo/Main. Answers the
// exit code: 0 imported and saved; 1 the file cannot be read or written, the element is not
// there, or the import reported an error (the six texts of the report then stand on stderr, one
// per line, and FILE is left as it was). Definitions the import could not place are listed on
// stderr, one per line with file and line number.
int Import(const std::string& file, const std::string& element);

}  // namespace qxtree
