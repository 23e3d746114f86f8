// The monkey's own record of the project tree: each element's class, name and (for operations)
// code, in order. The monkey changes it by what each command must do and compares it with the
// real tree after every event, so a command that touches the wrong element, or one that should
// have touched nothing, is caught where it happens rather than at the next save.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/Info.h"
#include "model/MemberInfo.h"

namespace qxtest {

struct Expected {
  std::string Class;
  std::string Name;
  std::string Code;  // operations only
  Expected* Parent = nullptr;
  std::vector<std::unique_ptr<Expected>> Children;

  // The real element as it stands, with its subtree.
  static std::unique_ptr<Expected> Of(CInfo& element) {
    auto node = std::make_unique<Expected>();
    node->Class = element.ClassName().ToStd();
    node->Name = element.GetName().ToStd();
    if (node->Class == "COperInfo") node->Code = static_cast<COperInfo&>(element).Code.ToStd();
    for (std::int32_t i = 0; i < element.ChildCount().Value; ++i)
      node->Append(Of(*element.Child(i)));
    return node;
  }

  std::unique_ptr<Expected> Clone() const {
    auto copy = std::make_unique<Expected>();
    copy->Class = Class;
    copy->Name = Name;
    copy->Code = Code;
    for (const auto& child : Children) copy->Append(child->Clone());
    return copy;
  }

  Expected* Append(std::unique_ptr<Expected> child) {
    child->Parent = this;
    Children.push_back(std::move(child));
    return Children.back().get();
  }

  std::size_t IndexOf(const Expected* child) const {
    for (std::size_t i = 0; i < Children.size(); ++i)
      if (Children[i].get() == child) return i;
    return Children.size();
  }

  // Takes the element out of its parent and destroys it with its subtree.
  void Remove() {
    auto& siblings = Parent->Children;
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(Parent->IndexOf(this)));
  }

  bool Contains(const Expected* node) const {
    for (; node; node = node->Parent)
      if (node == this) return true;
    return false;
  }

  // Operations at or below this element lose their code; nothing below an operation is visited.
  void ClearCode() {
    if (Class == "COperInfo") {
      Code.clear();
      return;
    }
    for (const auto& child : Children) child->ClearCode();
  }

  std::size_t Count() const {
    std::size_t count = 1;
    for (const auto& child : Children) count += child->Count();
    return count;
  }

  // The child indices from the root down to this element.
  std::vector<std::int32_t> Path() const {
    std::vector<std::int32_t> path;
    for (const Expected* e = this; e->Parent; e = e->Parent)
      path.insert(path.begin(), static_cast<std::int32_t>(e->Parent->IndexOf(e)));
    return path;
  }
  // The same for a real element.
  static std::vector<std::int32_t> PathOf(const CInfo* element) {
    std::vector<std::int32_t> path;
    for (; element && element->Parent; element = element->Parent)
      path.insert(path.begin(), element->Parent->Children.IndexOf(const_cast<CInfo*>(element)).Value);
    return path;
  }
  Expected* At(const std::vector<std::int32_t>& path) {
    Expected* node = this;
    for (const std::int32_t i : path) {
      if (i < 0 || static_cast<std::size_t>(i) >= node->Children.size()) return nullptr;
      node = node->Children[static_cast<std::size_t>(i)].get();
    }
    return node;
  }
};

// Where the real tree first departs from the expected one: "" when they agree. Edits a person
// makes outside the commands are taken into the record as they are found: a name or code may
// change on the element the tuner shows, and an operation's code may become what its editor
// holds (written back when the selection leaves it).
template <typename MayChange>
std::string Compare(Expected& expected, CInfo& real, const MayChange& mayChange,
                    const std::string& where = "the root") {
  if (real.ClassName().ToStd() != expected.Class)
    return where + " is a " + real.ClassName().ToStd() + ", expected a " + expected.Class;
  const std::string name = real.GetName().ToStd();
  if (name != expected.Name) {
    if (!mayChange(real, false)) return where + " is named \"" + name + "\", expected \"" + expected.Name + "\"";
    expected.Name = name;
  }
  if (expected.Class == "COperInfo") {
    const std::string code = static_cast<COperInfo&>(real).Code.ToStd();
    if (code != expected.Code) {
      if (!mayChange(real, true)) {
        std::size_t at = 0;
        while (at < code.size() && at < expected.Code.size() && code[at] == expected.Code[at]) ++at;
        const std::size_t from = at > 20 ? at - 20 : 0;
        return where + " (" + expected.Name + ")'s code differs at byte " + std::to_string(at) +
               ": \"" + code.substr(from, 60) + "\", expected \"" + expected.Code.substr(from, 60) +
               "\"";
      }
      expected.Code = code;
    }
  }
  const auto count = static_cast<std::size_t>(real.ChildCount().Value);
  if (count != expected.Children.size())
    return where + " (" + expected.Name + ") has " + std::to_string(count) + " children, expected " +
           std::to_string(expected.Children.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::string fault =
        Compare(*expected.Children[i], *real.Child(static_cast<std::int32_t>(i)), mayChange,
                where + "/" + std::to_string(i));
    if (!fault.empty()) return fault;
  }
  return "";
}

}  // namespace qxtest
