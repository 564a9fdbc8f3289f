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
// A handler may throw (a bound passed, memory run out): the exception is
// caught before it reaches expat's C frames, the parser is stopped, and
// feed() rethrows it once expat has returned.
#include <exception>
#include <string_view>

namespace venbrook {

// An element's attributes as expat gives them: name, value, name, value, ...,
// null; found by their names without a prefix.
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
  // The value of the attribute of that local name, or null.
  const char* find(std::string_view localName) const;
  // Each attribute in the document's order, as (local name, value); the
  // namespace declarations (xmlns, xmlns:x) are no data and are left out.
  template <class Visit>
  void forEach(Visit visit) const {
    for (const char** pair = pairs_; *pair; pair += 2)
      if (!IsNamespaceDeclaration(pair[0])) visit(LocalName(pair[0]), std::string_view(pair[1]));
  }

  static std::string_view LocalName(const char* name);
  static bool IsNamespaceDeclaration(std::string_view name);

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

  // False once the XML is found not well formed (or holds a refused DTD).
  // Rethrows what a handler threw.
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

  // The handler's exception kept and the parser stopped: never thrown
  // through expat.
  void stopWith(std::exception_ptr thrown);
  bool parse(std::string_view piece, bool last);

  void* parser_;  // expat's XML_Parser
  XmlHandler& handler_;
  DoctypeRule doctype_;
  bool failed_ = false;
  bool refusedDoctype_ = false;
  std::exception_ptr thrown_;
};

}  // namespace venbrook
