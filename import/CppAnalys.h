// The declaration analyser of the C++ import: a recursive-descent reader, without a syntax tree,
// that turns class declarations into classes, attributes and operations of the model and method
// bodies into the code text of their operations. It also holds the import driver's operations
// (import/Import.cpp), which read the files of a unit into it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/List.h"
#include "import/Parser.h"

class CInfo;
class CAtrInfo;
class CClassInfo;
class COperInfo;

// A definition or declaration the import could not put into the project: a global function, or
// a method whose qualifier names no known class (a typo such as TFrom1::Stop).
struct CUnplacedCode {
  CStr Name;  // as written, qualifier included; for a skipped construct, its first words
  CStr FileName;
  CInt Line;
};

// One parameter as written: its type (the name taken out), name and default value.
struct CParamText {
  std::string Type, Name, Value;
};

// One token of a declaration as the member reader took it, with what it turned out to be.
struct CPiece {
  enum Role : std::uint8_t { kType, kPrefix, kCall, kDropped };
  std::string Text;
  std::uint8_t Kind = 0;
  Role Use = kType;
};

class CCppAnalys : public CCppAsmParser {
 public:
  // One declarator while it is read; owned by the function that reads the declaration. The
  // setters make the checks of the words they record and report what breaks them.
  class TMemberInfo {
   public:
    // The room of the pieces is lent by the analyser and given back: a declaration is read for
    // every member, and a fresh list for each would cost more than reading it.
    explicit TMemberInfo(CCppAnalys* analys) : Analys(analys) {
      if (!analys->spares_.empty()) {
        Pieces.swap(analys->spares_.back());
        analys->spares_.pop_back();
      }
    }
    ~TMemberInfo() {
      Pieces.clear();
      if (Pieces.capacity()) Analys->spares_.push_back(std::move(Pieces));
    }
    TMemberInfo(const TMemberInfo&) = delete;
    TMemberInfo& operator=(const TMemberInfo&) = delete;

    void SetVirtual();
    void SetStorage(int storage);  // 1 auto, 2 static
    void SetConst();
    void SetSign(int sign);  // 1 signed, 2 unsigned
    void SetTypeWord(int typeWord, std::string_view word);
    void SetCallConv(int callConv);
    void SetDestructor();
    void SetRef();
    void SetOperator(const CStr& operatorName);  // "operator " + the operator
    void ScopeStep();

    CCppAnalys* Analys;
    CStr Name;      // possibly qualified with "::"
    CStr TypeName;  // a type written as a name
    CBool IsVirtual;
    CInt Storage;  // 0 none, 1 auto, 2 static
    CBool IsConst;
    CInt Sign;      // 0 none, 1 signed, 2 unsigned
    CInt TypeWord;  // built-in type word, 20 for long double; 0 none
    CInt CallConv;  // 0 none, 1 cdecl, 2 pascal, 3 stdcall, 4 fastcall
    CInt Special;   // 0 ordinary, 2 destructor
    CInt PointerLevel;
    CBool IsRef;
    CBool Reserved;
    CBool IsOperator;
    CInt MemberKind;  // 0 undecided, 1 attribute, 2 operation

    // What the model keeps besides the fields above: the tokens read, so the type can be
    // written as it was; the parameters; what follows the parameter list or the name.
    std::vector<CPiece> Pieces;
    std::vector<CParamText> Params;
    std::string Tail;        // const, noexcept, override, = 0 ... as written, one blank apart
    std::string Declarator;  // what follows an attribute's name: [10], : 3, = 5, {0}
    std::string ReturnType;  // a trailing return type (after "->")
  };

  CCppAnalys();  // messages in a message box
  explicit CCppAnalys(std::function<void(const CStr&)> show);
  ~CCppAnalys() override;
  CStr ClassName() const override;

  // [Readers]
  void ReadClass(CInfo* scope);
  // Name, base, and whether a body follows; the class read or completed is put in `result`.
  bool ReadClassHead(CInfo* scope, CClassInfo*& result);
  void ReadClassBody(CClassInfo* owner);
  void ReadMember(CInfo* scope);
  void ReadSpec(CInfo* scope, TMemberInfo& info, bool allowVirtual, bool allowStatic, bool allowCallConv);
  void ReadOperation(CInfo* scope, TMemberInfo& info);
  void ReadBody(CInfo* scope, COperInfo* operation);
  void ReadTypedef();

