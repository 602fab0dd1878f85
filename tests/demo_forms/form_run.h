// Test support for the update forms, run in-process the way qxmora runs them: the test
// thread is program thread 1 with an application frame open, a second program thread does
// what a browse does before and after it calls the form, and the person at the screen is
// a plain thread acting through the automation requests (runtime/view/automation), which
// also answers the message boxes. The four forms in one table, and record helpers that
// work on any of the four files by field name.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "demo/data_files.h"
#include "demo/update_form.h"
#include "demo/update_forms.h"
#include "demo/use_counts.h"
#include "runtime/store/file.h"
#include "runtime/win/win.h"
#include "tests/demo_files/fixtures.h"
#include "tests/support/views.h"

namespace qx::formtest {

using nlohmann::json;

constexpr LONG kInsert = 1, kChange = 2, kDelete = 3;

// ---- The four forms ------------------------------------------------------------------

struct FormKind {
  const char* name;                 // the procedure's name, also the help id
  void (*form)();
  const UpdateFormMember* member;
  FileDecl* file;
  LONG& (*useCount)();
  const char* module;
  std::string prefix;               // "ENC"
  LONG width, height;               // the window, dialog units
  LONG sheetWidth, sheetHeight;
  std::vector<std::pair<LONG, std::string>> entries;  // control, field without prefix
  std::vector<std::pair<LONG, std::string>> barePrompts;  // prompts without an entry
  LONG ok, cancel, help;
  LONG buttonsX[3];
  LONG buttonsY;
  unsigned char* history;
};

const std::vector<FormKind>& Forms();
const FormKind& Form(const std::string& name);  // by procedure name

// ---- Records by field name -------------------------------------------------------------

// The values of one record, by field name without prefix ("NAME"); fields not given are 0
// or blank. Numbers are written as text ("42").
using Values = std::vector<std::pair<std::string, std::string>>;

// Sets the fields of the calling thread's record buffer of `file`: cleared first, then
// `values`; a field the file lacks is ignored.
void SetRecord(FileDecl& file, const Values& values);
// A field of the calling thread's record buffer (a text without trailing blanks, a number
// in decimal); "" when the file has no such field.
std::string Field(FileDecl& file, const std::string& field);
// The same in a record image of the file's layout.
std::string FieldOf(FileDecl& file, const unsigned char* record, const std::string& field);

// Makes the file in the current directory holding `records` (CREATE, then ADD each) on the
// calling thread; fails the test on an error.
void MakeFile(FileDecl& file, const std::vector<Values>& records);
// Every record of the file in record order, as `fields` of each ("7 Ann Kew"): opened with
// 42h on the calling thread and closed again.
std::vector<std::string> Records(FileDecl& file, const std::vector<std::string>& fields = {"CUSID", "NAME", "SUBURB"});

// ---- The browse's part -------------------------------------------------------------------

// What runs on the form's thread around the call.
struct BrowsePart {
  // Before the call, after the request is known: the file opened (or not), the buffer set.
  std::function<void(const FormKind&)> before;
  // After the call (CurrentResponse set): checks, then the file closed as the browse would.
  std::function<void(const FormKind&)> after;
};

// The browse has the file open (42h, use count 1) and has read record `n` (1 = the first in
// record order) again under WATCH: a change or a delete of it. Afterwards it closes the file.
BrowsePart BrowseSelects(int n);
// The browse has the file open, the file has no current record and the buffer is cleared:
// an insert.
BrowsePart BrowseInserts();
// An insert with the file not open on the thread (use count 0): the form opens it itself.
// Afterwards the test checks that the form closed it again.
BrowsePart FormOpensFile();

// ---- The person ------------------------------------------------------------------------

// Raised inside the person's script when a request fails; ends the script.
struct PersonGaveUp {};

class Person {
 public:
  // The form window's state once it takes input (waits up to 10 s).
  json Form();
  // The text that control `field` of the form shows now.
  std::string Shown(LONG field);
  // Typed text into an entry and left it (accepted) or not.
  void Type(LONG field, const std::string& text, bool accept = true);
  // A key pressed in a control, which gets the focus first (0: the focused one).
  void Key(LONG field, LONG code);
  // A button pressed, by field.
  void Press(LONG field);
  // The form's close box.
  void Close();
  // The person resized the form.
  void Resize(LONG width, LONG height);
  // Waits for a box with `caption`, answers it with `button` ("OK", "Yes" ...) and returns
  // it as it was shown.
  json Answer(const std::string& caption, const std::string& button);
  // Any request, which must succeed; its reply.
  json Act(json request);
  // Waits until the form's window is gone.
  void FormGone();

  // Every box answered in this run, in order.
  std::vector<json> boxes;
};

// ---- Running a form ------------------------------------------------------------------

// A fixture: a temporary working directory, the view installed and the test thread as
// program thread 1. The view counts windows as drawn at once and notes every window it was
// shown; boxes stay open until the person answers them.
class FormTest : public ::testing::Test {
 protected:
  FormTest();
  ~FormTest() override;

  // Runs the form of `kind` (or RunUpdateForm(*member) when `member` is given) on program
  // thread 2 with `request`, the browse's part around it, while `person` acts. Returns the
  // form's CurrentResponse. Whatever the script leaves open is answered by default and
  // closed, so a failing script cannot hang the test.
  LONG RunForm(const FormKind& kind, LONG request, const BrowsePart& browse, std::function<void(Person&)> person,
               const UpdateFormMember* member = nullptr);

  testing::RecordingView view_{testing::Answers::kLeftOpen};
  testing::TempDir dir_;

 private:
  std::optional<testing::ScopedChdir> in_;
  std::optional<ProgramThreadScope> main_;
};

}  // namespace qx::formtest
