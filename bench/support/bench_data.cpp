#include "support/bench_data.h"

#include <sqlite3.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "model/text_codec.h"

#ifdef _WIN32
#include "platform/win32/wide_text.h"
#endif

namespace venbrook::bench {
namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_;
};

constexpr const char* kZones[] = {"大厅", "一楼", "二楼", "三楼", "VIP包间", "电竞区", "情侣座", "无烟区",
                                  "网咖A区", "网咖B区", "豪华包厢", "黑金区"};
constexpr const char* kRemarks[] = {"", "新装机", "显卡RTX3060", "待维修", "主播专用", "i5-12400F 16G"};

std::string Number(int value, int width) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*d", width, value);
  return digits;
}

// Serial numbers keep every name unique; the forms are those cafés use:
// PC0231, WB-00017, 二楼-017, 电竞区A05, 大厅12号机.
std::string MachineName(int serial, Random& random) {
  const std::string zone = kZones[random.below(static_cast<int>(std::size(kZones)))];
  switch (random.below(10)) {
    case 0:
    case 1:
    case 2: return "PC" + Number(serial, 4);
    case 3: return "WB-" + Number(serial, 5);
    case 4:
    case 5:
    case 6: return zone + "-" + Number(serial, 3);
    case 7:
    case 8: return zone + static_cast<char>('A' + random.below(6)) + Number(serial, 2);
    default: return zone + std::to_string(serial) + "号机";
  }
}

// A network card's address: unicast (the first byte even), as every
// machine's is; a multicast address is no machine's and would be passed over.
std::string MacText(Random& random, bool lowerCase, char separator) {
  const char* digits = lowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
  std::uint64_t bits = random.next() & ~std::uint64_t{1};
  std::string mac;
  for (int i = 0; i < 6; ++i, bits >>= 8) {
    if (i > 0) mac += separator;
    mac += digits[(bits >> 4) & 15];
    mac += digits[bits & 15];
  }
  return mac;
}

class Database {
 public:
  explicit Database(const std::filesystem::path& file) {
    const std::u8string name = file.u8string();
    if (sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
      fail("open");
  }
  ~Database() { sqlite3_close_v2(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void run(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
  }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) fail(sql);
    return statement;
  }
  [[noreturn]] void fail(const char* what) {
    throw std::runtime_error(std::string("generating a benchmark database: ") + what + ": " + sqlite3_errmsg(db_));
  }

 private:
  sqlite3* db_ = nullptr;
};

void Bind(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Generate(const std::filesystem::path& file, SourceKind kind, int rows) {
  std::filesystem::remove(file);
  Database db(file);
  db.run("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;");
  const bool yungengxin = kind == SourceKind::Yungengxin;
  sqlite3_stmt* insert;
  if (yungengxin) {
    db.run("CREATE TABLE tPcBaseInfo(ID INTEGER PRIMARY KEY, MACHINE TEXT, IP TEXT, mac TEXT, GATEWAY TEXT, "
           "DNS TEXT, AREA TEXT, DISKLESS INTEGER, REMARK TEXT)");
    insert = db.prepare("INSERT INTO tPcBaseInfo(MACHINE, IP, mac, GATEWAY, DNS, AREA, DISKLESS, REMARK) "
                        "VALUES (?1, ?2, ?3, '192.168.0.1', '114.114.114.114', ?4, ?5, ?6)");
  } else {
    db.run("CREATE TABLE tbl_Computer(Id INTEGER PRIMARY KEY, ComputerName TEXT, mac TEXT, IpAddr TEXT, "
           "AreaName TEXT, ServerIp TEXT, BootMode INTEGER, LastLogin TEXT)");
    insert = db.prepare("INSERT INTO tbl_Computer(ComputerName, mac, IpAddr, AreaName, ServerIp, BootMode, LastLogin) "
                        "VALUES (?1, ?3, ?2, ?4, '192.168.0.2', ?5, ?6)");
  }

  Random random(yungengxin ? 0x5EED0001u : 0x5EED0002u);
  std::vector<int> order(static_cast<std::size_t>(rows));
  std::iota(order.begin(), order.end(), 1);
  for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random.next() % i]);

