// The error manager; see error_manager.h.
#include "classlib/error_manager.h"

#include <algorithm>
#include <array>

#include "classlib/message_table.h"
#include "runtime/text/types.h"
#include "runtime/sys/error_state.h"
#include "runtime/win/description.h"
#include "runtime/win/message.h"
#include "runtime/win/presentation.h"
#include "runtime/win/program.h"
#include "runtime/win/threads.h"

namespace qx {

void ErrorManager::Init() {
  ERRORS = std::make_unique<std::vector<ErrorEntry>>();
  AddMessages(DefaultMessageTable());
  PROCNAMES = std::make_unique<std::vector<ProcNameEntry>>();
}

void ErrorManager::Shutdown() {
  ERRORS.reset();
  PROCNAMES.reset();
}

void ErrorManager::NameCurrentProcedure(std::string_view name, bool omitted) {
  if (!PROCNAMES) return;
  const LONG thread = RtThread();
  if (!omitted) {
    PROCNAMES->push_back(ProcNameEntry{thread, std::string(name)});
    return;
  }
  auto latest = std::find_if(PROCNAMES->rbegin(), PROCNAMES->rend(),
                             [thread](const ProcNameEntry& e) { return e.THREAD == thread; });
  // A blank name is never given up: the thread keeps it as its current name.
  if (latest != PROCNAMES->rend() && !RtClipView(latest->NAME).empty()) PROCNAMES->erase(std::next(latest).base());
}

std::string ErrorManager::CurrentProcedureName() const {
  if (!PROCNAMES) return {};
  const LONG thread = RtThread();
  auto latest = std::find_if(PROCNAMES->rbegin(), PROCNAMES->rend(),
                             [thread](const ProcNameEntry& e) { return e.THREAD == thread; });
  return latest == PROCNAMES->rend() ? std::string() : latest->NAME;
}

void ErrorManager::AddMessages(std::span<const unsigned char> table) {
  if (!ERRORS) return;
  for (MessageDef& m : DecodeMessageTable(table)) {
    ERRORS->push_back(ErrorEntry{m.id, std::move(m.text), std::move(m.title), m.category});
  }
}

BYTE ErrorManager::ReturnBenign() { return kLevelBenign; }

void ErrorManager::Fatal() {
  RtMessage(SubstitutedText() + "  Press OK to end this application", current_.TITLE, kIconStop, kButtonOk,
            kButtonOk);
  RtHalt(0, current_.TITLE);
}

void ErrorManager::ShowNotice() {
  RtMessage(SubstitutedText(), current_.TITLE, kIconExclamation, kButtonOk, kButtonOk);
}

BYTE ErrorManager::ForwardToSlot5() { return ForwardToFatal(); }

BYTE ErrorManager::ForwardToFatal() {
  Fatal();
  return kLevelFatal;
}

BYTE ErrorManager::ShowQuestion() {
  const LONG answer =
      RtMessage(SubstitutedText(), current_.TITLE, kIconQuestion, kButtonYes | kButtonNo, kButtonYes);
  return answer == kButtonYes ? kLevelBenign : kLevelCancel;
}

BYTE ErrorManager::Throw(USHORT id) {
  const ErrorEntry* found = nullptr;
  if (ERRORS) {
    auto it = std::find_if(ERRORS->rbegin(), ERRORS->rend(), [id](const ErrorEntry& e) { return e.ID == id; });
    if (it != ERRORS->rend()) found = &*it;
  }
  current_ = found ? *found
                   : ErrorEntry{id, "Unknown error posted: " + std::to_string(id), "Unknown Error", kLevelProgram};

  SAVEERRORCODE = RtErrorCode();
  SAVEERROR = RtPushErrorText();
  SAVEFILEERRORCODE = RtPushFileErrorCode();
  SAVEFILEERROR = RtPushFileErrorText();

  switch (current_.FATALITY) {
    case kLevelBenign:
      return ReturnBenign();
    case kLevelUser:
    case kLevelCancel:
      return ShowQuestion();
    case kLevelProgram:
      return ForwardToFatal();
    case kLevelFatal:
      Fatal();
      return kLevelFatal;
    case kLevelNotify:
      ShowNotice();
      return kLevelNotify;
    default:
      return ForwardToSlot5();
  }
}

BYTE ErrorManager::ThrowFile(USHORT id, std::string_view file) {
  SetFile(file);
  return Throw(id);
}

BYTE ErrorManager::ThrowMessage(USHORT id, std::string_view text) {
  MESSAGETEXT = text;
  return Throw(id);
}

std::string ErrorManager::ErrorText() const {
  if (SAVEERRORCODE == kNoError) return {};
  std::string text = SAVEERROR.str() + " (" + std::to_string(SAVEERRORCODE) + ")";
  if (SAVEERRORCODE == kFileSystemError && !SAVEFILEERRORCODE.empty()) {
    text += ": " + SAVEFILEERROR.str() + " (" + SAVEFILEERRORCODE.str() + ")";
  }
  return text;
}

std::string ErrorManager::SubstitutedText() const {
  struct Placeholder {
    std::string_view name;
    std::string value;
  };
  const std::array<Placeholder, 5> placeholders = {{
      {"%File", FILENAME.str()},
      {"%ErrorText", ErrorText()},
      {"%Field", FIELDNAME.str()},
      {"%Message", MESSAGETEXT.str()},
      {"%Procedure", CurrentProcedureName()},
  }};
  const std::string_view text = current_.MESSAGE;
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t percent = text.find('%', i);
    if (percent == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, percent - i));
    const Placeholder* hit = nullptr;
    for (const Placeholder& p : placeholders) {
      if (text.substr(percent, p.name.size()) == p.name) hit = &p;
    }
    if (hit) {
      out += hit->value;
      i = percent + hit->name.size();
    } else {
      out += '%';
      i = percent + 1;
    }
  }
  return out;
}

}  // namespace qx
