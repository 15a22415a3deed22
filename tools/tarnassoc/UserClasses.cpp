// The shared redirection, with its failures raised as the tool's own.
#include "UserClasses.h"

#include "AssocError.h"

namespace Assoc {

// A failure leaves the handler by CheckRegistry's exception, the tool's own kind with its exit code.
TUserClassesRoot::TUserClassesRoot() try : FRedirection(UserClassesPath, Tools::TRedirectedKey::rkKept) {
} catch (const Tools::ERegistryError& failure) {
  CheckRegistry(failure.Status(), failure.Step());
}

}  // namespace Assoc
