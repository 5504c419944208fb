// Reader of Excel 97-2003 workbooks: the BIFF8 records that real spreadsheet programs write
// (and the 8-bit strings of BIFF5), inside an OLE2 compound file or as a bare stream.
//
// What is read: the sheet list (BOUNDSHEET), CODEPAGE, the shared string table (SST with its
// CONTINUE records), and the cells LABELSST, LABEL, RSTRING, NUMBER, RK, MULRK, BOOLERR and
// FORMULA with its cached result (a STRING record for text). BLANK and MULBLANK hold no value.
// Every cell becomes text, in UTF-8: numbers that are whole print without decimals.
//
// Bounds: the file is at most kMaxWorkbookBytes, a sheet at most 65,536 rows and 256 columns,
// and the text of all cells together at most kMaxCellTextBytes; anything malformed, truncated
// or over a limit throws DataError. Chart, macro and module sheets are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sapala::data {

inline constexpr std::size_t kMaxWorkbookBytes = std::size_t{256} << 20;
inline constexpr std::size_t kMaxCellTextBytes = std::size_t{128} << 20;
inline constexpr std::uint32_t kMaxRows = 65536;
inline constexpr std::uint32_t kMaxColumns = 256;

// One cell: its position and its text, an index into Workbook::strings.
struct Cell {
  std::uint32_t row = 0;
  std::uint32_t col = 0;
  std::uint32_t text = 0;
};

struct Sheet {
  std::string name;         // UTF-8
  std::vector<Cell> cells;  // sorted by row, then column; one cell per position
};

// Cell texts are kept one after another in one buffer (the shared strings first, then every
// other cell text): a workbook of 200,000 rows is a few large blocks, not 600,000 small ones,
// so that freeing it after loading gives its memory back whole.
struct Workbook {
  std::uint16_t code_page = 1252;
  std::string text;                 // every string, one after another
  std::vector<std::uint32_t> ends;  // string i is text[ends[i-1] (0 for the first), ends[i])
  std::vector<Sheet> sheets;        // worksheets only, in workbook order

  std::string_view String(std::uint32_t i) const {
    const std::uint32_t begin = i ? ends[i - 1] : 0;
    return std::string_view(text).substr(begin, ends[i] - begin);
  }
  std::string_view Text(const Cell& c) const { return String(c.text); }
  std::size_t StringCount() const { return ends.size(); }
  // Appends a string and returns its number.
  std::uint32_t AddString(std::string_view s) {
    text.append(s);
    ends.push_back(static_cast<std::uint32_t>(text.size()));
    return static_cast<std::uint32_t>(ends.size() - 1);
  }
};

// Reads a workbook from the bytes of a whole file (compound file holding a "Workbook" or
// "Book" stream) or of a bare BIFF stream.
Workbook ReadWorkbook(std::span<const std::uint8_t> file);

// Reads the BIFF stream itself (the content of the "Workbook" stream).
Workbook ReadBiffStream(std::span<const std::uint8_t> stream);

// Formats a cell number: whole numbers (up to 2^53) without decimals, others in the
// shortest form that reads back the same ("1.5", "0.1", "1e+300").
std::string FormatNumber(double value);

}  // namespace sapala::data
