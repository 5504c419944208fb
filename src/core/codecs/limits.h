// Bounds on what one picture from outside may make the readers allocate. Every reader checks
// the declared size against these before it allocates, with overflow-checked arithmetic.
#pragma once

#include <cstddef>

namespace sapala::codecs {

struct DecodeLimits {
  int maxWidth = 16384;                                   // pixels
  int maxHeight = 16384;                                  // pixels
  std::size_t maxPictureBytes = std::size_t{256} << 20;   // bytes of the decoded bitmap
  std::size_t maxChunkLength = std::size_t{64} << 20;     // bytes of one PNG chunk's data
  std::size_t maxInflatedBytes = std::size_t{512} << 20;  // bytes inflated for one picture
};

}  // namespace sapala::codecs
