// BIFF8 workbook writer; see workbook_writer.h.
#include "core/data/workbook_writer.h"

#include <unordered_map>

#include "core/data/compound_file_writer.h"
#include "core/data/error.h"
#include "core/data/text.h"

namespace sapala::data {
namespace {

constexpr std::size_t kMaxData = 8224;  // bytes of data in one record
constexpr std::uint16_t kCellXf = 15;   // the one cell format, after the 15 style formats

class Stream {
 public:
  std::vector<std::uint8_t> bytes;

  void Record(std::uint16_t type, const std::vector<std::uint8_t>& data) {
    U16(type);
    U16(static_cast<std::uint16_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
  }
  void U16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
};

struct Data {
  std::vector<std::uint8_t> b;
  Data& u8(std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  Data& u16(std::uint32_t v) { return u8(v).u8(v >> 8); }
  Data& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
};

struct Encoded {
  std::u16string units;
  bool wide = false;
};

Encoded Encode(const std::string& utf8) {
  Encoded e;
  e.units = Utf8ToUtf16(utf8);
  for (char16_t u : e.units) e.wide |= u > 0xFF;
  if (e.units.size() > 32767) throw DataError("A cell holds more than 32,767 characters.");
  return e;
}

void AppendChars(Data& d, const std::u16string& units, std::size_t from, std::size_t count,
                 bool wide) {
  for (std::size_t i = from; i < from + count; ++i) {
    if (wide) {
      d.u16(units[i]);
    } else {
      d.u8(units[i]);
    }
  }
}

// A string with a 16-bit (or 8-bit for sheet and font names) length and an option byte.
void AppendString(Data& d, const std::string& utf8, bool short_length) {
  const Encoded e = Encode(utf8);
  if (short_length) {
    if (e.units.size() > 255) throw DataError("A name has more than 255 characters.");
    d.u8(static_cast<std::uint32_t>(e.units.size()));
  } else {
    d.u16(static_cast<std::uint32_t>(e.units.size()));
  }
  d.u8(e.wide ? 1 : 0);
  AppendChars(d, e.units, 0, e.units.size(), e.wide);
}

// The shared string table, cut into an SST record and CONTINUE records. A string's
// characters may run on into the next record, which then begins with its option byte.
void WriteSst(Stream& out, const std::vector<std::string>& strings, std::uint32_t total_uses) {
  std::vector<std::vector<std::uint8_t>> records(1);
  Data head;
  head.u32(total_uses).u32(static_cast<std::uint32_t>(strings.size()));
  records[0] = head.b;
  for (const std::string& s : strings) {
    const Encoded e = Encode(s);
    const std::size_t width = e.wide ? 2 : 1;
    // The header and at least one character must share a record.
    if (kMaxData - records.back().size() < 3 + width) records.emplace_back();
    Data d;
    d.u16(static_cast<std::uint32_t>(e.units.size())).u8(e.wide ? 1 : 0);
    records.back().insert(records.back().end(), d.b.begin(), d.b.end());
    std::size_t done = 0;
    while (done < e.units.size()) {
      std::size_t room = (kMaxData - records.back().size()) / width;
      if (room == 0) {
        records.emplace_back();
        records.back().push_back(e.wide ? 1 : 0);
        room = (kMaxData - 1) / width;
      }
      const std::size_t take = std::min(room, e.units.size() - done);
      Data chars;
      AppendChars(chars, e.units, done, take, e.wide);
      records.back().insert(records.back().end(), chars.b.begin(), chars.b.end());
      done += take;
    }
  }
  out.Record(0x00FC, records[0]);
  for (std::size_t i = 1; i < records.size(); ++i) out.Record(0x003C, records[i]);
}

void WriteGlobalsHead(Stream& out) {
  out.Record(0x0809, Data().u16(0x0600).u16(0x0005).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).b);
  out.Record(0x0042, Data().u16(1200).b);  // CODEPAGE: UTF-16
  out.Record(0x003D, Data()
                         .u16(0)
                         .u16(0)
                         .u16(0x3000)
                         .u16(0x1E00)
                         .u16(0x0038)
                         .u16(0)
                         .u16(0)
                         .u16(1)
                         .u16(0x0258)
                         .b);    // WINDOW1
  for (int i = 0; i < 5; ++i) {  // FONT: index 4 is never used by Excel, but must exist
    Data font;
    font.u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0);
    AppendString(font, "Arial", true);
    out.Record(0x0031, font.b);
  }
  for (int i = 0; i < 15; ++i) {  // style XFs
    out.Record(
        0x00E0,
        Data().u16(0).u16(0).u16(0xFFF5).u8(0x20).u8(0).u8(0).u8(0xF4).u32(0).u32(0).u16(0x20C0).b);
  }
  out.Record(0x00E0, Data()
                         .u16(0)
                         .u16(0)
                         .u16(0x0001)
                         .u8(0x20)
                         .u8(0)
                         .u8(0)
                         .u8(0)
                         .u32(0)
                         .u32(0)
                         .u16(0x20C0)
                         .b);                               // the cell XF
  out.Record(0x0293, Data().u16(0x8000).u8(0).u8(0xFF).b);  // STYLE "Normal"
}

}  // namespace

std::vector<std::uint8_t> WriteBiff8Stream(const std::vector<SheetData>& sheets,
                                           const WorkbookWriteOptions& options) {
  std::vector<std::string> strings;
  std::unordered_map<std::string, std::uint32_t> index;
  std::uint32_t uses = 0;
  for (const SheetData& sheet : sheets) {
    if (sheet.rows.size() > 65536) throw DataError("A sheet has more than 65,536 rows.");
    for (const auto& row : sheet.rows) {
      if (row.size() > 256) throw DataError("A sheet has more than 256 columns.");
      for (const auto& cell : row) {
        if (cell.empty() || !options.shared_strings) continue;
        ++uses;
        if (index.emplace(cell, static_cast<std::uint32_t>(strings.size())).second) {
          strings.push_back(cell);
        }
      }
    }
  }

  Stream out;
  WriteGlobalsHead(out);
  std::vector<std::size_t> patch;  // where each BOUNDSHEET's offset goes
  for (const SheetData& sheet : sheets) {
    if (Utf8ToUtf16(sheet.name).empty() || Utf8ToUtf16(sheet.name).size() > 31) {
      throw DataError("A sheet name must have 1 to 31 characters.");
    }
    Data d;
    d.u32(0).u8(0).u8(0);
    AppendString(d, sheet.name, true);
    patch.push_back(out.bytes.size() + 4);
    out.Record(0x0085, d.b);
  }
  if (options.shared_strings) WriteSst(out, strings, uses);
  out.Record(0x000A, {});

  for (std::size_t s = 0; s < sheets.size(); ++s) {
    const std::size_t at = out.bytes.size();
    for (int i = 0; i < 4; ++i)
      out.bytes[patch[s] + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(at >> (8 * i));
    const SheetData& sheet = sheets[s];
    std::size_t cols = 0;
    for (const auto& row : sheet.rows) cols = std::max(cols, row.size());
    out.Record(0x0809, Data().u16(0x0600).u16(0x0010).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).b);
    out.Record(0x0200, Data()
                           .u32(0)
                           .u32(static_cast<std::uint32_t>(sheet.rows.size()))
                           .u16(0)
                           .u16(static_cast<std::uint32_t>(cols))
                           .u16(0)
                           .b);  // DIMENSIONS
    out.Record(0x023E, Data()
                           .u16(s == 0 ? 0x06B6 : 0x02B6)
                           .u16(0)
                           .u16(0)
                           .u16(0x40)
                           .u16(0)
                           .u16(0)
                           .u16(0)
                           .u32(0)
                           .b);  // WINDOW2; the first sheet is selected
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
      for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) {
        const std::string& cell = sheet.rows[r][c];
        if (cell.empty()) continue;
        Data d;
        d.u16(static_cast<std::uint32_t>(r)).u16(static_cast<std::uint32_t>(c)).u16(kCellXf);
        if (options.shared_strings) {
          d.u32(index.at(cell));
          out.Record(0x00FD, d.b);
        } else {
          AppendString(d, cell, false);
          if (d.b.size() > kMaxData) throw DataError("A cell is too long for a LABEL record.");
          out.Record(0x0204, d.b);
        }
      }
    }
    out.Record(0x000A, {});
  }
  return std::move(out.bytes);
}

std::vector<std::uint8_t> WriteWorkbook(const std::vector<SheetData>& sheets,
                                        const WorkbookWriteOptions& options) {
  return WriteCompoundFile({CompoundStream{"Workbook", WriteBiff8Stream(sheets, options)}});
}

}  // namespace sapala::data
