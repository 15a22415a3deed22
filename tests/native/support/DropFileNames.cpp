// Each name the handler's reader visits, copied.
#include "DropFileNames.h"

#include <cstring>

namespace NativeTesting {

std::optional<TDropFileNames> ReadDropFileNames(std::span<const std::byte> block) {
  std::optional<ContextM::TDropFileList> list = ContextM::LocateDropFileList(block);
  if (!list) return std::nullopt;
  TDropFileNames names;
  names.Wide = list->Wide;
  bool terminated = ContextM::VisitDropFileNames(*list, [&](std::span<const std::byte> name) {
    if (names.Wide) {
      std::memcpy(names.Unicode.emplace_back(name.size() / 2, u'\0').data(), name.data(), name.size());
    } else {
      names.Ansi.emplace_back(reinterpret_cast<const char*>(name.data()), name.size());
    }
  });
  if (!terminated) return std::nullopt;
  return names;
}

}  // namespace NativeTesting
