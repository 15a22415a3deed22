// The menu opened on the display as a user sees it, with a submenu expanded, captured from the screen.
#pragma once

#include "Image.h"
#include "MenuTree.h"

#include <windows.h>

#include <vector>

namespace Host {

// TrackPopupMenu over a window of the host's own, near the screen's corner; the keyboard then opens the first
// item that has a submenu, and once the menus have drawn, the rectangle around the open menu windows with a
// margin of 8 pixels is captured and the menu closed.
// Raises EHostError ecScreenshot.
TImage CaptureOpenMenu(HMENU menu, const std::vector<TMenuNode>& tree);

}  // namespace Host
