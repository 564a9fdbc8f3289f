#pragma once
// One line of a text list cut into its fields, a field at a time and without
// copying the line. The line decides how it splits: on runs of blanks when
// it starts with a key word (a MAC) and a space, as our own export writes
// "MAC name" whatever the name holds; else on tabs when it holds a tab
// outside double quotes; else on the first comma or semicolon found outside
// them; else on runs of blanks. Tab, comma and semicolon fields are
// trimmed of blanks and read double quotes as spreadsheets write them
// ("a,b", "" for a quote inside); a quote never closed runs to the line's
// end. Blanks are the space and the tab, and the ideographic space (U+3000
// in UTF-8, A1 A1 in GBK).
#include <cstddef>
#include <string>
#include <string_view>

namespace venbrook {

enum class LineText { Utf8, Gbk };

// Whether a line's first word makes it a blank-separated "key rest" line.
using KeyWordTest = bool (*)(std::string_view word);

class LineFields {
 public:
  // Starts on a new line; the text must outlive the reading of its fields.
  void reset(std::string_view line, LineText text, KeyWordTest isKeyWord);

  // The next field, false after the last. A field that had quotes taken out
  // lies in a buffer of this object, valid until the next call (see
  // `lastWasCopied`); any other is a view into the line.
  bool next(std::string_view& field);
  bool lastWasCopied() const { return copied_; }

  bool splitsOnBlanks() const { return separator_ == kBlanks; }
  // The line after the fields read so far, blanks trimmed at both ends.
  std::string_view rest() const;

 private:
  static constexpr char kBlanks = '\0';

  char decideSeparator(KeyWordTest isKeyWord) const;
  char separatorWithoutQuotes(KeyWordTest isKeyWord) const;
  bool keyWordThenSpace(std::size_t start, std::size_t end, KeyWordTest isKeyWord) const;
  std::string_view quotedField();
  std::size_t skipBlanks(std::size_t at) const;
  std::size_t skipSpaces(std::size_t at) const;
  std::string_view trimmedEnd(std::size_t start, std::size_t end) const;

  std::string_view line_;
  bool gbk_ = false;
  char separator_ = kBlanks;
  std::size_t at_ = 0;
  bool done_ = false;
  bool copied_ = false;
  std::string unquoted_;  // reused for every quoted field that needs it
};

// The quote that closes a quoted field whose opening quote is at
// `opening`, stepping over doubled quotes; npos when none closes it.
std::size_t ClosingQuote(std::string_view text, std::size_t opening);

// Holds nothing but blanks (or nothing at all).
bool IsBlankLine(std::string_view line, LineText text);

}  // namespace venbrook
