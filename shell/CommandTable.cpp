// The command table's data and its lookups; the captions and switches are the public ones.
#include "CommandTable.h"

#include "Identities.h"
#include "res/IconIds.h"

#include <algorithm>

namespace ContextM {

using enum TCommandKind;
using enum TShowRule;

// clang-format off
const std::array<TCommand, ReservedCommandCount> CommandTable{{
  {"Hide",           0, ckItem,      MenuCaptions::Hide,           srAlways,  "Hide the selected file(s) in a carrier file",                      false, ProgramSwitches::Hide,           0},
  {"Unhide",         2, ckItem,      MenuCaptions::Unhide,         srCarrier, "Unhide data from the selected carrier file: ",                     true,  ProgramSwitches::Unhide,         0},
  {"Separator1",     4, ckSeparator, "",                           srCarrier, "",                                                                 false, "",                              0},
  {"Encrypt",        5, ckItem,      MenuCaptions::Encrypt,        srAlways,  "Encrypt the selected file(s)",                                     false, ProgramSwitches::Encrypt,        IDI_ENCRYPT},
  {"Decrypt",        7, ckItem,      MenuCaptions::Decrypt,        srDecrypt, "Decrypt the selected file(s)",                                     false, ProgramSwitches::Decrypt,        0},
  {"Separator2",     8, ckSeparator, "",                           srAlways,  "",                                                                 false, "",                              0},
  {"Shred",          9, ckItem,      MenuCaptions::Shred,          srAlways,  "Shred the selected file(s)",                                       false, ProgramSwitches::Shred,          IDI_SHRED},
  {"HideInCarrier",  1, ckItem,      MenuCaptions::HideInCarrier,  srCarrier, "Hide data in selected carrier: ",                                  true,  ProgramSwitches::HideInCarrier,  0},
  {"UnhideHere",     3, ckItem,      MenuCaptions::UnhideHere,     srCarrier, "Unhide all files from the selected carrier in the current folder", false, ProgramSwitches::UnhideHere,     0},
  {"EncryptAndSend", 6, ckItem,      MenuCaptions::EncryptAndSend, srAlways,  "Encrypt the selected file(s) and send via e-mail",                 false, ProgramSwitches::EncryptAndSend, IDI_ENCRYPT_SEND},
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
