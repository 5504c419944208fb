// The one exception type of the skin core. Loading a skin catches it at the top of the loading
// sequence and shows its message in an error box; nothing below that catches it.
#pragma once

#include <stdexcept>
#include <string>

namespace sapala::skin {

class SkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message of a packed file whose first four bytes are not the magic.
inline constexpr const char* kNotPackedMessage = "Loaded data is not a packed LumoSkin file";

}  // namespace sapala::skin
