// Dialogs on Windows: the native message box, or the console dialog when
// VANTYR_DIALOGS=console or when the program asks for console dialogs.
#include <windows.h>

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
