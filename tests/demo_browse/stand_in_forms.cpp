// The stand-in update forms; see stand_in_forms.h.
#include "tests/demo_browse/stand_in_forms.h"

#include <cstring>

#include "demo/data_files.h"
#include "demo/open_data_file.h"
#include "demo/program_module.h"
#include "demo/update_forms.h"
#include "demo/use_counts.h"
#include "runtime/sys/error_state.h"
#include "runtime/win/message.h"

namespace qx::testing {
namespace {

StandInEdit& Edit() {
  static StandInEdit edit;
  return edit;
}

void DefaultEdit(FileDecl& file, LONG request) {
  const RecordLayout& layout = file.layout();
  const FieldDef& name = layout.fields().at(static_cast<size_t>(layout.FindField(file.prefix() + ":NAME")));
  STRING<20> value = request == 1 ? "Stand-in insert" : "Stand-in change";
  std::memcpy(file.RecordBuffer() + name.offset, value.data(), name.width);
}

void StandIn(const char* form, FileDecl& file, LONG& useCount) {
  StandInCall call;
  call.form = form;
  call.request = CurrentRequest;
  call.navigation = NavigationRequest;
  const LONG request = CurrentRequest;
  CurrentRequest = 0;
  CurrentResponse = 0;
  call.requestAfterEntry = CurrentRequest;
  call.buffer.assign(reinterpret_cast<const char*>(file.RecordBuffer()), file.layout().length());
  if (useCount == 0) OpenDataFile(file, 1, 0, 0, 1);
  ++useCount;
  call.currentPosition = POSITIONfile(file);

  LONG response = 2;
  const LONG answer = RtMessage(StandInQuestion(form, request), form, kIconQuestion, kButtonYes + kButtonNo, kButtonNo);
  if (answer == kButtonYes && request >= 1 && request <= 3) {
    if (request != 3) (Edit() ? Edit() : StandInEdit(DefaultEdit))(file, request);
    if (request == 1) ADD(file);
    else if (request == 2) PUT(file);
    else DELETE(file);
    call.writeCode = RtErrorCode();
    if (call.writeCode == 0) response = 1;
  }
  StandInCalls().push_back(call);
  if (--useCount == 0) CLOSE(file);
  CurrentResponse = response;
}

}  // namespace

std::vector<StandInCall>& StandInCalls() {
  static std::vector<StandInCall> calls;
  return calls;
}

void SetStandInEdit(StandInEdit edit) { Edit() = std::move(edit); }

std::string StandInQuestion(const std::string& form, LONG request) {
  const char* what = request == 1 ? "insert" : request == 2 ? "change" : request == 3 ? "delete" : "request";
  return form + ": complete the " + what + "?";
}

}  // namespace qx::testing

namespace qx {

void UpdateStandrd() { testing::StandIn("UpdateStandrd", Standrd, StandrdUseCount); }
void UpdateEncrypt() { testing::StandIn("UpdateEncrypt", Encrypt, EncryptUseCount); }
void UpdateVeryLongName() { testing::StandIn("UpdateVeryLongName", VeryLongName, VeryLongNameUseCount); }
void UpdateVarname() { testing::StandIn("UpdateVarname", Varname, VarnameUseCount); }

}  // namespace qx
