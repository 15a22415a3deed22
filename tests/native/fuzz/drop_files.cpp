// Fuzzes the dropped-file list reader two ways: the input as a block of any bytes (no crash, no read past it,
// and what is read is exactly what the block holds), and as names laid out in a block that must read back.
#include "support/DropFileNames.h"
#include "support/DropFilesBlock.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace ContextM;
using namespace NativeTesting;

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "drop_files: %s\n", what);
  std::abort();
}

std::uint32_t Field(std::span<const std::byte> block, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::to_integer<std::uint32_t>(block[offset + i]) << (8 * i);
  return value;
}

// A list is well formed when it holds an empty name: a NUL at its start or right after another NUL.
bool HasEndingEmptyName(std::span<const std::byte> list, std::size_t characterSize) {
  bool previousWasNul = true;
  for (std::size_t at = 0; at + characterSize <= list.size(); at += characterSize) {
    auto character = list.subspan(at, characterSize);
    bool nul = std::all_of(character.begin(), character.end(), [](std::byte b) { return b == std::byte{0}; });
    if (nul && previousWasNul) return true;
    previousWasNul = nul;
  }
  return false;
}

void CheckAnyBlock(std::span<const std::byte> block) {
  std::optional<TDropFileNames> names = ReadDropFileNames(block);
  bool wellFormedHeader =
      block.size() >= DropFilesHeaderSize && Field(block, 0) >= DropFilesHeaderSize && Field(block, 0) < block.size();
  if (!wellFormedHeader) {
    if (names) Fail("a block with a bad header was read");
    return;
  }
  std::size_t offset = Field(block, 0);
  bool wide = Field(block, 16) != 0;
  if (!names) {
    if (HasEndingEmptyName(block.subspan(offset), wide ? 2 : 1)) Fail("a well-formed block was refused");
    return;
  }
  if (names->Wide != wide) Fail("the wide flag was misread");
  // Laid out again at the same offset, the names give back the block's own list, byte for byte.
  TBlockLayout layout{offset, {}};
  std::vector<std::byte> again = wide ? DropFilesBlock(names->Unicode, layout) : DropFilesBlock(names->Ansi, layout);
  if (again.size() > block.size()) Fail("more was read than the block holds");
  if (!std::equal(again.begin() + offset, again.end(), block.begin() + offset))
    Fail("the names differ from the block's");
}

std::string AnsiName(FuzzedDataProvider& data) {
  std::string name = data.ConsumeRandomLengthString(64);
  std::replace(name.begin(), name.end(), '\0', '?');
  return name.empty() ? "n" : name;
}

std::u16string WideName(FuzzedDataProvider& data) {
  std::u16string name(1 + data.ConsumeIntegralInRange<std::size_t>(0, 40), u'n');
  for (char16_t& c : name) c = data.ConsumeIntegralInRange<char16_t>(1, 0xFFFF);
  return name;
}

template <class Name, class Draw>
std::vector<Name> Names(FuzzedDataProvider& data, Draw draw) {
  std::vector<Name> names(data.ConsumeIntegralInRange<std::size_t>(0, 12));
  for (Name& name : names) name = draw(data);
  return names;
}

void CheckRoundTrip(FuzzedDataProvider& data) {
  bool wide = data.ConsumeBool();
  bool oddAddress = data.ConsumeBool();
  TBlockLayout layout{DropFilesHeaderSize + data.ConsumeIntegralInRange<std::size_t>(0, 9), {}};
  std::vector<std::string> ansi;
  std::vector<std::u16string> unicode;
  if (wide)
    unicode = Names<std::u16string>(data, WideName);
  else
    ansi = Names<std::string>(data, AnsiName);
  std::vector<std::uint8_t> after = data.ConsumeBytes<std::uint8_t>(data.ConsumeIntegralInRange<std::size_t>(0, 8));
  for (std::uint8_t b : after) layout.AfterList.push_back(std::byte{b});

  TExactBytes block(wide ? DropFilesBlock(unicode, layout) : DropFilesBlock(ansi, layout), oddAddress);
  std::optional<TDropFileNames> names = ReadDropFileNames(block.Span());
  if (!names) Fail("a block built from names was refused");
  if (names->Wide != wide || names->Ansi != ansi || names->Unicode != unicode) Fail("names did not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckAnyBlock({reinterpret_cast<const std::byte*>(data), size});
  FuzzedDataProvider provider(data, size);
  CheckRoundTrip(provider);
  return 0;
}
