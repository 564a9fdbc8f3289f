#include "sources/workbook/xml_stream.h"

#include <expat.h>

#include <climits>

namespace venbrook {
namespace {

XML_Parser Parser(void* parser) { return static_cast<XML_Parser>(parser); }

}  // namespace

// A name without its prefix: "row" of "x:row". The parser does not
// resolve namespaces, which costs a copy of every name with its URI: the
// local names alone tell the elements apart.
std::string_view XmlAttributes::LocalName(const char* name) {
  const char* local = name;
  for (const char* at = name; *at; ++at)
    if (*at == ':') local = at + 1;
  return local;
}

bool XmlAttributes::IsNamespaceDeclaration(std::string_view name) {
  return name == "xmlns" || name.starts_with("xmlns:");
}

const char* XmlAttributes::find(std::string_view localName) const {
  for (const char** pair = pairs_; *pair; pair += 2)
    if (LocalName(pair[0]) == localName) return pair[1];
  return nullptr;
}

XmlStream::XmlStream(XmlHandler& handler, DoctypeRule doctype, XmlBytes bytes)
    : parser_(XML_ParserCreate(bytes == XmlBytes::Utf8 ? "UTF-8" : nullptr)), handler_(handler), doctype_(doctype) {
  XML_Parser parser = Parser(parser_);
  if (!parser) {
    failed_ = true;
    return;
  }
  XML_SetUserData(parser, this);
  XML_SetElementHandler(parser, onStart, onEnd);
  XML_SetCharacterDataHandler(parser, onText);
  XML_SetStartDoctypeDeclHandler(parser, onDoctype);
  XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

void XmlStream::stopWith(std::exception_ptr thrown) {
  thrown_ = std::move(thrown);
  failed_ = true;
  XML_StopParser(Parser(parser_), XML_FALSE);
}

// expat may still call back once a stop is asked for; nothing more reaches
// the handler then.
void XmlStream::onStart(void* data, const char* name, const char** attributes) {
  auto* stream = static_cast<XmlStream*>(data);
  if (stream->failed_) return;
  try {
    stream->handler_.start(XmlAttributes::LocalName(name), XmlAttributes(attributes));
  } catch (...) {
    stream->stopWith(std::current_exception());
  }
}

void XmlStream::onEnd(void* data, const char* name) {
  auto* stream = static_cast<XmlStream*>(data);
  if (stream->failed_) return;
  try {
    stream->handler_.end(XmlAttributes::LocalName(name));
  } catch (...) {
    stream->stopWith(std::current_exception());
  }
}

void XmlStream::onText(void* data, const char* piece, int length) {
  auto* stream = static_cast<XmlStream*>(data);
  if (stream->failed_) return;
  try {
    stream->handler_.text(std::string_view(piece, static_cast<std::size_t>(length)));
  } catch (...) {
    stream->stopWith(std::current_exception());
  }
}

// Called at "<!DOCTYPE", before any declaration inside it is read: at the
// opening bracket of an internal subset, or at the end of a declaration
// without one.
void XmlStream::onDoctype(void* data, const char*, const char*, const char*, int internalSubset) {
  auto* stream = static_cast<XmlStream*>(data);
  if (stream->doctype_ == DoctypeRule::BareNameOnly && !internalSubset) return;
  stream->failed_ = stream->refusedDoctype_ = true;
  XML_StopParser(Parser(stream->parser_), XML_FALSE);
}

XmlStream::~XmlStream() {
  if (parser_) XML_ParserFree(Parser(parser_));
}

bool XmlStream::parse(std::string_view piece, bool last) {
  const bool parsed = XML_Parse(Parser(parser_), piece.data(), static_cast<int>(piece.size()), last) == XML_STATUS_OK;
  if (thrown_) std::rethrow_exception(thrown_);
  // A stopped parser (a DTD) returns an error too.
  if (!parsed || failed_) failed_ = true;
  return !failed_;
}

bool XmlStream::feed(std::string_view piece) {
  if (failed_) return false;
  while (!piece.empty()) {
    const std::size_t size = piece.size() > INT_MAX ? INT_MAX : piece.size();
    if (!parse(piece.substr(0, size), false)) return false;
    piece.remove_prefix(size);
  }
  return true;
}

bool XmlStream::finish() {
  if (failed_) return false;
  return parse({}, true);
}

int XmlStream::line() const {
  const XML_Size line = XML_GetCurrentLineNumber(Parser(parser_));
  return line > INT_MAX ? INT_MAX : static_cast<int>(line);
}

}  // namespace venbrook
