#pragma once
// A directory's export in LDIF (RFC 2849: ldifde, ldapsearch, OpenLDAP's
// slapcat), "LDIF 目录导出", a list. "version: 1" may come first; each entry
// begins "dn: …" and ends at a blank line; a line that begins with one
// space goes on the line above it (folding); "#" begins a comment line;
// "attr: value" is text, "attr:: …" base64 (base64.h), "attr:< URL" a
// value elsewhere, not read. A change record's own lines ("changetype:",
// "replace:", "-") are no attributes.
//
// A record is an entry that is a machine: a computer (objectClass
// computer, device, ieee802Device or ipHost) or an entry holding a MAC in
// any attribute (macAddress, networkAddress, …); users, groups and
// organisational units are not handed over. Its attributes are the
// columns, the first value of an attribute of several; the entry's dn is
// its address in the directory, not one of its attributes. Active
// Directory names a computer's account "A01$" (sAMAccountName): the '$'
// is no part of the machine's name and is left out. A base64 value that
// is not text (objectGUID, objectSid) is left out.
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

class LdifLayout final : public TableLayout {
 public:
  explicit LdifLayout(std::string_view text) : text_(text) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "LDIF 目录导出"; }

 private:
  std::string_view text_;
  KeyedColumns keys_;
};

// The first line that is no comment is "version:" or "dn:", and an entry's
// "dn:" follows.
bool LooksLikeLdif(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeLdifLayout(std::string_view textUtf8);

}  // namespace venbrook
