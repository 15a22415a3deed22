// TNameList: names back to back in one buffer, each ended by a NUL, read as views: one allocation for a list.
// Free of the platform, so the command line's native tests and fuzzers read the same lists the library does.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace ContextM {

// A name holds no NUL (no file-system path does): the NUL after each name is what ends it.
template <class Char>
class TNameList {
public:
  using TView = std::basic_string_view<Char>;

  class TIterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = TView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = TView;

    TIterator() = default;
    explicit TIterator(const Char* at) : FAt(at) {}
    TView operator*() const { return TView(FAt); }
    // A name's NUL-terminated start, for the platform calls that take one.
    const Char* c_str() const { return FAt; }
    TIterator& operator++() {
      FAt += std::char_traits<Char>::length(FAt) + 1;
      return *this;
    }
    TIterator operator++(int) {
      TIterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const TIterator&) const = default;

  private:
    const Char* FAt = nullptr;
  };

  TNameList() = default;
  TNameList(TNameList&& other) noexcept { *this = std::move(other); }
  TNameList& operator=(TNameList&& other) noexcept {
    FText = std::move(other.FText);
    FCapacity = std::exchange(other.FCapacity, 0);
    FUsed = std::exchange(other.FUsed, 0);
    FCount = std::exchange(other.FCount, 0);
    return *this;
  }

  std::size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  TIterator begin() const { return TIterator(FText.get()); }
  TIterator end() const { return TIterator(FText.get() + FUsed); }
  TView front() const { return *begin(); }

  // Empties the list and keeps its buffer for the next names.
  void Clear() {
    FUsed = 0;
    FCount = 0;
  }
  // Room for units more characters and their NUL, in one allocation when the list's size is known ahead.
  void Reserve(std::size_t units) {
    if (FUsed + units > FCapacity) Reallocate(FUsed + units);
  }
  // Where the next name is written in place, at most units long; Commit ends it.
  Char* Room(std::size_t units) {
    if (FUsed + units + 1 > FCapacity) Reallocate(std::max(2 * FCapacity, FUsed + units + 1));
    return FText.get() + FUsed;
  }
  void Commit(std::size_t units) {
    FText[FUsed + units] = Char{};
    FUsed += units + 1;
    ++FCount;
  }
  void Append(TView name) {
    std::char_traits<Char>::copy(Room(name.size()), name.data(), name.size());
    Commit(name.size());
  }
  // Gives back what a generous reservation left unused, when that is most of it.
  void ShrinkWhenSparse() {
    if (FUsed < FCapacity / 2) Reallocate(FUsed);
  }

private:
  void Reallocate(std::size_t capacity) {
    std::unique_ptr<Char[]> text = std::make_unique_for_overwrite<Char[]>(capacity);
    if (FUsed) std::char_traits<Char>::copy(text.get(), FText.get(), FUsed);
    FText = std::move(text);
    FCapacity = capacity;
  }

  std::unique_ptr<Char[]> FText;
  std::size_t FCapacity = 0;
  std::size_t FUsed = 0;
  std::size_t FCount = 0;
};

}  // namespace ContextM
