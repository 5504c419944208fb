// BIFF workbook reader; see workbook.h.
#include "core/data/workbook.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/data/compound_file.h"
#include "core/base/byte_reader.h"
#include "core/data/error.h"
#include "core/data/text.h"

namespace sapala::data {
namespace {

// Record types.
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRString = 0x00D6;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kFormulaOld = 0x0406;
constexpr std::uint16_t kString = 0x0207;

[[noreturn]] void Fail(const std::string& what) {
  throw DataError("The workbook is damaged (" + what + ").");
}

// Little-endian fields at `at` of a record's data; one beyond the end is a damaged record.
void ReadPastEnd(const char*) { Fail("record too short"); }
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return ByteReader(b, ReadPastEnd).Le16At(at);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return ByteReader(b, ReadPastEnd).Le32At(at);
}
double F64(std::span<const std::uint8_t> b, std::size_t at) {
  ByteReader r(b, ReadPastEnd);
  r.Seek(at);
  return r.LeF64();
}

struct Record {
  std::uint16_t type = 0;
  std::span<const std::uint8_t> data;
  std::size_t offset = 0;  // of the record header in the stream
};

// Walks the records of a BIFF stream.
class RecordReader {
 public:
  explicit RecordReader(std::span<const std::uint8_t> stream) : stream_(stream) {}

  void Seek(std::size_t offset) {
    if (offset > stream_.size()) Fail("sheet offset beyond the stream");
    pos_ = offset;
  }
  bool AtEnd() const { return pos_ + 4 > stream_.size(); }

  Record Next() {
    if (AtEnd()) Fail("stream ends before its EOF record");
    Record r;
    r.offset = pos_;
    r.type = U16(stream_, pos_);
    const std::size_t len = U16(stream_, pos_ + 2);
    if (pos_ + 4 + len > stream_.size()) Fail("record longer than its stream");
    r.data = stream_.subspan(pos_ + 4, len);
    pos_ += 4 + len;
    return r;
  }

  // The data of the CONTINUE records that follow the current position.
  std::vector<std::span<const std::uint8_t>> Continues() {
    std::vector<std::span<const std::uint8_t>> out;
    while (!AtEnd() && U16(stream_, pos_) == kContinue) out.push_back(Next().data);
    return out;
  }

 private:
  std::span<const std::uint8_t> stream_;
  std::size_t pos_ = 0;
};

// Reads the data of a record and its CONTINUE records as one sequence, except for the
// characters of strings: when those run over into a CONTINUE record, it begins with a fresh
// option byte that says whether the rest is 8- or 16-bit.
class SegmentReader {
 public:
  explicit SegmentReader(std::vector<std::span<const std::uint8_t>> segments)
      : segments_(std::move(segments)) {}

  bool AtEnd() {
    SkipEmpty();
    return seg_ >= segments_.size();
  }

  std::uint8_t U8() {
    SkipEmpty();
    if (seg_ >= segments_.size()) Fail("string data truncated");
    return segments_[seg_][pos_++];
  }
  std::uint16_t U16v() {
    const std::uint16_t lo = U8();
    return static_cast<std::uint16_t>(lo | (U8() << 8));
  }
  std::uint32_t U32v() {
    const std::uint32_t lo = U16v();
    return lo | (static_cast<std::uint32_t>(U16v()) << 16);
  }
  void Skip(std::uint64_t n) {
    while (n > 0) {
      SkipEmpty();
      if (seg_ >= segments_.size()) Fail("string data truncated");
      const std::size_t step =
          static_cast<std::size_t>(std::min<std::uint64_t>(n, segments_[seg_].size() - pos_));
      pos_ += step;
      n -= step;
    }
  }

