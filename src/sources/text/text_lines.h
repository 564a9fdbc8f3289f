#pragma once
// The lines of a text, numbered from 1 and ending at CR LF, LF or CR, with
// the place each begins at, so that a reader may look ahead and come back.
// CR CR LF, as wmic writes its lines into a file, ends one line.
#include <cstddef>
#include <cstring>
#include <string_view>

namespace venbrook {

class TextLines {
 public:
  // Where a line begins: its first byte and its number less one.
  struct Place {
    std::size_t at = 0;
    int numberBefore = 0;
  };

  explicit TextLines(std::string_view text) : text_(text), at_(0), number_(0) {}
  TextLines(std::string_view text, Place from) : text_(text), at_(from.at), number_(from.numberBefore) {}

  bool next(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    const char* start = text_.data() + at_;
    const std::size_t rest = text_.size() - at_;
    const void* lineFeed = std::memchr(start, '\n', rest);
    const std::size_t upTo = lineFeed ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) : rest;
    const void* carriageReturn = std::memchr(start, '\r', upTo);
    const std::size_t length =
        carriageReturn ? static_cast<std::size_t>(static_cast<const char*>(carriageReturn) - start) : upTo;
    line = std::string_view(start, length);
    at_ += length;
    const std::string_view end = text_.substr(at_, 3);
    at_ += end.starts_with("\r\r\n") ? 3 : end.starts_with("\r\n") ? 2 : 1;
    ++number_;
    return true;
  }

  // The line the last `next` gave.
  int number() const { return number_; }
  // Where the next line begins.
  Place place() const { return {at_, number_}; }
  void goBackTo(Place place) {
    at_ = place.at;
    number_ = place.numberBefore;
  }

 private:
  std::string_view text_;
  std::size_t at_;
  int number_;
};

}  // namespace venbrook
