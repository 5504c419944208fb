// BIFF reader: every cell record kind, strings split across CONTINUE records, the 8-bit
// strings of BIFF5 in their code page, and damaged streams (lying counts, records longer
// than their stream, truncation) that must fail with DataError.
#include "core/data/workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "biff_builder.h"
#include "core/data/compound_file_writer.h"
#include "core/data/error.h"

namespace sapala::data {
namespace {

using testing::B;
using testing::Bof;
using testing::Book;
using testing::Bytes;
using testing::Cat;
using testing::Eof;
using testing::Rec;

// The cells of the first sheet as "row,col" -> text.
std::map<std::string, std::string> Cells(const Workbook& book, std::size_t sheet = 0) {
  std::map<std::string, std::string> out;
  for (const Cell& c : book.sheets.at(sheet).cells) {
    out[std::to_string(c.row) + "," + std::to_string(c.col)] = book.Text(c);
  }
  return out;
}

Bytes Sst(std::initializer_list<std::string> latin1) {
  B d;
  d.u32(static_cast<std::uint32_t>(latin1.size())).u32(static_cast<std::uint32_t>(latin1.size()));
  for (const auto& s : latin1) d.str8(s);
  return Rec(0x00FC, d.b);
}

std::uint32_t RkInt(std::int32_t v) { return (static_cast<std::uint32_t>(v) << 2) | 2; }

TEST(Workbook, EveryCellKind) {
  const Bytes cells = Cat({
      Rec(0x00FD, B().u16(0).u16(0).u16(15).u32(1).b),                             // LABELSST
      Rec(0x0204, B().u16(0).u16(1).u16(15).str8("l\xE9l\xE9").b),                 // LABEL, 8-bit
      Rec(0x0204, B().u16(0).u16(2).u16(15).str16(u"\uA9A7\uA9BA").b),             // LABEL, 16-bit
      Rec(0x00D6, B().u16(1).u16(0).u16(15).str8("rich").u16(1).u16(0).u16(0).b),  // RSTRING
      Rec(0x0203, B().u16(1).u16(1).u16(15).f64(12345).b),                         // NUMBER
      Rec(0x0203, B().u16(1).u16(2).u16(15).f64(-0.5).b),
      Rec(0x027E, B().u16(2).u16(0).u16(15).u32(RkInt(-7)).b),        // RK integer
      Rec(0x027E, B().u16(2).u16(1).u16(15).u32(RkInt(1234) | 1).b),  // RK integer / 100
      Rec(0x00BD, B().u16(3)
                      .u16(0)
                      .u16(15)
                      .u32(RkInt(1))
                      .u16(15)
                      .u32(RkInt(2))
                      .u16(15)
                      .u32(RkInt(3))
                      .u16(2)
                      .b),                                      // MULRK
      Rec(0x0201, B().u16(4).u16(0).u16(15).b),                 // BLANK
      Rec(0x00BE, B().u16(4).u16(1).u16(15).u16(15).u16(2).b),  // MULBLANK
      Rec(0x0205, B().u16(5).u16(0).u16(15).u8(1).u8(0).b),     // BOOLERR: TRUE
      Rec(0x0205, B().u16(5).u16(1).u16(15).u8(7).u8(1).b),     // BOOLERR: #DIV/0!
      // FORMULA with a number, with text (STRING follows, after a SHRFMLA), an empty text.
      Rec(0x0006, B().u16(6).u16(0).u16(15).f64(3).u16(0).u32(0).u16(0).b),
      Rec(0x0006, B().u16(6)
                      .u16(1)
                      .u16(15)
                      .u8(0)
                      .u8(0)
                      .u8(0)
                      .u8(0)
                      .u8(0)
                      .u8(0)
                      .u16(0xFFFF)
                      .u16(0)
                      .u32(0)
                      .u16(0)
                      .b),
      Rec(0x04BC, B().u32(0).u16(0).b),
      Rec(0x0207, B().str16(u"gor\u00E8ng").b),
      Rec(0x0006, B().u16(6)
                      .u16(2)
                      .u16(15)
                      .u8(3)
                      .u8(0)
                      .u8(0)
                      .u8(0)
                      .u8(0)
                      .u8(0)
                      .u16(0xFFFF)
                      .u16(0)
                      .u32(0)
                      .u16(0)
                      .b),
  });
  const Bytes stream = Book("warna", Sst({"zero", "m\xE3ng\xE3n"}), cells);
  const Workbook book = ReadBiffStream(stream);
  ASSERT_EQ(book.sheets.size(), 1u);
  EXPECT_EQ(book.sheets[0].name, "warna");
  const std::map<std::string, std::string> want = {
      {"0,0", "m\xC3\xA3ng\xC3\xA3n"},
      {"0,1", "l\xC3\xA9l\xC3\xA9"},
      {"0,2", "\xEA\xA6\xA7\xEA\xA6\xBA"},
      {"1,0", "rich"},
      {"1,1", "12345"},
      {"1,2", "-0.5"},
      {"2,0", "-7"},
      {"2,1", "12.34"},
      {"3,0", "1"},
      {"3,1", "2"},
      {"3,2", "3"},
      {"5,0", "TRUE"},
      {"6,0", "3"},
      {"6,1", "gor\xC3\xA8ng"},
      {"6,2", ""},
  };
  EXPECT_EQ(Cells(book), want);
}

TEST(Workbook, SharedStringsAcrossContinueRecords) {
  // String 0 starts 8-bit in the SST and goes on 16-bit in the first CONTINUE (a fresh option
  // byte); string 1 has rich-text runs and phonetic data that themselves run over into the
  // second CONTINUE; string 2 begins at the start of the third record, with no option byte.
  const Bytes sst = Cat({
      Rec(0x00FC, B().u32(3).u32(3).u16(5).u8(0).raw("ab").b),
      Rec(0x003C, B().u8(1)
                      .u16(0xA9A7)
                      .u16(0xA9BA)
                      .u16(u'z')
                      .u16(2)
                      .u8(0x0C)
                      .u16(2)
                      .u32(3)
                      .raw("xy")
                      .u32(0)
                      .b),
      Rec(0x003C, B().u32(0).u8(1).u8(2).u8(3).b),
      Rec(0x003C, B().str8("third").b),
  });
  const Bytes cells = Cat({Rec(0x00FD, B().u16(1).u16(0).u16(15).u32(0).b),
                           Rec(0x00FD, B().u16(2).u16(0).u16(15).u32(1).b),
                           Rec(0x00FD, B().u16(3).u16(0).u16(15).u32(2).b)});
  const Workbook book = ReadBiffStream(Book("s", sst, cells));
  const std::map<std::string, std::string> want = {
      {"1,0", "ab\xEA\xA6\xA7\xEA\xA6\xBAz"}, {"2,0", "xy"}, {"3,0", "third"}};
  EXPECT_EQ(Cells(book), want);
}

TEST(Workbook, Biff5StringsUseTheCodePage) {
  const Bytes globals = Rec(0x0042, B().u16(1252).b);
  const Bytes cells = Rec(0x0204, B().u16(0).u16(0).u16(15).u16(4).raw("\x80\xE9\x92z").b);
  const Workbook book = ReadBiffStream(Book("Sh\xE9", globals, cells, 0x0500));
  EXPECT_EQ(book.sheets.at(0).name, "Sh\xC3\xA9");
  EXPECT_EQ(Cells(book).at("0,0"), "\xE2\x82\xAC\xC3\xA9\xE2\x80\x99z");
}

TEST(Workbook, LaterCellReplacesEarlierAndCellsAreSorted) {
  const Bytes cells = Cat({Rec(0x0203, B().u16(2).u16(1).u16(15).f64(1).b),
                           Rec(0x0203, B().u16(0).u16(3).u16(15).f64(2).b),
                           Rec(0x0203, B().u16(2).u16(1).u16(15).f64(9).b)});
  const Workbook book = ReadBiffStream(Book("s", {}, cells));
  const auto& c = book.sheets.at(0).cells;
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].row, 0u);
  EXPECT_EQ(book.Text(c[1]), "9");
}

