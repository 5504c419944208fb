// Writer of Excel 97-2003 workbooks (BIFF8 in a compound file) whose cells are all text:
// the least a spreadsheet program needs (fonts, cell formats, window settings) plus, per
// sheet, its rows as LABELSST cells over one shared string table, or as LABEL cells.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sapala::data {

struct SheetData {
  std::string name;                            // UTF-8, 1 to 31 characters
  std::vector<std::vector<std::string>> rows;  // UTF-8; an empty string writes no cell
};

struct WorkbookWriteOptions {
  bool shared_strings = true;  // LABELSST over an SST; false writes LABEL records
};

// Limits are BIFF8's: 65,536 rows and 256 columns a sheet, 32,767 characters a cell.
// Throws DataError when a sheet is over them.
std::vector<std::uint8_t> WriteBiff8Stream(const std::vector<SheetData>& sheets,
                                           const WorkbookWriteOptions& options = {});

// The stream above inside a compound file, as the stream "Workbook".
std::vector<std::uint8_t> WriteWorkbook(const std::vector<SheetData>& sheets,
                                        const WorkbookWriteOptions& options = {});

}  // namespace sapala::data
