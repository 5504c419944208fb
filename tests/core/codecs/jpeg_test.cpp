// JPEG decoding: ImageMagick's JPEGs (baseline, progressive, grey, CMYK, subsampled) against
// ImageMagick's own decode of them; truncated and damaged files; limits.
#include "core/codecs/jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/codecs/picture.h"
#include "core/codecs/png.h"
#include "core/graphics/errors.h"
#include "png_builder.h"

namespace sapala::codecs {
namespace {

using graphics::Bitmap;
using testing::Bytes;

struct Made {
  Bytes jpeg;
  Bitmap reference;  // ImageMagick's decode, through a PNG
};

class JpegFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    convert_ = testing::FindProgram("convert", {"/usr/bin/convert-im6.q16"});
    if (convert_.empty()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    dir_ = std::make_unique<testing::TempDir>("jpeg");
    src_ = (dir_->path() / "src.png").string();
    ASSERT_EQ(testing::Run(convert_ + " -seed 5 -size 45x31 plasma:orange-purple -depth 8 " + src_ +
                           " >/dev/null 2>&1"),
              0);
  }
  Made Make(const std::string& name, const std::string& options) {
    const std::string jpg = (dir_->path() / (name + ".jpg")).string();
    const std::string png = (dir_->path() / (name + ".png")).string();
    EXPECT_EQ(testing::Run(convert_ + " " + src_ + " " + options + " " + jpg + " >/dev/null 2>&1"),
              0);
    EXPECT_EQ(testing::Run(convert_ + " " + jpg + " -colorspace sRGB -depth 8 PNG24:" + png +
                           " >/dev/null 2>&1"),
              0);
    return {testing::ReadFileBytes(jpg), ReadPng(testing::ReadFileBytes(png))};
  }
  std::string convert_, src_;
  std::unique_ptr<testing::TempDir> dir_;
};

TEST_F(JpegFiles, DecodesLikeImageMagick) {
  struct Case {
    std::string name, options;
    int tolerance;  // per channel
  };
  const std::vector<Case> cases = {
      {"baseline", "-quality 95", 0},
      {"progressive", "-quality 90 -interlace JPEG", 0},
      {"grey", "-colorspace Gray -quality 90", 0},
      {"subsampled", "-sampling-factor 2x2 -quality 80", 0},
      // CMYK to RGB is done by each program its own way: close, not equal.
      {"cmyk", "-colorspace CMYK -quality 95", 3},
  };
  for (const Case& c : cases) {
    const Made m = Make(c.name, c.options);
    const Bitmap ours = ReadJpeg(m.jpeg);
    ASSERT_EQ(ours.Format(), graphics::PixelFormat::pf32bit) << c.name;
    ASSERT_EQ(ours.Width(), m.reference.Width()) << c.name;
    ASSERT_EQ(ours.Height(), m.reference.Height()) << c.name;
    int worst = 0;
    for (int y = 0; y < ours.Height(); ++y) {
      for (int x = 0; x < ours.Width(); ++x) {
        const std::uint32_t a = ours.Row32(y)[x], b = m.reference.PixelWord(x, y);
        ASSERT_EQ(a >> 24, 255u) << c.name;
        for (int s = 0; s < 24; s += 8) {
          worst = std::max(
              worst, std::abs(static_cast<int>(a >> s & 0xFF) - static_cast<int>(b >> s & 0xFF)));
        }
      }
    }
    EXPECT_LE(worst, c.tolerance) << "case " << c.name;
  }
}

// The seed files of the fuzz corpus (9 × 7, written by ImageMagick) are in the repository, so
// these run in every build.
Bytes CorpusJpeg(const std::string& name) {
  return testing::ReadFileBytes(std::string(SAPALA_SOURCE_DIR) + "/fuzz/corpus/jpeg_fuzz/" + name);
}

TEST(JpegReader, CorpusFilesDecode) {
  for (const char* name :
       {"baseline.jpg", "progressive.jpg", "grey.jpg", "cmyk.jpg", "subsampled.jpg"}) {
    const Bytes file = CorpusJpeg(name);
    ASSERT_FALSE(file.empty()) << name;
    const Bitmap b = ReadJpeg(file);
    EXPECT_EQ(b.Width(), 9) << name;
    EXPECT_EQ(b.Height(), 7) << name;
    EXPECT_EQ(b.Row32(6)[8] >> 24, 255u) << name;
  }
  // Grey pictures come out grey.
  const Bitmap grey = ReadJpeg(CorpusJpeg("grey.jpg"));
  const std::uint32_t px = grey.Row32(3)[4];
  EXPECT_EQ(px & 0xFF, px >> 8 & 0xFF);
  EXPECT_EQ(px & 0xFF, px >> 16 & 0xFF);
}

TEST(JpegReader, TruncatedAndDamagedFilesFail) {
  const Bytes good = CorpusJpeg("baseline.jpg");
  ASSERT_FALSE(good.empty());
  // Every cut through the header and the entropy-coded data is an error, never grey filler.
  for (std::size_t n = 0; n + 2 < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_THROW(ReadJpeg(cut), graphics::EInvalidGraphic) << "case length " << n;
  }
  Bytes noSof = good;
  for (std::size_t i = 2; i + 1 < noSof.size(); ++i) {
    if (noSof[i] == 0xFF && noSof[i + 1] == 0xC0) noSof[i + 1] = 0xCF;  // unsupported SOF type
  }
  try {
    ReadJpeg(noSof);
    ADD_FAILURE() << "no error";
  } catch (const graphics::EInvalidGraphic& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot load image. JPEG error: ", 0), 0u) << e.what();
  }
  DecodeLimits small;
  small.maxWidth = 8;
  try {
    ReadJpeg(good, small);
    ADD_FAILURE() << "no error";
  } catch (const graphics::EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Cannot load image. The JPEG image is larger than allowed.");
  }
  EXPECT_EQ(DetectPicture(good), PictureKind::jpeg);
  EXPECT_EQ(ReadPicture(good).Width(), 9);
}

}  // namespace
}  // namespace sapala::codecs
