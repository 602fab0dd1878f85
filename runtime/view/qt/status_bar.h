// A window's status bar: one sunken section per described width (StatusSectionPixels), each
// showing the text the model keeps for it. The first section carries the message of the
// control or menu item under the pointer or with the focus, which the model puts there.
#pragma once

#include <QLabel>
#include <QObject>
#include <QStatusBar>

#include <vector>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/text/types.h"

namespace qx {

class StatusBarView : public QObject {
 public:
  StatusBarView(QStatusBar* bar, const std::vector<LONG>& widths);

  void Apply(const std::vector<std::string>& texts, const DialogUnits& units);
  // The sections' texts as shown, for tests.
  QStringList Texts() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Lay();

  QWidget* row_;
  std::vector<LONG> widths_;
  std::vector<QLabel*> sections_;
  DialogUnits units_{DialogBaseUnits{4, 8}};
};

}  // namespace qx
