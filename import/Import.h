// The Import command: the C++ declarations and method bodies of an element's units read into the
// project tree. The IDE's Import button and `qxtree import` both come here.
#pragma once

#include <functional>

#include "core/Values.h"

class CInfo;

// Where the recovery file goes: beside the configuration, never over it.
inline constexpr const char* kRecoveredConfig = "C:\\Qxe\\Conf.recovered.qxe";

// Imports the element (nothing without one) with an analyser of its own; `show` receives every
// message the import shows (by default the platform's modal box). After an import error the six
// texts of the report have been shown, the tree as it stood when the command began has been
// written to kRecoveredConfig (stderr says where), and the answer is false: the caller must then
// end the program with exit code 1 without saving the configuration.
CBool ImportCommand(CInfo* element, const std::function<void(const CStr&)>& show = {});
