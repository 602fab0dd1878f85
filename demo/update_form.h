// The update form procedure of qxmora: one procedure, run by UpdateStandrd, UpdateEncrypt,
// UpdateVeryLongName and UpdateVarname (demo/update_forms.h) with the member table of
// their file, and the forms' history records.
//
// A call takes its request from CurrentRequest and answers in CurrentResponse:
//   1 insert   the window "Adding a Record" opens on the record buffer (the caller cleared
//              it and left the file without a current record); OK writes it with ADD, or,
//              in a form that numbers its records, with PUT over the placeholder that the
//              form added before its window opened
//   2 change   the window "Changing a Record" opens on the record buffer (the caller read
//              the record under WATCH); OK writes it through the member's integrity update
//              routine when it differs from the record as it was, and writes nothing when
//              it does not
//   3 delete   no window: warning 32 asks, the member's integrity delete routine deletes
// CurrentResponse is 1 when the record was written or deleted (or a change was completed
// without alteration), 2 when the form was cancelled, closed, or failed.
//
// The file is opened with OpenDataFile only while the calling thread's use count of it is
// 0; the count is 1 higher while the form runs, and the file is closed at exit when it
// falls back to 0.
//
// Threads: a form runs on its caller's thread (a browse's), called directly; it starts no
// thread. The history records are program-wide and shared by every thread without a lock:
// the runtime lock runs one program thread at a time, and a form reads or writes its
// history only between two waits inside the platform.
#pragma once

#include <span>

#include "demo/data_files.h"
#include "runtime/store/file.h"
#include "runtime/text/types.h"

namespace qx {

// An entry of a form: its control and the record field it shows and edits (with the
// file's prefix, "ENC:CUSID"). The entries of a member are listed in creation order: they
// take the field's variable in the record buffer as their USE variable in that order, each
// gets the ditto key as its alert key 255, and the ditto key copies that field.
struct FormEntry {
  LONG control;
  const char* field;
};

// A form that numbers its records (UpdateEncrypt): the key whose last record carries the
// highest number, and the LONG field that holds the number.
struct FormNumbering {
  Key& (*byNumber)();
  const char* field;
  const char* label;  // the file's label in the warnings of the numbering ("Encrypt")
};

// What one form of the family is made of. Every pointer refers to something that lives for
// the program's run.
struct UpdateFormMember {
  const char* module;              // the module of the window "P1$QUICKWINDOW"
  FileDecl* file;
  LONG& (*useCount)();             // the calling thread's use count of the file
  unsigned char* history;          // the form's history record: the file's record layout
  bool* historyCleared;            // set by the form's first call in the program
  std::span<const FormEntry> entries;  // at most kMaxFormEntries
  LONG okButton, cancelButton, helpButton;
  LONG (*integrityUpdate)();       // results 0 written, 1 failed, 2 changed by another opener
  LONG (*integrityDelete)();       // results 0 deleted, 1 failed
  const FormNumbering* numbering;  // nullptr: an insert is added when the form completes
};

// The most entries a form has (UpdateVeryLongName's six).
constexpr size_t kMaxFormEntries = 6;

// Runs one call of the form of `member`: the whole procedure, from taking the request to
// handing back the answer, as described at the top of this header.
//
// Numbering (`member.numbering` set), insert only, before the window opens: the record
// with the highest number is read (SETkey, PREVIOUS), the new number is that plus 1, or 1
// when the file has no numbered record, and the cleared buffer with the new number is
// added as a placeholder. A failed read (other than 33 "Record Not Available") shows
// warning 35 and answers 2 without a window; three failed ADDs in a row show warning 25
// "Auto Increment Error": Retry tries three times more, Cancel answers 2 without a window.
// The placeholder is deleted again when the window closes (Cancel, the close box, the
// frame closing) before the insert was completed, so the next insert gets the same number.
//
// Completion (OK: the accept-all pass over the entries, then EVENT:Completed): the record
// buffer is first copied into the history record, for inserts and changes alike. An insert
// whose write fails shows warning 14 and keeps the form open with the person's values. A
// change whose integrity update fails (1) asks warning 16: Yes writes again, No closes
// (answer 2), Cancel keeps the form open; one refused because another opener changed the
// record (2) shows that opener's version in the form, which stays open.
//
// The ditto key (Ctrl+', 2DEh) in an entry copies that entry's field from the history
// record into the record buffer and redraws the window.
//
// Delete: warning 32 asks (OK deletes); an integrity delete that fails asks warning 18:
// Yes deletes again, No or Cancel answer 2.
void RunUpdateForm(const UpdateFormMember& member);

// The four members (demo/update_forms.cpp), for the thin entries and for tests that run a
// form with integrity routines of their own.
extern const UpdateFormMember StandrdForm;
extern const UpdateFormMember EncryptForm;
extern const UpdateFormMember VeryLongNameForm;
extern const UpdateFormMember VarnameForm;

// The history records: the last record completed in each form, on any thread; cleared by
// the form's first call in the program, read by its ditto key.
extern StandrdRecord StandrdHistory;
extern EncryptRecord EncryptHistory;
extern VeryLongNameRecord VeryLongNameHistory;
extern VarnameRecord VarnameHistory;

}  // namespace qx
