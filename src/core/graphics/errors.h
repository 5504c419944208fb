// Exceptions raised by picture readers and the few graphics routines that can fail. Each carries
// the user-facing message text (what()).
#pragma once

#include <stdexcept>

namespace sapala::graphics {

// Base of every graphics error.
class EGraphicError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// A picture's data is not in the expected format, is damaged or exceeds the reader's limits.
class EInvalidGraphic : public EGraphicError {
 public:
  using EGraphicError::EGraphicError;
};
// The inflater could not be set up or torn down.
class EGraphicCompression : public EGraphicError {
 public:
  using EGraphicError::EGraphicError;
};
// No row conversion exists between the requested source and target pixel formats.
class EColorConversionError : public EGraphicError {
 public:
  using EGraphicError::EGraphicError;
};

}  // namespace sapala::graphics
