// The benchmark's data object: one DROPFILES block of UTF-16 names in global memory, handed out as it is.
#pragma once

#include "tools/DropFilesData.h"

#include <string>
#include <vector>

namespace Bench {

// GetData hands out the one block, so a call costs no copy: what is timed is the handler's reading, not the data
// object's making.
class TDropData : public Tools::TDropFilesData {
public:
  explicit TDropData(const std::vector<std::wstring>& paths) : TDropFilesData(paths, Tools::THandOut::hoShared) {}
};

// n made-up names of a realistic length in one folder, none of them existing.
std::vector<std::wstring> SampleNames(std::size_t count);

}  // namespace Bench
