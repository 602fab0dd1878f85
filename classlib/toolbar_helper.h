// The toolbar object a window manager is given: the list of the procedures (window
// managers) its toolbar buttons act on.
#pragma once

#include <memory>
#include <vector>

namespace qx {

class WindowManager;

class ToolbarHelper {
 public:
  ToolbarHelper() = default;
  ToolbarHelper(const ToolbarHelper&) = delete;
  ToolbarHelper& operator=(const ToolbarHelper&) = delete;

  // The targets: none until WindowManager::AttachToolbar makes the list (empty); released
  // again by that window manager's Shutdown.
  std::unique_ptr<std::vector<WindowManager*>> LIST;
};

}  // namespace qx
