// The window library in one include: program life, threads, windows, events, properties,
// message boxes, popup menus, queues, resize support and bind scopes.
#pragma once

#include "runtime/win/accept.h"
#include "runtime/win/control_kinds.h"
#include "runtime/win/events.h"
#include "runtime/win/keycodes.h"
#include "runtime/win/message.h"
#include "runtime/win/popup.h"
#include "runtime/win/program.h"
#include "runtime/win/properties.h"
#include "runtime/win/queue.h"
#include "runtime/win/resize.h"
#include "runtime/win/scope.h"
#include "runtime/win/standard_actions.h"
#include "runtime/win/threads.h"
#include "runtime/win/use_variable.h"
#include "runtime/win/windows.h"
