// The keyed record store in one include: declarations and layouts, the operations on
// files and keys, views, and stored layouts.
#pragma once

#include "runtime/store/file.h"
#include "runtime/store/layout.h"
#include "runtime/store/stored_layout.h"
#include "runtime/store/view.h"
