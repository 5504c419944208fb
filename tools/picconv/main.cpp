// picconv: reads a PNG, BMP or JPEG picture through the program's own readers and writes it
// as a PAM (P7, RGB_ALPHA, 8 bits) or a BMP, chosen by the output file's extension.
//
//   picconv INPUT OUTPUT.pam|OUTPUT.bmp
//
// Exit status: 0 done; 1 the picture could not be read (the reader's message on stderr);
// 2 wrong usage or a file that could not be read or written.
#include <cctype>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/codecs/bmp.h"
#include "core/codecs/picture.h"
#include "core/graphics/bitmap.h"
#include "core/graphics/errors.h"

namespace {

using sapala::graphics::Bitmap;

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

std::vector<std::uint8_t> ToPam(const Bitmap& picture) {
  const Bitmap rgba = sapala::graphics::ConvertTo32(picture);
  const std::string header = "P7\nWIDTH " + std::to_string(rgba.Width()) + "\nHEIGHT " +
                             std::to_string(rgba.Height()) +
                             "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  std::vector<std::uint8_t> out(header.begin(), header.end());
  out.reserve(out.size() +
              static_cast<std::size_t>(rgba.Width()) * static_cast<std::size_t>(rgba.Height()) * 4);
  for (int y = 0; y < rgba.Height(); ++y) {
    const std::uint32_t* row = rgba.Row32(y);
    for (int x = 0; x < rgba.Width(); ++x) {
      out.push_back(static_cast<std::uint8_t>(row[x] >> 16));
      out.push_back(static_cast<std::uint8_t>(row[x] >> 8));
      out.push_back(static_cast<std::uint8_t>(row[x]));
      out.push_back(static_cast<std::uint8_t>(row[x] >> 24));
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: picconv INPUT OUTPUT.pam|OUTPUT.bmp\n");
    return 2;
  }
  const std::string input = argv[1], output = argv[2];
  const std::string ext = LowerExtension(output);
  if (ext != "pam" && ext != "bmp") {
    std::fprintf(stderr, "picconv: the output must end in .pam or .bmp\n");
    return 2;
  }
  std::ifstream in(input, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "picconv: cannot open %s\n", input.c_str());
    return 2;
  }
  const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  Bitmap picture;
  try {
    picture = sapala::codecs::ReadPicture(data);
  } catch (const sapala::graphics::EGraphicError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "picconv: %s\n", e.what());
    return 1;
  }
  if (picture.Empty()) {
    std::fprintf(stderr, "picconv: the picture holds no image data\n");
    return 1;
  }
  const std::vector<std::uint8_t> bytes =
      ext == "pam" ? ToPam(picture) : sapala::codecs::WriteBmp(picture);
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "picconv: cannot write %s\n", output.c_str());
    return 2;
  }
  return 0;
}
