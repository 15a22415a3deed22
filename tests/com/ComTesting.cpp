// The COM tests' own classes and outer object.
#include "ComTesting.h"

#include <stdexcept>

namespace Testing {

GUID TestClassId(unsigned n) {
  return {0x5A17C000u + n, 0x1234, 0x4321, {0x80, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};
}

void TFailingObject::PrepareObject() {
  if (!Fail) return;
  if (ThrowForeign) throw std::runtime_error(Message);
  throw ComObj::Exception(Message);
}

// What the outer object exposes of the inner one comes through the inner identity.
HRESULT TOuterObject::QueryUnlisted(REFIID iid, void** out) noexcept {
  ++Queries;
  return Inner->QueryInterface(iid, out);
}

}  // namespace Testing
