// Draws names with the cases that break quoting weighted up: blanks, dots, backslashes, double-byte
// characters whose trail byte is a backslash or a bar.
#include "FileNames.h"

namespace NativeTesting {

namespace {

std::vector<unsigned char> Range(unsigned first, unsigned last) {
  std::vector<unsigned char> bytes;
  for (unsigned b = first; b <= last; ++b) bytes.push_back(static_cast<unsigned char>(b));
  return bytes;
}

std::vector<unsigned char> Join(std::vector<unsigned char> a, const std::vector<unsigned char>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TCodePage MakeCodePage(std::string_view name, std::vector<unsigned char> leads, std::vector<unsigned char> trails,
                       std::vector<unsigned char> highSingles) {
  TCodePage codePage{name, {}, std::move(leads), std::move(trails), std::move(highSingles)};
  for (unsigned char lead : codePage.Leads) codePage.LeadBytes[lead] = true;
  return codePage;
}

// Control characters and the ones Windows reserves in names.
bool Forbidden(unsigned char b) {
  return b < 0x20 || std::string_view("<>:\"/\\|?*").find(static_cast<char>(b)) != std::string_view::npos;
}

const std::vector<unsigned char>& PlainCharacters() {
  static const std::vector<unsigned char> plain = [] {
    std::vector<unsigned char> bytes;
    for (unsigned char b : Range(0x20, 0x7E))
      if (!Forbidden(b)) bytes.push_back(b);
    return bytes;
  }();
  return plain;
}

// Any byte a name may hold; in a double-byte code page a lead byte brings a trail byte along.
void AppendAnyCharacter(TChoices& choices, const TCodePage& codePage, std::string& to) {
  auto b = static_cast<unsigned char>(0x20 + choices.Below(0xE0));
  if (Forbidden(b)) b = '_';
  to += static_cast<char>(b);
  if (codePage.LeadBytes[b]) to += static_cast<char>(choices.Among(codePage.Trails));
}

void AppendCharacter(TChoices& choices, const TCodePage& codePage, std::string& to) {
  std::size_t kind = choices.Below(9);
  if (kind == 8) {
    AppendAnyCharacter(choices, codePage, to);
  } else if (kind == 0) {
    to += choices.OneIn(2) ? ' ' : '.';
  } else if (kind == 1 && !codePage.HighSingles.empty()) {
    to += static_cast<char>(choices.Among(codePage.HighSingles));
  } else if (kind >= 5 && !codePage.Leads.empty()) {
    to += static_cast<char>(choices.Among(codePage.Leads));
    static const std::vector<unsigned char> backslashOrBar{0x5C, 0x7C};
    to += static_cast<char>(choices.OneIn(2) ? choices.Among(backslashOrBar) : choices.Among(codePage.Trails));
  } else {
    to += static_cast<char>(choices.Among(PlainCharacters()));
  }
}

std::string Drive(TChoices& choices) {
  char letter = static_cast<char>((choices.OneIn(2) ? 'A' : 'a') + choices.Below(26));
  return {letter, ':'};
}

std::string Separator(TChoices& choices) { return choices.OneIn(8) ? "\\\\" : "\\"; }

// The part before the first component; empty for a relative path.
std::string Root(TChoices& choices, const TCodePage& codePage) {
  switch (choices.Below(7)) {
    case 0: return Drive(choices) + "\\";
    case 1: return "\\\\" + Component(choices, codePage) + "\\" + Component(choices, codePage) + "\\";
    case 2: return "\\\\?\\" + Drive(choices) + "\\";
    case 3: return Drive(choices);
    case 4: return choices.OneIn(2) ? ".\\" : "..\\";
    case 5: return "\\";
    default: return "";
  }
}

}  // namespace

const std::vector<TCodePage>& CodePages() {
  static const std::vector<TCodePage> codePages{
      MakeCodePage("1252", {}, {}, Range(0x80, 0xFF)),
      MakeCodePage("932", Join(Range(0x81, 0x9F), Range(0xE0, 0xFC)), Join(Range(0x40, 0x7E), Range(0x80, 0xFC)),
                   Range(0xA1, 0xDF)),
      MakeCodePage("936", Range(0x81, 0xFE), Join(Range(0x40, 0x7E), Range(0x80, 0xFE)), {0x80}),
  };
  return codePages;
}

const TCodePage& SingleByteCodePage() { return CodePages()[0]; }
const TCodePage& ShiftJis() { return CodePages()[1]; }

std::string Component(TChoices& choices, const TCodePage& codePage) {
  std::string component;
  std::size_t length = 1 + choices.Below(10);
  for (std::size_t i = 0; i < length; ++i) AppendCharacter(choices, codePage, component);
  static const std::vector<std::string> endings{"", "", "", " ", ".", " .", "..", "  "};
  return component + choices.Among(endings);
}

std::string FilePath(TChoices& choices, const TCodePage& codePage) {
  std::string path = Root(choices, codePage);
  std::size_t components = choices.Below(5);
  // A root of its own, such as C:\ or \\server\share\, is a whole path; a relative one needs a name.
  if (components == 0 && (path.empty() || path.back() != '\\')) components = 1;
  for (std::size_t i = 0; i < components; ++i) {
    if (i > 0) path += Separator(choices);
    path += Component(choices, codePage);
  }
  if (choices.OneIn(4)) path.append(1 + choices.Below(3), '\\');
  return path;
}

TProgram Program(TChoices& choices, const TCodePage& codePage) {
  std::string path = choices.OneIn(2) ? Drive(choices) + "\\" : "\\\\" + Component(choices, codePage) + "\\";
  std::size_t folders = choices.Below(3);
  for (std::size_t i = 0; i < folders; ++i) path += Component(choices, codePage) + "\\";
  path += Component(choices, codePage) + ".exe";
  return {choices.OneIn(3) ? '"' + path + '"' : path, path};
}

}  // namespace NativeTesting
