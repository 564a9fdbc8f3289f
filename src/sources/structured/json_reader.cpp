#include "sources/structured/json_reader.h"

// Blanks are passed over sixteen at a time where the processor is sure to
// have SSE2 (every x86-64; a 32-bit build only when told so).
#if defined(__SSE2__) && !defined(RAPIDJSON_SSE2)
#define RAPIDJSON_SSE2
#endif
#include <rapidjson/reader.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "sources/read_bounds.h"

namespace venbrook {

// The text as RapidJSON reads it, a character at a time; the reader's place
// kept in the JsonReader so that the events can ask for it.
class JsonTextStream {
 public:
  using Ch = char;
  explicit JsonTextStream(JsonReader& reader) : reader_(reader), text_(reader.text_.data()), size_(reader.text_.size()) {}

  Ch Peek() const { return reader_.offset_ < size_ ? text_[reader_.offset_] : '\0'; }
  // Blanks passed over on the text itself, not a character at a time
  // through Peek and Take (pretty-printed JSON is a third blanks).
  // A shell comment ("# …" to the line's end, as Kea's configuration
  // allows beside // and /* */) is passed over as a blank: this is only
  // asked between values, never inside a string.
  void skipBlanks() {
    skipWhitespace();
    if (reader_.offset_ < size_ && text_[reader_.offset_] == '#') skipShellComments();
  }
  void skipWhitespace() {
    const char* const at = text_ + reader_.offset_;
#ifdef RAPIDJSON_SSE2
    reader_.offset_ += static_cast<std::size_t>(rapidjson::SkipWhitespace_SIMD(at, text_ + size_) - at);
#else
    reader_.offset_ += static_cast<std::size_t>(rapidjson::SkipWhitespace(at, text_ + size_) - at);
#endif
  }
  // Seldom met: kept out of the blanks' path.
  [[gnu::noinline]] void skipShellComments() {
    while (reader_.offset_ < size_ && text_[reader_.offset_] == '#') {
      const void* lineEnd = std::memchr(text_ + reader_.offset_, '\n', size_ - reader_.offset_);
      reader_.offset_ = lineEnd ? static_cast<std::size_t>(static_cast<const char*>(lineEnd) - text_) : size_;
      skipWhitespace();
    }
  }

  // The characters of a string up to its closing quote, an escape or a
  // control character (which RapidJSON then reads itself).
  std::string_view takePlain() {
    const std::size_t start = reader_.offset_;
    std::size_t at = start;
    while (at < size_ && text_[at] != '"' && text_[at] != '\\' && static_cast<unsigned char>(text_[at]) >= 0x20) ++at;
    reader_.offset_ = at;
    return {text_ + start, at - start};
  }
  Ch Take() { return reader_.offset_ < size_ ? text_[reader_.offset_++] : '\0'; }
  std::size_t Tell() const { return reader_.offset_; }
  // Only read, never written in place.
  Ch* PutBegin() { return nullptr; }
  void Put(Ch) {}
  void Flush() {}
  std::size_t PutEnd(Ch*) { return 0; }

 private:
  JsonReader& reader_;
  const char* text_;
  std::size_t size_;
};

namespace {

static_assert(JsonReader::kMaxStackBytes >= 2 * kMaxRecordBytes, "a value of kMaxRecordBytes must fit the stack");

struct StackTooLarge {};

// Names the reader's stack below.
struct BoundedStack {};

using JsonParser = rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, BoundedStack>;

}  // namespace
}  // namespace venbrook

// The reader's stack (its states, and a string or number being copied),
// the reader's own point of extension being the stack's allocator. This
// stack is refused past kMaxStackBytes (a value too large) and throws
// std::bad_alloc rather than leave a null pointer the reader would write
// through; and it never does arithmetic on a null pointer before its first
// block, as RapidJSON 1.1.0's own stack does (undefined; mended after 1.1.0).
template <>
class rapidjson::internal::Stack<venbrook::BoundedStack> {
 public:
  Stack(venbrook::BoundedStack*, std::size_t) {}
  ~Stack() { std::free(bottom_); }
  Stack(const Stack&) = delete;
  Stack& operator=(const Stack&) = delete;

