// One unit written out as its header and its source.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "writer/Writer.h"

class CAtrInfo;
class COperInfo;
class CStructInfo;
class CUnitInfo;

namespace writer {

// A file's text as it is made, with the element of each line; cp1251 with "\n" line ends.
class CFileText {
 public:
  // One line, indented; opens or closes the namespaces asked for first.
  void Line(std::string_view text, CInfo* element, int codeLine = -1);
  // Each line of a text of several lines, as it is.
  void Lines_(std::string_view text, CInfo* element);
  // The lines of an operation's Code between braces, mapped to their lines of the Code.
  void Body(COperInfo& operation);
  // The namespaces ("a::b", "(anonymous)" for one without a name) the next lines go in.
  void OpenNamespace(std::string_view path, CInfo* element);
  void CloseNamespaces();

  std::string Text;
  std::vector<LinePlace> Lines;
  std::string Indent;

 private:
  void Put(std::string_view text, CInfo* element, int codeLine);
  void Switch(CInfo* element);
  std::vector<std::string> open_, want_;
};

class CUnitWriter {
 public:
  explicit CUnitWriter(CUnitInfo& unit);
  void Write();

  CFileText Header, Source;

 private:
  void Type(CStructInfo& type);
  void Enum(CInfo& type);
  void Member(CAtrInfo& attribute, const CStructInfo& owner);
  void GlobalVariable(CAtrInfo& variable);
  // `scope` is "A::B::" for a member of a class, "" for a function of the unit.
  void Operation(COperInfo& operation, const std::string& scope);
  std::string ScopeOf(const CInfo& type) const;

  CUnitInfo& unit_;
};

}  // namespace writer
