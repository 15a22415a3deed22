// The COM frame in one include: failures, server interface, object base, factories, registry, registration.
#pragma once

#include "ComBoundary.h"
#include "ComClassManager.h"
#include "ComFrame.h"
#include "ComObject.h"
#include "ComObjectFactory.h"
#include "ComServerObject.h"
#include "Exceptions.h"
#include "Registration.h"
