// The suite's options that the handler reads from the current user's registry.
#pragma once

#include "Identities.h"

#include <string>

namespace ContextM {

struct TOptionValues {
  bool DecryptFilter = false;
  bool CarrierFilter = false;
  std::string CarrierMask;  // upper-cased
};

// Reads the three menu options anew and makes them the module-wide values, which it also returns.
// Raises ERegistryException for a value that cannot be read; the module-wide values are then unchanged.
TOptionValues ReadOptions();

// The module-wide values as the last ReadOptions left them.
TOptionValues CurrentOptions();

// Module unload empties the mask.
void ClearCarrierMask();

// The main application's path as stored; empty when the key or the value is missing.
std::string ReadExeName();

// Upper-cases the letters a to z only.
std::string UpperCase(std::string text);

}  // namespace ContextM
