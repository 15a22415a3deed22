// TComClassManager: the process-wide chain of class factories, found by class id and walked by server.
#pragma once

#include "MultiReadExclusiveWriteSynchronizer.h"

#include <windows.h>

#include <functional>

namespace ComObj {

class TComObjectFactory;
class TComServerObject;

// Called once per factory of one server during a walk; it may free the factory it is handed, no other.
using TFactoryVisitor = std::function<void(TComObjectFactory& factory)>;

// Lists the factories, newest first; it does not own them. Every operation releases its lock on every path.
class TComClassManager {
public:
  TComClassManager() = default;
  TComClassManager(const TComClassManager&) = delete;
  TComClassManager& operator=(const TComClassManager&) = delete;

  void InsertFactory(TComObjectFactory& factory) noexcept;
  // Unlinks this very factory; one that is not in the chain leaves it unchanged.
  void DetachFactory(const TComObjectFactory& factory) noexcept;
  // Under the write lock, which the visitor's thread may take again (a freed factory detaches itself).
  void VisitFactories(const TComServerObject& server, const TFactoryVisitor& visitor);
  // The newest factory with this class id, or null.
  TComObjectFactory* FindFactory(REFCLSID classId) noexcept;

private:
  TComObjectFactory* FFirstFactory = nullptr;
  TMultiReadExclusiveWriteSynchronizer FChainLock;
};

// The one registry, created on first use.
TComClassManager& ClassManager();

// Frees the registry (not the factories still listed in it); the next ClassManager call makes a new one.
void DestroyClassManager() noexcept;

}  // namespace ComObj
