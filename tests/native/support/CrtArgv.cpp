// The C runtime's argv rules, walked byte by byte as the runtime walks them.
#include "CrtArgv.h"

namespace NativeTesting {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

class TCursor {
public:
  TCursor(std::string_view line, const Win32::TLeadBytes& leadBytes)
      : FLine(line.substr(0, line.find('\0'))), FLeadBytes(leadBytes) {}

  bool AtEnd() const { return FAt >= FLine.size(); }
  char Peek(std::size_t ahead = 0) const { return FAt + ahead < FLine.size() ? FLine[FAt + ahead] : '\0'; }
  void Skip() { ++FAt; }

  // One character: a lead byte brings the byte after it along, whatever that byte is.
  void CopyCharacter(std::string& to) {
    bool lead = FLeadBytes[static_cast<unsigned char>(Peek())];
    to += FLine[FAt++];
    if (lead && !AtEnd()) to += FLine[FAt++];
  }

private:
  std::string_view FLine;
  const Win32::TLeadBytes& FLeadBytes;
  std::size_t FAt = 0;
};

std::string ProgramName(TCursor& cursor) {
  std::string name;
  bool inQuotes = false;
  while (!cursor.AtEnd()) {
    char c = cursor.Peek();
    if (c == '"') {
      inQuotes = !inQuotes;
      cursor.Skip();
    } else if (!inQuotes && IsBlank(c)) {
      cursor.Skip();
      break;
    } else {
      cursor.CopyCharacter(name);
    }
  }
  return name;
}

std::string Argument(TCursor& cursor) {
  std::string argument;
  bool inQuotes = false;
  for (;;) {
    std::size_t backslashes = 0;
    while (cursor.Peek() == '\\') {
      cursor.Skip();
      ++backslashes;
    }
    bool copyQuote = false;
    bool atQuote = cursor.Peek() == '"';
    if (atQuote) {
      if (backslashes % 2 == 1) {
        copyQuote = true;
      } else if (inQuotes && cursor.Peek(1) == '"') {
        cursor.Skip();  // "" inside quotes: the second one is a literal quote
        copyQuote = true;
      } else {
        inQuotes = !inQuotes;
      }
      backslashes /= 2;
    }
    argument.append(backslashes, '\\');
    if (cursor.AtEnd() || (!inQuotes && IsBlank(cursor.Peek()))) return argument;
    if (atQuote) {
      if (copyQuote) argument += '"';
      cursor.Skip();
    } else {
      cursor.CopyCharacter(argument);
    }
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line, const Win32::TLeadBytes& leadBytes) {
  TCursor cursor(line, leadBytes);
  std::vector<std::string> argv{ProgramName(cursor)};
  for (;;) {
    while (IsBlank(cursor.Peek())) cursor.Skip();
    if (cursor.AtEnd()) return argv;
    argv.push_back(Argument(cursor));
  }
}

}  // namespace NativeTesting