  // [Declaring and finding]
  void DeclareAttribute(CInfo* scope, TMemberInfo& info);
  // The variable of the unit (or static member of a class) that a declaration at file level
  // defines, given its value; null when it declares a new one.
  CAtrInfo* UnitVariable(CInfo* unit, TMemberInfo& info);
  COperInfo* DeclareOperation(CInfo* scope, TMemberInfo& info);
  CClassInfo* FindClass(CInfo* start, const CStr& name);
  COperInfo* FindOperation(CInfo* scope, const CStr& name);
  int IsTypeName(CInfo* scope, const CStr& word);
  int GetAccess();

  // [Skipping]
  void SkipLine();
  void SkipToSemicolon();
  void SkipInitializer();
  void SkipParams();

  // [Driver] (import/Import.cpp)
  // Imports an element: a unit from its header and source file, anything else child by child.
  // False when an import error was reported: the program must then end (exit code 1) without
  // saving; the caller does that.
  CBool ImportElement(CInfo* element);
  void ImportFile(const CStr& name);
  // Reads one text as ImportFile reads a file's, catching the report: false after an error.
  CBool ImportText(const CStr& fileName, const CStr& text);
  // Shows the six texts of the error report, then stops the import: the reading unwinds to
  // ImportElement or ImportText, which answer false.
  [[noreturn]] void ReportError(const CStr& message);
  void ShowNamespaceNote();
  // The macro names to skip besides those the rule finds (Macros.txt beside the configuration).
  void LoadMacroList(const CStr& fileName);

  CStr FileName;
  CInfo* ImportedUnit = nullptr;  // not owned
  CInfo* Root = nullptr;          // not owned
  CInt CurrentAccess;             // 0 private, 1 protected, 2 public, 3 published
  CList Typedefs;                 // of CTypeInfo
  CList EventTypes;               // of CEventTypeInfo
  // Attributes declared outside any class, and operations that found no class to belong to.
  CList GlobalItems;
  // The operations among them, in the order met, for the user to hear about.
  std::vector<CUnplacedCode> Unplaced;

  // What the last file read holds outside the declarations that made or completed an element,
  // as it stands in the file (a namespace that held elements keeps only its other text).
  std::string HeadText;

  // Where every message of the import goes, one text at a time: by default the platform's modal
  // message box.
  std::function<void(const CStr&)> ShowMessage;

 protected:
  void Unterminated(std::int32_t start, std::uint8_t kind) override;

 private:
  class CClassIndex;
  class COperIndex;

  // TryToken for a literal, with no value objects made on the way.
  bool Try(std::string_view text);
  // The next token as the tries of a reader see it, without taking it.
  const Scan& Peek();
  // False when the word was dropped as a macro.
  bool PlaceWord(CInfo* scope, TMemberInfo& info, const CStr& word);
  std::string ReadOperatorName();
  // Reports an error at `start`, where the construct that never ended began.
  [[noreturn]] void ReportAt(std::int32_t start, const char* message);
  // The top-level loop over the text that SetText gave.
  void ReadTopLevel();
  // Declarations up to the "}" that closes a namespace or linkage block (taken), or the end.
  void ReadDeclarations(bool braced);
  // A namespace or linkage block's declarations, after its "{"; `start` where the block began.
  void ReadBlock(std::int32_t start);
  // One declaration at file level; `start` where it begins.
  void ReadTopDeclaration();
  // One member or declaration read with its fallbacks: what cannot be placed is skipped to the end
  // of its declaration and listed.
  void ReadDeclaration(CInfo* memberScope, CInfo* classScope);
  void ReadOneDeclaration(CInfo* memberScope, CInfo* classScope);
  void SkipDeclarationQuietly();
  void ReadParams(std::vector<CParamText>& params);
  // What follows a parameter list up to ";", "{", "=" or ":".
  void ReadTail(TMemberInfo& info);
  void SkipInitList();
  // Skips a balanced group that begins at the next token ("(", "[", "{" or "<").
  void SkipGroup();
  // Text of the tokens [from, to), one blank between words, none elsewhere.
  std::string TextBetween(std::int32_t from, std::int32_t to);
  // The type text of a declarator: its pieces but the name and the specifiers.
  std::string TypeOf(const TMemberInfo& info) const;
  std::string PrefixOf(const TMemberInfo& info) const;
  bool IsMacro(std::string_view word) const;
  // A macro call or a lone macro where a declaration starts, skipped; true when one was.
  bool SkipMacroStatement();
  // Skips from `start` to the end of the declaration that begins there and lists it.
  void SkipUnplaced(std::int32_t start, const char* why);
  std::string TemplateHead();
  // The namespaces being read, "a::b".
  std::string NamespacePath() const;
  void SkipRequires();
  void ReadEnum(CInfo* scope);
  void ReadAlias(CInfo* scope);
  void PutExtra(CInfo* element, std::string_view key, std::string_view value);
  CClassInfo* FindQualified(CInfo* scope, std::string_view qualifier);
  std::string OperSignature(const COperInfo* operation) const;
  void ClearUnit(CInfo* unit);
  void RestartClassIndex();
  void ImportTree(CInfo* element);

