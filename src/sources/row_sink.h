#pragma once
// Where every reader puts the machines it reads. The sink alone applies the
// rules each row goes through: its texts to GBK, the source's MAC rule, the
// rename rule, the append. A reader only finds the two texts of a machine.
#include <cstddef>
#include <string>
#include <string_view>

#include "model/machine_list.h"
#include "model/rename_rule.h"
#include "model/text_codec.h"
#include "sources/columns/column_judge.h"

namespace venbrook {

// What a source's MAC texts go through. The products' own databases keep
// theirs (as stored, or upper-cased); every other source shows one form,
// and a row whose MAC is no machine's is passed over.
enum class MacRule {
  AsStored,
  UpperAscii,
  // "00-1A-2B-3C-4D-5E"; a text that is no MAC, or the broadcast, a
  // multicast or the zero address, is no machine: the row is not added.
  Canonical,
};

class RowSink {
 public:
  // The products' own files, whose MACs are kept, keep their rule for
  // texts too; every other source's go as Windows converts them.
  RowSink(MachineList& list, const RenameRule& rule, MacRule macRule = MacRule::AsStored)
      : list_(list),
        rule_(rule),
        macRule_(macRule),
        textRule_(macRule == MacRule::Canonical ? Utf8Rule::AnyCharacter : Utf8Rule::UpToThreeBytes) {}

  // Room for about this many rows and bytes of text, made when the list is
  // emptied for them: the list then grows once instead of doubling, and a
  // doubling holds the old and the new copy at once, the peak of a large
  // load. Room never used is never touched, so it costs no memory; too
  // little only means the usual growth.
  void expect(std::size_t rows, std::size_t textBytes) {
    expectedRows_ = rows;
    expectedTextBytes_ = textBytes;
  }

  // One machine whose texts are UTF-8 (a database's values; a text file
  // that is not GBK): each up to its first NUL, as GBK, and the empty text
  // when it is not UTF-8 the source's Utf8Rule takes. False when the MAC
  // rule passed the row over.
  bool addUtf8(std::string_view name, std::string_view mac);
  // One machine whose MAC was read already (a machine's address, shown in
  // the one form of other sources), its name UTF-8.
  void addUtf8Machine(std::string_view name, std::int64_t mac);
  // One machine of a table (sources/table/table_read.h): its MAC read
  // already, its name in the table's encoding (not well-formed text: the
  // empty name).
  void addMachine(std::string_view name, CellText text, std::int64_t mac);
  // One machine whose texts are GBK already, each up to its first NUL.
  bool addGbk(std::string_view name, std::string_view mac);

  // The read ended at its normal end: the list's observer hears of the rows
  // (none: an empty list).
  void finish();
  // The read stopped early. Part of a list must never pass for the whole of
  // it, so the list is emptied.
  void abandon();

  bool begun() const { return begun_; }
  int rows() const { return rows_; }

 private:
  // Empties the list for the rows to come; the first row does it, and so
  // does `finish` when none came, so an empty source shows an empty list.
  // Until then the list is untouched.
  void begin();
  bool append();
  void place();  // the row's texts, renamed, into the list

  MachineList& list_;
  const RenameRule& rule_;
  MacRule macRule_;
  Utf8Rule textRule_;
  bool begun_ = false;
  int rows_ = 0;
  std::size_t expectedRows_ = 0, expectedTextBytes_ = 0;
  std::string name_, mac_, newName_;  // reused for every row: no allocation per row
};

}  // namespace venbrook
