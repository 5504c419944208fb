// The one exception type of the data layer. Its message is written for the person using the
// program (it ends up in a message box): what went wrong, in words, with the engine's own
// message kept where it helps.
#pragma once

#include <stdexcept>
#include <string>

namespace sapala::data {

class DataError : public std::runtime_error {
 public:
  explicit DataError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace sapala::data