TEST(Workbook, ChartAndMacroSheetsAndEmbeddedChartsAreSkipped) {
  // Sheet 1 is a chart sheet (BOUNDSHEET type 2); sheet 0 holds an embedded chart substream
  // whose records (here a NUMBER) are no cells of the sheet.
  Bytes out = Bof(0x0005);
  const std::size_t p0 = out.size() + 4;
  out = Cat({out, Rec(0x0085, B().u32(0).u8(0).u8(0).u8(1).u8(0).raw("a").b)});
  const std::size_t p1 = out.size() + 4;
  out = Cat({out, Rec(0x0085, B().u32(0).u8(0).u8(2).u8(1).u8(0).raw("c").b), Eof()});
  auto patch = [&out](std::size_t at, std::size_t v) {
    for (int i = 0; i < 4; ++i)
      out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  patch(p0, out.size());
  out = Cat({out, Bof(0x0010), Rec(0x0203, B().u16(0).u16(0).u16(15).f64(1).b), Bof(0x0020),
             Rec(0x0203, B().u16(5).u16(5).u16(15).f64(2).b), Eof(), Eof()});
  patch(p1, out.size());
  out = Cat({out, Bof(0x0020), Eof()});
  const Workbook book = ReadBiffStream(out);
  ASSERT_EQ(book.sheets.size(), 1u);
  EXPECT_EQ(Cells(book), (std::map<std::string, std::string>{{"0,0", "1"}}));
}

TEST(Workbook, FormatNumber) {
  struct Case {
    double in;
    std::string want;
  } cases[] = {{0, "0"},
               {-0.0, "0"},
               {42, "42"},
               {-7, "-7"},
               {1.5, "1.5"},
               {0.1, "0.1"},
               {1e15, "1000000000000000"},
               {9007199254740992.0, "9007199254740992"},
               {1e300, "1e+300"},
               {1.0 / 3, "0.3333333333333333"}};
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.in), c.want) << "case " << n;
    ++n;
  }
}

