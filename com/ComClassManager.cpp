// The class-factory registry: an intrusive chain through the factories, guarded by a reader/writer lock.
#include "ComClassManager.h"

#include "ComObjectFactory.h"

#include <atomic>

namespace ComObj {

void TComClassManager::InsertFactory(TComObjectFactory& factory) noexcept {
  TWriteLock lock(FChainLock);
  factory.FNextFactory = FFirstFactory;
  FFirstFactory = &factory;
}

void TComClassManager::DetachFactory(const TComObjectFactory& factory) noexcept {
  TWriteLock lock(FChainLock);
  for (TComObjectFactory** link = &FFirstFactory; *link; link = &(*link)->FNextFactory) {
    if (*link == &factory) {
      *link = factory.FNextFactory;
      return;
    }
  }
}

void TComClassManager::VisitFactories(const TComServerObject& server, const TFactoryVisitor& visitor) {
  TWriteLock lock(FChainLock);
  for (TComObjectFactory* current = FFirstFactory; current;) {
    // Read before the visit: the visitor may free the factory it is handed.
    TComObjectFactory* successor = current->FNextFactory;
    if (&current->Server() == &server) visitor(*current);
    current = successor;
  }
}

TComObjectFactory* TComClassManager::FindFactory(REFCLSID classId) noexcept {
  TReadLock lock(FChainLock);
  for (TComObjectFactory* current = FFirstFactory; current; current = current->FNextFactory)
    if (::IsEqualGUID(current->ClassId(), classId)) return current;
  return nullptr;
}

// The one registry --------------------------------------------------------------------------------------

namespace {
std::atomic<TComClassManager*> SharedClassManager{nullptr};
}

TComClassManager& ClassManager() {
  if (TComClassManager* shared = SharedClassManager.load()) return *shared;
  // Normally the loading thread creates it before others can call in; should two race, one copy wins.
  auto* created = new TComClassManager;
  TComClassManager* expected = nullptr;
  if (SharedClassManager.compare_exchange_strong(expected, created)) return *created;
  delete created;
  return *expected;
}

void DestroyClassManager() noexcept { delete SharedClassManager.exchange(nullptr); }

}  // namespace ComObj
