// Fuzz target: the PE reader (headers, import tables, version resource) and the release check
// on what it read.
#include <cstddef>
#include <cstdint>

#include "core/pe/pe_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const sapala::pe::PeFile file = sapala::pe::ReadPe({data, size});
    (void)sapala::pe::ReleaseProblems(file);
    if (file.version) (void)file.version->file.ToString();
  } catch (const sapala::pe::PeError&) {
  }
  return 0;
}