  // `count` characters, starting with the width given by `wide`, as UTF-8. In BIFF8 a run
  // of characters that goes on in the next record starts there with a fresh option byte;
  // BIFF5 strings are code-page bytes.
  std::string Chars(std::size_t count, bool wide, bool biff8, std::uint16_t code_page) {
    std::vector<std::uint8_t> units;  // UTF-16LE of the whole string (BIFF8)
    std::string narrow;               // code-page bytes (BIFF5)
    while (count > 0) {
      if (seg_ >= segments_.size()) Fail("string data truncated");
      if (pos_ >= segments_[seg_].size()) {
        ++seg_;
        pos_ = 0;
        if (seg_ >= segments_.size() || segments_[seg_].empty()) Fail("string data truncated");
        if (biff8) wide = (segments_[seg_][pos_++] & 1) != 0;
        continue;
      }
      const std::size_t width = wide ? 2 : 1;
      const std::size_t avail = (segments_[seg_].size() - pos_) / width;
      if (avail == 0) Fail("character split between records");
      const std::size_t take = std::min(avail, count);
      const auto bytes = segments_[seg_].subspan(pos_, take * width);
      if (!biff8) {
        narrow.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      } else if (wide) {
        units.insert(units.end(), bytes.begin(), bytes.end());
      } else {
        for (std::uint8_t b : bytes) {  // compressed UTF-16: the high byte is zero
          units.push_back(b);
          units.push_back(0);
        }
      }
      pos_ += take * width;
      count -= take;
    }
    return biff8 ? Utf16LeToUtf8(units) : CodePageToUtf8(narrow, code_page);
  }

 private:
  void SkipEmpty() {
    while (seg_ < segments_.size() && pos_ >= segments_[seg_].size()) {
      ++seg_;
      pos_ = 0;
    }
  }

  std::vector<std::span<const std::uint8_t>> segments_;
  std::size_t seg_ = 0;
  std::size_t pos_ = 0;
};

// A BIFF8 Unicode string (16-bit length, option byte, characters, rich-text runs and
// phonetic data skipped) or a BIFF5 byte string (16-bit or 8-bit length, code-page bytes).
std::string ReadString(SegmentReader& r, bool biff8, bool short_length, std::uint16_t code_page) {
  const std::size_t count = short_length ? r.U8() : r.U16v();
  if (!biff8) return r.Chars(count, false, false, code_page);
  const std::uint8_t options = r.U8();
  std::uint32_t runs = 0, ext = 0;
  if (options & 0x08) runs = r.U16v();
  if (options & 0x04) ext = r.U32v();
  std::string s = r.Chars(count, (options & 1) != 0, true, code_page);
  r.Skip(std::uint64_t{runs} * 4 + ext);
  return s;
}

std::string ReadString(std::span<const std::uint8_t> data, std::size_t at, bool biff8,
                       bool short_length, std::uint16_t code_page,
                       std::vector<std::span<const std::uint8_t>> more = {}) {
  if (at > data.size()) Fail("record too short");
  std::vector<std::span<const std::uint8_t>> segs{data.subspan(at)};
  segs.insert(segs.end(), more.begin(), more.end());
  SegmentReader r(std::move(segs));
  return ReadString(r, biff8, short_length, code_page);
}

double RkValue(std::uint32_t rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) ? v / 100 : v;
}

struct SheetInfo {
  std::string name;
  std::uint32_t offset = 0;
};

class Builder {
 public:
  explicit Builder(std::span<const std::uint8_t> stream) : records_(stream) {}

  Workbook Build() {
    ReadGlobals();
    for (const SheetInfo& info : sheet_infos_) ReadSheet(info);
    return std::move(book_);
  }

 private:
  std::uint32_t AddText(std::string s) {
    text_bytes_ += s.size();
    if (text_bytes_ > kMaxCellTextBytes) {
      throw DataError("The workbook holds more text than the dictionary can load.");
    }
    if (book_.StringCount() >= 0xFFFFFFFFu) Fail("too many strings");
    return book_.AddString(s);
  }

  void AddCell(Sheet& sheet, std::uint32_t row, std::uint32_t col, std::uint32_t text) {
    if (row >= kMaxRows) Fail("row number out of range");
    if (col >= kMaxColumns) Fail("column number out of range");
    // Shared strings are counted once per use: each use becomes a copy in the database.
    if (text < sst_count_) {
      text_bytes_ += book_.String(text).size();
      if (text_bytes_ > kMaxCellTextBytes) {
        throw DataError("The workbook holds more text than the dictionary can load.");
      }
    }
    sheet.cells.push_back(Cell{row, col, text});
  }

