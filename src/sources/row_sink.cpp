#include "sources/row_sink.h"

#include "model/gbk_text.h"
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

void RowSink::addUtf8(std::string_view name, std::string_view mac) {
  Utf8ToGbkInto(UpToNul(name), name_);
  Utf8ToGbkInto(UpToNul(mac), mac_);
  append();
}

void RowSink::addGbk(std::string_view name, std::string_view mac) {
  name_.assign(name);
  mac_.assign(mac);
  append();
}

void RowSink::append() {
  begin();
  if (macRule_ == MacRule::UpperAscii) UpperAsciiInPlace(mac_);
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
