#pragma once
// JSON text read as a stream of events by a kept parser, RapidJSON's SAX
// reader: no document is ever built. It keeps its own stack on the heap
// (iterative parsing), so nesting never reaches the thread's stack; every
// walk over a file counts its depth and stops at kMaxDepth. A string or a
// number is copied once into the reader's stack before it is handed over:
// that stack may not grow past a few times kMaxRecordBytes, so no value
// can ask for more memory than a record may hold.
//
// One text may hold several values one after another, as JSON Lines holds
// one object per line: each is read in turn. Comments (//, /* */ and #, as
// Kea's configuration allows) are passed over, as configuration files
// written by hand carry them.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace venbrook {

// What a walk over JSON is told, in the text's order. False: stop now.
class JsonEvents {
 public:
  virtual bool startObject() = 0;
  virtual bool endObject() = 0;
  virtual bool startArray() = 0;
  virtual bool endArray() = 0;
  virtual bool key(std::string_view key) = 0;
  // A string, a number as the text writes it, true or false; null is an
  // empty value.
  virtual bool value(std::string_view text) = 0;

 protected:
  ~JsonEvents() = default;
};

enum class JsonEnd : std::uint8_t {
  Done,           // every value read to the end of the text
  Stopped,        // the events asked to stop
  Damaged,        // the text is no JSON from some point on
  ValueTooLarge,  // a string, number or key past what a record may hold
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  JsonEnd read(JsonEvents& events);
  // How far the reader is, in bytes from the text's start: during an
  // event, just past what it tells of.
  std::size_t offset() const { return offset_; }

  // Where a value's bytes may go: reader's stack past this is a value too large.
  static constexpr std::size_t kMaxStackBytes = 4u * 1024 * 1024;

 private:
  friend class JsonTextStream;
  std::string_view text_;
  std::size_t offset_ = 0;
};

}  // namespace venbrook
