// The keyboard hook of the form: started while something in the form wants
// keys (an edited box, a key capture, a selected path element, an open
// list) and stopped otherwise.
//
// The hook is only recorded here: no key records reach the form yet, so
// typing into the form is not possible. The key handling (editing, key
// capture, the clipboard) comes with the host's key records.
#include <cstdio>

#include "forms_window/window_session.h"

namespace forms_window {

namespace {
bool kbd_hook = false;  // a hook was asked for and not stopped since
int LastDwnTime = 0;    // time of the last press of a new key
int AltGr_Down_SVE = 0; // the key being captured is AltGr
int scancode_old = 0;   // scan code of the last press (auto-repeat)
}  // namespace

void frm_StartKbdHook(int on) {
  if (kbd_hook) {
    kbd_hook = false;
    std::printf("STOP HOOK\n");
  }
  if (on) {
    kbd_hook = true;
    std::printf("START HOOK\n");
  }
  LastDwnTime = AltGr_Down_SVE = scancode_old = 0;
}

bool kbd_hook_running() { return kbd_hook; }

}  // namespace forms_window
