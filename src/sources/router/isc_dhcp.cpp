#include "sources/router/isc_dhcp.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "model/mac_address.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

struct Token {
  enum Kind { Word, String, Open, Close, End } kind;
  std::string text;
  int line;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool EndsWord(char c) { return IsSpace(c) || c == '{' || c == '}' || c == ';' || c == ',' || c == '"'; }
int OctalDigit(char c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

// The text cut into words, strings and the three marks; commas are dropped
// (they only join the values of one statement).
class IscTokens {
 public:
  explicit IscTokens(std::string_view text) : text_(text) {}

  bool next(Token& token) {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n' || (c == '\r' && text_.substr(at_, 2) != "\r\n")) ++line_;
      if (IsSpace(c) || c == ',') {
        ++at_;
      } else if (c == '#') {
        while (at_ < text_.size() && text_[at_] != '\n' && text_[at_] != '\r') ++at_;
      } else {
        token.line = line_;
        token.text.clear();
        if (c == '"') return string(token);
        ++at_;
        token.kind = c == '{' ? Token::Open : c == '}' ? Token::Close : c == ';' ? Token::End : Token::Word;
        if (token.kind != Token::Word) return true;
        const std::size_t start = at_ - 1;
        while (at_ < text_.size() && !EndsWord(text_[at_])) ++at_;
        token.text.assign(text_.substr(start, at_ - start));
        return true;
      }
    }
    return false;
  }

 private:
  // A string to its closing quote (or the end of the text); escapes give
  // the byte they name, a line break inside is a blank.
  bool string(Token& token) {
    token.kind = Token::String;
    bool escaped = false;
    for (++at_; at_ < text_.size() && text_[at_] != '"'; ++at_) {
      char c = text_[at_];
      if (c == '\n' || (c == '\r' && text_.substr(at_, 2) != "\r\n")) ++line_;
      if (c == '\\' && at_ + 1 < text_.size()) {
        c = text_[++at_];
        if (c == '\n') ++line_;
        int value = OctalDigit(c);
        if (value >= 0) {
          for (int more = 0; more < 2 && at_ + 1 < text_.size() && OctalDigit(text_[at_ + 1]) >= 0; ++more)
            value = value * 8 + OctalDigit(text_[++at_]);
          c = static_cast<char>(value & 0xFF);
          escaped = true;
        } else if (c == 't' || c == 'n' || c == 'r' || c == 'b') {
          c = ' ';
        }
      }
      if (c == '\r' || c == '\n') c = ' ';
      token.text += c;
    }
    ++at_;
    if (escaped) token.text = EscapedBytesText(token.text);
    return true;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;
};

// "0:0:c0:5d:bd:95", as dhcpd.conf allows, with every byte in two digits.
std::string HardwareAddress(std::string_view text) {
  std::string padded;
  std::size_t groups = 0, start = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && text[at] != ':') continue;
    const std::size_t length = at - start;
    if (length == 0 || length > 2) return std::string(text);
    if (length == 1) padded += '0';
    padded.append(text.substr(start, length));
    if (at < text.size()) padded += ':';
    start = at + 1;
    ++groups;
  }
  return groups == 6 ? padded : std::string(text);
}

struct Block {
  bool lease;  // a lease, or a host
  std::string name, mac;
  bool hasMac = false;
  int line = 0;
};

// Goes through the declarations; each host or lease block with a hardware
// statement at its own level is handed on when it closes (or when the text
// ends inside it: a file cut short keeps the MACs it has).
class IscReader {
 public:
  // The statements at the start of the text (up to the first few words of
  // each) and what the declaration heads among them say about the file.
  struct Kinds {
    bool leases = false, config = false;
  };

  template <typename OnBlock>
  static Kinds read(std::string_view text, OnBlock onBlock) {
    IscTokens tokens(text);
    Token token;
    std::vector<Token> statement;
    Block open;
    bool isOpen = false;
    int depth = 0, openDepth = 0;
    Kinds kinds;
    const auto close = [&] {
      if (isOpen && open.hasMac) onBlock(open);
      isOpen = false;
    };
    const auto statementEnds = [&] {
      if (isOpen && depth == openDepth && statement.size() >= 2) {
        if (statement[0].text == "hardware" && statement.size() >= 3) {
          open.mac = HardwareAddress(statement[2].text);
          open.hasMac = true;
        } else if (open.lease && statement[0].text == "client-hostname") {
          open.name = statement[1].text;
        }
      }
      if (statement.size() >= 2 && statement[0].kind == Token::Word && IsConfigStatement(statement)) kinds.config = true;
      statement.clear();
    };
    while (tokens.next(token)) {
      switch (token.kind) {
        case Token::Word:
        case Token::String:
          if (statement.size() < 5) statement.push_back(token);
          break;
        case Token::End: statementEnds(); break;
        case Token::Open: {
          const std::string_view head = statement.empty() ? std::string_view{} : statement[0].text;
          const bool lease = head == "lease" && statement.size() == 2 && IsIpv4Address(statement[1].text);
          const bool host = head == "host" && statement.size() == 2;
          kinds.leases |= lease;
          kinds.config |= host || head == "group" || head == "shared-network" ||
                          (head == "subnet" && statement.size() == 4 && statement[2].text == "netmask");
          if (lease || host) {
            close();
            open = Block{lease, host ? statement[1].text : std::string(), {}, false, statement[0].line};
            isOpen = true;
            openDepth = depth + 1;
          }
          statement.clear();
          ++depth;
          break;
        }
        case Token::Close:
          statementEnds();
          if (isOpen && depth == openDepth) close();
          if (depth > 0) --depth;
          break;
      }
    }
    statementEnds();
    close();
    return kinds;
  }

 private:
  static bool IsConfigStatement(const std::vector<Token>& statement) {
    const std::string_view head = statement[0].text;
    return head == "default-lease-time" || head == "max-lease-time" || head == "ddns-update-style" ||
           head == "log-facility";
  }
};

}  // namespace

void ReadIscLeases(std::string_view text, RouterRows& rows) {
  std::vector<Block> blocks;
  IscReader::read(text, [&](const Block& block) { blocks.push_back(block); });
  // The last block of each MAC; a text that is no MAC stays, for the sink to
  // count as skipped.
  std::unordered_map<std::int64_t, std::size_t> last;
  for (std::size_t i = 0; i < blocks.size(); ++i) last[MacNumber(blocks[i].mac)] = i;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const std::int64_t number = MacNumber(blocks[i].mac);
    if (number < 0 || last[number] == i) rows.add(blocks[i].name, blocks[i].mac, blocks[i].line);
  }
}

void ReadIscConfig(std::string_view text, RouterRows& rows) {
  IscReader::read(text, [&](const Block& block) { rows.add(block.name, block.mac, block.line); });
}

}  // namespace venbrook
