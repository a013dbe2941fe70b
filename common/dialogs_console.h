// Console form of the dialog module's message box, shared by both builds:
// the automated form that VANTYR_DIALOGS=console asks for, and the
// interactive fallback where no graphical dialog can be shown.
#pragma once

namespace dialogs_console {

// True when VANTYR_DIALOGS=console is set: every dialog is an automated
// console dialog.
bool automated();

// Buttons of a message box and its answers (1 ok/yes, 0 cancel/no, 2 no of
// three). Unknown dialog types are "ok".
enum class Buttons { ok, okcancel, yesno, yesnocancel };
Buttons buttons_of(const char* dialog_type);
// The default answer for `default_button`, limited to the box's answers.
int default_answer(Buttons buttons, int default_button);

// Writes the title line and the text to standard output and, for a question,
// reads the answer from standard input. `interactive` adds a prompt naming
// the answers (and waits for Enter after a box with one button).
int message_box(const char* title, const char* message, Buttons buttons, int default_button, bool interactive);

}  // namespace dialogs_console
