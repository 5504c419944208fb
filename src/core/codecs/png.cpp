// PNG reader. The whole file is in memory: chunk data is read in place (no copies), the image
// data is inflated straight from the IDAT chunks one row at a time.
#include "core/codecs/png.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "core/base/checked.h"
#include "core/base/endian.h"
#include "core/codecs/color_manager.h"
#include "core/graphics/errors.h"

namespace sapala::codecs {

using graphics::Bitmap;
using graphics::EGraphicCompression;
using graphics::EInvalidGraphic;
using graphics::PixelFormat;
using graphics::TColor;

namespace {

constexpr const char* kInvalidFormat = "Cannot load image. Invalid or unexpected PNG image format.";
constexpr const char* kCrcError = "Cannot load image. CRC error found in PNG file.";
constexpr const char* kCompressionUnsupported =
    "Cannot load image. The compression scheme is not supported for PNG files.";
constexpr const char* kLz77Error = "LZ77 decompression error.";
constexpr const char* kPaletteInvalid = "Cannot load image. Palette in PNG file is invalid.";
constexpr const char* kCriticalChunk =
    "Cannot load PNG image. Unexpected but critical chunk detected.";
constexpr const char* kInvalidColorFormat = "Invalid color format in PNG file.";
constexpr const char* kCompressionError = "Cannot load image. Compression error found in PNG file.";
constexpr const char* kExtraData = "Cannot load image. Extra compressed data found in PNG file.";
constexpr const char* kTooLarge = "Cannot load image. The PNG image is larger than allowed.";

constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

constexpr std::uint32_t Tag(const char (&s)[5]) {
  return std::uint32_t(std::uint8_t(s[0])) << 24 | std::uint32_t(std::uint8_t(s[1])) << 16 |
         std::uint32_t(std::uint8_t(s[2])) << 8 | std::uint32_t(std::uint8_t(s[3]));
}
constexpr std::uint32_t kIHDR = Tag("IHDR"), kIDAT = Tag("IDAT"), kIEND = Tag("IEND"),
                        kPLTE = Tag("PLTE"), kGAMA = Tag("gAMA"), kBKGD = Tag("bKGD"),
                        kTRNS = Tag("tRNS");

// Chunk types compare with bit 5 (the letter case) of every byte ignored.
constexpr bool SameType(std::uint32_t a, std::uint32_t b) { return ((a ^ b) & 0xDFDFDFDFu) == 0; }
constexpr bool IsCritical(std::uint32_t type) { return (type & 0x20000000u) == 0; }

// Callers check that the bytes are there (ChunkStream and the chunk lengths).
inline std::uint32_t Be32(const std::uint8_t* p) { return LoadBe32(p); }
inline unsigned Be16(const std::uint8_t* p) { return LoadBe16(p); }

struct ChunkHeader {
  std::uint32_t length = 0;
  std::uint32_t type = 0;
  std::size_t dataPos = 0;  // offset of the chunk's data in the file
};

// Sequential chunk access over the file bytes. Reading past the end raises the reader's
// invalid-format error; nothing is ever read outside the span.
class ChunkStream {
 public:
  ChunkStream(std::span<const std::uint8_t> data, const DecodeLimits& limits)
      : data_(data), limits_(limits) {}

  void Seek(std::size_t pos) { pos_ = pos; }

  ChunkHeader ReadHeader() {
    if (data_.size() - pos_ < 8) throw EInvalidGraphic(kInvalidFormat);
    ChunkHeader h;
    h.length = Be32(data_.data() + pos_);
    h.type = Be32(data_.data() + pos_ + 4);
    h.dataPos = pos_ + 8;
    if (h.length > 0x7FFFFFFFu) throw EInvalidGraphic(kInvalidFormat);
    if (h.length > limits_.maxChunkLength) throw EInvalidGraphic(kTooLarge);
    pos_ += 8;
    return h;
  }

  // The chunk's data, after checking its CRC (over type and data).
  std::span<const std::uint8_t> ReadData(const ChunkHeader& h) {
    RequireBody(h);
    const std::uint8_t* type = data_.data() + h.dataPos - 4;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), type, 4 + static_cast<uInt>(h.length));
    if (crc != Be32(data_.data() + h.dataPos + h.length)) throw EInvalidGraphic(kCrcError);
    pos_ = h.dataPos + h.length + 4;
    return data_.subspan(h.dataPos, h.length);
  }

