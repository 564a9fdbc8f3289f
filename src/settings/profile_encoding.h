#pragma once
// How the bytes of a profile file are its text, decided once from the whole
// file, and how that text is written back, as the Windows profile functions
// do with INI files:
//   - a file that begins with a UTF-16 byte-order mark (little-endian, as
//     Notepad saves "Unicode", or big-endian) is UTF-16, written back as
//     UTF-16 in the same order with its mark;
//   - any other file is GBK, byte for byte, a UTF-8 byte-order mark
//     included (the mark is then part of the first line).
// Files that are not wholly one or the other are read as far as can be told
// and written back whole, in their own encoding, never appended to:
//   - UTF-16 followed by GBK lines, which hands that took the file for GBK
//     appended (a line end of one byte, a section and a key, no NUL byte),
//     is one text: the GBK part is converted and the whole written as
//     UTF-16; a last byte short of a UTF-16 unit becomes U+FFFD;
//   - a file without a mark that holds NUL bytes, which no GBK text holds,
//     is GBK without them.
#include <string>
#include <string_view>

namespace venbrook {

enum class ProfileEncoding { Gbk, Utf16Le, Utf16Be };

struct ProfileContent {
  ProfileEncoding encoding = ProfileEncoding::Gbk;
  std::string gbk;       // the text of a GBK file
  std::u16string utf16;  // the text of a UTF-16 file, without its mark
};

ProfileContent DecodeProfile(std::string_view bytes);
std::string EncodeProfile(const ProfileContent& content);

// A GBK file's text as a UTF-16 little-endian file's, for a value that GBK
// cannot write. After a UTF-8 byte-order mark each line is read as UTF-8
// where it is UTF-8, else as the GBK that was added to such files.
ProfileContent InUtf16(const ProfileContent& content);

}  // namespace venbrook
