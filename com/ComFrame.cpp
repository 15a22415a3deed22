// The COM frame's finalization.
#include "ComFrame.h"

#include "ComClassManager.h"
#include "ComObject.h"

namespace ComObj {

void FinalizeComFrame() noexcept {
  FrameClosing.store(true);
  DestroyClassManager();
}

}  // namespace ComObj
