// The COM frame's own finalization, run by the library's unload after the server module has gone.
#pragma once

namespace ComObj {

// Sets FrameClosing, then frees the class-factory registry. The library never initialized COM, so it does
// not uninitialize it either.
void FinalizeComFrame() noexcept;

}  // namespace ComObj
