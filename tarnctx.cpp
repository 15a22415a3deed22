// tarnctx.dll: the module start-up order, the entry point and the four exported entry points.
#include "com/ComFrame.h"
#include "com/ComServer.h"
#include "com/EntryPoints.h"
#include "com/ModuleLoader.h"
#include "win32/Handles.h"
#include "shell/HandlerModule.h"

namespace {

Win32::TLibrary OleAutomation;

// The server module keeps the automation library loaded for as long as it exists.
void InitializeComServ() {
  OleAutomation.reset(::LoadLibraryA("OLEAUT32.DLL"));
  ComServ::CreateModuleServer();
}

// Destroying the server destroys its factories while the class-factory registry still exists.
void FinalizeComServ() {
  ComServ::DestroyModuleServer();
  OleAutomation.reset();
}

// The library's modules in start-up order; unload finalizes them in reverse. Entries without routines are
// modules of the runtime or declarations only: C++ starts and ends its runtime itself.
constexpr ComObj::TModuleEntry Modules[] = {
    {"SysInit", nullptr, nullptr},
    {"System", nullptr, nullptr},
    {"Windows", nullptr, nullptr},
    {"Messages", nullptr, nullptr},
    {"SysUtils", nullptr, nullptr},
    {"SysConst", nullptr, nullptr},
    {"ActiveX", nullptr, nullptr},
    {"Consts", nullptr, nullptr},
    {"ComObj", nullptr, ComObj::FinalizeComFrame},
    {"ComServ", InitializeComServ, FinalizeComServ},
    {"ComConst", nullptr, nullptr},
    {"TypInfo", nullptr, nullptr},
    {"IniFiles", nullptr, nullptr},
    {"Registry", nullptr, nullptr},
    {"GenConst", nullptr, nullptr},
    {"ShlObj", nullptr, nullptr},
    {"Commctrl", nullptr, nullptr},
    {"ShellAPI", nullptr, nullptr},
    {"RegStr", nullptr, nullptr},
    {"Classes", nullptr, nullptr},
    {"WinInet", nullptr, nullptr},
    {"UrlMon", nullptr, nullptr},
    {"ContextM", ContextM::InitializeHandlerModule, ContextM::FinalizeHandlerModule},
    {"tarnctx", nullptr, nullptr},
};
static_assert(std::size(Modules) == 24);

constinit ComObj::TModuleLoader Loader(Modules);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  return Loader.EntryPoint(instance, reason, reserved);
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* out) {
  return ComServ::DllGetClassObject(classId, iid, out);
}
STDAPI DllCanUnloadNow() { return ComServ::DllCanUnloadNow(); }
STDAPI DllRegisterServer() { return ComServ::DllRegisterServer(); }
STDAPI DllUnregisterServer() { return ComServ::DllUnregisterServer(); }
