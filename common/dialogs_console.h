// Console form of the dialog module's dialogs, shared by both builds: the
// automated form that VANTYR_DIALOGS=console asks for, and the interactive
// fallback where no graphical dialog can be shown.
//
// Choosers and the input box write their title on one line, then one prompt
// line saying what they ask, with the default in brackets when there is one
// and the file patterns in parentheses, for example
//   File to open [C:\Condor3\Flightplans\a.fpl] (*.fpl)
// and read one answer line; an empty line or the end of input is a cancel.
// Paths are answered as the program writes them (Windows paths) and are
// returned as typed. A file to open must exist (several are separated by
// "|"), a folder must exist, a file to save must be in an existing folder
// and not be a folder; otherwise the answer is refused on standard error and
// asked again. A colour is answered as "#RRGGBB" or as "r,g,b" (decimal
// bytes). The interactive form adds a "> " prompt after the prompt line.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

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

using Rgb = std::array<unsigned char, 3>;

// "#RRGGBB" (digits of either case); false for anything else.
bool parse_hex_colour(std::string_view text, Rgb& rgb);
// A colour answer: "#RRGGBB" or "r,g,b" with bytes 0 to 255, blanks allowed.
bool parse_colour_answer(std::string_view text, Rgb& rgb);
// "#RRGGBB" with upper-case digits.
std::string hex_colour(const Rgb& rgb);

// The non-empty patterns of a dialog's pattern array.
std::vector<std::string> patterns_of(int count, const char* const* patterns);

enum class PathKind { open, open_several, save, folder };

// Asks for a path; false for a cancel.
bool ask_path(const char* title, PathKind kind, const char* default_path, const std::vector<std::string>& patterns,
              bool interactive, std::string& answer);
// Asks for a colour starting from `initial`; false for a cancel.
bool ask_colour(const char* title, const Rgb& initial, bool interactive, Rgb& answer);
// Asks for a text; a null default asks for a hidden text (not echoed on a
// terminal). The answer is the line as typed, without its line end.
bool ask_text(const char* title, const char* message, const char* default_text, bool interactive,
              std::string& answer);

}  // namespace dialogs_console
