// Names a Windows file system allows, in a single-byte or a double-byte code page, drawn from a source of
// choices: a seeded random engine in the property tests, the fuzzer's input in the fuzz targets.
#pragma once

#include "win32/LeadBytes.h"

#include <array>
#include <ostream>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace NativeTesting {

class TChoices {
public:
  virtual ~TChoices() = default;
  // A number below count; count is at least 1.
  virtual std::size_t Below(std::size_t count) = 0;

  bool OneIn(std::size_t count) { return Below(count) == 0; }
  template <class T>
  const T& Among(const std::vector<T>& values) {
    return values[Below(values.size())];
  }
};

class TRandomChoices : public TChoices {
public:
  explicit TRandomChoices(std::uint64_t seed) : FEngine(seed) {}
  std::size_t Below(std::size_t count) override {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(FEngine);
  }

private:
  std::mt19937_64 FEngine;
};

// What a code page allows in a name beyond printable ASCII.
struct TCodePage {
  std::string_view Name;
  Win32::TLeadBytes LeadBytes;
  std::vector<unsigned char> Leads;  // empty for a single-byte code page
  std::vector<unsigned char> Trails;
  std::vector<unsigned char> HighSingles;  // single-byte characters above 0x7F
};

// Names the code page in test output.
inline void PrintTo(const TCodePage& codePage, std::ostream* out) { *out << "code page " << codePage.Name; }

// Windows-1252, Shift-JIS (932) and GBK (936): both double-byte ones have trail bytes 0x5C ('\') and 0x7C ('|').
const std::vector<TCodePage>& CodePages();
const TCodePage& SingleByteCodePage();
const TCodePage& ShiftJis();

// The switches of the handler's command table, as placed between the program and the paths.
inline const std::vector<std::string> TableSwitches{" /h ", " /u ", " /e ", " /d ", " /s ", " /c ", " /uh ", " /es "};

// One path component: no NUL, no control character, none of < > : " / \ | ? *; may end in blanks or dots.
std::string Component(TChoices& choices, const TCodePage& codePage);

// A path of any form Explorer hands out or a user types: drive roots, drive-relative, UNC, \\?\, relative,
// doubled separators and trailing backslashes.
std::string FilePath(TChoices& choices, const TCodePage& codePage);

// The main application's path as the options may store it, and the path the program sees as its argv[0].
struct TProgram {
  std::string Stored;
  std::string Path;
};
TProgram Program(TChoices& choices, const TCodePage& codePage);

}  // namespace NativeTesting
