#pragma once
// A workbook part's XML, parsed by expat as its pieces arrive from the zip
// archive: the whole part is never held. Element and attribute names reach
// the handler without their prefix (`row` whether the part writes <row> or
// <x:row>, in the transitional or the strict namespace), which is how the
// parts of Excel, WPS and LibreOffice all read alike.
//
// A document type declaration makes the part damaged: no workbook part has
// one, and it is the door to entity expansion ("billion laughs") and to
// external entities. Parameter entities are never parsed either.
//
// No exception ever passes through expat's C frames: one thrown by a
// handler (memory running out) stops the parser and is thrown again once
// expat has returned; expat's own allocation failing is std::bad_alloc too.
#include <exception>
#include <string_view>

namespace venbrook {

// A name without its prefix: "row" of "x:row".
std::string_view XmlLocalName(const char* name);

// An element's attributes as expat gives them: name, value, name, value, ...,
// null; found by their names without a prefix.
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
  // The value of the attribute of that local name, or null.
  const char* find(std::string_view localName) const;
  // Each attribute's local name and value, in one pass.
  template <typename Visit>
  void forEach(Visit visit) const {
    for (const char** pair = pairs_; *pair; pair += 2) visit(XmlLocalName(pair[0]), pair[1]);
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

class XmlStream {
 public:
  explicit XmlStream(XmlHandler& handler);
  ~XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;

  // False once the XML is found not well formed (or holds a DTD), or the
  // handler has stopped.
  bool feed(std::string_view piece);
  // After the last piece: false when the document is incomplete or damaged.
  bool finish();

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
  bool failed_ = false;
  bool stopping_ = false;
  std::exception_ptr thrown_;
};

}  // namespace venbrook
