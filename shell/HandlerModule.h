// Start-up and shut-down of the handler module within the library's load and unload.
#pragma once

namespace ContextM {

// No selection yet, and the factories of the handler class and the Explorer command, made for the server module.
void InitializeHandlerModule();

// Empties the carrier mask and lets go of the submenu's bitmap. A selection still present is left alone.
void FinalizeHandlerModule() noexcept;

}  // namespace ContextM
