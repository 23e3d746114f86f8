// Designed form classes and the program's entry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "writer/Units.h"

class CClassInfo;
class CUnitInfo;

namespace writer {

// A class whose Extra holds a design.
bool IsFormClass(const CClassInfo& type);

// The generated main of an application, or none when one of its units has a global `main`.
// Neither a main nor a form class: `why` says so (Russian) and `faulty` is the application.
std::optional<CFileText> ProgramEntry(CInfo& app, const std::vector<CUnitInfo*>& units, std::string& why,
                                      CInfo*& faulty);

}  // namespace writer
