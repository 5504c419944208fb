// Preview records from a skin editor: exactly one well-formed record is taken, anything else
// (another length, another command, a field without its NUL) is refused as a whole.
#include "core/skin/preview_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sapala::skin {
namespace {

using R = SkinPreviewRecord;

std::vector<std::uint8_t> Record(const std::string& name, const std::string& folder,
                                 const std::string& text) {
  std::vector<std::uint8_t> rec(R::kSize, 0);
  rec[0] = 0x00;
  rec[1] = 0xA4;
  auto put = [&](std::size_t at, const std::string& s) {
    std::copy(s.begin(), s.end(), rec.begin() + static_cast<std::ptrdiff_t>(at));
  };
  put(R::kNameOffset, name);
  put(R::kFolderOffset, folder);
  put(R::kTextOffset, text);
  return rec;
}

TEST(PreviewRecord, AWellFormedRecordGivesItsThreeTexts) {
  auto rec = Record("Edited", "C:\\Skins", "[GLOBALINFO]\nVERSION=7.33\n");
  // Padding after a field's NUL is not part of its text.
  rec[R::kNameOffset + 20] = 'x';
  const auto parsed = R::Parse(rec);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->name, "Edited");
  EXPECT_EQ(parsed->folder, "C:\\Skins");
  EXPECT_EQ(parsed->text, "[GLOBALINFO]\nVERSION=7.33\n");
}

TEST(PreviewRecord, EveryOtherLengthIsRefused) {
  // A valid record cut short or followed by more bytes, at every length up to a record and a
  // bit beyond (the bytes past the record repeat the text field's padding).
  auto rec = Record("N", "F", "T");
  rec.resize(R::kSize + 300, 0);
  for (std::size_t n = 0; n <= rec.size(); ++n) {
    const bool taken = R::Parse(std::span(rec).first(n)).has_value();
    ASSERT_EQ(taken, n == R::kSize) << "length " << n;
  }
  // Twice a record.
  auto twice = Record("N", "F", "T");
  const auto copy = twice;
  twice.insert(twice.end(), copy.begin(), copy.end());
  EXPECT_FALSE(R::Parse(twice));
}

TEST(PreviewRecord, AnotherCommandIsRefused) {
  for (std::size_t byte = 0; byte < 4; ++byte) {
    auto rec = Record("N", "F", "T");
    rec[byte] ^= 0x01;
    EXPECT_FALSE(R::Parse(rec)) << "command byte " << byte;
  }
}

TEST(PreviewRecord, AFieldMustEndWithANulInsideItself) {
  struct Case {
    std::size_t offset, size;
  };
  const Case fields[] = {{R::kNameOffset, R::kNameBytes},
                         {R::kFolderOffset, R::kFolderBytes},
                         {R::kTextOffset, R::kTextBytes}};
  for (const Case& f : fields) {
    auto rec = Record("N", "F", "T");
    // Filled to its last byte: no room for the NUL, refused.
    std::fill_n(rec.begin() + static_cast<std::ptrdiff_t>(f.offset), f.size, 'a');
    EXPECT_FALSE(R::Parse(rec)) << "field at " << f.offset;
    // A NUL in its last byte: the longest text the field can hold.
    rec[f.offset + f.size - 1] = 0;
    const auto parsed = R::Parse(rec);
    ASSERT_TRUE(parsed) << "field at " << f.offset;
    const std::string want(f.size - 1, 'a');
    const std::string& have = f.offset == R::kNameOffset     ? parsed->name
                              : f.offset == R::kFolderOffset ? parsed->folder
                                                             : parsed->text;
    EXPECT_EQ(have, want) << "field at " << f.offset;
  }
}

TEST(PreviewRecord, ThePreviewSwitchIsComparedLowerCased) {
  const struct {
    const char* arg;
    bool want;
  } cases[] = {
      {"/lcpreview", true}, {"/LCPREVIEW", true}, {"/LcPreview", true}, {"/lcpreviewx", false},
      {"lcpreview", false}, {"/lcprevie", false}, {"", false}};
  for (const auto& c : cases) EXPECT_EQ(IsPreviewSwitch(c.arg), c.want) << c.arg;
}

}  // namespace
}  // namespace sapala::skin