  // Head texts: the text of each level being read (the file, then the namespaces and linkage
  // blocks inside it) that lies outside the declarations made into elements, and where its
  // text not yet taken begins.
  struct CHeadLevel {
    std::string text;
    std::int32_t from = 0;
  };
  std::vector<CHeadLevel> heads_;
  // Elements made or completed so far: a declaration that moved it is kept out of the head text.
  std::uint64_t elementsMade_ = 0;
  // The text [from, to) of the innermost level goes to no head text.
  void CutHead(std::int32_t from, std::int32_t to);
  // A block (namespace or linkage) [start, end) whose opening ends at `opened` and whose inner
  // level was `inner`: when it held elements, it goes out of its level's head text and its
  // other text, if any, comes back wrapped in the opening and a closing brace.
  void CutBlock(std::int32_t start, std::int32_t opened, std::int32_t end, CHeadLevel inner, std::uint64_t made);

  // The extern variables of the unit externsOf_, by name, waiting for their definitions.
  std::unordered_map<std::string, CAtrInfo*> externs_;
  const CInfo* externsOf_ = nullptr;

  std::vector<std::string> namespaces_;  // the namespaces and linkage blocks being read
  std::vector<std::string> macros_;      // from the user's list
  bool macrosRead_ = false;
  std::vector<std::vector<CPiece>> spares_;  // lists of pieces lent to TMemberInfo
  std::vector<std::string> knownNamespaces_;
  std::string templateHead_;             // of the declaration being read
  std::string classKey_ = "class";     // the word that began the class being read
  std::string typedefName_;            // the name a typedef gives a structure without a tag
  bool inTypedef_ = false;
  CInfo* classScope_ = nullptr;        // where a typedef's structure goes
  int bodyAccess_ = 0;
  std::int32_t constructStart_ = 0;  // where the declaration being read began
  // Positions as in the file on disk (the text read has a "\r" before every lone "\n").
  std::int32_t DiskPosition(std::int32_t pos) const;
  std::string LinesAround(std::int32_t pos) const;
  void NoteDisk(std::string_view bytes);
  // UTF-8 text made cp1251 in place; what cp1251 cannot hold is listed once.
  void ReadUtf8(std::string& bytes);
  static constexpr int kEveryLineEnd = 1;
  int crAdded_ = 0;
  std::vector<std::pair<std::int32_t, std::int32_t>> shifts_;
  std::unique_ptr<CClassIndex> classes_;
  std::unique_ptr<COperIndex> operations_;
  int classNesting_ = 0;  // class bodies being read, one inside the other
  std::string bodyCode_, bodyLine_;  // ReadBody's texts
};

// What every line end of an imported file becomes: a lone "\n" is turned into "\r\n", so a file
// with Linux line ends reads, counts and reports exactly like the same file with CR LF.
CStr WithCrLf(const CStr& text);
