// Designed form classes and the program's entry.
//
// A form class gets its controls from its design. The class body ends with QX_FORM(Name), which
// the import passes over as a macro; <Unit>.forms.h, which the unit's header includes first,
// defines it as the members the design needs: a pointer for each named control (so the class's
// operations reach Label1), the base's constructors, and a member made last that builds the
// controls before the constructor's body runs. So the written files read back as the tree they
// were written from, and the generated code lives only in the file that is made again.
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

// The unit's form classes, depth first in the tree's order.
std::vector<CClassInfo*> FormClasses(CInfo& element);

// "Main.forms.h" for the unit "Main".
std::string FormsFileName(const CInfo& unit);

// The file of the unit's form classes' construction code (the unit has form classes).
CFileText FormsFile(CUnitInfo& unit);

// The generated main of an application, or none when one of its units has a global `main`.
// Neither a main nor a form class: `why` says so (Russian) and `faulty` is the application.
std::optional<CFileText> ProgramEntry(CInfo& app, const std::vector<CUnitInfo*>& units, std::string& why,
                                      CInfo*& faulty);

}  // namespace writer