  for (int serial : order) {
    Bind(insert, 1, MachineName(serial, random));
    Bind(insert, 2, "192.168." + std::to_string(serial / 250 % 256) + "." + std::to_string(serial % 250 + 2));
    Bind(insert, 3, MacText(random, !yungengxin, '-'));
    Bind(insert, 4, kZones[random.below(static_cast<int>(std::size(kZones)))]);
    sqlite3_bind_int(insert, 5, random.below(2));
    if (yungengxin) {
      const int remark = random.below(static_cast<int>(std::size(kRemarks)) + 2);
      if (remark < static_cast<int>(std::size(kRemarks))) Bind(insert, 6, kRemarks[remark]);
      else sqlite3_bind_null(insert, 6);
    } else {
      Bind(insert, 6, "2025-0" + std::to_string(1 + random.below(9)) + "-1" + std::to_string(random.below(10)) +
                          " 2" + std::to_string(random.below(4)) + ":05:03");
    }
    if (sqlite3_step(insert) != SQLITE_DONE) db.fail("insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  db.run(yungengxin ? "CREATE INDEX tPcBaseInfo_MACHINE ON tPcBaseInfo(MACHINE)"
                    : "CREATE INDEX tbl_Computer_ComputerName ON tbl_Computer(ComputerName)");
  db.run("COMMIT;");
}

const SourceProfile& ProfileOf(SourceKind kind) {
  for (const SourceProfile& profile : kSourceProfiles)
    if (profile.kind == kind) return profile;
  throw std::logic_error("unknown source kind");
}

int ColumnNamed(sqlite3_stmt* statement, std::string_view wanted) {
  for (int column = 0; column < sqlite3_column_count(statement); ++column) {
    const std::string_view name = sqlite3_column_name(statement, column);
    if (name.size() == wanted.size() &&
        std::equal(name.begin(), name.end(), wanted.begin(),
                   [](char a, char b) { return (a | 0x20) == (b | 0x20); }))
      return column;
  }
  return -1;
}

void WriteZip(const std::filesystem::path& file, const std::vector<std::pair<std::string, std::string>>& parts) {
  zipFile zip = zipOpen64(file.string().c_str(), APPEND_STATUS_CREATE);
  if (!zip) throw std::runtime_error("creating " + file.string());
  for (const auto& [name, bytes] : parts) {
    zip_fileinfo info{};
    if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 1) != ZIP_OK ||
        zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) != ZIP_OK ||
        zipCloseFileInZip(zip) != ZIP_OK)
      throw std::runtime_error("writing " + file.string());
  }
  if (zipClose(zip, nullptr) != ZIP_OK) throw std::runtime_error("writing " + file.string());
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::FILE* out = std::fopen(file.string().c_str(), "wb");
  if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0)
    throw std::runtime_error("writing " + file.string());
}

void MakeOtherProduct(const std::filesystem::path& file, const std::filesystem::path& yungengxin) {
  std::filesystem::remove(file);
  Database db(file);
  const std::string attach = "ATTACH '" + yungengxin.string() + "' AS source";
  db.run(attach.c_str());
  db.run("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
         "CREATE TABLE settings(name TEXT, value TEXT);"
         "INSERT INTO settings VALUES ('server', '192.168.0.2'), ('version', '3.1');"
         "CREATE TABLE login_log(id INTEGER PRIMARY KEY, ip TEXT, at TEXT);"
         "INSERT INTO login_log(ip, at) SELECT IP, '2025-07-06 09:05:03' FROM source.tPcBaseInfo LIMIT 500;"
         "CREATE TABLE terminals(id INTEGER PRIMARY KEY, seat TEXT, ip TEXT, mac TEXT, gateway TEXT, dns TEXT,"
         "  zone TEXT, diskless INTEGER, remark TEXT);"
         "INSERT INTO terminals(seat, ip, mac, gateway, dns, zone, diskless, remark)"
         "  SELECT MACHINE, IP, mac, GATEWAY, DNS, AREA, DISKLESS, REMARK FROM source.tPcBaseInfo ORDER BY ID;"
         "COMMIT;");
}

void MakeTextList(const std::filesystem::path& file, const std::filesystem::path& yungengxin) {
  Database db(yungengxin);
  sqlite3_stmt* rows = db.prepare("SELECT MACHINE, IP, mac FROM tPcBaseInfo ORDER BY ID");
  std::string text = Gbk("机器名,IP,MAC地址\r\n");
  while (sqlite3_step(rows) == SQLITE_ROW) {
    for (int column = 0; column < 3; ++column) {
      const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(rows, column));
      text += column == 0 ? Gbk(value) : std::string(value);
      text += column < 2 ? "," : "\r\n";
    }
  }
  sqlite3_finalize(rows);
  WriteFile(file, text);
}

// An XML text's characters escaped.
std::string XmlText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else out += c;
  }
  return out;
}

