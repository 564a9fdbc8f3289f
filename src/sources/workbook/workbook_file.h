#pragma once
#include <string_view>

#include "sources/read_types.h"

namespace venbrook {

// A zip archive's first local header: a workbook, if it holds one.
bool IsZipArchive(std::string_view firstBytes);
// The compound file of Excel 97-2003 (.xls) and older WPS (.et) workbooks.
bool IsCompoundFile(std::string_view firstBytes);

// A workbook (.xlsx), read as workbook.h says.
ReadResult ReadWorkbookFile(const ReadRequest& request);
// An old binary workbook: refused with the words that say how to save it.
ReadResult RefuseOldWorkbook(const ReadRequest& request);

}  // namespace venbrook
