// Form descriptions: the stored list of a form's components with their property values, in the
// classic text form
//
//   object Form1: TForm1
//     Caption = 'Conto'
//     Font.Height = -11
//     BorderIcons = [biSystemMenu, biMinimize]
//     OnCreate = FormCreate
//     object Edit1: TEdit
//       Left = 16
//     end
//   end
//
// Values: integers, reals, strings ('...' with '' for a quote, joined with #NNN character codes
// and +), identifiers (True, clBtnFace, FormCreate), sets [a, b], binary data {hex digits},
// string lists ('a' 'b') and collections <item ... end>. Property names may be dotted
// (Font.Name). Properties keep their stored order; so do child objects.
//
// The reader is for our own resources, but it is still bounded: nesting depth, sizes and counts
// are limited and every error names the line.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sapala::forms {

struct Value;

struct Identifier {
  std::string name;
};
struct SetValue {
  std::vector<std::string> members;
};
struct Binary {
  std::vector<std::uint8_t> bytes;
};
struct StringList {
  std::vector<std::string> items;
};  // UTF-8
struct CollectionItem;
struct Collection {
  std::vector<CollectionItem> items;
};

struct Property {
  std::string name;  // possibly dotted: "Font.Name"
  // One of: integer, real, string (UTF-8), identifier, set, binary, string list, collection.
  std::variant<std::int64_t, double, std::string, Identifier, SetValue, Binary, StringList,
               Collection>
      value;
  int line = 0;
};

struct CollectionItem {
  std::vector<Property> properties;
};

struct Object {
  std::string name;  // may be empty for unnamed components
  std::string class_name;
  std::vector<Property> properties;
  std::vector<Object> children;
  int line = 0;

  const Property* Find(std::string_view property) const noexcept;
};

class FormDescriptionError : public std::runtime_error {
 public:
  FormDescriptionError(int line, const std::string& what);
  int line() const noexcept { return line_; }

 private:
  int line_;
};

// Parses one top-level object. Strings are returned in UTF-8; #NNN codes are Unicode code points.
Object ParseFormDescription(std::string_view text);

}  // namespace sapala::forms
