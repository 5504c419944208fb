// Speed of the data layer at dictionary scale (200,000 rows of real Javanese headwords):
//  - loading the benchmark workbook (file, compound file, BIFF, SQLite tables and indexes);
//  - the prefix search with its fetch, against its peer in the same run: the same query and
//    fetch forced to scan the table (NOT INDEXED). The ratio is reported as a counter;
//  - the substring search through the trigram index against the same search scanning;
//  - a result opened for a grid (count and the rows on screen) against fetching all of it;
//  - the substring search and the whole table fetched, reported.
// The workbook is made on first use under the build tree by tools/benchbook's script from
// Debian's tesseract-ocr-jav word list; the benchmark says so and stops if it cannot.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "core/data/database.h"
#include "core/data/file.h"
#include "core/data/query.h"
#include "core/data/search_sql.h"
#include "core/data/workbook.h"
#include "../support/bench_book.h"

namespace {

using namespace sapala::data;

const std::string& WorkbookPath() {
  static const std::string path = [] {
    const std::string p = std::string(SAPALA_BINARY_DIR) + "/bench-data/jav-200k.xls";
    if (!std::filesystem::exists(p)) {
      const std::string cmd = std::string(SAPALA_SOURCE_DIR) +
                              "/tools/benchbook/make-bench-workbook.sh '" + SAPALA_BENCHBOOK +
                              "' '" + p + "' 200000";
      std::fprintf(stderr, "making the benchmark workbook: %s\n", cmd.c_str());
      if (std::system(cmd.c_str()) != 0) {
        std::fprintf(stderr, "cannot make the benchmark workbook (see above)\n");
        std::exit(1);
      }
    }
    return p;
  }();
  return path;
}

// One table "warna" of all 200,000 rows: the workbook's sheets (50,000 rows each, BIFF8's
// row limit being 65,536) joined, loaded with the same code as any sheet.
struct Dictionary {
  Connection connection;
  std::vector<std::string> prefixes;  // 3-character prefixes of random headwords
  Dictionary() {
    connection.OpenDatabase(sapala::bench::LoadBenchBook(WorkbookPath()), "benchmark");
    Query q(&connection);
    q.SetSql("select ID from warna");
    q.Open();
    if (q.RecordCount() != 200000) {
      std::fprintf(stderr, "benchmark table has %zu rows, want 200000\n", q.RecordCount());
      std::exit(1);
    }
    std::mt19937 rng(7);
    while (prefixes.size() < 64) {
      const std::string id = q.Value(rng() % q.RecordCount(), 0).value_or("");
      // Three characters, not bytes: stop before a UTF-8 continuation byte.
      std::size_t end = 0;
      for (int k = 0; k < 3 && end < id.size(); ++k) {
        ++end;
        while (end < id.size() && (static_cast<unsigned char>(id[end]) & 0xC0) == 0x80) ++end;
      }
      if (end > 0) prefixes.push_back(id.substr(0, end));
    }
  }
  static Dictionary& Get() {
    static Dictionary d;
    return d;
  }
};

void BM_LoadWorkbook200k(benchmark::State& state) {
  WorkbookPath();
  for (auto _ : state) {
    Connection c;
    c.OpenWorkbook(WorkbookPath());
    benchmark::DoNotOptimize(c.database());
  }
  state.counters["rows"] = 200000;
}
BENCHMARK(BM_LoadWorkbook200k)->Unit(benchmark::kMillisecond)->Iterations(5);

std::size_t RunQuery(Query& q, const std::string& sql) {
  q.SetSql(sql);
  q.Open();
  std::size_t bytes = 0;
  const std::size_t id = q.FieldIndex("ID");
  for (std::size_t r = 0; r < q.RecordCount(); ++r) bytes += q.Value(r, id).value_or("").size();
  return bytes;
}

std::string ScanSql(const std::string& prefix) {
  const std::string sql = PrefixSearchSql(prefix);
  return "select*from warna not indexed" + sql.substr(std::string("select*from warna").size());
}

// Prefix query plus fetch, timed against the same query scanning the table.
void BM_PrefixVersusScan200k(benchmark::State& state) {
  Dictionary& d = Dictionary::Get();
  Query q(&d.connection);
  double prefix_s = 0, scan_s = 0;
  std::size_t i = 0, rows = 0;
  for (auto _ : state) {
    const std::string& p = d.prefixes[i++ % d.prefixes.size()];
    auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(RunQuery(q, PrefixSearchSql(p)));
    rows += q.RecordCount();
    auto t1 = std::chrono::steady_clock::now();
    const std::size_t want = q.RecordCount();
    benchmark::DoNotOptimize(RunQuery(q, ScanSql(p)));
    auto t2 = std::chrono::steady_clock::now();
    if (q.RecordCount() != want) state.SkipWithError("the scan found other rows than the index");
    prefix_s += std::chrono::duration<double>(t1 - t0).count();
    scan_s += std::chrono::duration<double>(t2 - t1).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["prefix_us"] = prefix_s / n * 1e6;
  state.counters["scan_us"] = scan_s / n * 1e6;
  state.counters["ratio"] = prefix_s / scan_s;
  state.counters["rows_found"] = static_cast<double>(rows) / n;
}
BENCHMARK(BM_PrefixVersusScan200k)->Unit(benchmark::kMillisecond);

void BM_PrefixQuery200k(benchmark::State& state) {
  Dictionary& d = Dictionary::Get();
  Query q(&d.connection);
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(RunQuery(q, PrefixSearchSql(d.prefixes[i++ % d.prefixes.size()])));
}
BENCHMARK(BM_PrefixQuery200k)->Unit(benchmark::kMicrosecond);

// The whole table fetched, as the program's start-up queries do.
void BM_SelectAll200k(benchmark::State& state) {
  Dictionary& d = Dictionary::Get();
  Query q(&d.connection);
  for (auto _ : state) benchmark::DoNotOptimize(RunQuery(q, "select*from warna"));
}
BENCHMARK(BM_SelectAll200k)->Unit(benchmark::kMillisecond);

// What a grid needs of a result: open it, count it, read the rows on screen.
std::size_t OpenForGrid(Query& q, const std::string& sql) {
  q.SetSql(sql);
  q.Open();
  std::size_t bytes = 0;
  for (std::size_t r = 0; r < 8 && r < q.RecordCount(); ++r)
    bytes += q.Value(r, 0).value_or("").size();
  return bytes;
}

// The substring search as the window runs it (through the trigram index), against the same
// search forced to scan the table; three-character texts, the shortest the index serves.
void BM_SubstringIndexVersusScan200k(benchmark::State& state) {
  Dictionary& d = Dictionary::Get();
  Query q(&d.connection);
  double index_s = 0, scan_s = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& p = d.prefixes[i++ % d.prefixes.size()];
    const std::string sql = SubstringSearchSql(p);
    auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(OpenForGrid(q, sql));
    auto t1 = std::chrono::steady_clock::now();
    const std::size_t want = q.RecordCount();
    if (q.RunningSql() == sql)
      state.SkipWithError("the substring search did not use the trigram index");
    benchmark::DoNotOptimize(OpenForGrid(
        q, "select*from warna not indexed" + sql.substr(std::string("select*from warna").size())));
    auto t2 = std::chrono::steady_clock::now();
    if (q.RecordCount() != want) state.SkipWithError("the scan found other rows than the index");
    index_s += std::chrono::duration<double>(t1 - t0).count();
    scan_s += std::chrono::duration<double>(t2 - t1).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["index_us"] = index_s / n * 1e6;
  state.counters["scan_us"] = scan_s / n * 1e6;
  state.counters["ratio"] = index_s / scan_s;
}
BENCHMARK(BM_SubstringIndexVersusScan200k)->Unit(benchmark::kMillisecond);

// A one-letter prefix (tens of thousands of rows) opened for a grid, against fetching every
// row of it, as queries did before they read on demand.
void BM_GridOpenVersusFetchAll200k(benchmark::State& state) {
  Dictionary& d = Dictionary::Get();
  Query q(&d.connection);
  double grid_s = 0, all_s = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string sql = PrefixSearchSql(d.prefixes[i++ % d.prefixes.size()].substr(0, 1));
    auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(OpenForGrid(q, sql));
    auto t1 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(RunQuery(q, sql));
    auto t2 = std::chrono::steady_clock::now();
    grid_s += std::chrono::duration<double>(t1 - t0).count();
    all_s += std::chrono::duration<double>(t2 - t1).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["grid_us"] = grid_s / n * 1e6;
  state.counters["all_us"] = all_s / n * 1e6;
  state.counters["ratio"] = grid_s / all_s;
}
BENCHMARK(BM_GridOpenVersusFetchAll200k)->Unit(benchmark::kMillisecond);

void BM_SubstringQuery200k(benchmark::State& state) {
  Dictionary& d = Dictionary::Get();
  Query q(&d.connection);
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(RunQuery(q, SubstringSearchSql(d.prefixes[i++ % d.prefixes.size()])));
}
BENCHMARK(BM_SubstringQuery200k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