void MakeWorkbook(const std::filesystem::path& file, const std::filesystem::path& yungengxin) {
  Database db(yungengxin);
  sqlite3_stmt* rows = db.prepare("SELECT MACHINE, IP, mac FROM tPcBaseInfo ORDER BY ID");
  const std::string head = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)" "\r\n";
  const std::string main = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
  const std::string relationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  std::string strings, sheet = head + "<worksheet " + main + "><sheetData>";
  int count = 0, row = 0;
  const auto addRow = [&](const char* const (&texts)[3]) {
    const std::string number = std::to_string(++row);
    sheet += R"(<row r=")" + number + R"(" spans="1:3">)";
    for (int column = 0; column < 3; ++column) {
      sheet += R"(<c r=")" + std::string(1, char('A' + column)) + number + R"(" t="s"><v>)" + std::to_string(count++) +
               "</v></c>";
      strings += "<si><t>" + XmlText(texts[column]) + "</t></si>";
    }
    sheet += "</row>";
  };
  addRow({"机器名", "IP", "MAC地址"});
  while (sqlite3_step(rows) == SQLITE_ROW) {
    const char* texts[3];
    for (int column = 0; column < 3; ++column) texts[column] = reinterpret_cast<const char*>(sqlite3_column_text(rows, column));
    addRow(texts);
  }
  sqlite3_finalize(rows);
  const std::vector<std::pair<std::string, std::string>> parts = {
      {"[Content_Types].xml",
       head + R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
              R"(<Default Extension="xml" ContentType="application/xml"/></Types>)"},
      {"xl/workbook.xml", head + "<workbook " + main + R"( xmlns:r=")" + relationships +
                              R"("><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
      {"xl/_rels/workbook.xml.rels",
       head + R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
           R"(<Relationship Id="rId1" Type=")" + relationships + R"(/worksheet" Target="worksheets/sheet1.xml"/>)" +
           R"(<Relationship Id="rId2" Type=")" + relationships + R"(/sharedStrings" Target="sharedStrings.xml"/>)" +
           "</Relationships>"},
      {"xl/sharedStrings.xml", head + "<sst " + main + R"( count=")" + std::to_string(count) + R"(" uniqueCount=")" +
                                   std::to_string(count) + R"(">)" + strings + "</sst>"},
      {"xl/worksheets/sheet1.xml", sheet + "</sheetData></worksheet>"},
  };
  WriteZip(file, parts);
}

void MakeDnsmasqLeases(const std::filesystem::path& file, const std::filesystem::path& yungengxin) {
  Database db(yungengxin);
  sqlite3_stmt* rows = db.prepare("SELECT MACHINE, IP, lower(replace(mac, '-', ':')) FROM tPcBaseInfo ORDER BY ID");
  std::string text;
  for (long expiry = 1717000000; sqlite3_step(rows) == SQLITE_ROW; ++expiry) {
    const auto column = [&](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(rows, i))); };
    text += std::to_string(expiry) + " " + column(2) + " " + column(1) + " " + column(0) + " 01:" + column(2) + "\n";
  }
  sqlite3_finalize(rows);
  WriteFile(file, text);
}

// A name as a JSON string's characters: the generated names need no escape
// but a quote or a backslash would.
std::string JsonText(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

void MakeJsonLeases(const std::filesystem::path& file, const std::filesystem::path& yungengxin) {
  Database db(yungengxin);
  sqlite3_stmt* rows = db.prepare("SELECT MACHINE, IP, lower(replace(mac, '-', ':')) FROM tPcBaseInfo ORDER BY ID");
  std::string text = "[\n    {\n        \"arguments\": {\n            \"leases\": [";
  for (long cltt = 1717000000; sqlite3_step(rows) == SQLITE_ROW; ++cltt) {
    const auto column = [&](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(rows, i))); };
    text += cltt == 1717000000 ? "\n" : ",\n";
    text += "                {\n                    \"cltt\": " + std::to_string(cltt) +
            ",\n                    \"fqdn-fwd\": false,\n                    \"fqdn-rev\": false,\n"
            "                    \"hostname\": \"" + JsonText(column(0)) + "\",\n"
            "                    \"hw-address\": \"" + column(2) + "\",\n"
            "                    \"ip-address\": \"" + column(1) + "\",\n"
            "                    \"state\": 0,\n                    \"subnet-id\": 1,\n"
            "                    \"valid-lft\": 86400\n                }";
  }
  sqlite3_finalize(rows);
  text += "\n            ]\n        },\n        \"result\": 0,\n        \"text\": \"IPv4 leases found.\"\n    }\n]\n";
  WriteFile(file, text);
}

// The screen columns of a UTF-8 text on a Chinese console: two for each
// character beyond ASCII (the generated names hold only Chinese ones).
std::size_t ScreenColumns(std::string_view utf8) {
  std::size_t columns = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    columns += byte < 0x80 ? 1 : (byte & 0xC0) == 0xC0 ? 2 : 0;
  }
  return columns;
}

