// Reads files as the window loads them and prints what came of each, one
// JSON object a line, for scripts/trial.py to hold against the lists a
// person expects:
//
//   trial_read FILE...   {"file":…,"outcome":"Loaded","label":…,"rows":[{"mac":…,"name":…},…]}
//   trial_read --shown   each UTF-8 line of standard input as the list shows
//                        it: through GBK, '?' for what GBK cannot write
//
// Texts are printed in UTF-8; the list's own texts are GBK.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "model/machine_list.h"
#include "model/rename_rule.h"
#include "model/text_codec.h"
#include "sources/machine_source.h"
#include "sources/sqlite/source_connection.h"

namespace venbrook {
namespace {

std::string_view OutcomeWord(LoadOutcome outcome) {
  switch (outcome) {
    case LoadOutcome::Ignored: return "Ignored";
    case LoadOutcome::OpenFailed: return "OpenFailed";
    case LoadOutcome::Loaded: return "Loaded";
    case LoadOutcome::ReadFailed: return "ReadFailed";
    case LoadOutcome::NoList: return "NoList";
  }
  return "Unknown";
}

// A JSON string of UTF-8 text; a byte that is no UTF-8 would make the line
// unreadable, so the converter's output is trusted to be UTF-8.
std::string Quoted(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string Label(const MessageText& reason) {
  return GbkToUtf8(reason.words) + reason.file.utf8() + GbkToUtf8(reason.wordsAfter);
}

void PrintRead(const std::string& file) {
  SourceConnection connection;
  MachineList list;
  const RenameRule rule;
  const ReadResult result = ReadMachines(connection, Path::FromUtf8(file), rule, list);
  std::string line = "{\"file\":" + Quoted(file) + ",\"outcome\":" + Quoted(OutcomeWord(result.outcome)) +
                     ",\"label\":" + Quoted(Label(result.reason)) + ",\"rows\":[";
  for (int i = 0; i < list.count(); ++i) {
    if (i > 0) line += ',';
    line += "{\"mac\":" + Quoted(GbkToUtf8(list.cellText(i, kMacColumn))) +
            ",\"name\":" + Quoted(GbkToUtf8(list.cellText(i, kMachineNameColumn))) + '}';
  }
  std::cout << line << "]}\n";
}

void PrintShown() {
  std::string line;
  while (std::getline(std::cin, line)) std::cout << GbkToUtf8(Utf8ToGbk(line, Utf8Rule::AnyCharacter)) << '\n';
}

}  // namespace
}  // namespace venbrook

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: trial_read FILE... | trial_read --shown\n";
    return 2;
  }
  if (std::string_view(argv[1]) == "--shown") {
    venbrook::PrintShown();
    return 0;
  }
  for (int i = 1; i < argc; ++i) venbrook::PrintRead(argv[i]);
  return 0;
}
