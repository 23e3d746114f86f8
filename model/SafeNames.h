// Names that become parts of paths: a project group, an application or a unit names a folder or
// a file below C:\Qxe, and only a plain file name may do so.
#pragma once

#include <string_view>

#include "core/Str.h"

class CInfo;

// Not empty, not "." or "..", and without a "/", "\", ":" or control byte: a name that stays
// inside its folder on Linux and in the environment's DOS paths alike.
bool IsSafeFileName(std::string_view name);

// The first element, outermost first, among the folders of the element (its group, application,
// library or package) and the element itself when it is a unit, whose name is not safe; null
// when every one is.
const CInfo* FirstUnsafeOnPath(const CInfo& element);

// The words before the name of such an element in a message for a box.
const char* UnsafeNameWords();

// The folder of the element's files: the home directory, then the names of its group,
// application, library or package ancestors and of the element itself when it is one of those,
// each followed by "\" ("C:\Qxe\Work\Demo\" for the application Demo of the group Work).
CStr ProjectFolder(const CInfo& element);
