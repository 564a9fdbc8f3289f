#pragma once
// Which element of an XML text is a record of its table of machines. XML
// has no arrays: any element may be a record, and the record is the element
// name that repeats under one parent with a MAC-looking value in each
// (in an attribute or a text anywhere inside): nmap's <host>, a firewall's
// <staticmap>, a DHCP server's <Reservation>, a scanner's <host>, a table's
// <tr>. A field repeated with one MAC among its siblings (nmap's <address>
// of types ipv4 and mac) is no record: its parent is. Of several, the one
// with most MAC-holding occurrences is the table, then the one holding
// more values (nmap's <host> over its earlier <hosthint>), then the
// outermost. A single record (nothing repeats) is the element holding the
// first MAC in an attribute, or the parent of the one holding it as its text.
//
// The whole text is read once for this, never held: a name's counts only.
#include <string>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

struct XmlTable {
  std::string record;  // the record element's local name; empty: no table
  std::string root;    // the document element's local name
  // Sightings when it is a scan, the record's name says leases or its first
  // occurrence holding a MAC names a time (record_hints.h); else a list.
  RecordKind kind = RecordKind::List;
  // Not Done: the text is no well-formed XML, holds a document type
  // declaration with an internal subset, or passes a bound.
  LayoutEnd end;
};

XmlTable FindXmlTable(std::string_view text);

// What the label calls the file: its tool's words when the document
// element names one (nmap's scan, a firewall's configuration, a DHCP
// server's export, a scanner's report), else "XML 文件".
std::string_view XmlWordsUtf8(std::string_view root);

// Thrown by a walk's handler to stop expat (sources/workbook/xml_stream.h
// carries it back past expat's frames).
struct XmlStop {
  LayoutEnd end;
};

}  // namespace venbrook
