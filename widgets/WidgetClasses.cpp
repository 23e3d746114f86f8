#include "widgets/WidgetClasses.h"

#include "model/ClassManager.h"

// Each widget class joins this table as it is built, in the registry's order.
std::span<const CClassRow> WidgetClassRows() {
  return {};
}
