// qxtree build FILE APPLICATION: Build of the environment without a window.
#pragma once

#include <string>

namespace qxtree {

// APPLICATION is the path of names of the application (or of any element in it) from the top of
// the tree, such as Work/Demo. The application's files go to its build folder and the program to
// C:\Qxe\<application>; the compiler's lines go to stderr as they come. Answers the exit code:
// 0 built; 1 the file cannot be read, the element is not there or belongs to no application, a
// name is not a plain file name, there is no compiler or toolkit, or the compiler failed.
int Build(const std::string& file, const std::string& element);

}  // namespace qxtree
