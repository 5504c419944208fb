// The skin writer's master bitmap: pictures placed without overlapping, wrapped to new shelves,
// refused when wider than the bitmap; PNG pictures written once; the folder's files in order.
#include "tools/skingen/skin_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/skin/skin_text.h"

namespace sapala::skingen {
namespace {

using graphics::Rect;

Canvas Filled(int w, int h, std::uint32_t rgb) {
  Canvas c(w, h);
  c.Draw(RoundRect(0, 0, static_cast<float>(w), static_cast<float>(h), 0), Solid(Hex(rgb)));
  return c;
}

TEST(SkinGenWriter, PicturesGetTheirOwnPlaceOnShelves) {
  SkinWriter w(32);
  w.Section("S");
  std::vector<Rect> placed;
  const std::uint32_t colours[] = {0x101010, 0x202020, 0x303030, 0x404040};
  placed.push_back(w.Icon("A", {Filled(10, 3, colours[0])}));  // 10 × 6
  placed.push_back(w.Bordered("B", {Filled(6, 5, colours[1]), Filled(6, 5, colours[1])},
                              {2, 2, 2, 2}, 0));               // 12 × 10
  placed.push_back(w.Icon("C", {Filled(9, 2, colours[2])}));   // next shelf
  placed.push_back(w.Icon("D", {Filled(31, 1, colours[3])}));  // a whole shelf
  for (std::size_t i = 0; i < placed.size(); ++i) {
    EXPECT_LE(placed[i].right, 32) << "case " << i;
    for (std::size_t j = 0; j < i; ++j) {
      EXPECT_FALSE(placed[i].inflate(1, 1).intersects(placed[j]))
          << "case " << i << " touches " << j;
    }
  }
  EXPECT_EQ(placed[2].left, 0) << "C does not fit beside B and opens a shelf";
  // Every picture is in the master where its value says, picture row and mask row.
  const graphics::Bitmap m = w.Master();
  for (std::size_t i = 0; i < placed.size(); ++i) {
    EXPECT_EQ(m.Row32(placed[i].top)[placed[i].left], 0xFF000000u | colours[i]) << "case " << i;
    EXPECT_EQ(m.Row32(placed[i].bottom - 1)[placed[i].left], 0xFF000000u)
        << "case " << i << ": mask 0";
  }
  EXPECT_EQ(m.Row32(0)[m.Width() - 1], graphics::kKeyPixel) << "space between pictures is the key";
  EXPECT_THROW(w.Icon("E", {Filled(32, 1, 0)}), std::length_error);
}

TEST(SkinGenWriter, FilesInOrderAndSharedPicturesOnce) {
  SkinWriter w(16);
  w.Section("GLOBALINFO");
  w.Value("MASTERBITMAP", SkinWriter::kMasterName);
  w.Icon("A", {Filled(2, 2, 0x808080)});
  graphics::Bitmap glow = graphics::NewBitmap32(3, 3);
  w.PngImage("ZGLOW0", "Z.PNG", glow, {1, 1, 1, 1}, 1);
  w.PngImage("AGLOW0", "A.PNG", glow, {1, 1, 1, 1}, 1);
  w.PngImage("BGLOW0", "Z.PNG", glow, {1, 1, 1, 1}, 1);
  const auto files = w.Files();
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0].name, "Options.dat");
  EXPECT_EQ(files[1].name, SkinWriter::kMasterName);
  EXPECT_EQ(files[2].name, "A.PNG");
  EXPECT_EQ(files[3].name, "Z.PNG");
  const auto text = skin::SkinText::Parse(std::string(files[0].data.begin(), files[0].data.end()));
  EXPECT_EQ(*text.Read("GLOBALINFO", "BGLOW0"), "!Z.PNG!1!0!0!1!1!1!1!1");
}

}  // namespace
}  // namespace sapala::skingen
