#pragma once
// The words of ISC dhcpd's files, both written in the syntax of
// dhcpd.conf(5): statements end in ';', declarations hold theirs between
// '{' and '}', '#' starts a comment to the line's end, strings are in
// double quotes ("\344" an octal byte, "\t" a blank). Where a statement
// breaks its lines does not matter; commas only join the values of one
// statement and are dropped.
#include <string>
#include <string_view>

namespace venbrook {

struct IscToken {
  enum Kind { Word, String, Open, Close, End } kind = Word;
  std::string text;  // a word's or a string's, UTF-8 (escaped bytes as EscapedBytesText reads them)
  int line = 0;
};

class IscTokens {
 public:
  explicit IscTokens(std::string_view text) : text_(text) {}
  // False at the text's end, or at a word or string longer than
  // kMaxRecordBytes (then tooLong()), before it is copied.
  bool next(IscToken& token);
  bool tooLong() const { return tooLong_; }

 private:
  bool string(IscToken& token);

  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;
  bool tooLong_ = false;
};

// "0:0:c0:5d:bd:95", as dhcpd.conf allows a hardware address, with every
// byte in two digits; any other text as it is.
std::string HardwareAddress(std::string_view text);

}  // namespace venbrook
