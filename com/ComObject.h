// TComObject: the base of every COM object the library serves: counting, interface tables, aggregation.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstddef>

namespace ComObj {

class TComObject;
class TComObjectFactory;

// Set first thing by the frame's finalization: from then on the server module and COM may be gone,
// so a dying object neither uncounts itself nor disconnects.
inline std::atomic<bool> FrameClosing{false};

// One interface a class adds: its identifier and where the object keeps the matching pointer.
struct TInterfaceEntry {
  IID Iid;
  IUnknown* (*Locate)(TComObject& object) noexcept;
};

// The interfaces one class adds, in lookup order, and the table of the class it derives from.
struct TInterfaceTable {
  const TInterfaceEntry* Entries;
  std::size_t Count;
  const TInterfaceTable* Parent;
};

// How a factory names the class of the objects it makes: a function that constructs one.
using TComObjectClass = TComObject* (*)(TComObjectFactory& factory, IUnknown* outer);

class TComObject : public ISupportErrorInfo {
public:
  TComObject(const TComObject&) = delete;
  TComObject& operator=(const TComObject&) = delete;

  // Makes an object of class T for a factory: counted, prepared, and left with a reference count of 0.
  template <class T>
  static TComObject* CreateForFactory(TComObjectFactory& factory, IUnknown* outer) {
    return Construct(new T(), factory, outer);
  }

  // The delegating IUnknown of every interface but the identity: to the outer object when aggregated.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // The object's own (identity) IUnknown.
  virtual HRESULT STDMETHODCALLTYPE InnerQueryInterface(REFIID iid, void** out) noexcept;
  virtual ULONG STDMETHODCALLTYPE InnerAddRef() noexcept;
  virtual ULONG STDMETHODCALLTYPE InnerRelease() noexcept;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override;

  // Uncounts and disconnects the object as its state requires, then frees it.
  void Destroy() noexcept;

  IUnknown* IdentityUnknown() noexcept { return &FInnerUnknown; }
  IUnknown* Controller() const noexcept { return FOuterUnknown; }
  TComObjectFactory* Factory() const noexcept { return FOriginFactory; }
  LONG RefCount() const noexcept { return FReferenceCount.load(); }

  static const TInterfaceTable& ClassInterfaces() noexcept;
  // The table of the object's most derived class that has one.
  virtual const TInterfaceTable& InterfaceTable() const noexcept { return ClassInterfaces(); }

protected:
  TComObject() noexcept = default;
  // Only Destroy frees an object, after the steps that need the whole object.
  virtual ~TComObject() = default;

  // Called once during construction, with the reference count at 1.
  virtual void PrepareObject() {}

  bool FNotCounted = false;  // true keeps the object out of the server's count of live objects

private:
  // The non-delegating IUnknown: an aggregating outer object holds this one.
  class TInnerUnknown final : public IUnknown {
  public:
    explicit TInnerUnknown(TComObject& owner) noexcept : FOwner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
      return FOwner.InnerQueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return FOwner.InnerAddRef(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return FOwner.InnerRelease(); }

  private:
    TComObject& FOwner;
  };

  static TComObject* Construct(TComObject* object, TComObjectFactory& factory, IUnknown* outer);
  IUnknown* FindInterface(REFIID iid) noexcept;

  IUnknown* FOuterUnknown = nullptr;  // never counted: the outer object owns this one, not the reverse
  TComObjectFactory* FOriginFactory = nullptr;
  std::atomic<LONG> FReferenceCount{0};
  TInnerUnknown FInnerUnknown{*this};
};

// Adds interfaces to a COM class. The list is the class's interface table, searched in this order before
// Base's; each interface's QueryInterface, AddRef and Release are the object's delegating ones.
template <class Base, class First, class... Rest>
class TComImplements : public Base, public First, public Rest... {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    return TComObject::QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return TComObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return TComObject::Release(); }

  static const TInterfaceTable& ClassInterfaces() noexcept {
    static const TInterfaceEntry entries[] = {Entry<First>(), Entry<Rest>()...};
    static const TInterfaceTable table{entries, 1 + sizeof...(Rest), &Base::ClassInterfaces()};
    return table;
  }
  const TInterfaceTable& InterfaceTable() const noexcept override { return ClassInterfaces(); }

private:
  template <class Interface>
  static TInterfaceEntry Entry() noexcept {
    return {__uuidof(Interface), [](TComObject& object) noexcept -> IUnknown* {
              return static_cast<Interface*>(static_cast<TComImplements*>(&object));
            }};
  }
};

// The function a factory is given to make objects of class T.
template <class T>
inline constexpr TComObjectClass ClassOf = &TComObject::CreateForFactory<T>;

}  // namespace ComObj
