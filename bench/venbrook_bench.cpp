// The native benchmarks. Each case runs beside its baseline, the physical
// limit of the same job, in the same process and run:
//   load_<product>/ours|bare_scan/<rows>   LoadDatabase vs one bare sqlite3 scan
//   load_other_table/ours|bare_scan/<rows> LoadDatabase of another product's database (its
//                                          machine table found) vs a bare scan of its two columns
//   load_by_content/ours|bare_scan/<rows>  LoadDatabase of a 云更新 copy under another name vs a
//                                          bare scan
//   load_text/ours|yungengxin/<rows>       LoadDatabase of the same machines as a GBK CSV vs the
//                                          云更新 LoadDatabase
//   load_dnsmasq/ours|yungengxin/<rows>    the same as a dnsmasq lease file
//   load_json/ours|yungengxin/<rows>       the same as a JSON lease list (Kea's answer)
//   load_aligned/ours|yungengxin/<rows>    the same as a GBK table laid out with blanks
//   load_typed/ours|yungengxin/<rows>      LoadDatabase of the 云更新 database with every tenth
//                                          machine's name typed (机器名.ini) vs the plain load
//   load_workbook/ours|text_list|bare_parse/<rows>
//                                          LoadDatabase of the same machines as an .xlsx workbook
//                                          vs the same as a GBK CSV, and vs the least a workbook
//                                          costs: every entry inflated and its XML parsed by expat
//                                          into handlers that do nothing
//   load_wide_sheet/ours|text_list|bare_parse/<rows>
//                                          LoadDatabase of a sheet 16,384 cells wide (.xlsx) vs a
//                                          GBK CSV of the same cells padded to the same bytes as
//                                          the sheet's XML, and vs its parts only inflated and parsed
//   export/ours|one_write/<rows>           ExportRows vs one write() of the same bytes
//   export/per_row_rewrite/<rows>          the file read and rewritten per row (once)
//   rename/ours|memcpy/<rows>              RenameRule::newNameInto vs memcpy of each name
//   check/ours|hash_only/<rows>            ListFindings::recompute vs one pass hashing the same bytes
//   select_all|invert|delete_all/ours|flag_pass/<rows>
//                                          the list's 全选, 反选 and 删除 of every row vs one pass
//                                          flipping a flag in as many records of a row's size
// and, in a process of its own (--memory=<rows>, --memory-text-list=<rows>,
// --memory-workbook=<rows>, --memory-aligned=<rows>), the peak resident
// memory of a loaded list, from the database, a text list, a workbook or an
// aligned table, against the bytes of its texts. A load includes the check of the list
// that the window makes after every change of the rows.
//
//   venbrook_bench --data=DIR [--smoke] [Google Benchmark flags]
//   venbrook_bench --data=DIR --memory=ROWS
//   venbrook_bench --data=DIR --memory-text-list=ROWS
//   venbrook_bench --data=DIR --memory-workbook=ROWS
//   venbrook_bench --data=DIR --memory-aligned=ROWS
//
// --smoke runs every case once at the smallest size: proof that it works,
// not a measurement. scripts/bench.sh runs everything and prints the table.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unzip.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/export_rows.h"
#include "commands/list_check_text.h"
#include "commands/load_database.h"
#include "commands/typed_naming.h"
#include "model/list_findings.h"
#include "model/machine_list.h"
#include "model/rename_rule.h"
#include "model/text_codec.h"
#include "sources/sqlite/source_connection.h"
#include "support/bench_data.h"

namespace venbrook::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kSmokeRows = 500;
constexpr int kSizes[] = {500, 10'000, 100'000};
constexpr int kPerRowRewriteRows = 10'000;  // quadratic: one size is enough to show it
constexpr int kRenameRows = 100'000;
constexpr int kCheckRows = 100'000;
constexpr int kWideSheetRows = 120;  // 50 MB of XML, within what the workbook reader inflates
constexpr int kSmokeWideSheetRows = 4;
constexpr int kSelectionRows = 100'000;
constexpr double kExportMoment = 45844.37850694444;  // 2025-07-06 09:05:03

struct Options {
  fs::path data = "bench-data";
  bool smoke = false;
  int memoryRows = 0;
  int memoryTextRows = 0;
  int memoryWorkbookRows = 0;
  int memoryAlignedRows = 0;
};

RenameRule BenchRule() { return {Gbk(kPrefixUtf8), Gbk(kFindUtf8), Gbk(kReplacementUtf8)}; }

