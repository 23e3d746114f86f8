// A form's design as text, kept in its class element's Extra: a version line, then one line a
// designed control, members of a group indented two spaces below it.
//
//   design 1
//   form title="Вход" size=400,300
//   CLabel Label1 rect=18,18,108,36 color=0,0,0 anchors=3,3,4,4 face=0.75,0.75,0.75 text="Имя" ...
//   CControl MyControl1 rect=...
//     CButton Button1 rect=... click="Button1Click"
//
// A line is a kind, a name ("-" for none) and fields: key=value, or a bare key for a flag.
// A value is a list of items separated by commas; an item is a number, a word, or a text in
// double quotes with \" \\ \n and \r escaped.
//
// The form line (at most one, not indented, no name; a design without one is a form of the
// default size titled after its class):
//   title="..."             the window's title
//   size=w,h                the window's inner width and height, whole pixels 1 to kMaxFormSide;
//                           the designed controls lie in it from its top-left corner
//
// The fields (code is written from designs too: add fields, never rename one):
//   rect=x1,y1,x2,y2        every kind, required
//   color=r,g,b             every kind; parts 0 to 1
//   anchors=a,b,c,d         every kind; 0 to 4
//   hidden                  every kind; hidden in the built program
//   face=r,g,b              the panel kinds: panel, label, edit, button, picture button, form
//   text="..."              text, label, edit, button; a form's title
//   textcolor=r,g,b         the colour of that text where it is not the control's own
//   font="face",height,bius the font of that text; height 1 to 500; style letters or "-"
//   center                  that text centred
//   picture="path"          picture, picture button
//   centered                picture centred
//   click="Operation"       any kind: the form class's operation the control's click calls
//
// This file only reads and checks the text; making the controls is the designer's.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace design {

inline constexpr std::string_view kVersionLine = "design 1";
inline constexpr std::string_view kFormKind = "form";
inline constexpr long double kMaxFormSide = 10000;
inline constexpr int kDefaultFormWidth = 400, kDefaultFormHeight = 300;

// The kinds a design may hold: what the designer's tools make, and the group.
bool IsKnownKind(std::string_view kind);
bool IsGroupKind(std::string_view kind);

struct Field {
  std::string Key;
  std::vector<std::string> Items;  // texts unquoted; empty for a flag
  bool Flag = false;
};

struct Line {
  int Number = 0;  // 1-based, in the whole text (the version line is 1)
  int Depth = 0;
  std::string Kind;
  std::string Name;  // "" for "-"
  std::vector<Field> Fields;

  const Field* Find(std::string_view key) const;
  bool Has(std::string_view key) const { return Find(key) != nullptr; }
  // The field's items as numbers; false (and out untouched) unless it has exactly n finite ones.
  bool Numbers(std::string_view key, std::size_t n, std::vector<long double>& out) const;
  // The field's single text; false without one.
  bool Text(std::string_view key, std::string& out) const;
};

struct Damage {
  int Line = 0;
  std::string Why;   // for the command line (qxtree)
  std::string Said;  // the same in the user's words, cp1251
};

struct Parsed {
  bool IsDesign = false;        // the text starts with the version line
  std::vector<Line> Lines;      // the controls' lines that read, in order
  std::optional<Line> Form;     // the form line, when there is one that read
  std::vector<Damage> Damages;  // the lines that did not; a damaged line's members go with it
  std::vector<std::string> Unread;  // the text of those lines, to be kept
};

// Reads and checks a whole text: each line's syntax, its kind, its rectangle (finite, within
// kMaxCoordinate), colours (0 to 1), anchors (0 to 4), font height (1 to 500) and its depth (a
// member only below a group); the form line's title and size.
Parsed Parse(std::string_view text);
// Where the design begins: its version line, at the start of the text or of a line. Lines
// before it are other facts kept in the same text (what the C++ import keeps of a class).
inline std::size_t DesignStart(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::string_view rest = text.substr(at);
    if (rest.substr(0, kVersionLine.size()) == kVersionLine &&
        (rest.size() == kVersionLine.size() || rest[kVersionLine.size()] == '\n' ||
         rest[kVersionLine.size()] == '\r'))
      return at;
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  return std::string_view::npos;
}
inline bool IsDesign(std::string_view text) { return DesignStart(text) != std::string_view::npos; }
// The text before the design (all of it when there is none).
inline std::string_view BeforeDesign(std::string_view text) {
  return text.substr(0, std::min(DesignStart(text), text.size()));
}

inline constexpr long double kMaxCoordinate = 100000;

// Writing: a number in the fewest digits that read back exactly; a text quoted and escaped.
std::string Number(long double v);
std::string Quoted(std::string_view text);

// The design as lines for people (qxtree dump): the text split at its line ends.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace design
