// TShared: a module-wide value that handler objects on several shell threads read and write under one lock.
#pragma once

#include "com/ThreadPrimitives.h"

#include <mutex>
#include <utility>

namespace ContextM {

template <class T>
class TShared {
public:
  T Get() const {
    std::lock_guard lock(FLock);
    return FValue;
  }
  void Set(T value) {
    std::lock_guard lock(FLock);
    FValue = std::move(value);
  }
  template <class F>
  void Update(F change) {
    std::lock_guard lock(FLock);
    change(FValue);
  }
  T Exchange(T value) {
    std::lock_guard lock(FLock);
    return std::exchange(FValue, std::move(value));
  }

private:
  mutable ComObj::TSharedLock FLock;
  T FValue{};
};

}  // namespace ContextM
