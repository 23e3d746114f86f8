// The value objects in one include.
#pragma once

#include "core/Bool.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/Object.h"
#include "core/Str.h"