class BenchView final : public LoadView {
 public:
  BenchView(Path path, RenameRule rule) : path_(std::move(path)), rule_(std::move(rule)) {}
  Path pathText() const override { return path_; }
  RenameRule renameRule() const override { return rule_; }
  void setCaption(std::string_view text) override { caption.assign(text); }
  void setStatusText(int, std::string_view text) override { status.assign(text); }
  void setSourceText(const MessageText& text) override { source = text.words + text.file.gbkShown() + text.wordsAfter; }
  std::string caption, status, source;

 private:
  Path path_;
  RenameRule rule_;
};

class BenchMessages final : public MessageSink {
 public:
  void showMessage(const MessageText& text, MessageIcon icon) override {
    last = text.words;
    failed = icon == MessageIcon::Error;
  }
  std::string last;
  bool failed = false;
};

// What the window does whenever the rows change: check them and word the
// summary. Every load below pays for it, as the operator does.
class CheckingObserver final : public MachineListObserver {
 public:
  explicit CheckingObserver(MachineList& list) : list_(list) { list_.setObserver(this); }
  ~CheckingObserver() { list_.setObserver(nullptr); }
  void rowsReset() override { check(); }
  void rowRemoved(int) override { check(); }
  void selectionChanged(int) override {}

 private:
  void check() {
    findings_.recompute(list_);
    summary_ = CheckSummaryText(findings_, list_.typedCount());
  }
  MachineList& list_;
  ListFindings findings_;
  std::string summary_;
};

const char* ProductName(SourceKind kind) { return kind == SourceKind::Yungengxin ? "yungengxin" : "wangweidashi"; }

// Lists loaded once per size, shared by the cases that only read them.
const MachineList& LoadedList(const Options& options, int rows) {
  static std::map<int, std::unique_ptr<MachineList>> lists;
  std::unique_ptr<MachineList>& list = lists[rows];
  if (!list) {
    list = std::make_unique<MachineList>();
    SourceConnection connection;
    BenchView view(CorePath(DatabaseFile(options.data, SourceKind::Yungengxin, rows)), BenchRule());
    LoadDatabase(connection, *list, view);
  }
  return *list;
}

// LoadDatabase of whatever file, as the path box hands it over.
void LoadFile(benchmark::State& state, const fs::path& file, int rows) {
  MachineList list;
  CheckingObserver checking(list);
  SourceConnection connection;
  BenchView view(CorePath(file), BenchRule());
  for (auto _ : state) {
    LoadDatabase(connection, list, view);
    benchmark::DoNotOptimize(list.count());
  }
  if (list.count() != rows) state.SkipWithError("the load did not read every row");
  state.counters["rows"] = rows;
}

void LoadOurs(benchmark::State& state, const Options& options, SourceKind kind, int rows) {
  LoadFile(state, DatabaseFile(options.data, kind, rows), rows);
}

void LoadDerived(benchmark::State& state, const Options& options, Derived what, int rows) {
  LoadFile(state, DerivedFile(options.data, what, rows), rows);
}

// A header and rows - 1 machines.
void LoadWideSheet(benchmark::State& state, const Options& options, WideSheet what, int rows) {
  LoadFile(state, WideSheetFile(options.data, what, rows), rows - 1);
}

// What a load of another product's table cannot go below: one scan of its
// two columns.
void LoadOtherTableBareScan(benchmark::State& state, const Options& options, int rows) {
  const fs::path file = DerivedFile(options.data, Derived::OtherProduct, rows);
  ScanResult result;
  for (auto _ : state) {
    result = BareScanQuery(file, "SELECT seat, mac FROM terminals");
    benchmark::DoNotOptimize(result.checksum);
  }
  if (result.rows != rows) state.SkipWithError("the bare scan did not read every row");
  state.counters["rows"] = rows;
}

void LoadCopyBareScan(benchmark::State& state, const Options& options, int rows) {
  const fs::path file = DerivedFile(options.data, Derived::ProductCopy, rows);
  ScanResult result;
  for (auto _ : state) {
    result = BareScan(file, SourceKind::Yungengxin);
    benchmark::DoNotOptimize(result.checksum);
  }
  if (result.rows != rows) state.SkipWithError("the bare scan did not read every row");
  state.counters["rows"] = rows;
}

