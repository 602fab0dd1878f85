// Views; see view.h.
#include "runtime/store/view.h"

#include "runtime/store/instance.h"

namespace qx {

using namespace store;

namespace {

// The file's instance when the view is usable; else 37 set and nullptr.
Instance* Usable(RecordView& view) {
  Instance& in = InstanceOf(view.file());
  if (!view.isOpen() || !in.open) {
    SetStoreError(kFileNotOpen, view.isOpen() ? "the view's file is not open" : "the view is not open");
    return nullptr;
  }
  return &in;
}

}  // namespace

void OPEN(RecordView& view, LONG /*mode*/) {
  Instance& in = InstanceOf(view.file());
  if (view.open_) {
    SetStoreError(kFileAlreadyOpen, "the view is open already");
    return;
  }
  if (!in.open) {
    SetStoreError(kFileNotOpen, "the view's file is not open");
    return;
  }
  view.open_ = true;
  RtClearError();
}

void CLOSE(RecordView& view) {
  if (!view.open_) {
    SetStoreError(kFileNotOpen, "the view is not open");
    return;
  }
  view.open_ = false;
  RtClearError();
}

void NEXT(RecordView& view) {
  if (Instance* in = Usable(view)) Step(*in, Dir::kForward);
}

void PREVIOUS(RecordView& view) {
  if (Instance* in = Usable(view)) Step(*in, Dir::kBackward);
}

std::string POSITIONfile(RecordView& view) {
  Instance* in = Usable(view);
  return in ? OrderPosition(*in) : std::string();
}

void RESETfile(RecordView& view, std::string_view position) {
  if (Instance* in = Usable(view)) ResetTo(*in, position, -1);
}

void REGETfile(RecordView& view, std::string_view position) {
  if (Instance* in = Usable(view)) RegetFrom(*in, position, -1);
}

void WATCH(RecordView& view) {
  if (Usable(view)) WATCH(view.file());
}

}  // namespace qx
