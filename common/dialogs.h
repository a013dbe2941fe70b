// The project's own dialog module: message boxes, file and folder choosers,
// input box and colour chooser, with the names, arguments and answers of the
// well-known tinyfiledialogs calls. Windows: the native dialogs. Linux: zenity,
// or a console dialog without a display or zenity. VANTYR_DIALOGS=console in
// the environment makes every dialog a console dialog (automated runs): a box
// writes its title on one line and then its text to standard output; a
// question reads one line from standard input holding the answer (1, 0 or 2),
// an empty line or the end of input taking the default button, and an answer
// the box does not have is asked again.
#pragma once

extern int tinyfd_winUtf8;      // 1: texts are UTF-8; 0: the system code page
extern int tinyfd_forceConsole;  // 1: console dialogs only

// aDialogType "ok", "okcancel", "yesno", "yesnocancel"; aIconType "info",
// "warning", "error", "question"; aDefaultButton 0 cancel/no, 1 ok/yes, 2 no.
// Returns 0 cancel/no, 1 ok/yes, 2 no (yesnocancel).
int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType, const char* aIconType,
                      int aDefaultButton);
