// The tests' data object that serves CF_HDROP from a list of paths: the tools' own, by the tests' name.
#pragma once

#include "tools/DropFilesData.h"

namespace Testing {

using TDropFilesObject = Tools::TDropFilesData;

}  // namespace Testing
