// The C++ importer on arbitrary text: the tokenizer alone (every option), then the analyser
// reading the text as a unit's header and again as its source. Nothing may crash, hang or read
// outside the text, and the line count must always match the position.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/App.h"
#include "import/CppAnalys.h"
#include "model/Kinds.h"

namespace {

// Line is 1 + the "\r\n" pairs before Pos.
void CheckLine(const CParser& p) {
  const std::string_view text = p.GetText().View();
  const std::size_t end = std::min<std::size_t>(text.size(), static_cast<std::size_t>(p.Pos.Value));
  std::int32_t line = 1;
  for (std::size_t i = 1; i < end; ++i) line += text[i] == '\n' && text[i - 1] == '\r';
  if (line != p.Line.Value) __builtin_trap();
}

void Tokenize(std::string_view bytes, bool join, bool cyrillic, bool returnSkipped) {
  CCppAsmParser p;
  p.JoinQualified = join;
  p.CyrillicLetters = cyrillic;
  p.ReturnSkipped = returnSkipped;
  CStr text;
  text.AppendBytes(bytes.data(), bytes.size());
  p.SetText(text);
  // Every token moves the position on, so there are never more tokens than bytes.
  for (std::size_t n = 0;; ++n) {
    if (n > p.GetText().View().size() + 1) __builtin_trap();
    const std::int32_t before = p.Pos.Value;
    p.NextToken();
    CheckLine(p);
    if (p.TokenKind == kTokenNone) break;
    if (p.Pos.Value <= before) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CApp* app = new CApp;  // one application object for the whole run, as in the program
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::uint8_t options = size ? data[0] : 0;
  Tokenize(bytes, options & 1, options & 2, options & 4);

  auto* unit = new CUnitInfo;
  app->InfoMan.Root.Append(unit);
  unit->SetName("Main");
  {
    CCppAnalys analys;
    analys.Root = &app->InfoMan.Root;
    analys.ImportedUnit = unit;
    analys.ShowMessage = [](const CStr&) {};
    CStr text;
    text.AppendBytes(bytes.data(), bytes.size());
    if (analys.ImportText("C:\\Qxe\\Main.h", text)) analys.ImportText("C:\\Qxe\\Main.cpp", text);
    CheckLine(analys);
  }
  app->InfoMan.Root.Children.DeleteObject(unit);
  return 0;
}
