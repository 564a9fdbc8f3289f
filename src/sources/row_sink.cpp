#include "sources/row_sink.h"

#include "model/gbk_text.h"
#include "model/mac_address.h"
#include "model/text_codec.h"

namespace venbrook {
namespace {

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

void RowSink::begin() {
  if (begun_) return;
  begun_ = true;
  list_.clear();
  if (expectedRows_ > 0) list_.reserve(expectedRows_, expectedTextBytes_);
}

bool RowSink::addUtf8(std::string_view name, std::string_view mac) {
  Utf8ToGbkInto(UpToNul(name), name_, textRule_);
  Utf8ToGbkInto(UpToNul(mac), mac_, textRule_);
  return append();
}

void RowSink::addUtf8Machine(std::string_view name, std::int64_t mac) {
  Utf8ToGbkInto(UpToNul(name), name_, textRule_);
  WriteCanonicalMac(mac, mac_);
  place();
}

void RowSink::addMachine(std::string_view name, CellText text, std::int64_t mac) {
  if (text == CellText::Utf8) {
    addUtf8Machine(name, mac);
    return;
  }
  name_.assign(UpToNul(name));
  WriteCanonicalMac(mac, mac_);
  place();
}

bool RowSink::addGbk(std::string_view name, std::string_view mac) {
  name_.assign(UpToNul(name));
  mac_.assign(UpToNul(mac));
  return append();
}

bool RowSink::append() {
  switch (macRule_) {
    case MacRule::AsStored: break;
    case MacRule::UpperAscii: UpperAsciiInPlace(mac_); break;
    case MacRule::Canonical: {
      const std::int64_t number = MacNumber(mac_);
      if (!IsMachineAddress(number)) return false;
      WriteCanonicalMac(number, mac_);
      break;
    }
  }
  place();
  return true;
}

void RowSink::place() {
  begin();
  rule_.newNameInto(name_, newName_);
  list_.appendQuietly(name_, newName_, mac_);
  ++rows_;
}

void RowSink::finish() {
  begin();
  list_.endBulkAppend();
}

void RowSink::abandon() {
  begun_ = true;
  rows_ = 0;
  list_.clear();
}

}  // namespace venbrook
