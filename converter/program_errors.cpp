// The converter's error manager class; see program_errors.h.
#include "converter/program_errors.h"

#include <string>

#include "converter/program_module.h"

namespace qx {

void ProgramErrorsClass::Init() {
  EnsureWelcomeShown();
  ErrorManager::Init();
}

void ProgramErrorsClass::Shutdown() {
  EnsureWelcomeShown();
  ErrorManager::Shutdown();
}

void ProgramErrorsClass::NameCurrentProcedure(std::string_view name, bool omitted) {
  // The name is held on to before the welcome window is drawn, which may switch threads.
  const std::string held(name);
  EnsureWelcomeShown();
  ErrorManager::NameCurrentProcedure(held, omitted);
}

void ProgramErrorsClass::AddMessages(std::span<const unsigned char> table) {
  EnsureWelcomeShown();
  ErrorManager::AddMessages(table);
}

BYTE ProgramErrorsClass::ReturnBenign() {
  EnsureWelcomeShown();
  return ErrorManager::ReturnBenign();
}

void ProgramErrorsClass::Fatal() {
  EnsureWelcomeShown();
  ErrorManager::Fatal();
}

void ProgramErrorsClass::ShowNotice() {
  EnsureWelcomeShown();
  ErrorManager::ShowNotice();
}

BYTE ProgramErrorsClass::ForwardToSlot5() {
  EnsureWelcomeShown();
  return ErrorManager::ForwardToSlot5();
}

BYTE ProgramErrorsClass::ForwardToFatal() {
  EnsureWelcomeShown();
  return ErrorManager::ForwardToFatal();
}

BYTE ProgramErrorsClass::ShowQuestion() {
  EnsureWelcomeShown();
  return ErrorManager::ShowQuestion();
}

}  // namespace qx
