// The floors: exactly the platform calls a measured operation needs, made directly, and nothing else.
#pragma once

#include "win32/Handles.h"

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

namespace Bench {

// A right-click's menu for a selection that needs no directory search: one key open, the three option reads,
// the submenu with all ten entries, its insertion into the shell's menu, one bitmap handed over.
class TMenuFloor {
public:
  TMenuFloor();
  void Build(HMENU shellMenu, UINT index, UINT firstId) const;

private:
  Win32::TBitmap FBitmap;  // made once, as the library loads its bitmap once
};

// One directory search per path.
void SearchEvery(const std::vector<std::string>& paths);

// One GetData; the block read once from its start, bounded by its size; each name converted once to the
// system code page, refusing best fit as the handler must; the medium released.
void ReadOnce(IDataObject* data);

}  // namespace Bench
