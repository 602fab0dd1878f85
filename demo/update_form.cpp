// The update form procedure: one call's locals in a class, its routines as members, the
// ACCEPT loop as a dispatch on event and control; see update_form.h.
#include "demo/update_form.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "demo/field_variable.h"
#include "demo/integrity_update.h"
#include "demo/open_data_file.h"
#include "demo/program_module.h"
#include "demo/warnings.h"
#include "runtime/sys/error_state.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

constexpr const char kFormLabel[] = "P1$QUICKWINDOW";

// The request values of CurrentRequest.
constexpr LONG kInsertRecord = 1, kChangeRecord = 2, kDeleteRecord = 3;
// The answers of CurrentResponse.
constexpr LONG kCompleted = 1, kCancelled = 2;

// The prompt above the first entry: selecting it puts the focus on the first entry.
constexpr LONG kFirstPrompt = 3;
// The sheet of one tab that holds the prompts and entries.
constexpr LONG kFormSheet = 1;
// The alert key slot the ditto key takes in every entry.
constexpr LONG kDittoSlot = 255;

// The field of `layout` called `name`; nullptr when the layout has none.
const FieldDef* FindFieldDef(const RecordLayout& layout, std::string_view name) {
  const int i = layout.FindField(name);
  return i < 0 ? nullptr : &layout.fields()[static_cast<size_t>(i)];
}

std::string_view RecordView(const std::vector<unsigned char>& record) {
  return {reinterpret_cast<const char*>(record.data()), record.size()};
}

// One call of a form.
class UpdateFormProcedure {
 public:
  explicit UpdateFormProcedure(const UpdateFormMember& member) : member_(member), file_(*member.file) {}
  void Run();

 private:
  // How preparing the form ended: go on with the window open, or leave the procedure.
  enum class Prepared { kWindowOpen, kExit };

  Prepared Prepare();
  void SysIdPriming();
  void DeleteRecord();
  LONG HandleEvent();
  LONG Completion();
  void ChangeCompletion();
  void Ditto();
  void ClosingStep();
  void Redisplay();
  void Exit();

  unsigned char* Buffer() { return file_.RecordBuffer(); }
  size_t RecordLength() const { return file_.layout().length(); }
  void CopyBufferTo(std::vector<unsigned char>& record) {
    std::memcpy(record.data(), Buffer(), RecordLength());
  }
  void CopyToBuffer(const std::vector<unsigned char>& record) {
    std::memcpy(Buffer(), record.data(), RecordLength());
  }

  const UpdateFormMember& member_;
  FileDecl& file_;

  // The procedure's locals.
  LONG FormRequest = 0;
  LONG FormResponse = 0;
  std::vector<unsigned char> EntryRecord;
  LONG FileOpened = 0;
  LONG WindowOpened = 0;
  LONG WindowInitialized = 0;
  CSTRING<40> FormTitle;
  ResizeRecord WindowResize;
  LONG NewSysId = 0;
  LONG AddAttempts = 0;
  WindowRef FormWindow;
};

void UpdateFormProcedure::Run() {
  EntryRecord.assign(RecordLength(), 0);
  RtClearGroup(EntryRecord.data(), file_.layout(), 0);
  NewSysId = 0;
  WindowResize = ResizeRecord{};

  // The entries take their fields' variables in creation order; the variables beyond the
  // member's entries are unbound, and the window ignores them.
  UseVariable use[kMaxFormEntries];
  for (size_t i = 0; i < member_.entries.size() && i < kMaxFormEntries; ++i) {
    if (const FieldDef* f = FindFieldDef(file_.layout(), member_.entries[i].field)) use[i] = FieldVariable(Buffer(), *f);
  }
  static_assert(kMaxFormEntries == 6);
  RtNewMdiWindow(FormWindow, member_.module, kFormLabel, {use[0], use[1], use[2], use[3], use[4], use[5]});

  if (!*member_.historyCleared) {
    RtClearGroup(member_.history, file_.layout(), 0);
    *member_.historyCleared = true;
  }

  RtPushScope(0);
  FormRequest = CurrentRequest;
  FormResponse = kCancelled;
  CurrentRequest = 0;
  CurrentResponse = 0;
  if (RtKeyCode() == kKeyRightMouse) RtSetKeyCode(0);

  if (Prepare() == Prepared::kExit) {
    Exit();
    return;
  }
  FormTitle = FormRequest == kInsertRecord ? "Adding a Record" : "Changing a Record";
  RtSetProperty(FormWindow, 0, kPropText, FormTitle.view());

  while (RtAccept()) RtEndAcceptPass(HandleEvent());
  Exit();
}

