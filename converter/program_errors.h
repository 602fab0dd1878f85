// The converter's error manager class: every operation of the class library's error
// manager, each made to put the welcome window on the screen first (EnsureWelcomeShown)
// and then doing what the library's operation does, with the same arguments and result.
// Since the initialisation is the first step of the main code, the welcome window is up
// before anything else of the converter runs; once the frame has closed it, no later call
// opens it again.
#pragma once

#include <span>
#include <string_view>

#include "classlib/error_manager.h"

namespace qx {

class ProgramErrorsClass : public ErrorManager {
 public:
  // The plain operations, called by name on the object.
  void Init();
  void Shutdown();
  void NameCurrentProcedure(std::string_view name, bool omitted = false);

  // The seven slots.
  void AddMessages(std::span<const unsigned char> table) override;
  BYTE ReturnBenign() override;
  void Fatal() override;
  void ShowNotice() override;
  BYTE ForwardToSlot5() override;
  BYTE ForwardToFatal() override;
  BYTE ShowQuestion() override;
};

}  // namespace qx
