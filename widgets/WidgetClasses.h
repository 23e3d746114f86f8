// The rows of the widget classes (CBevel to CForm, in the registry's order), which the control
// application registers after its own: the application object that is built on the widgets passes
// them to CCtrlApp.
#pragma once

#include <span>

struct CClassRow;

std::span<const CClassRow> WidgetClassRows();
