#pragma once
// How a text file's bytes encode its characters, decided once for the whole
// file before any line is read.
#include <cstddef>
#include <string>
#include <string_view>

namespace venbrook {

enum class TextEncoding { Utf8, Gbk, Utf16Le, Utf16Be };

struct DetectedEncoding {
  TextEncoding encoding;
  std::size_t markBytes;  // the byte-order mark's length, 0 without one
};

// A byte-order mark decides; without one, UTF-16 shows itself by its zero
// bytes (the ASCII of a list, its digits, separators and line ends, has a
// zero byte in every other place); else UTF-8 when the bytes are well-formed
// UTF-8 holding at least one character of more than one byte; else GBK.
DetectedEncoding DetectTextEncoding(std::string_view bytes);

// The whole text as UTF-8 (the mark left out). For files read whole and
// small enough to hold twice: routers' and DHCP servers' files. A byte
// sequence that is no character of the encoding becomes U+FFFD.
std::string DecodeToUtf8(std::string_view bytes);
// The same, taking the bytes: UTF-8 already is kept, not copied.
std::string DecodeToUtf8(std::string&& bytes);

}  // namespace venbrook
