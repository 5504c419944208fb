// The form-description reader: every value form, stored order, and errors that name their line.
#include "core/forms/form_description.h"

#include <gtest/gtest.h>

namespace sapala::forms {
namespace {

constexpr char kForm[] = R"(object Form2: TForm2
  Left = 513
  Caption = 'Conto'
  Font.Height = -8
  BorderIcons = [biSystemMenu, biMinimize]
  Scale = 1.5
  Mask = $00FF
  Empty = []
  OnCreate = FormCreate
  object sLabelFX2: TsLabelFX
    Caption = #227' (Alt+0227)= m'#227'ng'#227'n'
    Quote = 'it''s' +
      ' joined'
  end
  object Glyph1: TSpeedButton
    Glyph.Data = {0A0b FF}
    Lines.Strings = (
      'one'
      'two')
    Items = <
      item
        Name = 'a'
      end
      item
      end>
  end
end
)";

TEST(FormDescription, ReadsEveryValueFormInStoredOrder) {
  const Object form = ParseFormDescription(kForm);
  EXPECT_EQ(form.name, "Form2");
  EXPECT_EQ(form.class_name, "TForm2");
  ASSERT_EQ(form.properties.size(), 8u);
  const char* names[] = {"Left",  "Caption", "Font.Height", "BorderIcons",
                         "Scale", "Mask",    "Empty",       "OnCreate"};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(form.properties[i].name, names[i]) << "case " << i;
  EXPECT_EQ(std::get<std::int64_t>(form.Find("Left")->value), 513);
  EXPECT_EQ(std::get<std::string>(form.Find("Caption")->value), "Conto");
  EXPECT_EQ(std::get<std::int64_t>(form.Find("Font.Height")->value), -8);
  EXPECT_EQ(std::get<SetValue>(form.Find("BorderIcons")->value).members,
            (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
  EXPECT_DOUBLE_EQ(std::get<double>(form.Find("Scale")->value), 1.5);
  EXPECT_EQ(std::get<std::int64_t>(form.Find("Mask")->value), 0xFF);
  EXPECT_TRUE(std::get<SetValue>(form.Find("Empty")->value).members.empty());
  EXPECT_EQ(std::get<Identifier>(form.Find("OnCreate")->value).name, "FormCreate");
  EXPECT_EQ(form.Find("OnCreate")->line, 9);

  ASSERT_EQ(form.children.size(), 2u);
  const Object& label = form.children[0];
  EXPECT_EQ(label.name, "sLabelFX2");
  EXPECT_EQ(std::get<std::string>(label.Find("Caption")->value),
            "\xC3\xA3 (Alt+0227)= m\xC3\xA3ng\xC3\xA3n");
  EXPECT_EQ(std::get<std::string>(label.Find("Quote")->value), "it's joined");
  const Object& button = form.children[1];
  EXPECT_EQ(std::get<Binary>(button.Find("Glyph.Data")->value).bytes,
            (std::vector<std::uint8_t>{0x0A, 0x0B, 0xFF}));
  EXPECT_EQ(std::get<StringList>(button.Find("Lines.Strings")->value).items,
            (std::vector<std::string>{"one", "two"}));
  const auto& items = std::get<Collection>(button.Find("Items")->value).items;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].properties.at(0).name, "Name");
  EXPECT_TRUE(items[1].properties.empty());
}

TEST(FormDescription, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"object A: TA\n  Left = )\nend", 2, "a value was expected"},
      {"object A: TA\n  Caption = 'open\nend", 2, "a string is not closed"},
      {"object A: TA\n  Left = 1", 2, "'end' is missing"},
      {"object A: TA\n  Data = {ABC}\nend", 2, "binary data has an odd number of digits"},
      {"object A: TA\nend\nobject", 3, "text after the final end"},
      {"thing A: TA\nend", 1, "'object' was expected"},
      {"object A: TA\n  Left = 99999999999999999999\nend", 2, "a number was expected"},
      {"object A: TA\n  C = #1114112\nend", 2, "a character code is out of range"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    try {
      ParseFormDescription(cases[i].text);
      ADD_FAILURE() << "case " << i << ": no error";
    } catch (const FormDescriptionError& e) {
      EXPECT_EQ(e.line(), cases[i].line) << "case " << i << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(cases[i].message), std::string::npos)
          << "case " << i << ": have " << e.what() << ", want " << cases[i].message;
    }
  }
}

TEST(FormDescription, DeepNestingIsRefused) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "object A: TA\n";
  for (int i = 0; i < 40; ++i) text += "end\n";
  EXPECT_THROW(ParseFormDescription(text), FormDescriptionError);
}

}  // namespace
}  // namespace sapala::forms
