// The configuration loader on arbitrary bytes: it must refuse or read, never crash, hang or
// allocate beyond the input; a refusal leaves the root alone, and whatever it reads saves and
// reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/App.h"
#include "storage/Config.h"
#include "storage/Stream.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CApp* app = new CApp;  // the registry and names, for the life of the process
  (void)app;
  if (size > INT32_MAX) return 0;

  CMemory input;
  input.Write(data, static_cast<std::int32_t>(size));
  CInfo root;
  root.SetName("untouched");
  const CLoadReport report = ReadConfig(input, root);
  if (!report.Ok()) {
    Check(root.ChildCount().Value == 0 && root.GetName() == "untouched");
    Check(report.FaultOffset.Value >= 0 && report.FaultOffset.Value <= input.GetSize().Value);
    return 0;
  }

  CMemory first;
  WriteConfig(first, root);
  CInfo again;
  Check(ReadConfig(first, again).Ok());
  CMemory second;
  WriteConfig(second, again);
  Check(first.GetSize().Value == second.GetSize().Value);
  Check(std::memcmp(first.Data(), second.Data(), first.GetSize().Value) == 0);
  return 0;
}
