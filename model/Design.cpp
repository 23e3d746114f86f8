#include "model/Design.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/Cp1251.h"

namespace design {
namespace {

constexpr std::string_view kKinds[] = {
    "CLine",  "CRectangle", "CFillRectangle", "CEllipse",   "CFillEllipse",
    "CText",  "CPic",       "CBevel",         "CPanel",     "CLabel",
    "CPicButton", "CButton", "CEdit",          "CForm",      "CControl"};

bool IsWordChar(char c) {
  return c != ' ' && c != ',' && c != '"' && c != '=' && c != '\t';
}

// A decimal number and nothing else, as the tuner reads them.
bool ReadNumber(const std::string& s, long double& out) {
  std::size_t i = 0, digits = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
  }
  if (i != s.size()) return false;
  out = std::strtold(s.c_str(), nullptr);
  return std::isfinite(out);
}

class LineReader {
 public:
  explicit LineReader(std::string_view text) : s_(text) {}

  // Fills the line; "" when it read, else why not.
  std::string Read(Line& line) {
    std::size_t spaces = 0;
    while (at_ < s_.size() && s_[at_] == ' ') ++at_, ++spaces;
    line.Depth = int(spaces / 2);
    if (spaces % 2) return "an odd indent";
    line.Kind = Word();
    if (line.Kind.empty()) return "no control class";
    if (line.Kind == kFormKind) return Fields(line);
    if (!Blank()) return "no name after the class";
    line.Name = Word();
    if (line.Name.empty()) return "no name after the class";
    if (line.Name == "-") line.Name.clear();
    return Fields(line);
  }

 private:
  std::string Fields(Line& line) {
    while (Blank()) {
      if (at_ >= s_.size()) break;
      Field field;
      field.Key = Word();
      if (field.Key.empty()) return "a field without a name";
      if (at_ < s_.size() && s_[at_] == '=') {
        ++at_;
        for (;;) {
          std::string item;
          if (const std::string why = Item(item); !why.empty()) return why;
          field.Items.push_back(item);
          if (at_ < s_.size() && s_[at_] == ',') {
            ++at_;
            continue;
          }
          break;
        }
      } else {
        field.Flag = true;
      }
      line.Fields.push_back(std::move(field));
    }
    if (at_ < s_.size()) return "unexpected text at column " + std::to_string(at_ + 1);
    return "";
  }

  bool Blank() {
    const std::size_t from = at_;
    while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t')) ++at_;
    return at_ > from || at_ >= s_.size();
  }
  std::string Word() {
    const std::size_t from = at_;
    while (at_ < s_.size() && IsWordChar(s_[at_])) ++at_;
    return std::string(s_.substr(from, at_ - from));
  }
  std::string Item(std::string& out) {
    if (at_ >= s_.size() || s_[at_] != '"') {
      out = Word();
      return out.empty() ? "an empty value" : "";
    }
    for (++at_; at_ < s_.size(); ++at_) {
      const char c = s_[at_];
      if (c == '"') {
        ++at_;
        return "";
      }
      if (c == '\\' && at_ + 1 < s_.size()) {
        const char e = s_[++at_];
        out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
      } else {
        out += c;
      }
    }
    return "a text without its closing quote";
  }

  std::string_view s_;
  std::size_t at_ = 0;
};

std::string CheckColour(const Line& line, std::string_view key) {
  if (!line.Has(key)) return "";
  std::vector<long double> v;
  if (!line.Numbers(key, 3, v)) return std::string(key) + " needs three numbers";
  for (long double c : v)
    if (c < 0 || c > 1) return std::string(key) + " out of 0 to 1";
  return "";
}

// What a line that read must also be to be made.
std::string Check(const Line& line) {
  if (!IsKnownKind(line.Kind)) return "unknown control class " + line.Kind;
  std::vector<long double> v;
  if (!line.Numbers("rect", 4, v)) return "rect needs four numbers";
  for (long double c : v)
    if (std::fabs(c) > kMaxCoordinate) return "rect out of bounds";
  for (std::string_view key : {"color", "face", "textcolor"})
    if (std::string why = CheckColour(line, key); !why.empty()) return why;
  if (line.Has("anchors")) {
    if (!line.Numbers("anchors", 4, v)) return "anchors needs four numbers";
    for (long double a : v)
      if (a < 0 || a > 4 || a != std::floor(a)) return "anchors out of 0 to 4";
  }
  if (const Field* font = line.Find("font")) {
    long double height = 0;
    if (font->Items.size() != 3 || !ReadNumber(font->Items[1], height) || height < 1 ||
        height > 500 || height != std::floor(height))
      return "font needs a name, a height of 1 to 500 and a style";
    for (char c : font->Items[2])
      if (font->Items[2] != "-" && c != 'b' && c != 'i' && c != 'u' && c != 's')
        return "font style of b, i, u, s or -";
  }
  for (std::string_view key : {"text", "picture", "click"})
    if (const Field* f = line.Find(key); f && f->Items.size() != 1)
      return std::string(key) + " needs one text";
  return "";
}

// What the form line must be to be read.
std::string CheckForm(const Line& line) {
  if (line.Depth != 0) return "an indented form line";
  std::vector<long double> v;
  if (line.Has("size")) {
    if (!line.Numbers("size", 2, v)) return "size needs two numbers";
    for (long double side : v)
      if (side < 1 || side > kMaxFormSide || side != std::floor(side))
        return "size out of 1 to 10000";
  }
  if (const Field* f = line.Find("title"); f && f->Items.size() != 1) return "title needs one text";
  return "";
}

// Why a line was not read, in the user's words: "{}" stands for the part that varies (a class,
// a field's key, a column).
struct Wording {
  std::string_view Why;
  const char* Said;
};
const Wording kWordings[] = {
    {"an odd indent", "нечётный отступ"_cp},
    {"no control class", "нет класса элемента"_cp},
    {"no name after the class", "нет имени после класса"_cp},
    {"a field without a name", "поле без имени"_cp},
    {"unexpected text at column {}", "лишний текст в столбце {}"_cp},
    {"an empty value", "пустое значение"_cp},
    {"a text without its closing quote", "текст без закрывающей кавычки"_cp},
    {"a member of a damaged line", "входит в группу, которая не прочитана"_cp},
    {"indented below no group", "отступ, но выше нет группы"_cp},
    {"unknown control class {}", "неизвестный класс элемента {}"_cp},
    {"rect out of bounds", "rect: координаты вне пределов"_cp},
    {"font needs a name, a height of 1 to 500 and a style",
     "font: нужны имя, высота от 1 до 500 и начертание"_cp},
    {"font style of b, i, u, s or -", "font: начертание из букв b, i, u, s или -"_cp},
    {"{} needs four numbers", "{}: нужны четыре числа"_cp},
    {"{} needs three numbers", "{}: нужны три числа"_cp},
    {"{} out of 0 to 1", "{}: числа от 0 до 1"_cp},
    {"{} out of 0 to 4", "{}: целые числа от 0 до 4"_cp},
    {"{} needs one text", "{}: нужен один текст"_cp},
    {"{} needs two numbers", "{}: нужны два числа"_cp},
    {"size out of 1 to 10000", "size: размер формы - целые числа от 1 до 10000"_cp},
    {"an indented form line", "строка формы с отступом"_cp},
    {"a second form line", "вторая строка формы"_cp},
};

std::string InUsersWords(const std::string& why) {
  for (const Wording& w : kWordings) {
    const std::size_t hole = w.Why.find("{}");
    if (hole == std::string_view::npos) {
      if (why == w.Why) return w.Said;
      continue;
    }
    const std::string_view before = w.Why.substr(0, hole), after = w.Why.substr(hole + 2);
    if (why.size() < before.size() + after.size() || why.compare(0, before.size(), before) != 0 ||
        why.compare(why.size() - after.size(), after.size(), after) != 0)
      continue;
    const std::string part = why.substr(before.size(), why.size() - before.size() - after.size());
    std::string said = w.Said;
    return said.replace(said.find("{}"), 2, part);
  }
  return why;
}

}  // namespace

