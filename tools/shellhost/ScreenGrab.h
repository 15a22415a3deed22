// What the display shows in a rectangle of the screen.
#pragma once

#include "Image.h"

#include <windows.h>

namespace Host {

// Raises EHostError ecScreenshot when the screen cannot be read.
TImage GrabScreen(const RECT& area);

}  // namespace Host
