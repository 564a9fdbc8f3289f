#pragma once
// The new names the operator typed, kept by machine in 机器名.ini beside the
// program: a GBK file like config.ini, never a source's file. A machine is
// its MAC's 48 bits (model/mac_address.h), so "00-1a-2b-3c-4d-5e",
// "00:1A:2B:3C:4D:5E" and "001A2B3C4D5E" are one key; the file writes the
// one form:
//
//   ; <a line of our own words>
//   [机器名]
//   00-1A-2B-3C-4D-5E=A区01
//
// The file is read once, with bounds, and written whole after every change.
// It is rewritten only when every line of it was understood: a file too
// large, unreadable, or holding a line that is none of a blank, a comment, a
// section and a name, is left exactly as it is, and the names typed meanwhile
// hold for this run only; `state` says why.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/path.h"

namespace venbrook {

class TypedNames {
 public:
  // Past these the file is not read: a café's names take a few hundred KB.
  static constexpr std::uint64_t kMaxFileBytes = 4 << 20;
  // A name longer than this is no name typed here (the edit box and the
  // numbering stop well below it).
  static constexpr std::size_t kMaxNameBytes = 512;

  enum class State {
    Kept,           // the file holds every name (or there is none yet)
    NotWritten,     // the last write failed
    TooLarge,       // past kMaxFileBytes: not read, left alone
    Unreadable,     // there, but it could not be read: left alone
    NotUnderstood,  // a line of it is no name: left alone (`badLine` says which)
  };

  explicit TypedNames(Path file) : file_(std::move(file)) {}

  // A name the file can hold and give back: whole characters of code page
  // 936, no NUL, CR or LF, at most kMaxNameBytes.
  static bool IsStorableName(std::string_view name);

  // Reads the file, forgetting what was held.
  void read();
  // The same for the file's bytes, read already.
  void readBytes(std::string bytes);

  // The name typed for the machine, or nullptr.
  const std::string* find(std::int64_t mac) const {
    const auto found = names_.find(mac);
    return found == names_.end() ? nullptr : &found->second;
  }
  bool empty() const { return names_.empty(); }
  std::size_t size() const { return names_.size(); }

  // Changes in memory; `save` writes them.
  void set(std::int64_t mac, std::string_view name) { names_.insert_or_assign(mac, std::string(name)); }
  bool drop(std::int64_t mac) { return names_.erase(mac) > 0; }

  // Writes every name, unless the file is to be left alone. False when the
  // file does not hold them now.
  bool save();

  State state() const { return state_; }
  int badLine() const { return badLine_; }  // counted from 1; 0 for none
  const Path& file() const { return file_; }

  // The file's bytes for these names and the comments kept from it.
  std::string fileText() const;

 private:
  bool readLine(std::string_view line, bool utf8);

  Path file_;
  std::unordered_map<std::int64_t, std::string> names_;
  std::vector<std::string> comments_;  // the operator's own, written back after ours
  State state_ = State::Kept;
  int badLine_ = 0;
};

}  // namespace venbrook
