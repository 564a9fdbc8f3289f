#include "sources/text/text_file.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "model/text_codec.h"
#include "sources/list_file.h"
#include "sources/source_words.h"
#include "sources/table/text_layouts.h"
#include "sources/text/text_encoding.h"
#include "sources/text/text_list.h"

namespace venbrook {
namespace {

ListFileRead ReadLaidOut(const TextLayoutRow& row, std::string& bytes, RowSink& sink) {
  std::string text = DecodeToUtf8(std::move(bytes));
  std::string().swap(bytes);  // the text alone from now on
  const std::unique_ptr<TableLayout> layout = row.make(text);
  sink.expect(text.size() / 24, text.size() + text.size() / 2);
  return {ReadTable(*layout, sink), MessageText(Gbk(layout->wordsUtf8()))};
}

ListFileRead ReadTextBytes(std::string& bytes, const ReadRequest&, RowSink& sink) {
  if (const TextLayoutRow* row = LayoutClaiming(SampleText(bytes))) return ReadLaidOut(*row, bytes, sink);
  sink.expect(bytes.size() / 24, bytes.size() + bytes.size() / 2);
  const std::unique_ptr<TableLayout> layout = MakeTextListLayout(bytes);
  return {ReadTable(*layout, sink), MessageText(Gbk(layout->wordsUtf8()))};
}

}  // namespace

ReadResult ReadTextFile(const ReadRequest& request) { return ReadListFile(request, ReadTextBytes); }

}  // namespace venbrook
