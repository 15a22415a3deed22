// Registry subtrees read back whole, to compare before and after a tool ran.
#pragma once

#include "support/ClassesRoot.h"

#include <windows.h>

#include <string>

namespace Testing {

// Every key below the path, with its string values; a missing key reads as the one entry "<missing>".
TRegistryTree TreeAt(HKEY root, const std::string& path);

// Sets a key's string value (the default value for an empty name), creating the key.
void SetRegistryString(HKEY root, const std::string& path, const std::string& name, const std::string& value);

}  // namespace Testing