UpdateFormProcedure::Prepared UpdateFormProcedure::Prepare() {
  // Nothing in the program asks for anything else; such a call opens nothing and is
  // answered as cancelled.
  if (FormRequest != kInsertRecord && FormRequest != kChangeRecord && FormRequest != kDeleteRecord) {
    return Prepared::kExit;
  }
  LONG& useCount = member_.useCount();
  if (useCount == 0) OpenDataFile(file_, 1, 0, 0, 1);  // returns only with the file open
  useCount += 1;
  FileOpened = 1;
  PrepareRelatedFiles(file_);

  GroupRef record;
  for (const FieldDef& f : file_.layout().fields()) record.fields.emplace_back(f.name, FieldVariable(Buffer(), f));
  RtBindGroup(record);

  CopyBufferTo(EntryRecord);

  if (FormRequest == kInsertRecord) {
    FormResponse = kCompleted;
    if (member_.numbering != nullptr) SysIdPriming();
    if (FormResponse == kCancelled) return Prepared::kExit;
    FormResponse = kCancelled;
  }
  if (FormRequest == kDeleteRecord) {
    DeleteRecord();
    return Prepared::kExit;
  }

  RtOpenWindow(FormWindow);
  WindowOpened = 1;
  RtSetProperty(FormWindow, 0, kPropMinWidth, RtGetProperty(FormWindow, 0, kPropWidth));
  RtSetProperty(FormWindow, 0, kPropMinHeight, RtGetProperty(FormWindow, 0, kPropHeight));
  ResizeInit(WindowResize, 2);
  for (const FormEntry& e : member_.entries) {
    RtSetProperty(FormWindow, e.control, kPropAlertKeys, std::to_string(kKeyCtrlQuote), kDittoSlot);
  }
  return Prepared::kWindowOpen;
}

// Adds the placeholder of an insert: the cleared record with the next number, so that the
// number is taken before the person fills the form in. FormResponse 2 afterwards: given up.
void UpdateFormProcedure::SysIdPriming() {
  const FormNumbering& numbering = *member_.numbering;
  const FieldDef* number = FindFieldDef(file_.layout(), numbering.field);
  AddAttempts = 0;
  for (;;) {
    SETkey(numbering.byNumber());
    PREVIOUS(file_);  // the record with the highest number
    const LONG readCode = RtErrorCode();
    if (readCode != kNoError && readCode != kRecordNotAvailable) {
      ShowWarning(35, numbering.label);
      FormResponse = kCancelled;
      return;
    }
    if (readCode == kRecordNotAvailable) {
      NewSysId = 1;
    } else {
      LONG highest = 0;
      std::memcpy(&highest, Buffer() + number->offset, sizeof highest);
      // Past the largest LONG the number wraps round, as a 32-bit addition does.
      NewSysId = static_cast<LONG>(static_cast<uint32_t>(highest) + 1u);
    }
    CopyToBuffer(EntryRecord);  // undoes the read
    std::memcpy(Buffer() + number->offset, &NewSysId, sizeof NewSysId);
    CopyBufferTo(EntryRecord);
    ADD(file_);
    if (RtErrorCode() == kNoError) return;  // the placeholder is the current record
    AddAttempts += 1;
    if (AddAttempts < 3) continue;
    if (ShowWarning(25) != kWarningRetry) {
      FormResponse = kCancelled;
      return;
    }
    AddAttempts = 0;
  }
}

void UpdateFormProcedure::DeleteRecord() {
  if (ShowWarning(32) != kWarningOk) return;  // answer 2
  for (;;) {
    FormResponse = kCancelled;
    RtSetCursor(kCursorWait);
    const LONG result = member_.integrityDelete();
    RtSetCursor(0);
    if (result == kIntegrityDone) {
      FormResponse = kCompleted;
      return;
    }
    if (ShowWarning(18) != kWarningYes) return;
  }
}

