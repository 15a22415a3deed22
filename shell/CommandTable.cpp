// The command table's data and its lookups.
#include "CommandTable.h"

#include "res/IconIds.h"

#include <algorithm>

namespace ContextM {

using enum TCommandKind;
using enum TShowRule;

// clang-format off
const std::array<TCommand, ReservedCommandCount> CommandTable{{
  {"Hide",           0, ckItem,      "Hide...",                 srAlways,  "Hide the selected file(s) in a carrier file",                      false, " /h ",  0},
  {"Unhide",         2, ckItem,      "Unhide...",               srCarrier, "Unhide data from the selected carrier file: ",                     true,  " /u ",  0},
  {"Separator1",     4, ckSeparator, "",                        srCarrier, "",                                                                 false, "",      0},
  {"Encrypt",        5, ckItem,      "Encrypt...",              srAlways,  "Encrypt the selected file(s)",                                     false, " /e ",  IDI_ENCRYPT},
  {"Decrypt",        7, ckItem,      "Decrypt...",              srDecrypt, "Decrypt the selected file(s)",                                     false, " /d ",  0},
  {"Separator2",     8, ckSeparator, "",                        srAlways,  "",                                                                 false, "",      0},
  {"Shred",          9, ckItem,      "Shred...",                srAlways,  "Shred the selected file(s)",                                       false, " /s ",  IDI_SHRED},
  {"HideInCarrier",  1, ckItem,      "Hide in this carrier...", srCarrier, "Hide data in selected carrier: ",                                  true,  " /c ",  0},
  {"UnhideHere",     3, ckItem,      "Unhide here...",          srCarrier, "Unhide all files from the selected carrier in the current folder", false, " /uh ", 0},
  {"EncryptAndSend", 6, ckItem,      "Encrypt and send...",     srAlways,  "Encrypt the selected file(s) and send via e-mail",                 false, " /es ", IDI_ENCRYPT_SEND},
}};
// clang-format on

const std::array<const TCommand*, ReservedCommandCount>& CommandsByPosition() {
  static const auto byPosition = [] {
    std::array<const TCommand*, ReservedCommandCount> order{};
    for (const TCommand& command : CommandTable) order[command.Position] = &command;
    return order;
  }();
  return byPosition;
}

const TCommand* FindCommand(UINT_PTR offset) noexcept {
  return offset < CommandTable.size() ? &CommandTable[offset] : nullptr;
}

const TCommand* FindItem(UINT_PTR offset) noexcept {
  const TCommand* command = FindCommand(offset);
  return command && command->Kind == ckItem ? command : nullptr;
}

UINT OffsetOf(const TCommand& command) noexcept { return static_cast<UINT>(&command - CommandTable.data()); }

}  // namespace ContextM
