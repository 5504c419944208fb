// A small recursive-descent reader for form descriptions.
#include "core/forms/form_description.h"

#include "core/base/utf8.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace sapala::forms {

namespace {

constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxText = 16u << 20;  // one description: 16 MiB
constexpr std::size_t kMaxItems = 1u << 20;  // entries of one list, set or collection

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {
    if (text.size() > kMaxText) Fail("the description is too large");
  }

  Object ReadTop() {
    Skip();
    Object o = ReadObject(0);
    Skip();
    if (pos_ != s_.size()) Fail("text after the final end");
    return o;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw FormDescriptionError(line_, what); }

  void Skip() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }

  static bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
  }
  static bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  }

  std::string Ident(bool dotted = false) {
    Skip();
    if (!IsIdentStart(Peek())) Fail("a name was expected");
    const std::size_t start = pos_;
    while (!AtEnd() && (IsIdentChar(Peek()) || (dotted && Peek() == '.'))) ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }

  static bool Equal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) !=
          std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    }
    return true;
  }

  void Expect(char c) {
    Skip();
    if (Peek() != c) Fail(std::string("'") + c + "' was expected");
    ++pos_;
  }

  Object ReadObject(int depth) {
    if (depth > kMaxDepth) Fail("objects are nested too deeply");
    Object o;
    o.line = line_;
    const std::string kw = Ident();
    if (!Equal(kw, "object") && !Equal(kw, "inherited") && !Equal(kw, "inline")) {
      Fail("'object' was expected");
    }
    std::string first = Ident();
    Skip();
    if (Peek() == ':') {
      ++pos_;
      o.name = first;
      o.class_name = Ident();
    } else {
      o.class_name = first;
    }
    for (;;) {
      Skip();
      if (AtEnd()) Fail("'end' is missing");
      const std::size_t mark = pos_;
      const int mark_line = line_;
      const std::string word = Ident(true);
      if (Equal(word, "end")) return o;
      if (Equal(word, "object") || Equal(word, "inherited") || Equal(word, "inline")) {
        pos_ = mark;
        line_ = mark_line;
        if (o.children.size() >= kMaxItems) Fail("too many objects");
        o.children.push_back(ReadObject(depth + 1));
        continue;
      }
      if (o.properties.size() >= kMaxItems) Fail("too many properties");
      o.properties.push_back(ReadProperty(word, mark_line, depth));
    }
  }

  Property ReadProperty(std::string name, int line, int depth) {
    Property p;
    p.name = std::move(name);
    p.line = line;
    Expect('=');
    Skip();
    ReadValue(p, depth);
    return p;
  }

  void ReadValue(Property& p, int depth) {
    Skip();
    const char c = Peek();
    if (c == '\'' || c == '#') {
      p.value = ReadString();
    } else if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c))) {
      ReadNumber(p);
    } else if (c == '$') {
      ++pos_;
      const std::size_t start = pos_;
      std::uint64_t v = 0;
      while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(Peek()))) {
        if (pos_ - start >= 16) Fail("a hexadecimal number is too long");
        const char h = s_[pos_++];
        v = v * 16 + static_cast<std::uint64_t>(
                         std::isdigit(static_cast<unsigned char>(h))
                             ? h - '0'
                             : (std::tolower(static_cast<unsigned char>(h)) - 'a' + 10));
      }
      if (pos_ == start) Fail("a hexadecimal number was expected");
      p.value = static_cast<std::int64_t>(v);
    } else if (c == '[') {
      ++pos_;
      SetValue set;
      Skip();
      if (Peek() != ']') {
        for (;;) {
          if (set.members.size() >= kMaxItems) Fail("the set is too large");
          set.members.push_back(Ident());
          Skip();
          if (Peek() == ',') {
            ++pos_;
            continue;
          }
          break;
        }
      }
      Expect(']');
      p.value = std::move(set);
    } else if (c == '{') {
      ++pos_;
      Binary bin;
      int nibble = -1;
      for (;;) {
        Skip();
        if (AtEnd()) Fail("'}' is missing");
        const char h = s_[pos_++];
        if (h == '}') break;
        int v;
        if (h >= '0' && h <= '9')
          v = h - '0';
        else if (h >= 'a' && h <= 'f')
          v = h - 'a' + 10;
        else if (h >= 'A' && h <= 'F')
          v = h - 'A' + 10;
        else
          Fail("a hexadecimal digit was expected");
        if (nibble < 0) {
          nibble = v;
        } else {
          bin.bytes.push_back(static_cast<std::uint8_t>(nibble << 4 | v));
          nibble = -1;
        }
      }
      if (nibble >= 0) Fail("binary data has an odd number of digits");
      p.value = std::move(bin);
    } else if (c == '(') {
      ++pos_;
      StringList list;
      for (;;) {
        Skip();
        if (Peek() == ')') {
          ++pos_;
          break;
        }
        if (AtEnd()) Fail("')' is missing");
        if (list.items.size() >= kMaxItems) Fail("the list is too long");
        list.items.push_back(ReadString());
      }
      p.value = std::move(list);
    } else if (c == '<') {
      ++pos_;
      Collection col;
      for (;;) {
        Skip();
        if (Peek() == '>') {
          ++pos_;
          break;
        }
        const std::string item = Ident();
        if (!Equal(item, "item")) Fail("'item' was expected");
        if (col.items.size() >= kMaxItems) Fail("the collection is too large");
        CollectionItem ci;
        for (;;) {
          Skip();
          const int l = line_;
          const std::string word = Ident(true);
          if (Equal(word, "end")) break;
          if (depth > kMaxDepth) Fail("values are nested too deeply");
          ci.properties.push_back(ReadProperty(word, l, depth + 1));
        }
        col.items.push_back(std::move(ci));
      }
      p.value = std::move(col);
    } else if (IsIdentStart(c)) {
      p.value = Identifier{Ident(true)};
    } else {
      Fail("a value was expected");
    }
  }

  void ReadNumber(Property& p) {
    const std::size_t start = pos_;
    if (Peek() == '-' || Peek() == '+') ++pos_;
    bool real = false;
    while (!AtEnd() &&
           (std::isdigit(static_cast<unsigned char>(Peek())) || Peek() == '.' || Peek() == 'e' ||
            Peek() == 'E' ||
            ((Peek() == '-' || Peek() == '+') && (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E')))) {
      if (Peek() == '.' || Peek() == 'e' || Peek() == 'E') real = true;
      ++pos_;
    }
    std::string text(s_.substr(start, pos_ - start));
    if (!text.empty() && text[0] == '+') text.erase(0, 1);
    if (real) {
      char* end = nullptr;
      const double d = std::strtod(text.c_str(), &end);
      if (end != text.c_str() + text.size()) Fail("a number was expected");
      p.value = d;
    } else {
      std::int64_t v = 0;
      const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
      if (ec != std::errc() || ptr != text.data() + text.size()) Fail("a number was expected");
      p.value = v;
    }
  }

  // 'abc' #13#10 'def', possibly joined by + across lines.
  std::string ReadString() {
    std::string out;
    bool any = false;
    bool joined = true;  // whitespace may come first or after '+'; pieces otherwise touch
    for (;;) {
      if (joined) Skip();
      joined = false;
      const std::size_t before = pos_;
      const int before_line = line_;
      Skip();
      if (any && Peek() != '+') {
        // No '+' after the blank: the string has ended (a list's next item, or a property).
        if (pos_ != before) {
          pos_ = before;
          line_ = before_line;
          break;
        }
      }
      const char c = Peek();
      if (c == '\'') {
        ++pos_;
        for (;;) {
          if (AtEnd() || Peek() == '\n') Fail("a string is not closed");
          const char ch = s_[pos_++];
          if (ch == '\'') {
            if (Peek() == '\'') {
              out += '\'';
              ++pos_;
              continue;
            }
            break;
          }
          out += ch;
        }
        any = true;
      } else if (c == '#') {
        ++pos_;
        std::uint32_t cp = 0;
        const std::size_t start = pos_;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(Peek()))) {
          cp = cp * 10 + static_cast<std::uint32_t>(Peek() - '0');
          if (cp > 0x10FFFF) Fail("a character code is out of range");
          ++pos_;
        }
        if (pos_ == start) Fail("a character code was expected");
        AppendUtf8(out, static_cast<char32_t>(cp));
        any = true;
      } else if (c == '+' && any) {
        ++pos_;
        joined = true;
      } else {
        break;
      }
      if (out.size() > kMaxText) Fail("a string is too long");
    }
    if (!any) Fail("a string was expected");
    return out;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

FormDescriptionError::FormDescriptionError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}

const Property* Object::Find(std::string_view property) const noexcept {
  for (const auto& p : properties) {
    if (p.name == property) return &p;
  }
  return nullptr;
}

Object ParseFormDescription(std::string_view text) { return Reader(text).ReadTop(); }

}  // namespace sapala::forms
