#pragma once
// An XML text as a table: the records xml_table.h finds, each record's
// values by their paths. The record's attributes are keyed by their names,
// its own text by its own name; an element inside it by the path of
// element names from the record, joined by dots (`hostnames.hostname`), an
// attribute of it after one more dot. Siblings of one name are told apart
// so that each value keeps its own column in every record:
//   - by an attribute naming their type (`addrtype`, `type`, `ss:Type`), its
//     value in brackets: nmap's `address[mac].addr`, `hostname[PTR].name`;
//   - a leaf with a text and one attribute `name` or `key` only is that
//     attribute's value in brackets: a scanner's `result[MAC Address]`;
//   - otherwise by their order, from the second on: `td`, `td#2`, `td#3`.
// A key a record repeats keeps its first value.
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

// The first bytes (after a byte-order mark and blanks) are an XML
// declaration (XML, however damaged further on), or open a comment, a
// document type declaration or an element and are well-formed XML as far
// as they go, an element closed among them, or stop at a document type
// declaration that would be refused (claimed, to be refused as damaged).
bool ClaimsXml(std::string_view sampleUtf8);

std::unique_ptr<TableLayout> MakeXmlLayout(std::string_view textUtf8);

}  // namespace venbrook
