// Dialogs on Windows: the native message box, or the console dialog when
// VANTYR_DIALOGS=console or when the program asks for console dialogs. The
// file, folder, colour and text dialogs are console dialogs for now: the
// native ones (GetOpenFileNameA, GetSaveFileNameA, SHBrowseForFolderA,
// ChooseColorA) come with the program's Windows window.
#include <windows.h>

#include <algorithm>
#include <string>

#include "common/dialogs.h"
#include "common/dialogs_console.h"

int tinyfd_winUtf8 = 0;
int tinyfd_forceConsole = 0;

namespace dialogs_win32 {

using dialogs_console::Buttons;

std::wstring widen_utf8(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, w.data(), n);
  w.resize(static_cast<std::size_t>(n - 1));
  return w;
}

UINT style_of(const char* icon, Buttons buttons, int default_answer) {
  UINT style = MB_TOPMOST;
  std::string i = icon != nullptr ? icon : "";
  if (i == "error") {
    style |= MB_ICONERROR;
  } else if (i == "warning") {
    style |= MB_ICONWARNING;
  } else if (i == "question") {
    style |= MB_ICONQUESTION;
  } else {
    style |= MB_ICONINFORMATION;
  }
  switch (buttons) {
    case Buttons::ok:
      style |= MB_OK;
      break;
    case Buttons::okcancel:
      style |= MB_OKCANCEL | (default_answer == 0 ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
      break;
    case Buttons::yesno:
      style |= MB_YESNO | (default_answer == 0 ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
      break;
    case Buttons::yesnocancel:
      style |= MB_YESNOCANCEL |
               (default_answer == 2 ? MB_DEFBUTTON2 : default_answer == 0 ? MB_DEFBUTTON3 : MB_DEFBUTTON1);
      break;
  }
  return style;
}

}  // namespace dialogs_win32

using namespace dialogs_win32;

int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType, const char* aIconType,
                      int aDefaultButton) {
  Buttons buttons = dialogs_console::buttons_of(aDialogType);
  if (dialogs_console::automated()) {
    return dialogs_console::message_box(aTitle, aMessage, buttons, aDefaultButton, false);
  }
  if (tinyfd_forceConsole) return dialogs_console::message_box(aTitle, aMessage, buttons, aDefaultButton, true);

  UINT style = style_of(aIconType, buttons, dialogs_console::default_answer(buttons, aDefaultButton));
  int answer;
  if (tinyfd_winUtf8) {
    answer = MessageBoxW(nullptr, widen_utf8(aMessage).c_str(), widen_utf8(aTitle).c_str(), style);
  } else {
    answer = MessageBoxA(nullptr, aMessage != nullptr ? aMessage : "", aTitle != nullptr ? aTitle : "", style);
  }
  switch (answer) {
    case IDOK:
    case IDYES:
      return 1;
    case IDNO:
      return buttons == Buttons::yesnocancel ? 2 : 0;
    default:
      return buttons == Buttons::ok ? 1 : 0;  // Cancel, or the box could not be shown
  }
}

// No dialog runs in a process of its own here: the callback is kept for the
// native dialogs to come and not called.
namespace dialogs_win32 {
DialogWaitCallback g_wait_callback = nullptr;

const char* keep(std::string& result, bool got, const std::string& answer) {
  if (!got) return nullptr;
  result = answer;
  return result.c_str();
}
}  // namespace dialogs_win32

DialogWaitCallback dialogs_set_wait_callback(DialogWaitCallback callback) {
  DialogWaitCallback old = g_wait_callback;
  g_wait_callback = callback;
  return old;
}

const char* tinyfd_openFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char*, int aAllowMultipleSelects) {
  static std::string result;
  std::string answer;
  bool got = dialogs_console::ask_path(
      aTitle, aAllowMultipleSelects ? dialogs_console::PathKind::open_several : dialogs_console::PathKind::open,
      aDefaultPathAndOrFile, dialogs_console::patterns_of(aNumOfFilterPatterns, aFilterPatterns),
      !dialogs_console::automated(), answer);
  return keep(result, got, answer);
}

const char* tinyfd_saveFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char*) {
  static std::string result;
  std::string answer;
  bool got = dialogs_console::ask_path(aTitle, dialogs_console::PathKind::save, aDefaultPathAndOrFile,
                                       dialogs_console::patterns_of(aNumOfFilterPatterns, aFilterPatterns),
                                       !dialogs_console::automated(), answer);
  return keep(result, got, answer);
}

const char* tinyfd_selectFolderDialog(const char* aTitle, const char* aDefaultPath) {
  static std::string result;
  std::string answer;
  bool got = dialogs_console::ask_path(aTitle, dialogs_console::PathKind::folder, aDefaultPath, {},
                                       !dialogs_console::automated(), answer);
  return keep(result, got, answer);
}

const char* tinyfd_colorChooser(const char* aTitle, const char* aDefaultHexRGB, const unsigned char aDefaultRGB[3],
                                unsigned char aoResultRGB[3]) {
  static std::string result;
  dialogs_console::Rgb initial = {0, 0, 0};
  if (aDefaultHexRGB == nullptr || !dialogs_console::parse_hex_colour(aDefaultHexRGB, initial)) {
    if (aDefaultRGB != nullptr) initial = {aDefaultRGB[0], aDefaultRGB[1], aDefaultRGB[2]};
  }
  dialogs_console::Rgb chosen;
  if (!dialogs_console::ask_colour(aTitle, initial, !dialogs_console::automated(), chosen)) return nullptr;
  if (aoResultRGB != nullptr) std::copy(chosen.begin(), chosen.end(), aoResultRGB);
  result = dialogs_console::hex_colour(chosen);
  return result.c_str();
}

const char* tinyfd_inputBox(const char* aTitle, const char* aMessage, const char* aDefaultInput) {
  static std::string result;
  std::string answer;
  bool got = dialogs_console::ask_text(aTitle, aMessage, aDefaultInput, !dialogs_console::automated(), answer);
  return keep(result, got, answer);
}
