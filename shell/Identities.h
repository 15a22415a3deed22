// The library's public names: its class identifiers, the suite's options key with its value names, and the main
// application's switches with the captions of the commands that pass them. The tools include this header and
// nothing else of the library; the library takes the same names from here.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>

namespace ContextM {

// The classic context-menu handler, which registration writes and file-type associations name.
// {5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}
inline constexpr GUID CLSID_TarnwickContextMenu = {
    0x5D3E8A41, 0x7C2B, 0x4F96, {0xA1, 0xE0, 0x3B, 0x9C, 0x6D, 0x2F, 0x8E, 0x17}};

// The Explorer command of Windows 11's first menu, which only the package names.
// {9FDB44C9-40E9-4591-8AA9-74E0C5C3A20E}
inline constexpr GUID CLSID_TarnwickExplorerCommand = {
    0x9FDB44C9, 0x40E9, 0x4591, {0x8A, 0xA9, 0x74, 0xE0, 0xC5, 0xC3, 0xA2, 0x0E}};

// The suite's options, under HKEY_CURRENT_USER, and the values the handler reads there.
inline constexpr char OptionsKeyPath[] = "Software\\Velmora\\Tarnwick 3.0\\Options";
inline constexpr char ExeNameValue[] = "ExeName";           // the main application's path
inline constexpr char DecryptFilterValue[] = "DecryptSec";  // Decrypt... only for .twk files unless "0"
inline constexpr char CarrierFilterValue[] = "UnhideInst";  // the carrier block only for carriers unless "0"
inline constexpr char CarrierMaskValue[] = "UnhideMask";    // the carriers' file masks, ";" between them

// Each command's caption, and the switch that tells the main application which operation to do; a switch stands
// between the program and the quoted paths, with the blanks around it.
namespace MenuCaptions {
inline constexpr char Hide[] = "Hide...";
inline constexpr char HideInCarrier[] = "Hide in this carrier...";
inline constexpr char Unhide[] = "Unhide...";
inline constexpr char UnhideHere[] = "Unhide here...";
inline constexpr char Encrypt[] = "Encrypt...";
inline constexpr char EncryptAndSend[] = "Encrypt and send...";
inline constexpr char Decrypt[] = "Decrypt...";
inline constexpr char Shred[] = "Shred...";
}  // namespace MenuCaptions

namespace ProgramSwitches {
inline constexpr char Hide[] = " /h ";
inline constexpr char HideInCarrier[] = " /c ";
inline constexpr char Unhide[] = " /u ";
inline constexpr char UnhideHere[] = " /uh ";
inline constexpr char Encrypt[] = " /e ";
inline constexpr char EncryptAndSend[] = " /es ";
inline constexpr char Decrypt[] = " /d ";
inline constexpr char Shred[] = " /s ";
}  // namespace ProgramSwitches

struct TOperation {
  std::string_view Switch, Caption;
};

// Every operation the handler can start, in submenu order.
inline constexpr std::array<TOperation, 8> Operations{{
    {ProgramSwitches::Hide, MenuCaptions::Hide},
    {ProgramSwitches::HideInCarrier, MenuCaptions::HideInCarrier},
    {ProgramSwitches::Unhide, MenuCaptions::Unhide},
    {ProgramSwitches::UnhideHere, MenuCaptions::UnhideHere},
    {ProgramSwitches::Encrypt, MenuCaptions::Encrypt},
    {ProgramSwitches::EncryptAndSend, MenuCaptions::EncryptAndSend},
    {ProgramSwitches::Decrypt, MenuCaptions::Decrypt},
    {ProgramSwitches::Shred, MenuCaptions::Shred},
}};

}  // namespace ContextM
