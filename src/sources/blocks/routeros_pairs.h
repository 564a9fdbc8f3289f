#pragma once
// The key=value pairs of MikroTik RouterOS's text, in the commands of an
// export ("add address=… mac-address=… comment=…") and in the entries of
// "print terse" and "print detail". A value is quoted ("…") or not; in
// either, "\"" and "\\" are escapes and "\E4" is a byte in hex, and an
// escaped control character is a blank. An unquoted value ends at the next
// blank in an export, and in a print at the next blank that is followed by
// another key and '=' (a print writes "comment=uplink to internet" and
// "last-link-up-time=jul/09/2023 07:18:33" unquoted).
//
// A lease's machine is named by its comment, else by its host-name: the
// comment is what the operator writes to tell a lease by (a static lease is
// made for a machine, and RouterOS gives it no other field of the
// operator's); host-name is only what the machine itself sent in its last
// request. Both go into the one column kLeaseNameColumn.
#include <string>
#include <string_view>

#include "sources/blocks/record_cells.h"

namespace venbrook {

enum class RouterOsValues { EndAtBlank, RunToNextKey };

class RouterOsPairs {
 public:
  RouterOsPairs(std::string_view text, RouterOsValues values) : text_(text), values_(values) {}

  // The next pair, its value unescaped (bytes given by escapes read as
  // UTF-8 or GBK, as EscapedBytesText says); words without a key and '='
  // (an entry's flags, "[ find ]") are passed over.
  bool next(std::string_view& key, std::string& value);

 private:
  void readValue(std::string& value);
  bool keyStartsAt(std::size_t at) const;

  std::string_view text_;
  RouterOsValues values_;
  std::size_t at_ = 0;
};

inline constexpr std::string_view kLeaseNameColumn = "comment/host-name";

// The pairs of `text` as cells of one record: each key its column, except
// that with `leaseNames` the comment (or `comment`, given apart, as a print
// writes ";;; …" on a line of its own) and the host-name make the one cell
// of kLeaseNameColumn. Done, or past the bound of keys or of a record's
// bytes.
LayoutEnd AddRouterOsPairs(std::string_view text, RouterOsValues values, bool leaseNames, std::string_view comment,
                           KeyedColumns& columns, RecordCells& cells);

}  // namespace venbrook