void MakeAlignedTable(const std::filesystem::path& file, const std::filesystem::path& yungengxin) {
  Database db(yungengxin);
  sqlite3_stmt* rows = db.prepare("SELECT MACHINE, IP, mac FROM tPcBaseInfo ORDER BY ID");
  const auto padded = [](std::string_view text, std::size_t width) {
    return std::string(text) + std::string(width > ScreenColumns(text) ? width - ScreenColumns(text) : 1, ' ');
  };
  std::string text = Gbk(padded("机器名", 20) + padded("IP地址", 18) + "MAC地址\r\n") +
                     "------------------  ----------------  -----------------\r\n";
  while (sqlite3_step(rows) == SQLITE_ROW) {
    const auto column = [&](int i) { return std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(rows, i))); };
    text += Gbk(padded(column(0), 20) + padded(column(1), 18) + std::string(column(2)) + "\r\n");
  }
  sqlite3_finalize(rows);
  WriteFile(file, text);
}

constexpr int kWideColumns = 16384;

std::string ColumnLetters(int column) {
  std::string letters;
  for (++column; column > 0; column = (column - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  return letters;
}

// The texts of a cell of the wide sheet (UTF-8).
std::string WideCell(int row, int column) {
  if (row == 1) return column == 0 ? "机器名" : column == 1 ? "MAC" : "c" + ColumnLetters(column);
  if (column == 0) return "PC" + Number(row, 5);
  if (column == 1) {
    char mac[24];
    std::snprintf(mac, sizeof mac, "00-1A-2B-3C-%02X-%02X", row / 256, row % 256);
    return mac;
  }
  return std::to_string(row);
}

std::string WideSheetXml(int rows) {
  std::string sheet = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                      R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)";
  std::vector<std::string> letters(kWideColumns);
  for (int column = 0; column < kWideColumns; ++column) letters[column] = ColumnLetters(column);
  for (int row = 1; row <= rows; ++row) {
    const std::string r = std::to_string(row);
    sheet += "<row r=\"" + r + "\">";
    for (int column = 0; column < kWideColumns; ++column) {
      const std::string reference = letters[column] + r;
      if (row == 1 || column < 2)
        sheet += "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>" + WideCell(row, column) + "</t></is></c>";
      else
        sheet += "<c r=\"" + reference + "\"><v>" + WideCell(row, column) + "</v></c>";
    }
    sheet += "</row>";
  }
  return sheet + "</sheetData></worksheet>";
}

void MakeWideSheet(const std::filesystem::path& workbook, const std::filesystem::path& csv, int rows) {
  const std::string sheet = WideSheetXml(rows);
  const std::string relationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  WriteZip(workbook,
           {{"[Content_Types].xml", R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
                                    R"(<Default Extension="xml" ContentType="application/xml"/></Types>)"},
            {"xl/workbook.xml", R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
                                R"(xmlns:r=")" + relationships +
                                    R"("><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
            {"xl/_rels/workbook.xml.rels",
             R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
             R"(<Relationship Id="rId1" Type=")" + relationships +
                 R"(/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)"},
            {"xl/worksheets/sheet1.xml", sheet}});
  // The numbers padded to the width that makes the CSV as long as the XML.
  const std::size_t cells = static_cast<std::size_t>(rows) * kWideColumns;
  const int width = static_cast<int>(sheet.size() / cells) - 1;
  std::string text;
  text.reserve(sheet.size() + 1024);
  for (int row = 1; row <= rows; ++row) {
    for (int column = 0; column < kWideColumns; ++column) {
      if (column > 0) text += ',';
      const std::string cell = WideCell(row, column);
      text += row > 1 && column > 1 ? Number(row, width) : Gbk(cell);
    }
    text += "\r\n";
  }
  WriteFile(csv, text);
}

}  // namespace

std::filesystem::path WideSheetFile(const std::filesystem::path& data, WideSheet what, int rows) {
  const std::filesystem::path folder = data / std::string(kDataVersion) / ("wide-" + std::to_string(rows));
  const std::filesystem::path workbook = folder / "wide.xlsx", csv = folder / "wide.csv";
  if (!std::filesystem::exists(workbook) || !std::filesystem::exists(csv)) {
    std::filesystem::create_directories(folder);
    std::filesystem::path partialBook = workbook, partialCsv = csv;
    partialBook += ".partial";
    partialCsv += ".partial";
    MakeWideSheet(partialBook, partialCsv, rows);
    std::filesystem::rename(partialBook, workbook);
    std::filesystem::rename(partialCsv, csv);
  }
  return what == WideSheet::Workbook ? workbook : csv;
}