  void ReadGlobals() {
    const Record bof = records_.Next();
    if (bof.type != kBof) {
      if ((bof.type & 0xFF) == 0x09) {
        throw DataError(
            "The workbook is in an Excel format older than Excel 5; save it as "
            "an Excel 97-2003 workbook.");
      }
      Fail("no BOF record at the start");
    }
    const std::uint16_t version = U16(bof.data, 0);
    if (version == 0x0600) {
      biff8_ = true;
    } else if (version == 0x0500) {
      biff8_ = false;
    } else {
      Fail("unknown BIFF version");
    }
    if (U16(bof.data, 2) != 0x0005) Fail("the stream does not begin with the workbook globals");
    for (;;) {
      const Record r = records_.Next();
      switch (r.type) {
        case kEof:
          return;
        case kFilePass:
          throw DataError("The workbook is protected by a password and cannot be read.");
        case kCodePage:
          book_.code_page = U16(r.data, 0);
          break;
        case kBoundSheet: {
          SheetInfo info;
          info.offset = U32(r.data, 0);
          const std::uint8_t type = static_cast<std::uint8_t>(U16(r.data, 4) >> 8);
          info.name = ReadString(r.data, 6, biff8_, true, book_.code_page);
          if (type == 0) sheet_infos_.push_back(std::move(info));  // worksheets only
          break;
        }
        case kSst:
          ReadSst(r);
          break;
        case kBof:
          Fail("unexpected BOF in the workbook globals");
        default:
          break;
      }
    }
  }

  void ReadSst(const Record& r) {
    if (sst_read_) Fail("second shared string table");
    sst_read_ = true;
    const std::uint32_t unique = U32(r.data, 4);
    std::vector<std::span<const std::uint8_t>> segs{r.data.subspan(8)};
    for (auto s : records_.Continues()) segs.push_back(s);
    std::size_t total = 0;
    for (auto s : segs) total += s.size();
    // Each string takes at least 3 bytes, so the data bounds how many there can be, whatever
    // the count says.
    book_.ends.reserve(std::min<std::size_t>(unique, total / 3 + 1));
    SegmentReader reader(std::move(segs));
    for (std::uint32_t i = 0; i < unique && !reader.AtEnd(); ++i) {
      std::string s = ReadString(reader, true, false, book_.code_page);
      text_bytes_ += s.size();
      if (text_bytes_ > kMaxCellTextBytes) {
        throw DataError("The workbook holds more text than the dictionary can load.");
      }
      book_.AddString(s);
    }
    sst_count_ = book_.StringCount();
    text_bytes_ = 0;  // counted again per use, in AddCell
  }

