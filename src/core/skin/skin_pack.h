// Packed skins (".lsz"): reader (`TlcSkinConvertor`) and writer.
//
// Layout, all integers 32-bit little-endian: magic "LSzf", entry count N, then N entries of
// { name length L, L name bytes, inflated size S, one zlib stream inflating to exactly S bytes }.
// The next entry begins right after the previous stream ends. The entry named "Options.dat"
// (compared upper-cased) is the skin text; every other entry is an item, kept in file order.
//
// Outside data is bounded: N, L and each S are checked against fixed limits and against the bytes
// actually present (a deflate stream cannot inflate more than kMaxInflateRatio times its size),
// so a lying header is refused before anything is allocated for it. A stream that ends before S
// bytes, or would give more, is an error. A packed skin without "Options.dat" is refused.
// Every failure raises SkinError and leaves the reader empty.
//
// A BMP entry holding a plain 32-bit picture (40-byte info header, no compression, rows ending
// where the entry ends, at most kMaxDirectSide pixels a side) is inflated straight into a bitmap:
// the picture is ready when reading ends, and no second copy of the file is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/uninit_vector.h"
#include "core/graphics/bitmap.h"

namespace sapala::skin {

class FileSystem;

using Bytes = std::vector<std::uint8_t>;
// An inflated entry: sized before the stream is inflated into it, so not zero-filled first.
using InflatedBytes = UninitVector<std::uint8_t>;

// One picture (or other file) of a packed skin.
struct TlcImageItem {
  std::string Name;       // as stored
  bool IsBitmap = false;  // the name's extension, upper-cased, is ".BMP"
  // The inflated bytes; for a BMP entry read into Pixels, only the bytes before its rows.
  InflatedBytes Data;
  // A plain 32-bit BMP entry's picture (bytes B, G, R and the fourth byte as alpha, as the BMP
  // reader gives it); empty for every other entry, and once taken.
  graphics::Bitmap Pixels;
  bool PixelsTaken = false;  // Pixels was moved out (TakePixels): the entry is no longer whole
};

// The entry as the file that was packed: Data, then the rows of Pixels in the file's order.
// Raises SkinError for an entry whose pixels were taken.
Bytes EntryFileBytes(const TlcImageItem& item);

class TlcSkinConvertor {
 public:
  static constexpr std::uint32_t kMaxEntries = 4096;
  static constexpr std::uint32_t kMaxNameLength = 1024;
  static constexpr std::uint32_t kMaxEntryBytes = 64u << 20;   // one inflated entry
  static constexpr std::uint64_t kMaxTotalBytes = 256u << 20;  // all entries together
  static constexpr std::uint64_t kMaxInflateRatio = 1032;      // deflate's best ratio, rounded up
  static constexpr std::size_t kMaxFileBytes = 256u << 20;     // a packed file read from disk
  // Largest side of a BMP entry read straight into a bitmap; larger ones are left to the reader
  // of the picture and its limits (which refuse them for skins).
  static constexpr int kMaxDirectSide = 8192;

  // Reads the file when it exists (nothing is read otherwise; the reader stays empty).
  void ReadPackedFile(const FileSystem& fs, const std::string& fileName);
  // Reads a packed skin held in memory from its first byte.
  void ReadPacked(std::span<const std::uint8_t> source);

  // First item whose upper-cased name equals `name` exactly; nullptr when none.
  const TlcImageItem* FindItem(std::string_view name) const;

  // Moves the picture out of the first item named `name` (upper-cased, as FindItem) when it was
  // read into Pixels; an empty bitmap otherwise. The item keeps only its header bytes after this,
  // so the caller takes it only when nothing else will ask for that picture.
  graphics::Bitmap TakePixels(std::string_view name);

  const std::vector<TlcImageItem>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& SkinText() const { return skinText_; }
  bool HasSkinText() const { return hasSkinText_; }

  void Clear();

 private:
  std::vector<TlcImageItem> items_;
  std::string skinText_;
  bool hasSkinText_ = false;
};

// A file to pack: name as it will be stored, raw bytes.
struct PackEntry {
  std::string name;
  Bytes data;
};

// Writes a packed skin. Raises SkinError when an entry breaks a limit the reader enforces
// (so whatever is written can be read back).
Bytes WritePacked(std::span<const PackEntry> entries);

// The Adler-32 checksum of `bytes` continuing from `adler` (1 to start), as zlib streams carry
// it. Where SSE2 is available it sums 16 bytes a step, and packed entries are checked with it.
std::uint32_t Adler32(std::uint32_t adler, std::span<const std::uint8_t> bytes);

// The files of a skin folder (not its sub-folders) as pack entries: "Options.dat" first, the others
// sorted by name. Raises SkinError when the folder has no "Options.dat" or a file cannot be read.
std::vector<PackEntry> CollectFolder(const FileSystem& fs, const std::string& folder);

// True when the upper-cased extension of `name` (from its last ".") equals `extUpper`.
bool HasExtensionUpper(std::string_view name, std::string_view extUpper);

}  // namespace sapala::skin
