// Entry of the Qt view's in-process tests: one QtView (offscreen unless a platform is
// set) installed for every test, GoogleTest on the main thread, which is the GUI thread.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/win/control_kinds.h"
#include "runtime/win/view.h"
#include "tests/view_qt/qt_view_test_support.h"

namespace qx::qttest {
namespace {

QtView* gView = nullptr;

// A control that takes typed text, as the entries to come will: the descriptions' kind
// "qtentry". It has no Qt view of its own, so the view gives it its line entry.
class TypedEntry : public Control {
 public:
  using Control::Control;
  bool ConsumesVariable() const override { return true; }
  bool TakesFocus() const override { return true; }
  bool Editable() const override { return true; }
  void Display() override { text_ = std::string(RtClipView(variable_.Text())); }
  bool Accept() override {
    variable_.SetText(text_);
    return true;
  }
  InputResult OnType(InputContext& window, std::string_view text, bool accept) override {
    text_ = std::string(text);
    if (accept) {
      Event e;
      e.number = kEventAccepted;
      e.field = field();
      e.fromInput = true;
      window.Queue(e);
    }
    return InputResult::kDone;
  }
};

}  // namespace

QtView& TheView() { return *gView; }

}  // namespace qx::qttest

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  auto view = std::make_unique<qx::QtView>(argc, argv);
  qx::qttest::gView = view.get();
  qx::RtInstallView(view.get());
  qx::RegisterControlKind("qtentry", [](const qx::ControlDescription& d, qx::ControlArea a, qx::LONG parent) {
    return std::unique_ptr<qx::Control>(new qx::qttest::TypedEntry(d, a, parent));
  });
  const int result = RUN_ALL_TESTS();
  qx::RtInstallView(nullptr);
  return result;
}