TEST(Workbook, FoundInsideACompoundFileUnderEitherName) {
  const Bytes stream = Book("s", {}, Rec(0x0203, B().u16(0).u16(0).u16(15).f64(5).b));
  for (const char* name : {"Workbook", "Book", "WORKBOOK"}) {
    const auto file = WriteCompoundFile({{"Other", {1, 2, 3}}, {name, stream}});
    EXPECT_EQ(Cells(ReadWorkbook(file)).at("0,0"), "5") << name;
  }
  const auto none = WriteCompoundFile({{"Other", stream}});
  EXPECT_THROW(ReadWorkbook(none), DataError);
}

TEST(Workbook, DamagedStreamsFailCleanly) {
  const Bytes sst = Sst({"a", "b"});
  const Bytes label = Rec(0x00FD, B().u16(0).u16(0).u16(15).u32(1).b);
  struct Case {
    std::string what;
    Bytes stream;
  } cases[] = {
      {"empty stream", {}},
      {"no BOF", Cat({Eof()})},
      {"BIFF version 7", Rec(0x0809, B().u16(0x0700).u16(5).b)},
      {"BIFF2 file", Rec(0x0009, B().u16(2).u16(0x10).b)},
      {"worksheet BOF first", Cat({Bof(0x0010), Eof()})},
      {"globals never end", Bof(0x0005)},
      {"record longer than its stream", Cat({Bof(0x0005), B().u16(0x0042).u16(200).u16(1252).b})},
      {"password protected", Book("s", Rec(0x002F, B().u16(0).b), {})},
      {"shared string index out of range", Book("s", sst, Rec(0x00FD, B().u16(0).u16(0).u16(15).u32(2).b))},
      {"LABELSST without an SST", Book("s", {}, label)},
      {"SST string longer than its data", Book("s", Rec(0x00FC, B().u32(1).u32(1).u16(50).u8(0).raw("abc").b), {})},
      {"SST continue without option byte room",
       Book("s", Cat({Rec(0x00FC, B().u32(1).u32(1).u16(4).u8(1).u16('a').b), Rec(0x003C, {})}), {})},
      {"16-bit character split between records",
       Book("s", Cat({Rec(0x00FC, B().u32(1).u32(1).u16(2).u8(1).u8('a').b),
                      Rec(0x003C, B().u8(1).u16('b').b)}), {})},
      {"SST rich runs beyond the data", Book("s", Rec(0x00FC, B().u32(1).u32(1).u16(1).u8(8).u16(500).raw("a").b), {})},
      {"SST phonetic size lies", Book("s", Rec(0x00FC, B().u32(1).u32(1).u16(1).u8(4).u32(0xFFFFFFF0).raw("a").b), {})},
      {"sheet offset beyond the stream",
       Cat({Bof(0x0005), Rec(0x0085, B().u32(0x7FFFFFFF).u8(0).u8(0).u8(1).u8(0).raw("s").b), Eof()})},
      {"sheet never ends", [] {
         Bytes b = Book("s", {}, Rec(0x0203, B().u16(0).u16(0).u16(15).f64(1).b));
         b.resize(b.size() - 4);  // drop the sheet's EOF
         return b;
       }()},
      {"truncated cell record", Book("s", {}, Rec(0x0203, B().u16(0).u16(0).u16(15).u32(0).b))},
      {"column beyond 255", Book("s", {}, Rec(0x0203, B().u16(0).u16(300).u16(15).f64(1).b))},
      {"MULRK of a wrong size", Book("s", {}, Rec(0x00BD, B().u16(0).u16(0).u16(15).u32(2).u16(9).u16(0).b))},
      {"MULRK column range lies", Book("s", {}, Rec(0x00BD, B().u16(0).u16(0).u16(15).u32(2).u16(7).b))},
      {"LABEL longer than its record", Book("s", {}, Rec(0x0204, B().u16(0).u16(0).u16(15).u16(9).u8(0).raw("ab").b))},
      {"substreams nested too deep", [] {
         Bytes inner;
         for (int i = 0; i < 20; ++i) inner = Cat({inner, Bof(0x0020)});
         return Book("s", {}, inner);
       }()},
  };
  for (const auto& c : cases) {
    try {
      ReadBiffStream(c.stream);
      ADD_FAILURE() << c.what << ": have success, want DataError";
    } catch (const DataError& e) {
      EXPECT_NE(std::string(e.what()), "") << c.what;
      if (std::getenv("SAPALA_SHOW_ERRORS")) std::printf("%s: %s\n", c.what.c_str(), e.what());
    }
  }
}

