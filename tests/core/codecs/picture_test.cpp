// Picture detection by signature.
#include "core/codecs/picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codecs/jpeg.h"
#include "core/graphics/errors.h"
#include "png_builder.h"

namespace sapala::codecs {
namespace {

using testing::Bytes;

TEST(Picture, UnknownDataIsRefused) {
  const Bytes junk = {'G', 'I', 'F', '8', '9', 'a'};
  EXPECT_EQ(DetectPicture(junk), PictureKind::unknown);
  try {
    ReadPicture(junk);
    ADD_FAILURE() << "no error";
  } catch (const graphics::EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Cannot load image. Unknown picture format.");
  }
  EXPECT_THROW(ReadJpeg(junk), graphics::EInvalidGraphic);
}

TEST(Picture, EachKindGoesToItsReader) {
  const std::string corpus = std::string(SAPALA_SOURCE_DIR) + "/fuzz/corpus/";
  struct Case {
    std::string file;
    PictureKind kind;
    int width;
  };
  const std::vector<Case> cases = {{"png_fuzz/rgba8.png", PictureKind::png, 9},
                                   {"bmp_fuzz/v3-24.bmp", PictureKind::bmp, 9},
                                   {"jpeg_fuzz/grey.jpg", PictureKind::jpeg, 9}};
  for (const Case& c : cases) {
    const Bytes data = testing::ReadFileBytes(corpus + c.file);
    EXPECT_EQ(DetectPicture(data), c.kind) << "case " << c.file;
    EXPECT_EQ(ReadPicture(data).Width(), c.width) << "case " << c.file;
  }
}

}  // namespace
}  // namespace sapala::codecs
