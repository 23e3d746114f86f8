// The declaration analyser of the C++ import: a recursive-descent reader, without a syntax tree,
// that turns class declarations into classes, attributes and operations of the model and method
// bodies into the code text of their operations. It also holds the import driver's operations
// (import/Import.cpp), which read the files of a unit into it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/List.h"
#include "import/Parser.h"

class CInfo;
class CClassInfo;
class COperInfo;

// A definition or declaration the import could not put into the project: a global function, or
// a method whose qualifier names no known class (a typo such as TFrom1::Stop).
struct CUnplacedCode {
  CStr Name;  // as written, qualifier included
  CStr FileName;
  CInt Line;
};

class CCppAnalys : public CCppAsmParser {
 public:
  // One declarator while it is read; owned by the function that reads the declaration. The
  // setters make the checks of the words they record and report what breaks them.
  class TMemberInfo {
   public:
    explicit TMemberInfo(CCppAnalys* analys) : Analys(analys) {}

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
  void PlaceWord(CInfo* scope, TMemberInfo& info, const CStr& word);
  // The top-level loop over the text that SetText gave.
  void ReadTopLevel();
  void ReadParams(CInfo* scope);
  void SkipDefault();
  void ClearUnit(CInfo* unit);
  void RestartClassIndex();
  void ImportTree(CInfo* element);

  std::unique_ptr<CClassIndex> classes_;
  std::unique_ptr<COperIndex> operations_;
  int classNesting_ = 0;  // class bodies being read, one inside the other
  std::string bodyCode_, bodyLine_;  // ReadBody's texts
};

// What every line end of an imported file becomes: a lone "\n" is turned into "\r\n", so a file
// with Linux line ends reads, counts and reports exactly like the same file with CR LF.
CStr WithCrLf(const CStr& text);
