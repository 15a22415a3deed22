// The site the host gives an Explorer command: the folder window's IOleWindow, as Explorer's menu gives one.
#pragma once

#include "win32/Handles.h"

#include <oleidl.h>

namespace Host {

// A counted object of its own: the command may keep it past the call that handed it over.
Win32::TComRef<IUnknown> MakeSite(HWND window);

}  // namespace Host
