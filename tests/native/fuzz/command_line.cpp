// Fuzzes the command line: names a file system allows, drawn from the input in any code page, must read back
// by the C runtime's argv rules as exactly the program, the switch and the names.
#include "shell/CommandLine.h"
#include "support/CrtArgv.h"
#include "support/FileNames.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

using namespace ContextM;
using namespace NativeTesting;

namespace {

class TFuzzChoices : public TChoices {
public:
  explicit TFuzzChoices(FuzzedDataProvider& data) : FData(data) {}
  std::size_t Below(std::size_t count) override { return FData.ConsumeIntegralInRange<std::size_t>(0, count - 1); }

private:
  FuzzedDataProvider& FData;
};

void PrintEscaped(const char* label, std::string_view text) {
  std::fprintf(stderr, "%s: ", label);
  for (unsigned char c : text) c >= 0x20 && c < 0x7F ? std::fputc(c, stderr) : std::fprintf(stderr, "\\x%02X", c);
  std::fputc('\n', stderr);
}

[[noreturn]] void Fail(std::string_view line, const std::vector<std::string>& expected,
                       const std::vector<std::string>& actual) {
  std::fprintf(stderr, "command_line: the line does not read back\n");
  PrintEscaped("line", line);
  for (const std::string& arg : expected) PrintEscaped("expected", arg);
  for (const std::string& arg : actual) PrintEscaped("read", arg);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  TFuzzChoices choices(provider);
  const TCodePage& codePage = choices.Among(CodePages());
  TProgram program = Program(choices, codePage);
  const std::string& switchText = choices.Among(TableSwitches);
  std::vector<std::string> paths(choices.Below(8));
  for (std::string& path : paths) path = FilePath(choices, codePage);

  std::string line = BuildCommandLine(program.Stored, switchText, paths, codePage.LeadBytes);
  std::vector<std::string> expected{program.Path, switchText.substr(1, switchText.size() - 2)};
  expected.insert(expected.end(), paths.begin(), paths.end());
  std::vector<std::string> actual = SplitCommandLine(line, codePage.LeadBytes);
  if (actual != expected || ProgramPath(program.Stored) != program.Path) Fail(line, expected, actual);
  return 0;
}
