#pragma once
// XML parsed by expat as its pieces arrive: a workbook's parts straight from
// the zip archive, a structured text file from its one decoded text. The
// whole document is never held as a tree. Element and attribute names reach
// the handler without their prefix (`row` whether the part writes <row> or
// <x:row>, in the transitional or the strict namespace), which is how the
// parts of Excel, WPS and LibreOffice all read alike.
//
// Entities are the door to entity expansion ("billion laughs") and to
// external entities, and only a document type declaration opens it: by
// default any such declaration makes the document damaged, as no workbook
// part has one. A file written by a tool may carry a bare one naming its
// root (nmap writes `<!DOCTYPE nmaprun>`); DoctypeRule::BareNameOnly lets
// that pass and refuses only an internal subset, the one place entities
// could be declared, since no external subset is ever read. Parameter
// entities are never parsed either.
//
// No exception ever passes through expat's C frames: one thrown by a
// handler (a bound passed, memory running out) stops the parser and is
// thrown again once expat has returned; expat's own allocation failing is
// std::bad_alloc too.
#include <exception>
#include <string_view>

namespace venbrook {

// A name without its prefix: "row" of "x:row".
std::string_view XmlLocalName(const char* name);
// xmlns and xmlns:x declare namespaces and are no data. Asked of every
// attribute of every cell: read on the name as expat gives it, no longer
// than its first letter for any other.
inline bool IsXmlNamespaceDeclaration(const char* name) {
  return name[0] == 'x' && name[1] == 'm' && name[2] == 'l' && name[3] == 'n' && name[4] == 's' &&
         (name[5] == '\0' || name[5] == ':');
}

// An element's attributes as expat gives them: name, value, name, value, ...,
// null; found by their names without a prefix, namespace declarations left
// out.
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
  // The value of the attribute of that local name, or null.
  const char* find(std::string_view localName) const;
  // Each attribute's local name and value, in the document's order.
  template <typename Visit>
  void forEach(Visit visit) const {
    for (const char** pair = pairs_; *pair; pair += 2)
      if (!IsXmlNamespaceDeclaration(pair[0])) visit(XmlLocalName(pair[0]), pair[1]);
  }

 private:
  const char** pairs_;
};

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void start(std::string_view name, const XmlAttributes& attributes) = 0;
  virtual void end(std::string_view name) = 0;
  // Character data inside the current element, in one or more pieces.
  virtual void text(std::string_view piece) = 0;

  // The handler has read all it will (a bound was passed): the stream stops.
  bool stopped() const { return stopped_; }

 protected:
  void stop() { stopped_ = true; }

 private:
  bool stopped_ = false;
};

enum class DoctypeRule { Refuse, BareNameOnly };

// How the bytes are taken: as the document declares them, or as UTF-8
// whatever its declaration says (a text decoded to UTF-8 once already,
// perhaps from the UTF-16 its declaration still names).
enum class XmlBytes { AsDeclared, Utf8 };

class XmlStream {
 public:
  explicit XmlStream(XmlHandler& handler, DoctypeRule doctype = DoctypeRule::Refuse,
                     XmlBytes bytes = XmlBytes::AsDeclared);
  ~XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;

  // False once the XML is found not well formed (or holds a refused DTD), or
  // the handler has stopped.
  bool feed(std::string_view piece);
  // After the last piece: false when the document is incomplete or damaged.
  bool finish();
  // The line (from 1) of what the handler is being told about.
  int line() const;
  // The parse stopped at a document type declaration its rule refuses.
  bool refusedDoctype() const { return refusedDoctype_; }

 private:
  // expat's callbacks; `data` is the stream.
  static void onStart(void* data, const char* name, const char** attributes);
  static void onEnd(void* data, const char* name);
  static void onText(void* data, const char* piece, int length);
  static void onDoctype(void* data, const char* name, const char* systemId, const char* publicId, int internalSubset);
  // Runs a handler's call unless the parse is stopping; stops it when the
  // call throws or the handler stops.
  template <typename Call>
  void dispatch(Call call);
  // After expat returns: the handler's exception, or expat's lack of memory.
  void throwWhatHappenedInside();

  void* parser_;  // expat's XML_Parser
  XmlHandler& handler_;
  DoctypeRule doctype_;
  bool failed_ = false;
  bool stopping_ = false;
  bool refusedDoctype_ = false;
  std::exception_ptr thrown_;
};

}  // namespace venbrook
