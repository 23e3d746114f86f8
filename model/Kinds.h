// Every kind of project tree node in one include.
#pragma once

#include "model/ActionInfo.h"
#include "model/Info.h"
#include "model/MemberInfo.h"
#include "model/ProjectInfo.h"
#include "model/StatementInfo.h"
#include "model/TypeInfo.h"
#include "model/UnitInfo.h"
