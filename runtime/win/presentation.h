// What a view shows: copies of the model's windows, controls and message boxes, made under
// the model's own mutex and handed to the views and the automation channel. A view never
// reads the model directly and never takes the runtime lock; it draws these copies and
// turns a person's input into calls of ViewInput (view_input.h).
//
// Positions and sizes are dialog units of the window's font (description.h). Every copy
// carries the model's revision at the time it was made, so a view can drop a copy that is
// older than the one it already shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/win/description.h"

namespace qx {

// Where a control lives in its window.
enum class ControlArea { kClient, kToolbar, kMenuBar };

struct ControlPresentation {
  LONG field = 0;
  std::string name;          // the program's name for it ("ExitItem"), may be empty
  std::string kind;          // "button", "prompt", "string", "panel", "image", "menu", "item"
  ControlArea area = ControlArea::kClient;
  LONG parentField = 0;      // the menu a menu item or sub-menu belongs to; 0 = top level
  DialogRect at;             // as described, or as the program set it
  std::string text;          // what the control shows now (a string: its formatted value)
  std::string message, tip;
  ImageSource icon;          // button icon; the image of an image control
  FontDescription font;      // the control's own font; empty = the window's
  ULONG colour = kNoColour, background = kNoColour;
  Justify justify = Justify::kDefault;
  LONG justifyOffset = 0;
  LONG attributes = 0;
  LONG standardAction = 0;
  LONG bevel = -1;
  bool isDefault = false, transparent = false, readOnly = false;
  bool disabled = false, hidden = false, separator = false;
  bool focused = false;
  bool editable = false;     // takes typed text (entries; not display-only strings)
};

struct ChildWindowEntry {
  LONG window = 0;
  std::string title;
};

struct WindowPresentation {
  std::uint64_t revision = 0;
  LONG id = 0;
  std::string module, label;
  std::string kind;          // "window", "application", "mdi"
  LONG thread = 0;           // program thread whose events it gets
  LONG parent = 0;           // MDI child: the frame it opens in; 0 = none
  std::string title;
  std::optional<LONG> x, y;  // omitted: the view places it (centred when `centred`)
  LONG width = 0, height = 0, minWidth = 0, minHeight = 0;
  bool centred = false;
  FontDescription font;
  FrameDescription frame;
  ULONG background = kNoColour;
  ImageSource icon;
  WallpaperDescription wallpaper;
  std::vector<LONG> statusWidths;
  std::vector<std::string> statusTexts;  // one per section
  DialogRect toolbar;        // valid when hasToolbar
  bool hasToolbar = false;
  std::vector<ControlPresentation> controls;  // creation order: menus, toolbar, client
  std::vector<ChildWindowEntry> children;     // frame: its open MDI children, opening order
  LONG focus = 0;            // field of the control with the focus; 0 = none
  bool takesInput = false;   // false while a later window of its thread, or a message box
                             // of its thread, is open
  bool active = false;       // the window the person works in
  bool waitCursor = false;
};

struct MessagePresentation {
  std::uint64_t revision = 0;
  LONG id = 0;
  LONG thread = 0;           // 0 for a notice of the library's own (nobody waits for it)
  std::string text;          // "|" already turned into line breaks ("\n")
  std::string caption;
  ImageSource icon;
  LONG buttons = 0;          // sum of kButton* values; never 0
  LONG defaultButton = 0;    // one of `buttons`
};

// Message box buttons: a box's buttons are a sum of these; the box answers with one.
enum MessageButton : LONG {
  kButtonOk = 1,
  kButtonYes = 2,
  kButtonNo = 4,
  kButtonAbort = 8,
  kButtonRetry = 16,
  kButtonIgnore = 32,
  kButtonCancel = 64,
};
// The button's English name ("OK", "Yes" ...), empty for a value that is no single button.
const char* MessageButtonName(LONG button);
// The value of the named button (case-insensitive), 0 when none has that name.
LONG MessageButtonByName(std::string_view name);

// Something a view did that leaves no window behind: a beep, the print set-up dialog,
// arranging icons, the wait cursor. Kept in a short log for the automation channel.
struct PresentationLogEntry {
  std::uint64_t sequence = 0;
  std::string what;          // "beep", "print-setup", "arrange-icons", "cursor", "clipboard"
  LONG window = 0;
  std::string detail;
};

struct PresentationState {
  std::uint64_t revision = 0;
  std::vector<WindowPresentation> windows;   // open windows, opening order
  std::vector<MessagePresentation> messages; // open message boxes, oldest first
  std::vector<PresentationLogEntry> log;     // newest last, at most 200 entries
};

// A copy of everything shown now. Thread-safe; never blocks on program code.
PresentationState ReadPresentation();
// The model's current revision; it grows with every visible change.
std::uint64_t PresentationRevision();
// Blocks until the revision exceeds `seen` or `timeoutMs` passes; returns the revision.
std::uint64_t WaitPresentationChange(std::uint64_t seen, int timeoutMs);

}  // namespace qx
