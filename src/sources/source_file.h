#pragma once
// A list kept as a file of text, read whole: a text list, a router's or a
// DHCP server's file. What can go wrong before a line is read is the same
// for all of them, and so is what the operator is told.
#include <cstdint>
#include <optional>
#include <string>

#include "sources/machine_source.h"
#include "sources/read_bounds.h"
#include "sources/source_words.h"

namespace venbrook {

// A larger file is not a list an operator keeps, and is refused before
// anything is read.
constexpr std::uint64_t kMaxTextListBytes = kMaxFileBytes;

// Closes the connection (the rows no longer come from the database it
// holds) and reads the file at the request's path into `bytes`. None when
// the bytes are there; otherwise the result to hand back: a file that does
// not open, or is too large, changes nothing; a read that fails part-way
// empties the list, since part of a file never passes for the whole list.
std::optional<ReadResult> ReadWholeListFile(const ReadRequest& request, std::string& bytes);

// The file held no machine: nothing changed, and the label says why.
ReadResult NoListResult(const ReadRequest& request, NoListReason reason);

}  // namespace venbrook