TEST(Workbook, LyingSharedStringCountAllocatesNothingLarge) {
  // The SST claims four billion strings but holds one; the reader takes what is there.
  const Bytes sst = Rec(0x00FC, B().u32(0xFFFFFFFF).u32(0xFFFFFFFF).str8("only").b);
  const Workbook book =
      ReadBiffStream(Book("s", sst, Rec(0x00FD, B().u16(0).u16(0).u16(15).u32(0).b)));
  EXPECT_EQ(Cells(book).at("0,0"), "only");
  EXPECT_LT(book.ends.capacity(), 16u);
}

TEST(Workbook, ManyUsesOfOneLongSharedStringHitTheTextLimit) {
  // One 65,535-character string used by LABELSST cells: each use becomes a copy in the
  // database, so the uses count against the text limit and the reader refuses the book
  // instead of exhausting memory.
  Bytes sst_data = B().u32(1).u32(1).u16(0xFFFF).u8(0).b;
  std::vector<Bytes> records;
  Bytes chunk = sst_data;
  std::size_t left = 0xFFFF;
  bool first = true;
  Bytes globals;
  while (left > 0) {
    const std::size_t take = std::min<std::size_t>(left, 8000);
    chunk.insert(chunk.end(), take, 'x');
    globals = Cat({globals, Rec(first ? 0x00FC : 0x003C, chunk)});
    left -= take;
    chunk = {0};  // the option byte of the next CONTINUE
    first = false;
  }
  Bytes cells;
  const std::size_t uses = kMaxCellTextBytes / 0xFFFF + 2;
  cells.reserve(uses * 14);
  for (std::size_t i = 0; i < uses; ++i) {
    cells = Cat({cells, Rec(0x00FD, B().u16(static_cast<std::uint32_t>(i / 256))
                                        .u16(static_cast<std::uint32_t>(i % 256))
                                        .u16(15)
                                        .u32(0)
                                        .b)});
  }
  EXPECT_THROW(ReadBiffStream(Book("s", globals, cells)), DataError);
}

}  // namespace
}  // namespace sapala::data