  // Past the data and CRC, unchecked.
  void Skip(const ChunkHeader& h) {
    RequireBody(h);
    pos_ = h.dataPos + h.length + 4;
  }

 private:
  void RequireBody(const ChunkHeader& h) const {
    if (h.dataPos > data_.size() || data_.size() - h.dataPos < std::size_t{h.length} + 4) {
      throw EInvalidGraphic(kInvalidFormat);
    }
  }

  std::span<const std::uint8_t> data_;
  const DecodeLimits& limits_;
  std::size_t pos_ = 0;
};

int SamplesFor(std::uint8_t colorType) {
  switch (colorType) {
    case 0:
      return 1;
    case 2:
      return 3;
    case 3:
      return 1;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 0;
  }
}

// The inflater; inflateEnd runs whatever happens.
class Inflater {
 public:
  Inflater() {
    if (inflateInit(&zs_) != Z_OK) throw EGraphicCompression(kLz77Error);
    live_ = true;
  }
  ~Inflater() {
    if (live_) inflateEnd(&zs_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  void Finish() {
    live_ = false;
    if (inflateEnd(&zs_) != Z_OK) throw EGraphicCompression(kLz77Error);
  }
  z_stream& stream() { return zs_; }

 private:
  z_stream zs_{};
  bool live_ = false;
};

// Undoes one row's filter in place. `row` holds the filter byte followed by `length` bytes;
// `prior` is the previous row of the same pass in the same layout (all zeros for the first).
// Bpp is the bytes per complete pixel (1 to 8), a template argument so that the per-pixel
// loops unroll.
template <std::size_t Bpp>
void UnfilterBpp(std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  std::uint8_t* cur = row + 1;
  const std::uint8_t* up = prior + 1;
  const std::size_t head = std::min(Bpp, length);
  switch (row[0]) {
    case 0:
      break;
    case 1:
      for (std::size_t i = Bpp; i < length; ++i)
        cur[i] = static_cast<std::uint8_t>(cur[i] + cur[i - Bpp]);
      break;
    case 2:
      for (std::size_t i = 0; i < length; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + up[i]);
      break;
    case 3:
      for (std::size_t i = 0; i < head; ++i)
        cur[i] = static_cast<std::uint8_t>(cur[i] + (up[i] >> 1));
      for (std::size_t i = Bpp; i < length; ++i) {
        cur[i] = static_cast<std::uint8_t>(cur[i] + ((unsigned{cur[i - Bpp]} + up[i]) >> 1));
      }
      break;
    case 4:
      for (std::size_t i = 0; i < head; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + up[i]);
      for (std::size_t i = Bpp; i + Bpp <= length; i += Bpp) {
        for (std::size_t k = 0; k < Bpp; ++k) {
          const int a = cur[i + k - Bpp], b = up[i + k], c = up[i + k - Bpp];
          const int pa = std::abs(b - c);          // |p - a| with p = a + b - c
          const int pb = std::abs(a - c);          // |p - b|
          const int pc = std::abs(a + b - 2 * c);  // |p - c|
          int pred = pb <= pc ? b : c;
          pred = (pa <= pb && pa <= pc) ? a : pred;
          cur[i + k] = static_cast<std::uint8_t>(cur[i + k] + pred);
        }
      }
      break;
    default:
      break;  // unknown filter: the row's bytes stay as they are
  }
}

void Unfilter(std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t bpp) {
  switch (bpp) {
    case 1:
      UnfilterBpp<1>(row, prior, length);
      break;
    case 2:
      UnfilterBpp<2>(row, prior, length);
      break;
    case 3:
      UnfilterBpp<3>(row, prior, length);
      break;
    case 4:
      UnfilterBpp<4>(row, prior, length);
      break;
    case 6:
      UnfilterBpp<6>(row, prior, length);
      break;
    default:
      UnfilterBpp<8>(row, prior, length);
      break;
  }
}

struct Pass {
  int rowStart, colStart, rowStep, colStep;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                            {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

// One load: the state of reading a file into a TPNGGraphic's fields.
class PngLoader {
 public:
  PngLoader(std::span<const std::uint8_t> data, const DecodeLimits& limits, PngProperties& props,
            Bitmap& bitmap, TColor& background, TColor& transparentColor,
            std::array<std::uint8_t, 256>& transparency)
      : data_(data),
        limits_(limits),
        chunks_(data, limits),
        props_(props),
        bitmap_(bitmap),
        background_(background),
        transparent_color_(transparentColor),
        transparency_(transparency) {}

  void Load();

 private:
  void SetUpConversion();
  void DecodeImage(const ChunkHeader& first);
  std::size_t InflateInto(std::uint8_t* out, std::size_t length);
  bool NextIdat();
  void ReadBackground(std::span<const std::uint8_t> d);
  void ReadTransparency(std::span<const std::uint8_t> d);
  std::uint32_t Scaled16(unsigned v) const;

  std::span<const std::uint8_t> data_;
  const DecodeLimits& limits_;
  ChunkStream chunks_;
  PngProperties& props_;
  Bitmap& bitmap_;
  TColor& background_;
  TColor& transparent_color_;
  std::array<std::uint8_t, 256>& transparency_;

  TColorManager colors_;
  bool conversion_ready_ = false;
  bool background_given_ = false;
  bool image_done_ = false;
  PixelFormat format_ = PixelFormat::pf32bit;
  std::vector<graphics::PaletteEntry> palette_;
  std::size_t bytes_per_pixel_ = 1;  // for filtering

  Inflater* inflater_ = nullptr;
  const ChunkHeader* first_idat_ = nullptr;  // not yet read
  bool idat_ended_ = false;                  // a non-IDAT chunk followed the image data
  bool stream_ended_ = false;
  ChunkHeader next_;  // the chunk after the image data
};

void PngLoader::SetUpConversion() {
  const int depth = props_.bitsPerSample;
  const int samples = props_.samplesPerPixel;
  const bool swap = true;  // 16-bit samples are big-endian
  switch (props_.colorType) {
    case 0:
      if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16) break;
      format_ = depth == 1   ? PixelFormat::pf1bit
                : depth <= 4 ? PixelFormat::pf4bit
                             : PixelFormat::pf8bit;
      colors_.SetSource(ColorScheme::csG, depth, samples, swap);
      colors_.SetTarget(ColorScheme::csG, graphics::BitsPerPixel(format_), 1);
      colors_.SelectConversion();
      palette_ = colors_.GrayscalePalette(graphics::BitsPerPixel(format_));
      bytes_per_pixel_ = static_cast<std::size_t>((depth + 7) / 8);
      conversion_ready_ = true;
      return;
    case 2:
      if (depth != 8 && depth != 16) break;
      format_ = PixelFormat::pf24bit;
      colors_.SetSource(ColorScheme::csRGB, depth, samples, swap);
      colors_.SetTarget(ColorScheme::csBGR, 8, 3);
      colors_.SelectConversion();
      bytes_per_pixel_ = static_cast<std::size_t>(depth * 3 / 8);
      conversion_ready_ = true;
      return;
    case 3:
      if (depth != 1 && depth != 2 && depth != 4 && depth != 8) break;
      format_ = depth == 1   ? PixelFormat::pf1bit
                : depth <= 4 ? PixelFormat::pf4bit
                             : PixelFormat::pf8bit;
      colors_.SetSource(ColorScheme::csIndexed, depth, samples, swap);
      colors_.SetTarget(ColorScheme::csIndexed, graphics::BitsPerPixel(format_), 1);
      colors_.SelectConversion();
      bytes_per_pixel_ = 1;
      conversion_ready_ = true;
      return;
    case 4:
      if (depth != 8 && depth != 16) break;
      format_ = PixelFormat::pf8bit;
      colors_.SetSource(ColorScheme::csGA, depth, samples, swap);
      colors_.SetTarget(ColorScheme::csG, 8, 1);
      colors_.SelectConversion();
      palette_ = colors_.GrayscalePalette(8);
      bytes_per_pixel_ = static_cast<std::size_t>(depth * 2 / 8);
      conversion_ready_ = true;
      return;
    case 6:
      if (depth != 8 && depth != 16) break;
      format_ = PixelFormat::pf32bit;
      colors_.SetSource(ColorScheme::csRGBA, depth, samples, swap);
      colors_.SetTarget(ColorScheme::csBGRA, 8, 4);
      colors_.SelectConversion();
      bytes_per_pixel_ = static_cast<std::size_t>(depth * 4 / 8);
      conversion_ready_ = true;
      return;
    default:
      break;
  }
  throw EInvalidGraphic(kInvalidColorFormat);
}

std::uint32_t PngLoader::Scaled16(unsigned v) const {
  if (props_.bitsPerSample == 16) return v * 255u / 65535u;
  return v & 0xFFu;
}

void PngLoader::ReadBackground(std::span<const std::uint8_t> d) {
  switch (props_.colorType) {
    case 0:
    case 4:
      if (d.size() < 2) return;
      if (props_.bitsPerSample == 16) {
        background_ = static_cast<TColor>(Be16(d.data()) * 255u / 65535u);
      } else if (props_.bitsPerSample == 2) {
        background_ = static_cast<TColor>((d[1] & 3u) * 15u / 3u);
      } else {
        background_ = d[1];
      }
      break;
    case 2:
    case 6:
      if (d.size() < 6) return;
      background_ = graphics::RgbColor(static_cast<std::uint8_t>(Scaled16(Be16(d.data()))),
                                       static_cast<std::uint8_t>(Scaled16(Be16(d.data() + 2))),
                                       static_cast<std::uint8_t>(Scaled16(Be16(d.data() + 4))));
      break;
    case 3:
      if (d.empty()) return;
      background_ = d[0];
      break;
    default:
      return;
  }
  background_given_ = true;
}

void PngLoader::ReadTransparency(std::span<const std::uint8_t> d) {
  switch (props_.colorType) {
    case 0: {
      if (d.size() < 2) return;
      const unsigned v = Be16(d.data());
      std::uint8_t g;
      if (props_.bitsPerSample == 16)
        g = static_cast<std::uint8_t>(v * 255u / 65535u);
      else if (props_.bitsPerSample == 2)
        g = static_cast<std::uint8_t>((v & 3u) * 15u / 3u);
      else
        g = static_cast<std::uint8_t>(v);
      transparent_color_ = graphics::RgbColor(g, g, g);
      break;
    }
    case 2:
      if (d.size() < 6) return;
      transparent_color_ =
          graphics::RgbColor(static_cast<std::uint8_t>(Scaled16(Be16(d.data()))),
                             static_cast<std::uint8_t>(Scaled16(Be16(d.data() + 2))),
                             static_cast<std::uint8_t>(Scaled16(Be16(d.data() + 4))));
      break;
    case 3: {
      transparency_.fill(255);
      const std::size_t n = std::min<std::size_t>(d.size(), 256);
      std::copy_n(d.begin(), n, transparency_.begin());
      break;
    }
    default:
      break;  // colour types with an alpha channel ignore tRNS
  }
}

bool PngLoader::NextIdat() {
  z_stream& zs = inflater_->stream();
  for (;;) {
    std::span<const std::uint8_t> d;
    if (first_idat_) {
      d = chunks_.ReadData(*first_idat_);
      first_idat_ = nullptr;
    } else {
      if (idat_ended_) return false;
      const ChunkHeader h = chunks_.ReadHeader();
      if (!SameType(h.type, kIDAT)) {
        next_ = h;
        idat_ended_ = true;
        return false;
      }
      d = chunks_.ReadData(h);
    }
    if (d.empty()) continue;
    zs.next_in = const_cast<Bytef*>(d.data());  // zlib does not write through next_in
    zs.avail_in = static_cast<uInt>(d.size());
    return true;
  }
}

// Inflates up to `length` bytes of image data into `out`, pulling in IDAT chunks as needed;
// returns how many it got (fewer when the image data ends first).
std::size_t PngLoader::InflateInto(std::uint8_t* out, std::size_t length) {
  z_stream& zs = inflater_->stream();
  std::size_t done = 0;
  while (done < length) {
    if (stream_ended_) throw EInvalidGraphic(kExtraData);
    if (zs.avail_in == 0 && !NextIdat()) break;
    const std::size_t want = std::min<std::size_t>(length - done, std::size_t{1} << 30);
    zs.next_out = out + done;
    zs.avail_out = static_cast<uInt>(want);
    const int rc = inflate(&zs, Z_SYNC_FLUSH);
    done += want - zs.avail_out;
    if (rc == Z_STREAM_END) {
      stream_ended_ = true;
      if (done < length || zs.avail_in > 0) throw EInvalidGraphic(kExtraData);
      break;
    }
    if (rc == Z_BUF_ERROR && zs.avail_in == 0) continue;  // wants more input
    if (rc != Z_OK) throw EInvalidGraphic(kCompressionError);
  }
  return done;
}

void PngLoader::DecodeImage(const ChunkHeader& first) {
  if (!conversion_ready_) SetUpConversion();
  const int width = static_cast<int>(props_.width);
  const int height = static_cast<int>(props_.height);

  // Limits: the bitmap and the inflated data, before anything is allocated. Sizes are checked
  // products and sums: with wide limits a 64-bit product could still wrap.
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(graphics::RowBytes(width, format_));
  const auto pictureBytes = CheckedMul<std::uint64_t>(rowBytes, static_cast<std::uint64_t>(height));
  if (!pictureBytes || *pictureBytes > limits_.maxPictureBytes) throw EInvalidGraphic(kTooLarge);
  const std::uint64_t bitsPerPixel = static_cast<std::uint64_t>(props_.bitsPerPixel);
  auto passRowLength = [&](std::uint64_t pixels) { return (pixels * bitsPerPixel + 7) / 8; };
  // A pass's rows, each with its filter byte; pixels ≤ 2^31 and 64 bits each cannot wrap the
  // row length itself.
  auto passBytes = [&](std::uint64_t cols, std::uint64_t rows) {
    return CheckedMul<std::uint64_t>(passRowLength(cols) + 1, rows);
  };
  std::optional<std::uint64_t> inflated = 0;
  for (const Pass& p : kAdam7) {
    if (!props_.interlaced) {
      inflated = passBytes(props_.width, props_.height);
      break;
    }
    if (p.colStart >= width || p.rowStart >= height) continue;
    const std::uint64_t cols =
        static_cast<std::uint64_t>(width + p.colStep - p.colStart - 1) / p.colStep;
    const std::uint64_t rows =
        static_cast<std::uint64_t>(height + p.rowStep - p.rowStart - 1) / p.rowStep;
    const auto pass = passBytes(cols, rows);
    inflated = inflated && pass ? CheckedAdd(*inflated, *pass) : std::nullopt;
  }
  if (!inflated || *inflated > limits_.maxInflatedBytes) throw EInvalidGraphic(kTooLarge);

  bitmap_ = Bitmap(width, height, format_);
  bitmap_.Palette() = palette_;

  // Background fill of rows fromRow..height−1: palette pictures by index (the bKGD index or
  // grey level, else the entry nearest to white), others by colour with alpha 0. Rows the
  // image data covers need none, so a plain picture is filled only where its data stopped.
  auto fillBackground = [&](int fromRow) {
    if (graphics::HasPalette(format_)) {
      std::uint32_t index = 0;
      if (background_given_) {
        index = static_cast<std::uint32_t>(background_) &
                ((1u << graphics::BitsPerPixel(format_)) - 1u);
      } else {
        int best = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < palette_.size(); ++i) {
          const int d = 765 - static_cast<int>((palette_[i] & 0xFF) + (palette_[i] >> 8 & 0xFF) +
                                               (palette_[i] >> 16 & 0xFF));
          if (d < best) {
            best = d;
            index = static_cast<std::uint32_t>(i);
          }
        }
      }
      const int bpp = graphics::BitsPerPixel(format_);
      std::uint8_t fill = 0;
      for (int b = 0; b < 8; b += bpp) fill = static_cast<std::uint8_t>(fill << bpp | index);
      for (int y = fromRow; y < height; ++y)
        std::memset(bitmap_.ScanLine(y), fill, static_cast<std::size_t>(rowBytes));
    } else {
      const std::uint32_t px = graphics::PixelFromColor(graphics::ColorToRGB(background_), 0);
      for (int y = fromRow; y < height; ++y) {
        if (format_ == PixelFormat::pf32bit) {
          std::fill_n(bitmap_.Row32(y), width, px);
        } else {
          std::uint8_t* row = bitmap_.ScanLine(y);
          for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(px);
            row[3 * x + 1] = static_cast<std::uint8_t>(px >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(px >> 16);
          }
        }
      }
    }
  };
  if (props_.interlaced) fillBackground(0);
  if (transparent_color_ != graphics::clNone) {
    bitmap_.transparentColor = transparent_color_;
    bitmap_.transparent = true;
  }

  Inflater inflater;
  inflater_ = &inflater;
  first_idat_ = &first;
  idat_ended_ = false;
  stream_ended_ = false;

  // The image data is inflated a batch of rows at a time into a window of about 256 KiB
  // (inflate is fastest on large output); rows are unfiltered in place against the row before
  // them. A row that the data does not complete ends the decoding; the rest keeps the
  // background.
  const std::size_t fullRow = static_cast<std::size_t>(passRowLength(props_.width));
  const std::size_t windowRows = std::max<std::size_t>(1, (std::size_t{256} << 10) / (fullRow + 1));
  std::unique_ptr<std::uint8_t[]> window(new std::uint8_t[windowRows * (fullRow + 1)]);
  std::vector<std::uint8_t> last(fullRow + 1);
  bool complete = true;
  int plainRowsDone = 0;
  for (const Pass& p : kAdam7) {
    const Pass plain{0, 0, 1, 1};
    const Pass& pass = props_.interlaced ? p : plain;
    if (!complete) break;
    if (pass.colStart >= width) continue;  // a pass with no columns in a narrow picture
    const int cols = (width + pass.colStep - pass.colStart - 1) / pass.colStep;
    const std::size_t length =
        static_cast<std::size_t>(passRowLength(static_cast<std::uint64_t>(cols)));
    std::fill(last.begin(), last.end(), 0);
    int y = pass.rowStart;
    while (y < height) {
      const std::size_t rowsLeft =
          static_cast<std::size_t>((height - y + pass.rowStep - 1) / pass.rowStep);
      const std::size_t batch = std::min(windowRows, rowsLeft);
      const std::size_t got = InflateInto(window.get(), batch * (length + 1));
      const std::size_t rows = got / (length + 1);
      const std::uint8_t* prior = last.data();
      for (std::size_t r = 0; r < rows; ++r, y += pass.rowStep) {
        std::uint8_t* row = window.get() + r * (length + 1);
        Unfilter(row, prior, length, bytes_per_pixel_);
        colors_.ConvertRow(row + 1, bitmap_.ScanLine(y), cols, pass.colStart, pass.colStep);
        prior = row;
      }
      if (rows < batch) {
        complete = false;
        break;
      }
      std::memcpy(last.data(), prior, length + 1);
    }
    if (!props_.interlaced) {
      plainRowsDone = y;
      break;
    }
  }
  if (!props_.interlaced && plainRowsDone < height) fillBackground(plainRowsDone);

  // The rest of the image data: IDAT chunks up to the next other chunk, CRC-checked.
  if (first_idat_) {
    chunks_.ReadData(*first_idat_);
    first_idat_ = nullptr;
  }
  while (!idat_ended_) {
    const ChunkHeader h = chunks_.ReadHeader();
    if (!SameType(h.type, kIDAT)) {
      next_ = h;
      idat_ended_ = true;
    } else {
      chunks_.ReadData(h);
    }
  }
  inflater_ = nullptr;
  inflater.Finish();
  image_done_ = true;
}

void PngLoader::Load() {
  bitmap_ = Bitmap();
  props_ = ReadPngProperties(data_);
  chunks_.Seek(8);

  palette_.clear();
  transparency_.fill(255);
  background_ = graphics::clWhite;
  transparent_color_ = graphics::clNone;

  const ChunkHeader ihdr = chunks_.ReadHeader();
  chunks_.ReadData(ihdr);
  if (!props_.compressionSupported) throw EInvalidGraphic(kCompressionUnsupported);
  if (static_cast<std::int64_t>(props_.width) > limits_.maxWidth ||
      static_cast<std::int64_t>(props_.height) > limits_.maxHeight) {
    throw EInvalidGraphic(kTooLarge);
  }
  ChunkHeader h = chunks_.ReadHeader();
  for (;;) {
    if (SameType(h.type, kIEND)) {
      chunks_.Skip(h);  // its CRC must be there: a file cut inside it is truncated
      break;
    }
    if (SameType(h.type, kIDAT)) {
      if (image_done_) throw EInvalidGraphic(kExtraData);
      DecodeImage(h);
      // The chunk right after the image data is passed over whatever it is (a palette or a
      // transparency there would change a picture already made); IEND still ends the file and
      // a critical chunk is refused as anywhere else.
      h = next_;
      if (SameType(h.type, kIEND)) continue;
      if (IsCritical(h.type)) throw EInvalidGraphic(kCriticalChunk);
      chunks_.Skip(h);
      h = chunks_.ReadHeader();
      continue;
    }
    if (SameType(h.type, kPLTE)) {
      const auto d = chunks_.ReadData(h);
      if (d.size() % 3 != 0) throw EInvalidGraphic(kPaletteInvalid);
      if (props_.colorType == 3) {
        SetUpConversion();
        palette_ = colors_.PaletteFromRgb(d);
        if (image_done_) bitmap_.Palette() = palette_;
      }
    } else if (SameType(h.type, kGAMA)) {
      const auto d = chunks_.ReadData(h);
      // A gamma of 0 is meaningless (it would divide by zero); such a chunk is ignored.
      if (d.size() >= 4 && Be32(d.data()) != 0) {
        colors_.SetGamma(Be32(d.data()) / 100000.0, 2.2);
        props_.fileGamma = Be32(d.data()) / 100000.0;
        if (conversion_ready_) colors_.SelectConversion();
      }
    } else if (SameType(h.type, kBKGD)) {
      ReadBackground(chunks_.ReadData(h));
    } else if (SameType(h.type, kTRNS)) {
      ReadTransparency(chunks_.ReadData(h));
    } else {
      if (IsCritical(h.type)) throw EInvalidGraphic(kCriticalChunk);
      chunks_.Skip(h);
    }
    h = chunks_.ReadHeader();
  }
}

}  // namespace

bool IsPng(std::span<const std::uint8_t> data) {
  return data.size() >= 8 && std::memcmp(data.data(), kSignature, 8) == 0;
}

PngProperties ReadPngProperties(std::span<const std::uint8_t> data) {
  if (!IsPng(data)) throw EInvalidGraphic(kInvalidFormat);
  const DecodeLimits unbounded{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                               std::numeric_limits<std::size_t>::max(),
                               std::numeric_limits<std::size_t>::max(),
                               std::numeric_limits<std::size_t>::max()};
  ChunkStream chunks(data, unbounded);
  chunks.Seek(8);
  const ChunkHeader ihdr = chunks.ReadHeader();
  if (!SameType(ihdr.type, kIHDR) || ihdr.length != 13 || data.size() - ihdr.dataPos < 13) {
    throw EInvalidGraphic(kInvalidFormat);
  }
  const std::uint8_t* d = data.data() + ihdr.dataPos;
  PngProperties p;
  p.width = Be32(d);
  p.height = Be32(d + 4);
  if (p.width == 0 || p.height == 0 || p.width > 0x7FFFFFFFu || p.height > 0x7FFFFFFFu) {
    throw EInvalidGraphic(kInvalidFormat);
  }
  p.bitsPerSample = d[8];
  p.colorType = d[9];
  p.compressionSupported = d[10] == 0;
  p.filterMethod = d[11];
  p.interlaced = d[12] != 0;
  p.samplesPerPixel = SamplesFor(p.colorType);
  p.bitsPerPixel = p.samplesPerPixel * p.bitsPerSample;
  p.hasAlpha = p.colorType == 4 || p.colorType == 6;
  p.fileGamma = 1.0;
  chunks.Skip(ihdr);
  for (;;) {
    const ChunkHeader h = chunks.ReadHeader();
    if (SameType(h.type, kIEND)) break;
    if (SameType(h.type, kGAMA)) {
      if (h.length >= 4 && data.size() - h.dataPos >= 4)
        p.fileGamma = Be32(data.data() + h.dataPos) / 100000.0;
      break;
    }
    chunks.Skip(h);
  }
  return p;
}

void TPNGGraphic::LoadFromMemory(std::span<const std::uint8_t> data) {
  try {
    PngLoader loader(data, limits_, props_, bitmap_, background_, transparent_color_,
                     transparency_);
    loader.Load();
  } catch (...) {
    bitmap_ = Bitmap();
    throw;
  }
}

Bitmap ReadPng(std::span<const std::uint8_t> data, const DecodeLimits& limits) {
  TPNGGraphic graphic(limits);
  graphic.LoadFromMemory(data);
  return graphic.TakePicture();
}

void ClearTransparentWhite(Bitmap& bitmap) {
  if (bitmap.Format() != PixelFormat::pf32bit) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row32(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (row[x] == 0x00FFFFFFu) row[x] = 0;
    }
  }
}

}  // namespace sapala::codecs
