// Sample names for the benchmark's selections.
#include "DropData.h"

namespace Bench {

std::vector<std::wstring> SampleNames(std::size_t count) {
  std::vector<std::wstring> names;
  names.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    names.push_back(L"C:\\Users\\someone\\Documents\\Tarnwick\\Quarterly report " + std::to_wstring(i) + L".docx");
  return names;
}

}  // namespace Bench
