#pragma once
// Any file that is neither a database nor a workbook: text, read by the
// layout its first bytes show (table/text_layouts.h), else as a text list
// (text_list.h), which says when it finds no list.
#include "sources/read_types.h"

namespace venbrook {

ReadResult ReadTextFile(const ReadRequest& request);

}  // namespace venbrook