  template <typename T>
  T* Push(std::size_t count = 1) {
    const std::size_t bytes = sizeof(T) * count;
    if (bytes > static_cast<std::size_t>(end_ - top_)) grow(bytes);
    T* pushed = reinterpret_cast<T*>(top_);
    top_ += bytes;
    return pushed;
  }
  template <typename T>
  T* Pop(std::size_t count) {
    top_ -= sizeof(T) * count;
    return reinterpret_cast<T*>(top_);
  }
  template <typename T>
  T* Top() {
    return reinterpret_cast<T*>(top_ - sizeof(T));
  }
  void Clear() { top_ = bottom_; }

 private:
  void grow(std::size_t bytes) {
    const std::size_t size = static_cast<std::size_t>(top_ - bottom_);
    const std::size_t capacity = std::max({size + bytes, 2 * static_cast<std::size_t>(end_ - bottom_), std::size_t{256}});
    if (size + bytes > venbrook::JsonReader::kMaxStackBytes) throw venbrook::StackTooLarge{};
    const std::size_t kept = std::min(capacity, venbrook::JsonReader::kMaxStackBytes);
    char* grown = static_cast<char*>(std::realloc(bottom_, kept));
    if (!grown) throw std::bad_alloc();
    bottom_ = grown;
    top_ = grown + size;
    end_ = grown + kept;
  }

  char* bottom_ = nullptr;
  char* top_ = nullptr;
  char* end_ = nullptr;
};

// RapidJSON's own points of extension for a stream, as it has them for its
// in-memory streams: blanks passed over, and a string's plain characters
// copied, on the text itself rather than a character at a time through
// Peek, Take and Put (pretty-printed JSON is a third blanks; a value is
// mostly plain characters).
template <>
inline void rapidjson::SkipWhitespace(venbrook::JsonTextStream& stream) {
  stream.skipBlanks();
}

template <>
template <>
inline void venbrook::JsonParser::ScanCopyUnescapedString(venbrook::JsonTextStream& stream,
                                                          venbrook::JsonParser::StackStream<char>& copy) {
  const std::string_view plain = stream.takePlain();
  if (!plain.empty()) std::memcpy(copy.Push(static_cast<rapidjson::SizeType>(plain.size())), plain.data(), plain.size());
}

namespace venbrook {
namespace {

// RapidJSON's handler, passing each event on.
class Handler {
 public:
  explicit Handler(JsonEvents& events) : events_(events) {}

  bool Null() { return events_.value({}); }
  bool Bool(bool value) { return events_.value(value ? "true" : "false"); }
  // Numbers come as written (kParseNumbersAsStringsFlag), never converted.
  bool Int(int) { return true; }
  bool Uint(unsigned) { return true; }
  bool Int64(std::int64_t) { return true; }
  bool Uint64(std::uint64_t) { return true; }
  bool Double(double) { return true; }
  bool RawNumber(const char* text, rapidjson::SizeType length, bool) { return events_.value({text, length}); }
  bool String(const char* text, rapidjson::SizeType length, bool) { return events_.value({text, length}); }
  bool StartObject() { return events_.startObject(); }
  bool Key(const char* text, rapidjson::SizeType length, bool) { return events_.key({text, length}); }
  bool EndObject(rapidjson::SizeType) { return events_.endObject(); }
  bool StartArray() { return events_.startArray(); }
  bool EndArray(rapidjson::SizeType) { return events_.endArray(); }

 private:
  JsonEvents& events_;
};

constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag |
                            rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseCommentsFlag;

}  // namespace

JsonEnd JsonReader::read(JsonEvents& events) {
  // A byte-order mark the decoding left is no part of the JSON.
  offset_ = text_.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  JsonTextStream stream(*this);
  JsonParser reader;
  Handler handler(events);
  try {
    for (bool first = true;; first = false) {
      const rapidjson::ParseResult result = reader.Parse<kFlags>(stream, handler);
      if (!result.IsError()) continue;
      switch (result.Code()) {
        // Nothing but blanks and comments left, at the very end: the last
        // value is read.
        case rapidjson::kParseErrorDocumentEmpty:
          return !first && result.Offset() >= text_.size() ? JsonEnd::Done : JsonEnd::Damaged;
        case rapidjson::kParseErrorTermination: return JsonEnd::Stopped;
        default: return JsonEnd::Damaged;
      }
    }
  } catch (const StackTooLarge&) {
    return JsonEnd::ValueTooLarge;
  }
}

}  // namespace venbrook