// One pass of the ACCEPT loop: by event, then by control. Returns the pass's result.
LONG UpdateFormProcedure::HandleEvent() {
  LONG result = 0;
  const LONG event = RtEvent();
  const LONG field = RtField();
  switch (event) {
    case kEventAlertKey:
      if (RtKeyCode() == kKeyCtrlQuote) Ditto();
      break;
    case kEventCloseWindow:
      ClosingStep();
      break;
    case kEventCloseDown:
      ClosingStep();
      ResizeKill(WindowResize);
      break;
    case kEventOpenWindow:
      if (WindowInitialized == 0) {
        Redisplay();
        WindowInitialized = 1;
      }
      RtSelect(kFirstPrompt);
      break;
    case kEventGainFocus:
      Redisplay();
      WindowInitialized = 1;
      break;
    case kEventSized:
      ResizeWindow(WindowResize);
      Redisplay();
      break;
    case kEventRejected:
      RtBeep(150, 0);
      RtDisplay(field, 0);
      RtSelect(field);
      break;
    case kEventCompleted:
      result = Completion();
      break;
    default:
      break;
  }

  if (field == kFormSheet) {
    if (event == kEventAccepted || event == kEventNewSelection || event == kEventTabChanging ||
        event == kEventSelected) {
      Redisplay();
    }
  } else if (field == member_.okButton && event == kEventAccepted) {
    RtSelect(0);  // the accept-all pass, which ends in EVENT:Completed
  } else if (field == member_.cancelButton && event == kEventAccepted) {
    FormResponse = kCancelled;
    RtPost(kEventCloseWindow);
  }
  // The Help button's standard action shows the help; the form adds nothing.
  return result;
}

LONG UpdateFormProcedure::Completion() {
  std::memcpy(member_.history, Buffer(), RecordLength());
  if (FormRequest == kInsertRecord) {
    // A numbered insert writes over its placeholder; the others add the record now.
    if (member_.numbering != nullptr) {
      PUT(file_);
    } else {
      ADD(file_);
    }
    if (RtErrorCode() == kNoError) {
      FormResponse = kCompleted;
      RtPost(kEventCloseWindow);
      return 0;
    }
    ShowWarning(14);
    RtSelect(kFirstPrompt);
    return 1;  // refused: the form stays with the person's values
  }
  if (FormRequest == kChangeRecord) ChangeCompletion();
  return 0;
}

void UpdateFormProcedure::ChangeCompletion() {
  for (;;) {
    FormResponse = kCancelled;
    RtSetCursor(kCursorWait);
    std::vector<unsigned char> now(RecordLength());
    CopyBufferTo(now);
    const bool changed = RtCompareStrings(RecordView(now), RecordView(EntryRecord)) != 0;
    const LONG result = changed ? member_.integrityUpdate() : kIntegrityDone;
    RtSetCursor(0);
    if (result == kIntegrityDone) {
      FormResponse = kCompleted;
      RtPost(kEventCloseWindow);
      return;
    }
    if (result == kIntegrityFailed) {
      const LONG answer = ShowWarning(16);
      if (answer == kWarningYes) continue;
      if (answer == kWarningNo) {
        RtPost(kEventCloseWindow);
        return;
      }
    }
    // Cancel, or another opener's version now in the buffer (EntryRecord keeps the version
    // first read, so OK writes the shown one back; the ditto key recalls the person's).
    RtDisplay(0, 0);
    RtSelect(kFirstPrompt);
    return;
  }
}

void UpdateFormProcedure::Ditto() {
  const LONG focus = RtFocus();
  for (const FormEntry& e : member_.entries) {
    if (e.control != focus) continue;
    if (const FieldDef* f = FindFieldDef(file_.layout(), e.field)) {
      std::memcpy(Buffer() + f->offset, member_.history + f->offset, f->width);
    }
  }
  RtDisplay(0, 0);
}

// On EVENT:CloseWindow and EVENT:CloseDown: an insert not completed in a numbering form
// takes its placeholder (the current record) away again.
void UpdateFormProcedure::ClosingStep() {
  if (member_.numbering != nullptr && FormRequest == kInsertRecord && FormResponse == kCancelled) DELETE(file_);
}

// Redraws the window from its variables, except while the accept-all pass runs (its
// EVENT:Accepted of the sheet would otherwise redraw the entries not yet accepted).
void UpdateFormProcedure::Redisplay() {
  if (RtClipView(RtGetProperty(FormWindow, 0, kPropAcceptAll)).empty()) RtDisplay(0, 0);
}

void UpdateFormProcedure::Exit() {
  if (FileOpened == 1) {
    LONG& useCount = member_.useCount();
    useCount -= 1;
    if (useCount == 0) CLOSE(file_);
  }
  if (WindowOpened == 1) RtCloseWindow(FormWindow);
  CurrentResponse = FormResponse == 0 ? kCancelled : FormResponse;
  RtPopScope();
  // Only a form whose window opened ran an ACCEPT loop of its own to leave: without one,
  // the innermost loop of the thread is the caller's.
  if (WindowOpened == 1) RtExitAccept(0);
  RtDisposeWindow(FormWindow);
}

}  // namespace

void RunUpdateForm(const UpdateFormMember& member) {
  UpdateFormProcedure procedure(member);
  procedure.Run();
}

}  // namespace qx
