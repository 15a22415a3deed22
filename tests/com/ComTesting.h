// The COM tests' own server, interfaces, classes, outer object and thread helpers.
#pragma once

#include "com/ComObj.h"
#include "com/ModuleInstance.h"
#include "win32/Handles.h"
#include "support/ClassesRoot.h"
#include "tools/ComUnknown.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

// Interfaces of the tests' own; ITestAlias shares ITestA's identifier to show which table entry wins.
struct ITestA : IUnknown {
  virtual int STDMETHODCALLTYPE Which() = 0;
};
struct ITestAlias : IUnknown {
  virtual int STDMETHODCALLTYPE Which() = 0;
};
struct ITestB : IUnknown {
  virtual int STDMETHODCALLTYPE Twice(int value) = 0;
};
struct ITestC : IUnknown {
  virtual int STDMETHODCALLTYPE Depth() = 0;
};
__CRT_UUID_DECL(ITestA, 0x7e3d1a01, 0x51c2, 0x4b8e, 0x9a, 0x10, 0x2f, 0x6b, 0x3c, 0x4d, 0x5e, 0x01)
__CRT_UUID_DECL(ITestAlias, 0x7e3d1a01, 0x51c2, 0x4b8e, 0x9a, 0x10, 0x2f, 0x6b, 0x3c, 0x4d, 0x5e, 0x01)
__CRT_UUID_DECL(ITestB, 0x7e3d1a02, 0x51c2, 0x4b8e, 0x9a, 0x10, 0x2f, 0x6b, 0x3c, 0x4d, 0x5e, 0x02)
__CRT_UUID_DECL(ITestC, 0x7e3d1a03, 0x51c2, 0x4b8e, 0x9a, 0x10, 0x2f, 0x6b, 0x3c, 0x4d, 0x5e, 0x03)

namespace Testing {

// A class id of the tests' own; n keeps the tests' classes apart.
GUID TestClassId(unsigned n);

// A second server implementation: plain counters and settable identity.
class TTestServer : public ComObj::TComServerObject {
public:
  std::atomic<LONG> Objects{0}, FactoryRefs{0};
  std::string Path = "C:\\tarnctx\\test.dll", KeyName = "InprocServer32", Title = "tarntest";

  LONG AdjustObjectCount(bool created) override { return created ? ++Objects : --Objects; }
  LONG AdjustFactoryCount(bool created) override { return created ? ++FactoryRefs : --FactoryRefs; }
  std::string HelpFilePath() override { return FHelp; }
  std::string ServerFilePath() override { return Path; }
  std::string RegistrationKeyName() override { return KeyName; }
  std::string ServerTitle() override { return Title; }
  bool RegistersSuspended() override { return false; }
  ITypeLib* TypeLibrary() override { return nullptr; }
  void SetHelpFilePath(const std::string& value) override { FHelp = value; }

private:
  std::string FHelp;
};

// Counts constructions and destructions of the tests' classes.
struct TLifeCounts {
  static inline std::atomic<int> Constructed{0}, Destroyed{0};
  static inline ComObj::TComObject* Last = nullptr;
  static void Reset() { Constructed = Destroyed = 0, Last = nullptr; }
};

class TPlainObject : public ComObj::TComImplements<ComObj::TComObject, ITestA, ITestB> {
public:
  TPlainObject() { ++TLifeCounts::Constructed, TLifeCounts::Last = this; }
  ~TPlainObject() override { ++TLifeCounts::Destroyed; }
  int STDMETHODCALLTYPE Which() override { return 1; }
  int STDMETHODCALLTYPE Twice(int value) override { return 2 * value; }
};

// Adds an interface and, through ITestAlias, a second entry for ITestA's identifier: its own comes first.
class TDerivedObject : public ComObj::TComImplements<TPlainObject, ITestC, ITestAlias> {
public:
  int STDMETHODCALLTYPE Depth() override { return 2; }
  int STDMETHODCALLTYPE Which() override { return 2; }
};

// Two entries for one identifier in one table: the earlier one wins.
class TTwoEntriesObject : public ComObj::TComImplements<ComObj::TComObject, ITestAlias, ITestA> {
public:
  int STDMETHODCALLTYPE Which() override { return 3; }
};

// Takes and drops a reference while being prepared, as a registration with another object might.
class TSelfReferencingObject : public TPlainObject {
protected:
  void PrepareObject() override {
    AddRef();
    Release();
    SeenCount = RefCount();
  }

public:
  static inline LONG SeenCount = -1;
};

// Fails while being prepared; implements IMarshal so that CoDisconnectObject's call can be counted.
class TFailingObject : public ComObj::TComImplements<ComObj::TComObject, IMarshal> {
public:
  static inline std::string Message = "Out of memory";
  static inline bool Fail = true, ThrowForeign = false;
  static inline std::atomic<int> Disconnections{0};

  TFailingObject() { ++TLifeCounts::Constructed; }
  ~TFailingObject() override { ++TLifeCounts::Destroyed; }

  HRESULT STDMETHODCALLTYPE GetUnmarshalClass(REFIID, void*, DWORD, void*, DWORD, CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMarshalSizeMax(REFIID, void*, DWORD, void*, DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MarshalInterface(IStream*, REFIID, void*, DWORD, void*, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UnmarshalInterface(IStream*, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ReleaseMarshalData(IStream*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DisconnectObject(DWORD) override {
    ++Disconnections;
    return S_OK;
  }

protected:
  void PrepareObject() override;
};

// A controlling object of the tests' own that aggregates one inner object and hands out its ITestA and ITestB.
class TOuterObject : public Tools::TComUnknown<Tools::TLifetime::ltOwned, IUnknown> {
public:
  std::atomic<int> Queries{0};  // the questions handed on to the inner object
  IUnknown* Inner = nullptr;    // the inner object's identity IUnknown, owned

protected:
  HRESULT QueryUnlisted(REFIID iid, void** out) noexcept override;
};

// A manual-reset event; every wait is bounded.
class TEvent {
public:
  TEvent() : FHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  void Set() { ::SetEvent(FHandle.get()); }
  bool Wait(DWORD milliseconds = 5000) const {
    return ::WaitForSingleObject(FHandle.get(), milliseconds) == WAIT_OBJECT_0;
  }

private:
  Win32::TKernelHandle FHandle;
};

// How long a thread is given to show that it is blocked; the opposite outcome is awaited without a limit
// shorter than five seconds.
inline constexpr DWORD BlockedMilliseconds = 300;

// A thread joined at scope end.
class TThread {
public:
  template <class F>
  explicit TThread(F&& body) : FThread(std::forward<F>(body)) {}
  ~TThread() { FThread.join(); }

private:
  std::thread FThread;
};

}  // namespace Testing
