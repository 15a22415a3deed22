// The handler's ten commands: the one table that menu building, help texts and launch look up.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ContextM {

enum class TCommandKind : std::uint8_t { ckItem, ckSeparator };

// Which rule decides whether a command is shown in the submenu.
enum class TShowRule : std::uint8_t { srAlways, srCarrier, srDecrypt };

// A text of the table: only a character array makes one, a string literal or a named one, so it ends with the NUL
// that InsertMenuA reads up to.
class TCText {
public:
  template <std::size_t Size>
  constexpr TCText(const char (&literal)[Size]) noexcept : FText(literal), FLength(Size - 1) {}

  constexpr const char* c_str() const noexcept { return FText; }
  constexpr std::string_view view() const noexcept { return {FText, FLength}; }
  constexpr operator std::string_view() const noexcept { return view(); }

private:
  const char* FText;
  std::size_t FLength;
};

struct TCommand {
  TCText Name;
  UINT Position;  // zero-based position in the submenu
  TCommandKind Kind;
  TCText Caption;
  TShowRule Shown;
  TCText HelpText;  // for Unhide and HideInCarrier, followed by the first selected path
  bool HelpNamesFirstPath;
  TCText Switch;  // placed between the program and the quoted paths
  int Icon;       // resource id of its picture in Windows 11's first menu; 0 for none
};

// The shell grants this many command identifiers, whichever items are shown.
inline constexpr UINT ReservedCommandCount = 10;

// Indexed by command offset.
extern const std::array<TCommand, ReservedCommandCount> CommandTable;

// Entries in submenu order: the order in which menu building inserts them.
const std::array<const TCommand*, ReservedCommandCount>& CommandsByPosition();

// The entry of an offset, or null for an offset without one.
const TCommand* FindCommand(UINT_PTR offset) noexcept;

// As FindCommand, but separators count as having no entry: help texts and launch use this.
const TCommand* FindItem(UINT_PTR offset) noexcept;

UINT OffsetOf(const TCommand& command) noexcept;

}  // namespace ContextM
