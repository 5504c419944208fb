// The caption-button fade: which changes fade and over how many steps, and the picture of each
// step.
#include "core/skin/caption_fade.h"

#include <gtest/gtest.h>

#include "core/graphics/bitmap.h"

namespace sapala::skin {
namespace {

constexpr TlcBtnEvents kAll = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;

TEST(CaptionFade, StepsOfEachChange) {
  const struct {
    int from, to;
    TlcBtnEvents events;
    int want;
  } cases[] = {
      {0, 1, kAll, 10},         // towards hot
      {1, 2, kAll, 1},          // towards pressed: at once
      {0, 2, kAll, 1},          //
      {1, 0, kAll, 10},         // the pointer leaves
      {2, 0, kAll, 10},         // released, or dragged off while pressed
      {2, 1, kAll, 10},         //
      {1, 1, kAll, 1},          // no change
      {0, 1, beMouseLeave, 1},  // entering does not animate
      {1, 0, beMouseEnter, 1},  // leaving does not animate
      {2, 0, beMouseLeave, 1},  // a mouse up, not a leave
      {2, 0, beMouseUp, 10},    //
      {0, 1, 0, 1},             // no events: never a fade
      {1, 2, beMouseDown, 1},   //
  };
  int i = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(CaptionFadeSteps(c.from, c.to, c.events), c.want)
        << "case " << i << ": " << c.from << " -> " << c.to;
    ++i;
  }
}

TEST(CaptionFade, WeightsRiseToTheWholeNewPicture) {
  const struct {
    int step, steps, want;
  } cases[] = {
      {1, 10, 25},   {5, 10, 128}, {9, 10, 230},
      {10, 10, 256}, {0, 10, 25},  // clamped to the first step
      {11, 10, 256}, {1, 1, 256},  {3, 0, 256},
  };
  int i = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(CaptionFadeWeight(c.step, c.steps), c.want) << "case " << i;
    ++i;
  }
}

graphics::Bitmap Filled(int w, int h, std::uint32_t word) {
  graphics::Bitmap b = graphics::NewBitmap32(w, h);
  for (int y = 0; y < h; ++y) std::fill_n(b.Row32(y), w, word);
  return b;
}

TEST(CaptionFade, EachStepBlendsEveryChannelAndStaysInsideTheImage) {
  const graphics::Bitmap from = Filled(3, 2, 0xFF000000u);  // opaque black
  const graphics::Bitmap to = Filled(3, 2, 0x80FF4010u);
  // (old × (256 − w) + new × w) >> 8 per channel, alpha included: w = 25, 128, 256.
  const struct {
    int step;
    std::uint32_t want;
  } table[] = {{1, 0xF2180601u}, {5, 0xBF7F2008u}, {10, 0x80FF4010u}};
  int i = 0;
  for (const auto& c : table) {
    graphics::Bitmap out = Filled(4, 4, 0x11223344u);
    DrawCaptionFadeStep(from, to, c.step, 10, out, {2, 3});
    EXPECT_EQ(out.PixelWord(2, 3), c.want) << "case " << i;
    EXPECT_EQ(out.PixelWord(3, 3), c.want) << "case " << i;
    // Outside the picture's place, and past the image's edge, nothing changes.
    EXPECT_EQ(out.PixelWord(1, 3), 0x11223344u) << "case " << i;
    EXPECT_EQ(out.PixelWord(2, 2), 0x11223344u) << "case " << i;
    ++i;
  }
  // Pictures of different sizes draw nothing.
  graphics::Bitmap out = Filled(4, 4, 0x11223344u);
  DrawCaptionFadeStep(from, Filled(2, 2, 0), 10, 10, out, {0, 0});
  EXPECT_EQ(out.PixelWord(0, 0), 0x11223344u);
}

}  // namespace
}  // namespace sapala::skin
