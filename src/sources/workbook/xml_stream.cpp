#include "sources/workbook/xml_stream.h"

#include <expat.h>

#include <climits>
#include <new>
#include <utility>

namespace venbrook {

// The parser does not resolve namespaces, which costs a copy of every name
// with its URI: the local names alone tell a workbook's elements apart.
std::string_view XmlLocalName(const char* name) {
  const char* local = name;
  const char* at = name;
  for (; *at; ++at)
    if (*at == ':') local = at + 1;
  return std::string_view(local, static_cast<std::size_t>(at - local));
}


namespace {

XML_Parser Parser(void* parser) { return static_cast<XML_Parser>(parser); }

}  // namespace

const char* XmlAttributes::find(std::string_view localName) const {
  for (const char** pair = pairs_; *pair; pair += 2)
    if (!IsXmlNamespaceDeclaration(pair[0]) && XmlLocalName(pair[0]) == localName) return pair[1];
  return nullptr;
}

XmlStream::XmlStream(XmlHandler& handler, DoctypeRule doctype, XmlBytes bytes)
    : parser_(XML_ParserCreate(bytes == XmlBytes::Utf8 ? "UTF-8" : nullptr)), handler_(handler), doctype_(doctype) {
  XML_Parser parser = Parser(parser_);
  if (!parser) throw std::bad_alloc();  // expat's only reason to fail
  XML_SetUserData(parser, this);
  XML_SetElementHandler(parser, onStart, onEnd);
  XML_SetCharacterDataHandler(parser, onText);
  XML_SetStartDoctypeDeclHandler(parser, onDoctype);
  XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

template <typename Call>
void XmlStream::dispatch(Call call) {
  // expat may still deliver an event or two after it was told to stop.
  if (stopping_) return;
  try {
    call();
  } catch (...) {
    thrown_ = std::current_exception();
  }
  if (thrown_ || handler_.stopped()) {
    stopping_ = true;
    XML_StopParser(Parser(parser_), XML_FALSE);
  }
}

void XmlStream::onStart(void* data, const char* name, const char** attributes) {
  auto* stream = static_cast<XmlStream*>(data);
  stream->dispatch([&] { stream->handler_.start(XmlLocalName(name), XmlAttributes(attributes)); });
}

void XmlStream::onEnd(void* data, const char* name) {
  auto* stream = static_cast<XmlStream*>(data);
  stream->dispatch([&] { stream->handler_.end(XmlLocalName(name)); });
}

void XmlStream::onText(void* data, const char* piece, int length) {
  auto* stream = static_cast<XmlStream*>(data);
  stream->dispatch([&] { stream->handler_.text(std::string_view(piece, static_cast<std::size_t>(length))); });
}

void XmlStream::throwWhatHappenedInside() {
  if (thrown_) std::rethrow_exception(std::exchange(thrown_, nullptr));
  if (XML_GetErrorCode(Parser(parser_)) == XML_ERROR_NO_MEMORY) throw std::bad_alloc();
}

// Called at "<!DOCTYPE", before any declaration inside it is read: at the
// opening bracket of an internal subset, or at the end of a declaration
// without one.
void XmlStream::onDoctype(void* data, const char*, const char*, const char*, int internalSubset) {
  auto* stream = static_cast<XmlStream*>(data);
  if (stream->doctype_ == DoctypeRule::BareNameOnly && !internalSubset) return;
  stream->failed_ = stream->stopping_ = stream->refusedDoctype_ = true;
  XML_StopParser(Parser(stream->parser_), XML_FALSE);
}

XmlStream::~XmlStream() {
  if (parser_) XML_ParserFree(Parser(parser_));
}

bool XmlStream::feed(std::string_view piece) {
  if (failed_) return false;
  while (!piece.empty()) {
    const std::size_t size = piece.size() > INT_MAX ? INT_MAX : piece.size();
    // A stopped parser (a DTD, a handler that stopped) returns an error too.
    const XML_Status status = XML_Parse(Parser(parser_), piece.data(), static_cast<int>(size), XML_FALSE);
    throwWhatHappenedInside();
    if (status != XML_STATUS_OK || failed_ || stopping_) {
      failed_ = true;
      return false;
    }
    piece.remove_prefix(size);
  }
  return true;
}

bool XmlStream::finish() {
  if (failed_) return false;
  const XML_Status status = XML_Parse(Parser(parser_), "", 0, XML_TRUE);
  throwWhatHappenedInside();
  if (status != XML_STATUS_OK || stopping_) failed_ = true;
  return !failed_;
}

int XmlStream::line() const {
  const XML_Size line = XML_GetCurrentLineNumber(Parser(parser_));
  return line > INT_MAX ? INT_MAX : static_cast<int>(line);
}

}  // namespace venbrook
