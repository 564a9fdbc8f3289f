#pragma once
// A list kept in a file that is read whole: text of any layout, a workbook.
// What can go wrong before and after the reading is the same for all of
// them, and so is what the operator is told; this is its one outline.
#include <string>

#include "model/message_text.h"
#include "sources/read_types.h"
#include "sources/row_sink.h"
#include "sources/source_words.h"
#include "sources/table/table_read.h"

namespace venbrook {

// What a file's reader made of its bytes: the table read, and what the
// source label calls the file (GBK words, the file's name among them where
// they quote it).
struct ListFileRead {
  TableRead table;
  MessageText what;
};

// The reader of a file's bytes into the sink. It may free the bytes once it
// no longer needs them, before the rows go to the list.
using ListFileReader = ListFileRead (*)(std::string& bytes, const ReadRequest& request, RowSink& sink);

// Reads the file at the request's path (read-only, shared, refused past
// kMaxFileBytes) and hands it to `read`. A file that does not open, is too
// large or holds no list changes nothing, and the label says why; a read
// that fails part-way empties the list, since part of a file never passes
// for the whole list.
ReadResult ReadListFile(const ReadRequest& request, ListFileReader read);

// The file held no machine: nothing changed, and the label says why.
ReadResult NoListResult(const ReadRequest& request, NoListReason reason);

}  // namespace venbrook