// What reading a workbook cannot go below with the libraries it is read
// with: each entry of the archive inflated by minizip and its XML parsed by
// expat, the handlers doing nothing.
void BareParse(benchmark::State& state, const fs::path& file, int rows) {
  std::uint64_t bytes = 0;
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    bytes = 0;
    unzFile zip = unzOpen64(file.string().c_str());
    for (int at = unzGoToFirstFile(zip); at == UNZ_OK; at = unzGoToNextFile(zip)) {
      XML_Parser parser = XML_ParserCreate(nullptr);
      XML_SetElementHandler(parser, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
      XML_SetCharacterDataHandler(parser, [](void*, const XML_Char*, int) {});
      unzOpenCurrentFile(zip);
      for (int got; (got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0;) {
        XML_Parse(parser, buffer.data(), got, XML_FALSE);
        bytes += static_cast<std::uint64_t>(got);
      }
      XML_Parse(parser, "", 0, XML_TRUE);
      unzCloseCurrentFile(zip);
      XML_ParserFree(parser);
    }
    unzClose(zip);
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["rows"] = rows;
}

void LoadWorkbookBareParse(benchmark::State& state, const Options& options, int rows) {
  BareParse(state, DerivedFile(options.data, Derived::Workbook, rows), rows);
}

void WideSheetBareParse(benchmark::State& state, const Options& options, int rows) {
  BareParse(state, WideSheetFile(options.data, WideSheet::Workbook, rows), rows);
}

void LoadBareScan(benchmark::State& state, const Options& options, SourceKind kind, int rows) {
  const fs::path file = DatabaseFile(options.data, kind, rows);
  ScanResult result;
  for (auto _ : state) {
    result = BareScan(file, kind);
    benchmark::DoNotOptimize(result.checksum);
  }
  if (result.rows != rows) state.SkipWithError("the bare scan did not read every row");
  state.counters["rows"] = rows;
}

class ExportFolder {
 public:
  ExportFolder() : path_(fs::temp_directory_path() / ("venbrook-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
  }
  ~ExportFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ExportPlace place() const {
    const Path folder = CorePath(path_);
    return {[folder] { return folder; }, [] { return kExportMoment; }};
  }
  fs::path file() const { return path_ / "202576090503.txt"; }
  Path path() const { return CorePath(path_); }

 private:
  fs::path path_;
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A tenth of the café numbered with 编号… once (its 机器名.ini in a folder of
// its own); then every load puts those names over the rule's.
void LoadTyped(benchmark::State& state, const Options& options, int rows) {
  ExportFolder program;
  MachineList list;
  CheckingObserver checking(list);
  SourceConnection connection;
  BenchView view(CorePath(DatabaseFile(options.data, SourceKind::Yungengxin, rows)), BenchRule());
  TypedNaming naming(program.path());
  LoadDatabase(connection, list, view, &naming);
  for (int row = 0; row < list.count(); row += 10) list.setSelected(row, true);
  naming.number(list, {"T", 1, 6});
  for (auto _ : state) {
    LoadDatabase(connection, list, view, &naming);
    benchmark::DoNotOptimize(list.count());
  }
  if (list.count() != rows || list.typedCount() != (rows + 9) / 10)
    state.SkipWithError("the load did not name every tenth row");
  state.counters["rows"] = rows;
}

void ExportOurs(benchmark::State& state, const Options& options, int rows) {
  const MachineList& list = LoadedList(options, rows);
  ExportFolder folder;
  BenchMessages messages;
  const ExportPlace place = folder.place();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ExportRows(list, messages, place);
    state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
    fs::remove(folder.file());
  }
  if (messages.failed || messages.last.empty()) state.SkipWithError("the export failed");
  state.counters["rows"] = rows;
}

std::string ExportBytes(const Options& options, int rows) {
  ExportFolder folder;
  BenchMessages messages;
  ExportRows(LoadedList(options, rows), messages, folder.place());
  std::string bytes;
  if (FILE* in = std::fopen(folder.file().c_str(), "rb")) {
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.append(buffer, got);
    std::fclose(in);
  }
  return bytes;
}

bool WriteOnce(const fs::path& file, std::string_view bytes, int flags) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0644);
  if (fd < 0) return false;
  const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return ::close(fd) == 0 && written;
}

void ExportOneWrite(benchmark::State& state, const Options& options, int rows) {
  const std::string bytes = ExportBytes(options, rows);
  ExportFolder folder;
  bool ok = !bytes.empty();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ok &= WriteOnce(folder.file(), bytes, O_TRUNC);
    state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
    fs::remove(folder.file());
  }
  if (!ok) state.SkipWithError("the write failed");
  state.counters["rows"] = rows;
}

// What an export costs when each row reads the whole file back and writes
// it anew with the row's line added: the work grows with the square of the
// rows. Kept for comparison only.
void ExportPerRowRewrite(benchmark::State& state, const Options& options, int rows) {
  const std::string bytes = ExportBytes(options, rows);
  ExportFolder folder;
  bool ok = !bytes.empty();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::string content;
    for (std::size_t line = 0, next; line < bytes.size(); line = next) {
      next = bytes.find('\n', line) + 1;
      content.clear();
      if (const int fd = ::open(folder.file().c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        char buffer[65536];
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) content.append(buffer, got);
        ::close(fd);
      }
      content.append(bytes, line, next - line);
      ok &= WriteOnce(folder.file(), content, O_TRUNC);
    }
    state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
    fs::remove(folder.file());
  }
  if (!ok) state.SkipWithError("the rewrite failed");
  state.counters["rows"] = rows;
}

