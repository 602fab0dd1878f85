// Test support for the update forms; see form_run.h.
#include "tests/demo_forms/form_run.h"

#include <chrono>
#include <cstring>

#include "demo/field_variable.h"
#include "demo/program_module.h"
#include "runtime/view/automation/protocol.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"

namespace qx::formtest {
namespace {

constexpr const char kFormLabel[] = "P1$QUICKWINDOW";

// The variable of field `field` (without prefix) in a record image of `file`'s layout.
std::optional<UseVariable> VariableOf(FileDecl& file, unsigned char* record, const std::string& field) {
  const int i = file.layout().FindField(file.prefix() + ":" + field);
  if (i < 0) return std::nullopt;
  const FieldDef& f = file.layout().fields()[static_cast<size_t>(i)];
  return FieldVariable(record, f);
}

json FormSelector() { return {{"label", kFormLabel}}; }

}  // namespace

// ---- The four forms ------------------------------------------------------------------

const std::vector<FormKind>& Forms() {
  static const std::vector<FormKind> forms = {
      {"UpdateStandrd", &UpdateStandrd, &StandrdForm, &Standrd, [] () -> LONG& { return StandrdUseCount; },
       "qxmora$qxd026", "STD", 173, 140, 165, 114, {{4, "CUSID"}, {6, "NAME"}, {8, "SUBURB"}},
       {{9, "Phone:"}, {10, "Start Date:"}, {11, "New Field:"}, {12, "New Field 2:"}}, 13, 14, 15, {26, 75, 124}, 122,
       reinterpret_cast<unsigned char*>(&StandrdHistory)},
      {"UpdateEncrypt", &UpdateEncrypt, &EncryptForm, &Encrypt, [] () -> LONG& { return EncryptUseCount; },
       "qxmora$qxd027", "ENC", 173, 112, 165, 86,
       {{4, "CUSID"}, {6, "NAME"}, {8, "SUBURB"}, {10, "PHONE"}, {12, "STARTDATE"}}, {}, 13, 14, 15, {26, 75, 124}, 94,
       reinterpret_cast<unsigned char*>(&EncryptHistory)},
      {"UpdateVeryLongName", &UpdateVeryLongName, &VeryLongNameForm, &VeryLongName,
       [] () -> LONG& { return VeryLongNameUseCount; }, "qxmora$qxd028", "VLN", 173, 126, 165, 100,
       {{4, "CUSID"}, {6, "NAME"}, {8, "SUBURB"}, {10, "PHONE"}, {12, "STARTDATE"}, {14, "NEWFIELD"}}, {}, 15, 16, 17,
       {26, 75, 124}, 108, reinterpret_cast<unsigned char*>(&VeryLongNameHistory)},
      {"UpdateVarname", &UpdateVarname, &VarnameForm, &Varname, [] () -> LONG& { return VarnameUseCount; },
       "qxmora$qxd029", "VAR", 153, 84, 145, 58, {{4, "CUSID"}, {6, "NAME"}, {8, "SUBURB"}}, {}, 9, 10, 11,
       {6, 55, 104}, 66, reinterpret_cast<unsigned char*>(&VarnameHistory)},
  };
  return forms;
}

const FormKind& Form(const std::string& name) {
  for (const FormKind& k : Forms()) {
    if (name == k.name) return k;
  }
  ADD_FAILURE() << "no form " << name;
  return Forms().front();
}

// ---- Records by field name -------------------------------------------------------------

void SetRecord(FileDecl& file, const Values& values) {
  RtClearGroup(file.RecordBuffer(), file.layout(), 0);
  for (const auto& [name, value] : values) {
    if (auto v = VariableOf(file, file.RecordBuffer(), name)) v->SetText(value);
  }
}

std::string FieldOf(FileDecl& file, const unsigned char* record, const std::string& field) {
  auto v = VariableOf(file, const_cast<unsigned char*>(record), field);
  return v ? std::string(RtClipView(v->Text())) : std::string();
}

std::string Field(FileDecl& file, const std::string& field) { return FieldOf(file, file.RecordBuffer(), field); }

void MakeFile(FileDecl& file, const std::vector<Values>& records) {
  CREATE(file);
  ASSERT_EQ(RtErrorCode(), 0) << file.label() << " " << RtPushFileErrorText();
  OPEN(file, 0x42);
  ASSERT_EQ(RtErrorCode(), 0) << file.label();
  for (const Values& r : records) {
    SetRecord(file, r);
    ADD(file);
    EXPECT_EQ(RtErrorCode(), 0) << file.label();
  }
  CLOSE(file);
}

std::vector<std::string> Records(FileDecl& file, const std::vector<std::string>& fields) {
  std::vector<std::string> out;
  OPEN(file, 0x42);
  EXPECT_EQ(RtErrorCode(), 0) << file.label() << " " << RtPushFileErrorText();
  if (RtErrorCode() != 0) return out;
  SETfile(file);
  for (NEXT(file); RtErrorCode() == 0; NEXT(file)) {
    std::string row;
    for (const std::string& f : fields) row += (row.empty() ? "" : " ") + Field(file, f);
    out.push_back(row);
  }
  CLOSE(file);
  return out;
}

// ---- The browse's part -------------------------------------------------------------------

BrowsePart BrowseSelects(int n) {
  BrowsePart part;
  part.before = [n](const FormKind& kind) {
    FileDecl& file = *kind.file;
    OPEN(file, 0x42);
    ASSERT_EQ(RtErrorCode(), 0) << kind.name;
    kind.useCount() = 1;
    SETfile(file);
    for (int i = 0; i < n; ++i) NEXT(file);
    ASSERT_EQ(RtErrorCode(), 0) << kind.name << " has no record " << n;
    const std::string position = POSITIONfile(file);
    WATCH(file);
    REGETfile(file, position);
    ASSERT_EQ(RtErrorCode(), 0);
  };
  part.after = [](const FormKind& kind) {
    EXPECT_EQ(kind.useCount(), 1) << "the form gave back its own count only";
    kind.useCount() = 0;
    CLOSE(*kind.file);
    EXPECT_EQ(RtErrorCode(), 0) << "the browse's instance stays open through the form";
  };
  return part;
}

BrowsePart BrowseInserts() {
  BrowsePart part = BrowseSelects(0);
  part.before = [](const FormKind& kind) {
    FileDecl& file = *kind.file;
    OPEN(file, 0x42);
    ASSERT_EQ(RtErrorCode(), 0) << kind.name;
    kind.useCount() = 1;
    GETfileptr(file, 0);
    RtClearGroup(file.RecordBuffer(), file.layout(), 0);
  };
  return part;
}

BrowsePart FormOpensFile() {
  BrowsePart part;
  part.before = [](const FormKind& kind) {
    EXPECT_EQ(kind.useCount(), 0);
    RtClearGroup(kind.file->RecordBuffer(), kind.file->layout(), 0);
  };
  part.after = [](const FormKind& kind) {
    EXPECT_EQ(kind.useCount(), 0);
    CLOSE(*kind.file);
    EXPECT_EQ(RtErrorCode(), kFileNotOpen) << "the form closed the file it opened";
  };
  return part;
}

// ---- The person ------------------------------------------------------------------------

json Person::Act(json request) {
  if (!request.contains("window") && request["op"] != "answer" && request["op"] != "wait") {
    request["window"] = FormSelector();
  }
  const json reply = HandleAutomationRequest(request);
  if (!reply.value("ok", false)) {
    ADD_FAILURE() << request.dump() << " -> " << reply.dump();
    throw PersonGaveUp{};
  }
  return reply;
}

// Once the program waits for a person, what the form shows is the outcome of everything
// done so far.
json Person::Form() {
  Act({{"op", "wait"}, {"until", {{"idle", true}}}, {"timeout_ms", 10000}});
  Act({{"op", "wait"}, {"until", {{"takes_input", FormSelector()}}}, {"timeout_ms", 10000}});
  return Act({{"op", "window"}})["window"];
}

std::string Person::Shown(LONG field) {
  const json window = Form();
  for (const json& c : window["controls"]) {
    if (c["field"] == field) return c["text"];
  }
  ADD_FAILURE() << "the form has no control " << field;
  throw PersonGaveUp{};
}

void Person::Type(LONG field, const std::string& text, bool accept) {
  Form();
  Act({{"op", "type"}, {"control", field}, {"text", text}, {"accept", accept}});
}

void Person::Key(LONG field, LONG code) {
  if (field != 0 && Form()["focus"] != field) Act({{"op", "focus"}, {"control", field}});  // clicked into it first
  Form();
  json request = {{"op", "key"}, {"code", code}};
  if (field != 0) request["control"] = field;
  Act(request);
}

void Person::Press(LONG field) {
  Form();
  Act({{"op", "press"}, {"control", field}});
}

void Person::Close() {
  Form();
  Act({{"op", "close"}});
}

void Person::Resize(LONG width, LONG height) {
  Form();
  Act({{"op", "resize"}, {"width", width}, {"height", height}});
}

json Person::Answer(const std::string& caption, const std::string& button) {
  const json box =
      Act({{"op", "wait"}, {"until", {{"message", {{"caption", caption}}}}}, {"timeout_ms", 10000}})["match"];
  boxes.push_back(box);
  Act({{"op", "answer"}, {"message", box["id"]}, {"button", button}});
  return box;
}

void Person::FormGone() { Act({{"op", "wait"}, {"until", {{"no_window", FormSelector()}}}, {"timeout_ms", 10000}}); }

// ---- Running a form ------------------------------------------------------------------

FormTest::FormTest() {
  in_.emplace(dir_.path());
  RtInstallView(&view_);
  main_.emplace();
}

FormTest::~FormTest() {
  main_.reset();
  RtInstallView(nullptr);
  in_.reset();
}

namespace {

struct RunState {
  const FormKind* kind;
  LONG request;
  const BrowsePart* browse;
  const UpdateFormMember* member;
  LONG response = -1;
  std::atomic<bool> formDone{false};
};

RunState* gRun = nullptr;

// The form's thread: the browse's part, the call, the browse's part again; then the frame
// is asked to close.
void FormThread() {
  RunState& r = *gRun;
  if (r.browse->before) r.browse->before(*r.kind);
  CurrentRequest = r.request;
  NavigationRequest = 0;
  if (r.member != nullptr) {
    RunUpdateForm(*r.member);
  } else {
    r.kind->form();
  }
  r.response = CurrentResponse;
  EXPECT_EQ(CurrentRequest, 0) << "the form took the request";
  EXPECT_EQ(NavigationRequest, 0);
  if (r.browse->after) r.browse->after(*r.kind);
  r.formDone = true;
  RtPost(kEventCloseWindow, 0, 1);
}

bool WaitDone(const std::atomic<bool>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done) {
    if (std::chrono::steady_clock::now() > end) return false;
    WaitPresentationChange(PresentationRevision(), 50);
  }
  return true;
}

}  // namespace

