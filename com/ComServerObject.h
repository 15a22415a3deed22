// TComServerObject: what factories and objects may ask of the server module, and nothing more.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace ComObj {

// Factories and objects hold the server through this interface only; holding it keeps nothing alive.
// Servers are compared by object identity.
class TComServerObject {
public:
  TComServerObject() = default;
  TComServerObject(const TComServerObject&) = delete;
  TComServerObject& operator=(const TComServerObject&) = delete;
  virtual ~TComServerObject() = default;

  // Both counts change atomically; each returns the count the change produced.
  virtual LONG AdjustObjectCount(bool created) = 0;
  virtual LONG AdjustFactoryCount(bool created) = 0;
  virtual std::string HelpFilePath() = 0;
  virtual std::string ServerFilePath() = 0;
  virtual std::string RegistrationKeyName() = 0;
  virtual std::string ServerTitle() = 0;
  virtual bool RegistersSuspended() = 0;
  // The server's type library with one reference added for the caller.
  virtual ITypeLib* TypeLibrary() = 0;
  virtual void SetHelpFilePath(const std::string& value) = 0;
};

}  // namespace ComObj
