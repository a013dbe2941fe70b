// The project's own dialog module: message boxes, file and folder choosers,
// input box and colour chooser, with the names, arguments and answers of the
// well-known tinyfiledialogs calls. Linux: zenity, or a console dialog
// without a display or zenity. Windows: the native message box; the file,
// folder, colour and text dialogs are console dialogs there for now.
// VANTYR_DIALOGS=console in the environment makes every dialog a console
// dialog (automated runs): a box writes its title on one line and then its
// text to standard output; a question reads one line from standard input
// holding the answer (1, 0 or 2), an empty line or the end of input taking
// the default button, and an answer the box does not have is asked again.
// A chooser or input box writes its title line and one prompt line (what it
// asks, its default in brackets) and reads one answer line; an empty line or
// the end of input is a cancel (see dialogs_console.h for the answers).
//
// Texts are in the program's code page (Windows-1252) unless tinyfd_winUtf8
// is set (UTF-8); paths are the program's Windows paths. A returned text
// belongs to the module and stays valid until the next call of the same
// dialog; null means that nothing was chosen.
#pragma once

extern int tinyfd_winUtf8;      // 1: texts are UTF-8; 0: the system code page
extern int tinyfd_forceConsole;  // 1: console dialogs only

// aDialogType "ok", "okcancel", "yesno", "yesnocancel"; aIconType "info",
// "warning", "error", "question"; aDefaultButton 0 cancel/no, 1 ok/yes, 2 no.
// Returns 0 cancel/no, 1 ok/yes, 2 no (yesnocancel).
int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType, const char* aIconType,
                      int aDefaultButton);

// The entered text. aDefaultInput null asks for a hidden text (a password).
const char* tinyfd_inputBox(const char* aTitle, const char* aMessage, const char* aDefaultInput);

// The file to write. aFilterPatterns: aNumOfFilterPatterns patterns such as
// "*.fpl", offered together as one filter named aSingleFilterDescription
// (the patterns themselves when it is null or empty).
const char* tinyfd_saveFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char* aSingleFilterDescription);

// An existing file; with aAllowMultipleSelects, one or more separated by "|".
const char* tinyfd_openFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char* aSingleFilterDescription,
                                  int aAllowMultipleSelects);

// An existing folder.
const char* tinyfd_selectFolderDialog(const char* aTitle, const char* aDefaultPath);

// The chosen colour as "#RRGGBB" (upper-case digits), its bytes written to
// aoResultRGB. The dialog starts on aDefaultHexRGB ("#RRGGBB"), or on
// aDefaultRGB when that is null or not such a text. aDefaultRGB and
// aoResultRGB may be the same array.
const char* tinyfd_colorChooser(const char* aTitle, const char* aDefaultHexRGB, const unsigned char aDefaultRGB[3],
                                unsigned char aoResultRGB[3]);

// Called about every 50 ms while a dialog's process (zenity) is waited for,
// so that the caller can go on serving what its main loop serves (the
// clipboard). Null for none. Returns the callback it replaces.
using DialogWaitCallback = void (*)();
DialogWaitCallback dialogs_set_wait_callback(DialogWaitCallback callback);