LONG FormTest::RunForm(const FormKind& kind, LONG request, const BrowsePart& browse,
                       std::function<void(Person&)> person, const UpdateFormMember* member) {
  RunState state{&kind, request, &browse, member};
  gRun = &state;
  WindowRef frame;
  RtNewAppFrame(frame, "qxmora$qxd001", "P1$APPFRAME");
  RtOpenWindow(frame);
  EXPECT_NE(RtStart(&FormThread, 50000), 0);

  std::thread personThread([&] {
    Person p;
    try {
      person(p);
    } catch (const PersonGaveUp&) {
    }
    if (!WaitDone(state.formDone, 10000)) {
      ADD_FAILURE() << kind.name << ": the person's script left the form running";
      // Answer what is left and close the form, so that the test ends.
      while (!state.formDone) {
        const PresentationState s = ReadPresentation();
        for (const MessagePresentation& m : s.messages) ViewInput::AnswerMessage(m.id, m.defaultButton);
        for (const WindowPresentation& w : s.windows) {
          if (w.label == kFormLabel && w.takesInput) ViewInput::Close(w.id);
        }
        WaitPresentationChange(s.revision, 100);
      }
    }
  });
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
  RtDisposeWindow(frame);
  RtWaitOtherThreads();
  personThread.join();
  gRun = nullptr;
  return state.response;
}

}  // namespace qx::formtest