std::vector<std::string_view> Names(const Options& options, int rows, std::size_t& bytes) {
  const MachineList& list = LoadedList(options, rows);
  std::vector<std::string_view> names;
  bytes = 0;
  for (int i = 0; i < list.count(); ++i) {
    names.push_back(list.cellText(i, kMachineNameColumn));
    bytes += names.back().size();
  }
  return names;
}

void RenameOurs(benchmark::State& state, const Options& options, int rows) {
  std::size_t bytes = 0;
  const std::vector<std::string_view> names = Names(options, rows, bytes);
  const RenameRule rule = BenchRule();
  std::string out;
  for (auto _ : state) {
    for (std::string_view name : names) {
      rule.newNameInto(name, out);
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["rows"] = rows;
}

void RenameMemcpy(benchmark::State& state, const Options& options, int rows) {
  std::size_t bytes = 0;
  const std::vector<std::string_view> names = Names(options, rows, bytes);
  std::string out(4096, '\0');
  for (auto _ : state) {
    for (std::string_view name : names) {
      std::memcpy(out.data(), name.data(), name.size());
      benchmark::DoNotOptimize(out.data());
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["rows"] = rows;
}

void CheckOurs(benchmark::State& state, const Options& options, int rows) {
  const MachineList& list = LoadedList(options, rows);
  ListFindings findings;
  for (auto _ : state) {
    findings.recompute(list);
    benchmark::DoNotOptimize(findings.rowsWithAny());
  }
  if (findings.rowCount() != rows) state.SkipWithError("the check did not see every row");
  state.counters["rows"] = rows;
}

// FNV-1a over each row's new name and MAC, the bytes the check reads, with
// nothing kept: the least a hashing check must do.
void CheckHashOnly(benchmark::State& state, const Options& options, int rows) {
  const MachineList& list = LoadedList(options, rows);
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (int row = 0; row < list.count(); ++row) {
      for (const int column : {kNewNameColumn, kMacColumn}) {
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : list.cellText(row, column))
          hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        sum += hash;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["rows"] = rows;
}

enum class Selection { SelectAll, Invert, DeleteAll };
const char* SelectionName(Selection selection) {
  return selection == Selection::SelectAll ? "select_all" : selection == Selection::Invert ? "invert" : "delete_all";
}

// The list's own work for the command, from the one row a right click
// selects (全选, 反选) or from every row selected (删除); the window's view
// is measured under Wine.
void SelectionOurs(benchmark::State& state, const Options& options, Selection selection, int rows) {
  const MachineList& loaded = LoadedList(options, rows);
  MachineList list = loaded;
  list.setSelected(rows / 2, true);
  for (auto _ : state) {
    if (selection == Selection::DeleteAll) {
      list = loaded;
      list.selectAll();
    }
    const auto start = std::chrono::steady_clock::now();
    switch (selection) {
      case Selection::SelectAll: list.selectAll(); break;
      case Selection::Invert: list.invertSelection(); break;
      case Selection::DeleteAll: list.removeSelected(); break;
    }
    state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
    benchmark::DoNotOptimize(list.selectedCount());
  }
  const int selected = list.selectedCount();
  const bool done = selection == Selection::DeleteAll ? list.count() == 0
                    : selection == Selection::Invert ? selected == 1 || selected == rows - 1
                                                     : selected == rows;
  if (!done) state.SkipWithError("the command did not reach every row");
  state.counters["rows"] = rows;
}

// One pass that flips a flag in each of `rows` records the size of the
// list's own: the least a command that touches every row must do.
void SelectionFlagPass(benchmark::State& state, const Options&, int rows) {
  struct RowRecord {
    std::uint64_t start;
    std::uint32_t length[kColumnCount];
    bool selected;
  };
  std::vector<RowRecord> records(static_cast<std::size_t>(rows), RowRecord{});
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (RowRecord& record : records) record.selected = !record.selected;
    benchmark::ClobberMemory();
    state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
  }
  state.counters["rows"] = rows;
}

void Register(const Options& options) {
  std::vector<int> sizes(std::begin(kSizes), std::end(kSizes));
  if (options.smoke) sizes = {kSmokeRows};
  // Named <case>/<variant>/<rows>, which the table is made from.
  auto add = [&](const std::string& kase, const char* variant, int rows, auto function, auto... arguments) {
    const std::string name = kase + '/' + variant + '/' + std::to_string(rows);
    benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(
        name.c_str(), [=, &options](benchmark::State& state) { function(state, options, arguments...); });
    b->Unit(benchmark::kMillisecond);
    if (options.smoke) b->Iterations(1)->Repetitions(1);
    return b;
  };
  for (int rows : sizes) {
    for (SourceKind kind : {SourceKind::Yungengxin, SourceKind::Wangweidashi}) {
      const std::string kase = std::string("load_") + ProductName(kind);
      add(kase, "ours", rows, LoadOurs, kind, rows);
      add(kase, "bare_scan", rows, LoadBareScan, kind, rows);
    }
    add("load_other_table", "ours", rows, LoadDerived, Derived::OtherProduct, rows);
    add("load_other_table", "bare_scan", rows, LoadOtherTableBareScan, rows);
    add("load_other_table", "yungengxin", rows, LoadOurs, SourceKind::Yungengxin, rows);
    add("load_by_content", "ours", rows, LoadDerived, Derived::ProductCopy, rows);
    add("load_by_content", "bare_scan", rows, LoadCopyBareScan, rows);
    add("load_text", "ours", rows, LoadDerived, Derived::TextList, rows);
    add("load_text", "yungengxin", rows, LoadOurs, SourceKind::Yungengxin, rows);
    add("load_dnsmasq", "ours", rows, LoadDerived, Derived::DnsmasqLeases, rows);
    add("load_dnsmasq", "yungengxin", rows, LoadOurs, SourceKind::Yungengxin, rows);
    add("load_json", "ours", rows, LoadDerived, Derived::JsonLeases, rows);
    add("load_json", "yungengxin", rows, LoadOurs, SourceKind::Yungengxin, rows);
    add("load_aligned", "ours", rows, LoadDerived, Derived::AlignedTable, rows);
    add("load_aligned", "yungengxin", rows, LoadOurs, SourceKind::Yungengxin, rows);
    add("load_typed", "ours", rows, LoadTyped, rows);
    add("load_typed", "yungengxin", rows, LoadOurs, SourceKind::Yungengxin, rows);
    add("load_workbook", "ours", rows, LoadDerived, Derived::Workbook, rows);
    add("load_workbook", "text_list", rows, LoadDerived, Derived::TextList, rows);
    add("load_workbook", "bare_parse", rows, LoadWorkbookBareParse, rows);
    add("export", "ours", rows, ExportOurs, rows)->UseManualTime();
    add("export", "one_write", rows, ExportOneWrite, rows)->UseManualTime();
  }
  const int wideRows = options.smoke ? kSmokeWideSheetRows : kWideSheetRows;
  add("load_wide_sheet", "ours", wideRows, LoadWideSheet, WideSheet::Workbook, wideRows);
  add("load_wide_sheet", "text_list", wideRows, LoadWideSheet, WideSheet::Csv, wideRows);
  add("load_wide_sheet", "bare_parse", wideRows, WideSheetBareParse, wideRows);
  const int rewriteRows = options.smoke ? kSmokeRows : kPerRowRewriteRows;
  add("export", "per_row_rewrite", rewriteRows, ExportPerRowRewrite, rewriteRows)
      ->UseManualTime()
      ->Iterations(1)
      ->Repetitions(1);
  const int renameRows = options.smoke ? kSmokeRows : kRenameRows;
  add("rename", "ours", renameRows, RenameOurs, renameRows)->Unit(benchmark::kMicrosecond);
  add("rename", "memcpy", renameRows, RenameMemcpy, renameRows)->Unit(benchmark::kMicrosecond);
  const int checkRows = options.smoke ? kSmokeRows : kCheckRows;
  add("check", "ours", checkRows, CheckOurs, checkRows)->Unit(benchmark::kMicrosecond);
  add("check", "hash_only", checkRows, CheckHashOnly, checkRows)->Unit(benchmark::kMicrosecond);
  const int selectionRows = options.smoke ? kSmokeRows : kSelectionRows;
  for (Selection selection : {Selection::SelectAll, Selection::Invert, Selection::DeleteAll}) {
    add(SelectionName(selection), "ours", selectionRows, SelectionOurs, selection, selectionRows)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    add(SelectionName(selection), "flag_pass", selectionRows, SelectionFlagPass, selectionRows)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
  }
}

long PeakResidentBytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;  // Linux reports kilobytes
}

// One load of `rows` machines in a fresh process, from the 云更新 database
// or from the same machines as a text list, a workbook or an aligned table;
// prints one JSON line.
int MeasureMemory(const Options& options, int rows, std::optional<Derived> derived) {
  const fs::path file = derived ? DerivedPath(options.data, *derived, rows)
                                : DatabasePath(options.data, SourceKind::Yungengxin, rows);
  if (!fs::exists(file)) {
    // Generating costs memory of its own: done in a child, so this
    // process's peak is the load's alone.
    const pid_t child = ::fork();
    if (child == 0) {
      if (derived) DerivedFile(options.data, *derived, rows);
      else DatabaseFile(options.data, SourceKind::Yungengxin, rows);
      std::_Exit(0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "generating %s failed\n", file.c_str());
      return 1;
    }
  }
  const Path path = CorePath(file);
  const RenameRule rule = BenchRule();
  const long before = PeakResidentBytes();
  MachineList list;
  CheckingObserver checking(list);
  SourceConnection connection;
  BenchView view(path, rule);
  const auto start = std::chrono::steady_clock::now();
  LoadDatabase(connection, list, view);
  const double seconds = Seconds(std::chrono::steady_clock::now() - start);
  const long peak = PeakResidentBytes() - before;
  std::uint64_t textBytes = 0;
  for (int i = 0; i < list.count(); ++i)
    for (int column = 0; column < kColumnCount; ++column) textBytes += list.cellText(i, column).size();
  if (list.count() != rows) {
    std::fprintf(stderr, "loaded %d rows of %d\n", list.count(), rows);
    return 1;
  }
  std::printf("{\"case\": \"%s\", \"rows\": %d, \"peak_rss_bytes\": %ld, \"text_bytes\": %llu, "
              "\"file_bytes\": %llu, \"load_seconds\": %.6f}\n",
              !derived                              ? "memory"
              : *derived == Derived::TextList       ? "memory_text_list"
              : *derived == Derived::AlignedTable   ? "memory_aligned"
                                                    : "memory_workbook",
              rows, peak, static_cast<unsigned long long>(textBytes),
              static_cast<unsigned long long>(fs::file_size(file)), seconds);
  return 0;
}

bool TakeOption(const char* argument, const char* name, std::string& value) {
  const std::size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0 || argument[length] != '=') return false;
  value = argument + length + 1;
  return true;
}

}  // namespace
}  // namespace venbrook::bench

