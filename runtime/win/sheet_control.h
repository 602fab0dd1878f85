// A sheet: a page with tabs (tab_control.h), one of them selected. The controls on a tab
// show only while that tab is selected; controls of the window that lie on the sheet's
// face show whatever tab is selected.
//
// A person picks a tab (ViewInput::Click, or Left and Right while the sheet has the focus):
// the tab is selected at once, and the program gets EVENT:TabChanging and then
// EVENT:NewSelection for the sheet (RtChoice already gives the new tab); a disabled tab
// cannot be picked. A person moving the focus to the sheet raises
// EVENT:Selected, and the accept-all pass gives it EVENT:Accepted. RtChoice and
// PropSelectedRow give the selected tab's number (1 = the first); the program may select
// any tab, a disabled one too, without events.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class SheetControl : public Control {
 public:
  using Control::Control;

  bool TakesFocus() const override { return true; }
  bool InAcceptAll() const override { return true; }
  bool ReportsSelected() const override { return true; }
  LONG Choice() const override { return selected_ <= Tabs().size() ? selected_ : 0; }
  bool Shows(const Control& child) const override;
  void Reveal(const Control& child) override;

  InputResult OnClick(InputContext& window, LONG item, LONG keyCode) override;
  InputResult OnKey(InputContext& window, LONG keyCode, LONG keyChar) override;
  bool GetProperty(LONG property, LONG index, std::string& value) const override;
  bool SetProperty(LONG property, LONG index, std::string_view value) override;
  void Present(ControlPresentation& out) const override;

 private:
  std::vector<const Control*> Tabs() const;
  // A person picks tab `number`: the events, or kDisabled for a tab that cannot be picked.
  InputResult Pick(InputContext& window, size_t number, LONG keyCode);

  size_t selected_ = 1;
};

}  // namespace qx