bool IsKnownKind(std::string_view kind) {
  for (std::string_view k : kKinds)
    if (k == kind) return true;
  return false;
}

bool IsGroupKind(std::string_view kind) {
  return kind == "CControl";
}

const Field* Line::Find(std::string_view key) const {
  for (const Field& f : Fields)
    if (f.Key == key) return &f;
  return nullptr;
}

bool Line::Numbers(std::string_view key, std::size_t n, std::vector<long double>& out) const {
  const Field* f = Find(key);
  if (!f || f->Items.size() != n) return false;
  std::vector<long double> got(n);
  for (std::size_t i = 0; i < n; ++i)
    if (!ReadNumber(f->Items[i], got[i])) return false;
  out = std::move(got);
  return true;
}

bool Line::Text(std::string_view key, std::string& out) const {
  const Field* f = Find(key);
  if (!f || f->Items.size() != 1) return false;
  out = f->Items[0];
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    from = end + 1;
  }
  return lines;
}

Parsed Parse(std::string_view text) {
  Parsed parsed;
  if (!IsDesign(text)) return parsed;
  parsed.IsDesign = true;
  text = text.substr(DesignStart(text));
  const std::vector<std::string> lines = SplitLines(text);
  // The depth of each line that read, outermost first, and whether it is a group.
  std::vector<bool> groups;
  int dropBelow = -1;  // members of a damaged line go with it
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const int number = int(i) + 1;
    if (lines[i].find_first_not_of(' ') == std::string::npos) continue;
    Line line;
    line.Number = number;
    std::string why = LineReader(lines[i]).Read(line);
    if (why.empty() && dropBelow >= 0 && line.Depth > dropBelow)
      why = "a member of a damaged line";
    if (why.empty()) {
      dropBelow = -1;
      if (line.Depth > int(groups.size()) || (line.Depth > 0 && !groups[line.Depth - 1]))
        why = "indented below no group";
    }
    const bool form = why.empty() && line.Kind == kFormKind;
    if (form) why = parsed.Form ? "a second form line" : CheckForm(line);
    if (why.empty() && form) {
      parsed.Form = std::move(line);
      groups.clear();  // it ends any group above it
      continue;
    }
    if (why.empty()) why = Check(line);
    if (!why.empty()) {
      if (dropBelow < 0) dropBelow = line.Depth;
      parsed.Damages.push_back({number, why, InUsersWords(why)});
      parsed.Unread.push_back(lines[i]);
      continue;
    }
    groups.resize(line.Depth);
    groups.push_back(IsGroupKind(line.Kind));
    parsed.Lines.push_back(std::move(line));
  }
  return parsed;
}

std::string Number(long double v) {
  if (v == 0) return "0";  // no "-0"
  char scratch[64];
  if (v == std::floor(v) && std::fabs(v) < 1e18L) {
    std::snprintf(scratch, sizeof scratch, "%lld", static_cast<long long>(v));
    return scratch;
  }
  for (int digits = 1; digits <= 21; ++digits) {
    std::snprintf(scratch, sizeof scratch, "%.*Lg", digits, v);
    if (std::strtold(scratch, nullptr) == v) break;
  }
  return scratch;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      out += '\\', out += c;
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out + "\"";
}

}  // namespace design
