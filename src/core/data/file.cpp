// Whole-file reading; see file.h.
#include "core/data/file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/data/error.h"
#include "core/data/text.h"

#ifdef _WIN32
#include <share.h>
#endif

namespace sapala::data {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;

FileOwner OpenShared(const std::string& path) {
#ifdef _WIN32
  const std::u16string wide16 = Utf8ToUtf16(path);
  const std::wstring wide(wide16.begin(), wide16.end());
  // _SH_DENYNO: other processes keep every kind of access while we read.
  return FileOwner(_wfsopen(wide.c_str(), L"rb", _SH_DENYNO));
#else
  return FileOwner(std::fopen(path.c_str(), "rb"));
#endif
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  errno = 0;
  FileOwner f = OpenShared(path);
  if (!f) {
    const int err = errno;
    std::string why = err == ENOENT   ? "the file does not exist"
                      : err == EACCES ? "access is denied"
                      : err != 0      ? std::strerror(err)
                                      : "it cannot be opened";
    throw DataError("The dictionary workbook \"" + path + "\" cannot be opened: " + why + ".");
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t buf[65536];
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
    if (n > max_bytes - bytes.size()) {
      throw DataError("The dictionary workbook \"" + path + "\" is too large.");
    }
    bytes.insert(bytes.end(), buf, buf + n);
    if (n < sizeof buf) break;
  }
  if (std::ferror(f.get())) {
    throw DataError("The dictionary workbook \"" + path + "\" cannot be read.");
  }
  return bytes;
}

}  // namespace sapala::data