int main(int argc, char** argv) {
  using namespace venbrook::bench;
  Options options;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    std::string value;
    if (std::strcmp(argv[i], "--smoke") == 0) options.smoke = true;
    else if (TakeOption(argv[i], "--data", value)) options.data = value;
    else if (TakeOption(argv[i], "--memory", value)) options.memoryRows = std::stoi(value);
    else if (TakeOption(argv[i], "--memory-text-list", value)) options.memoryTextRows = std::stoi(value);
    else if (TakeOption(argv[i], "--memory-workbook", value)) options.memoryWorkbookRows = std::stoi(value);
    else if (TakeOption(argv[i], "--memory-aligned", value)) options.memoryAlignedRows = std::stoi(value);
    else rest.push_back(argv[i]);
  }
  try {
    if (options.memoryRows > 0) return MeasureMemory(options, options.memoryRows, std::nullopt);
    if (options.memoryTextRows > 0) return MeasureMemory(options, options.memoryTextRows, Derived::TextList);
    if (options.memoryWorkbookRows > 0) return MeasureMemory(options, options.memoryWorkbookRows, Derived::Workbook);
    if (options.memoryAlignedRows > 0) return MeasureMemory(options, options.memoryAlignedRows, Derived::AlignedTable);
    Register(options);
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "venbrook_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
