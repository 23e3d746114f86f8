// What the files of the declaration analyser share: the texts it reports, the specifier words
// and small helpers on names.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/CppAnalys.h"
#include "model/NameManager.h"

namespace analys {

namespace msg {
inline constexpr const char* kProgramError = "Ошибка программы: 10001"_cp;
inline constexpr const char* kClassName = "Ошибка в имени класса"_cp;
inline constexpr const char* kBaseName = "Ошибка в имени класса предка"_cp;
inline constexpr const char* kClassDescribed = "Класс уже описан"_cp;
inline constexpr const char* kNoBrace = "Отсутствует символ \"{\""_cp;
inline constexpr const char* kNoBraceOrSemicolon = "Нет символа \"{\" или \";\""_cp;
inline constexpr const char* kSemicolon = "Пропущен символ \";\""_cp;
inline constexpr const char* kColon = "Пропущен символ \":\""_cp;
inline constexpr const char* kTypeError = "Ошибка при описании типа"_cp;
inline constexpr const char* kSemicolonOrComma = "Пропущен символ \";\" или \",\""_cp;
inline constexpr const char* kZero = "Пропущен символ \"0\""_cp;
inline constexpr const char* kSemicolonOrBrace = "Пропущен символ \";\" или \"{\" 1"_cp;
inline constexpr const char* kRepeated = "Повторное использование слова "_cp;
inline constexpr const char* kVirtualAuto = "Виртуальная функция не может быть auto"_cp;
inline constexpr const char* kVirtualStatic = "Виртуальная функция не может быть статической"_cp;
inline constexpr const char* kWrongWord = "Неверное использование слова "_cp;
inline constexpr const char* kDestructorAgain = "Повторное описание деструктора"_cp;
inline constexpr const char* kNotDestructor = "Эта операция не может быть деструктором"_cp;
inline constexpr const char* kRefAgain = "Повторное использование символа \"&\""_cp;
inline constexpr const char* kNameGiven = "Имя уже задано "_cp;  // followed by 1..4
inline constexpr const char* kPointerStar = "При описании указателя на функцию пропущен символ\"*\""_cp;
inline constexpr const char* kPointerName = "Пропущено имя типа указателя на функцию\"*\""_cp;
inline constexpr const char* kPointerClose = "При описании указателя на функцию пропущен символ\")\""_cp;
inline constexpr const char* kPointerOpen = "При описании указателя на функцию пропущен символ\"(\""_cp;
inline constexpr const char* kNoSemicolon = "Нет символа \";\""_cp;
// The end of the text inside something that is being read or skipped.
inline constexpr const char* kCloseBrace = "Пропущен символ \"}\""_cp;
inline constexpr const char* kCloseParen = "Пропущен символ \")\""_cp;
inline constexpr const char* kOpenString = "Незакрытая строка"_cp;
inline constexpr const char* kOpenComment = "Незакрытый комментарий"_cp;
// Limits that keep what an import makes usable.
inline constexpr const char* kNestedTooDeep = "Слишком глубокая вложенность классов"_cp;
inline constexpr const char* kCodeTooLarge = "Слишком большой текст метода"_cp;
}  // namespace msg

// The rebuilt text of one body may not grow past this. Its indentation grows with the nesting of
// braces, so a small text of deep braces would otherwise ask for gigabytes.
inline constexpr std::size_t kMaxCodeBytes = std::size_t(16) << 20;

// [SECTION] Word tables

enum class Specifier { Static, CallConv, Const, Auto, Signed, Unsigned, TypeWord, Operator, Tilde, Star, Amp, Scope, Bracket, End };

struct SpecRow {
  std::string_view word;
  Specifier specifier;
  int value;
};

// The words ReadSpec tries, in the order it tries them; the type word values are TypeWord's.
inline constexpr SpecRow kSpecWords[] = {
    {"static", Specifier::Static, 2},
    {"cdecl", Specifier::CallConv, 1}, {"_cdecl", Specifier::CallConv, 1}, {"__cdecl", Specifier::CallConv, 1},
    {"pascal", Specifier::CallConv, 2}, {"_pascal", Specifier::CallConv, 2}, {"__pascal", Specifier::CallConv, 2},
    {"_stdcall", Specifier::CallConv, 3}, {"__stdcall", Specifier::CallConv, 3},
    {"_fastcall", Specifier::CallConv, 4}, {"__fastcall", Specifier::CallConv, 4},
    {"const", Specifier::Const, 0}, {"auto", Specifier::Auto, 1},
    {"signed", Specifier::Signed, 1}, {"unsigned", Specifier::Unsigned, 2},
    {"char", Specifier::TypeWord, 1}, {"bool", Specifier::TypeWord, 2}, {"short", Specifier::TypeWord, 3},
    {"int", Specifier::TypeWord, 4}, {"long", Specifier::TypeWord, 5}, {"float", Specifier::TypeWord, 6},
    {"double", Specifier::TypeWord, 7}, {"void", Specifier::TypeWord, 8}, {"int8", Specifier::TypeWord, 9},
    {"int16", Specifier::TypeWord, 10}, {"int32", Specifier::TypeWord, 11}, {"int64", Specifier::TypeWord, 12},
    {"uint8", Specifier::TypeWord, 13}, {"uint16", Specifier::TypeWord, 14}, {"uint32", Specifier::TypeWord, 15},
    {"uint64", Specifier::TypeWord, 16}, {"float32", Specifier::TypeWord, 17}, {"float64", Specifier::TypeWord, 18},
    {"float80", Specifier::TypeWord, 19},
    {"operator", Specifier::Operator, 0},
    {"~", Specifier::Tilde, 0}, {"*", Specifier::Star, 0}, {"&", Specifier::Amp, 0}, {"::", Specifier::Scope, 0},
    {"[", Specifier::Bracket, 0},
    {",", Specifier::End, 0}, {";", Specifier::End, 0}, {"(", Specifier::End, 0}, {")", Specifier::End, 0},
};

// The row of a word, or null: the rows are found through the word's first byte, since most
// words of a declaration (names, types) begin with a byte no row does.
inline const SpecRow* FindSpecWord(std::string_view text) {
  static const auto kByFirst = [] {
    std::array<std::vector<const SpecRow*>, 256> rows;
    for (const SpecRow& row : kSpecWords)
      rows[static_cast<unsigned char>(row.word[0])].push_back(&row);
    return rows;
  }();
  if (text.empty()) return nullptr;
  for (const SpecRow* row : kByFirst[static_cast<unsigned char>(text[0])])
    if (row->word == text) return row;
  return nullptr;
}

inline constexpr int kShort = 3, kLong = 5, kDouble = 7, kLongDouble = 20, kInt = 4;

// The name a calling convention has in the message about repeating one.
inline constexpr std::array<std::string_view, 5> kCallConvNames = {"", "cdecl", "pascal", "__stdcall", "__fastcall"};

inline bool EndsInScope(const CStr& s) { return s.View().ends_with("::"); }

// += without the copy that CStr's operator answers.
inline void Append(CStr& s, std::string_view more) { s.AppendBytes(more.data(), more.size()); }

inline bool IsWordKind(std::uint8_t kind) { return kind == kTokenIdent || kind == kTokenNumber; }

// An object's name without the copy GetName makes.
inline std::string_view NameOf(const CObject* object) {
  const CApp* app = CoreApp;
  return app && app->NameMan ? app->NameMan->NameRef(object).View() : std::string_view();
}

// What makes a declaration impossible to place: thrown by the member reader, caught where the
// declaration began, which is then skipped to its end and listed.
struct CCannotPlace {
  const char* why;
};

// A class word that turned out to begin a declaration of another kind: struct tm* localtime().
struct CReadAsMember {};

// Whether a word could be one of the specifier words below: most names begin with a capital or
// a byte none of them does, and are then not compared at all.
inline bool MaybeWord(std::string_view w) {
  return !w.empty() && ((w[0] >= 'a' && w[0] <= 'z') || w[0] == '_');
}

// Words that qualify a declaration without being its type or name; kept with the element.
inline bool IsPrefixWord(std::string_view w) {
  if (!MaybeWord(w)) return false;
  static constexpr std::string_view kWords[] = {
      "inline", "__inline", "__inline__", "__forceinline", "explicit", "constexpr", "consteval",
      "constinit", "mutable", "extern", "thread_local", "register", "friend", "_Noreturn"};
  return std::find(std::begin(kWords), std::end(kWords), w) != std::end(kWords);
}

// Words that add to a type without naming it.
inline bool IsTypeQualifier(std::string_view w) {
  if (!MaybeWord(w)) return false;
  return w == "volatile" || w == "typename" || w == "class" || w == "struct" || w == "union" ||
         w == "enum" || w == "__restrict" || w == "__restrict__" || w == "restrict";
}

// Words that are dropped with their parenthesised argument: attributes of compilers.
inline bool IsAttributeWord(std::string_view w) {
  if (!MaybeWord(w)) return false;
  return w == "__attribute__" || w == "__declspec" || w == "alignas" || w == "__asm__" ||
         w == "__asm" || w == "asm" || w == "_Alignas" || w == "__extension__";
}

// Words of the language that never name a declaration.
inline bool IsKeyword(std::string_view w) {
  if (!MaybeWord(w)) return false;
  static constexpr std::string_view kWords[] = {
      "char", "bool", "short", "int", "long", "float", "double", "void", "signed", "unsigned",
      "const", "volatile", "auto", "wchar_t", "char8_t", "char16_t", "char32_t", "typename",
      "class", "struct", "union", "enum", "static", "virtual", "__int64", "__int128"};
  return std::find(std::begin(kWords), std::end(kWords), w) != std::end(kWords);
}

// The rule for macros: an identifier of capitals, digits and underscores, at least two
// characters with a capital among them (GTEST_API_, WINAPI, Q_OBJECT).
inline bool LooksLikeMacro(std::string_view w) {
  if (w.size() < 2) return false;
  bool capital = false;
  for (char c : w) {
    if (c >= 'A' && c <= 'Z') capital = true;
    else if (!(c == '_' || (c >= '0' && c <= '9'))) return false;
  }
  return capital;
}

}  // namespace analys
