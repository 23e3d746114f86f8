// The node base of the project tree: place in the tree, description, caption, and the record in
// which a node and its whole subtree are written to and read from a stream.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/List.h"

class CStream;
class CRecordReader;

// What reading a record found. A fault stops the reading and leaves the target node exactly as
// it was; a child record of a class that cannot be created is skipped and listed, and the rest
// is read.
class CLoadReport {
 public:
  bool Ok() const { return Fault.Length().Value == 0; }

  CStr Fault;                 // the first fault, with its byte offset; "" when the record was read
  CInt FaultOffset = -1;      // the stream position of the fault
  std::vector<CStr> Skipped;  // one line per skipped record
  // For a file refused or read in part: a line on the copy of it kept beside it, and whether
  // no copy could be made (nothing may then be written over the file).
  CStr Kept;
  bool KeepFailed = false;

  // Everything the user should see, one line each; "" when there is nothing to say.
  CStr Message() const;
};

class CInfo : public CVar {
 public:
  CInfo() = default;
  ~CInfo() override = default;
  CInfo(const CInfo&) = delete;
  CInfo& operator=(const CInfo&) = delete;

  CStr ClassName() const override;
  // One node with its entire subtree.
  void SaveToStream(CStream& stream) override;
  // The same for a subtree the loader can read back: false, with the record left unfinished,
  // when a node lies kMaxDepth or more levels below this one. Saves that must refuse such a
  // tree walk it once this way, not once to measure it and once to write it.
  bool SaveReadable(CStream& stream);
  // As Load, for callers that need no report: on a fault the node stays as it was.
  void LoadFromStream(CStream& stream) override;

  virtual void SaveFields(CStream& stream);
  virtual void LoadFields(CStream& stream);
  virtual void UpdateText();
  // The names of the ancestors, outermost first, each followed by "::".
  virtual CStr ScopePrefix() const;

  // Reads a record into this node, replacing its name, texts, kind fields and children. The
  // record is checked against what the stream holds; on a fault nothing changes.
  CLoadReport Load(CStream& stream);

  // Appends an owned child and sets its parent.
  void Append(CInfo* child);
  CInfo* Child(const CInt& index) const { return Children.GetAs<CInfo>(index); }
  CInt ChildCount() const { return Children.Count(); }
  // Levels of descendants below this node: 0 without children. Walks without recursion.
  std::int32_t LevelsBelow() const;

  // Extra and Reserved are empty and false in every node the system makes: they take room only
  // once written through these. Reading makes nothing.
  CStr& Extra() { return Seldom().Extra; }
  const CStr& Extra() const { return Seldom().Extra; }
  CBool& Reserved() { return Seldom().Reserved; }
  const CBool& Reserved() const { return Seldom().Reserved; }

  CInfo* Parent = nullptr;  // not owned
  CList Children;           // of CInfo, owned
  CStr About;
  CStr Caption;
  std::int32_t TreeFlags = 0;       // bit 0 expanded, bit 1 marked; kept for the project tree
  CObject* EditorWindow = nullptr;  // the window the IDE made for this node; not owned

  // Records nest no deeper than this; deeper input is refused rather than overflowing the stack.
  static constexpr int kMaxDepth = 1000;

 private:
  friend class CRecordReader;
  class CNodeMaker;
  bool ReadRecord(CRecordReader& in, CNodeMaker& maker, CLoadReport& report, int depth);
  // SaveToStream with at most `below` levels under this node; false when there are more.
  bool SaveLevels(CStream& stream, std::int32_t below);

  struct CSeldom {
    CStr Extra;
    CBool Reserved;
  };
  CSeldom& Seldom();
  const CSeldom& Seldom() const;

  // A project tree has hundreds of thousands of nodes: these would be a sixth of what the
  // smaller ones weigh, and of what saving one reads.
  std::unique_ptr<CSeldom> seldom_;
};