std::filesystem::path DerivedPath(const std::filesystem::path& data, Derived what, int rows) {
  const char* name = what == Derived::OtherProduct    ? "cafe.db"
                     : what == Derived::ProductCopy   ? "lwdiskless - copy.db"
                     : what == Derived::TextList      ? "machines.csv"
                     : what == Derived::DnsmasqLeases ? "dnsmasq.leases"
                     : what == Derived::JsonLeases    ? "kea-leases.json"
                     : what == Derived::AlignedTable  ? "machines-table.txt"
                                                      : "machines.xlsx";
  return DatabasePath(data, SourceKind::Yungengxin, rows).parent_path() / name;
}

std::filesystem::path DerivedFile(const std::filesystem::path& data, Derived what, int rows) {
  const std::filesystem::path yungengxin = DatabaseFile(data, SourceKind::Yungengxin, rows);
  const std::filesystem::path file = DerivedPath(data, what, rows);
  if (std::filesystem::exists(file)) return file;
  std::filesystem::path partial = file;
  partial += ".partial";
  switch (what) {
    case Derived::OtherProduct: MakeOtherProduct(partial, yungengxin); break;
    case Derived::ProductCopy:
      std::filesystem::copy_file(yungengxin, partial, std::filesystem::copy_options::overwrite_existing);
      break;
    case Derived::TextList: MakeTextList(partial, yungengxin); break;
    case Derived::Workbook: MakeWorkbook(partial, yungengxin); break;
    case Derived::DnsmasqLeases: MakeDnsmasqLeases(partial, yungengxin); break;
    case Derived::JsonLeases: MakeJsonLeases(partial, yungengxin); break;
    case Derived::AlignedTable: MakeAlignedTable(partial, yungengxin); break;
  }
  std::filesystem::rename(partial, file);
  return file;
}

std::filesystem::path DatabasePath(const std::filesystem::path& data, SourceKind kind, int rows) {
  return data / std::string(kDataVersion) / std::to_string(rows) / std::string(ProfileOf(kind).fileName);
}

std::filesystem::path DatabaseFile(const std::filesystem::path& data, SourceKind kind, int rows) {
  const std::filesystem::path file = DatabasePath(data, kind, rows);
  if (std::filesystem::exists(file)) return file;
  std::filesystem::create_directories(file.parent_path());
  std::filesystem::path partial = file;
  partial += ".partial";
  Generate(partial, kind, rows);
  std::filesystem::rename(partial, file);
  return file;
}

Path CorePath(const std::filesystem::path& path) {
#ifdef _WIN32
  return win32::PathFromWide(std::filesystem::absolute(path).wstring());
#else
  std::string core = std::filesystem::absolute(path).string();
  std::replace(core.begin(), core.end(), '/', '\\');
  return Path::FromUtf8(core);
#endif
}

namespace {

// Reads the named columns, or the first two when no names are given.
ScanResult Scan(const std::filesystem::path& file, std::string_view query, std::string_view nameColumnName,
                std::string_view macColumnName) {
  const std::u8string name = file.u8string();
  ScanResult result;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    result.rows = -1;
    return result;
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, query.data(), static_cast<int>(query.size()), &statement, nullptr) == SQLITE_OK) {
    const int nameColumn = nameColumnName.empty() ? 0 : ColumnNamed(statement, nameColumnName);
    const int macColumn = macColumnName.empty() ? 1 : ColumnNamed(statement, macColumnName);
    while (sqlite3_step(statement) == SQLITE_ROW) {
      const unsigned char* machine = sqlite3_column_text(statement, nameColumn);
      const unsigned char* mac = sqlite3_column_text(statement, macColumn);
      result.textBytes += static_cast<std::uint64_t>(sqlite3_column_bytes(statement, nameColumn)) +
                          static_cast<std::uint64_t>(sqlite3_column_bytes(statement, macColumn));
      result.checksum += (machine != nullptr ? machine[0] : 0u) + (mac != nullptr ? mac[0] : 0u);
      ++result.rows;
    }
  } else {
    result.rows = -1;
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return result;
}

}  // namespace

ScanResult BareScan(const std::filesystem::path& file, SourceKind kind) {
  const SourceProfile& profile = ProfileOf(kind);
  return Scan(file, profile.query, profile.nameColumn, profile.macColumn);
}

ScanResult BareScanQuery(const std::filesystem::path& file, std::string_view sqlUtf8) {
  return Scan(file, sqlUtf8, {}, {});
}

}  // namespace venbrook::bench