  void ReadSheet(const SheetInfo& info) {
    records_.Seek(info.offset);
    const Record bof = records_.Next();
    if (bof.type != kBof) Fail("sheet \"" + info.name + "\" does not begin with BOF");
    const std::uint16_t kind = U16(bof.data, 2);
    Sheet sheet;
    sheet.name = info.name;
    int depth = 1;                // embedded charts bring their own BOF ... EOF
    bool pending_string = false;  // a FORMULA whose text follows in STRING
    std::uint32_t pending_row = 0, pending_col = 0;
    while (depth > 0) {
      const Record r = records_.Next();
      if (r.type == kBof) {
        ++depth;
        if (depth > 8) Fail("substreams nested too deep");
        continue;
      }
      if (r.type == kEof) {
        --depth;
        continue;
      }
      if (depth != 1 || kind != 0x0010) continue;  // only the worksheet's own cells
      const auto& d = r.data;
      switch (r.type) {
        case kLabelSst: {
          const std::uint32_t index = U32(d, 6);
          if (index >= sst_count_) Fail("shared string index out of range");
          AddCell(sheet, U16(d, 0), U16(d, 2), index);
          break;
        }
        case kLabel:
        case kRString: {
          // Long labels may run on into CONTINUE records.
          std::vector<std::span<const std::uint8_t>> more;
          if (r.type == kLabel) more = records_.Continues();
          std::string s = ReadString(d, 6, biff8_, false, book_.code_page, std::move(more));
          AddCell(sheet, U16(d, 0), U16(d, 2), AddText(std::move(s)));
          break;
        }
        case kNumber:
          AddCell(sheet, U16(d, 0), U16(d, 2), AddText(FormatNumber(F64(d, 6))));
          break;
        case kRk:
          AddCell(sheet, U16(d, 0), U16(d, 2), AddText(FormatNumber(RkValue(U32(d, 6)))));
          break;
        case kMulRk: {
          if (d.size() < 6 || (d.size() - 6) % 6 != 0) Fail("MULRK record of a wrong size");
          const std::uint32_t row = U16(d, 0);
          const std::uint32_t first = U16(d, 2);
          const std::size_t n = (d.size() - 6) / 6;
          if (U16(d, d.size() - 2) != first + n - 1) Fail("MULRK column range");
          for (std::size_t i = 0; i < n; ++i) {
            const double v = RkValue(U32(d, 4 + 6 * i + 2));
            AddCell(sheet, row, static_cast<std::uint32_t>(first + i), AddText(FormatNumber(v)));
          }
          break;
        }
        case kBoolErr:
          // A boolean (error flag zero) becomes TRUE or FALSE; error codes stay empty.
          if (d.size() >= 8 && d[7] == 0) {
            AddCell(sheet, U16(d, 0), U16(d, 2), AddText(d[6] ? "TRUE" : "FALSE"));
          }
          break;
        case kFormula:
        case kFormulaOld: {
          const std::uint32_t row = U16(d, 0), col = U16(d, 2);
          if (U16(d, 12) != 0xFFFF) {
            AddCell(sheet, row, col, AddText(FormatNumber(F64(d, 6))));
          } else if (d[6] == 0) {
            pending_string = true;
            pending_row = row;
            pending_col = col;
          } else if (d[6] == 1) {
            AddCell(sheet, row, col, AddText(d[8] ? "TRUE" : "FALSE"));
          } else if (d[6] == 3) {
            AddCell(sheet, row, col, AddText(""));
          }
          break;
        }
        case kString: {
          if (!pending_string) break;  // a STRING without its FORMULA carries no cell
          auto more = records_.Continues();
          std::string s = ReadString(d, 0, biff8_, false, book_.code_page, std::move(more));
          AddCell(sheet, pending_row, pending_col, AddText(std::move(s)));
          pending_string = false;
          break;
        }
        default:
          break;
      }
    }
    if (kind != 0x0010) return;  // a dialog or macro sheet flagged as worksheet
    // Later cells at the same position replace earlier ones.
    std::stable_sort(sheet.cells.begin(), sheet.cells.end(), [](const Cell& a, const Cell& b) {
      return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    std::vector<Cell> unique;
    unique.reserve(sheet.cells.size());
    for (const Cell& c : sheet.cells) {
      if (!unique.empty() && unique.back().row == c.row && unique.back().col == c.col) {
        unique.back() = c;
      } else {
        unique.push_back(c);
      }
    }
    sheet.cells = std::move(unique);
    book_.sheets.push_back(std::move(sheet));
  }

  RecordReader records_;
  Workbook book_;
  std::vector<SheetInfo> sheet_infos_;
  bool biff8_ = true;
  bool sst_read_ = false;
  std::size_t sst_count_ = 0;
  std::size_t text_bytes_ = 0;
};

}  // namespace

std::string FormatNumber(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  if (value == std::floor(value) && std::fabs(value) <= 9007199254740992.0) {
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value));
    return std::string(buf, r.ptr);
  }
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

Workbook ReadBiffStream(std::span<const std::uint8_t> stream) { return Builder(stream).Build(); }

Workbook ReadWorkbook(std::span<const std::uint8_t> file) {
  if (file.size() > kMaxWorkbookBytes) {
    throw DataError("The workbook file is too large to be a dictionary.");
  }
  if (file.size() >= 4 && file[0] == 0x09 && file[1] == 0x08) return ReadBiffStream(file);
  const CompoundFile cf(file);
  int index = cf.FindRootStream("Workbook");
  if (index < 0) index = cf.FindRootStream("Book");
  if (index < 0) {
    throw DataError(
        "The file is a compound document but holds no workbook (no \"Workbook\" "
        "or \"Book\" stream).");
  }
  const std::vector<std::uint8_t> stream = cf.ReadStream(index);
  return ReadBiffStream(stream);
}

}  // namespace sapala::data
