// Dialogs on Windows: the system's message box, open and save dialogs,
// folder browser and colour chooser, and an input box of the module's own
// (Windows has none); the console dialog when VANTYR_DIALOGS=console or
// tinyfd_forceConsole asks for it.
//
// Texts reach the dialogs as UTF-16 (the W calls), converted from the
// program's code page (the system's ANSI code page) or, with tinyfd_winUtf8,
// from UTF-8, and come back the same way. A chosen path that has no exact
// form in the program's code page is refused with a line on standard error
// and answers as a cancel: the A calls would hand back the name with "?" or
// a look-alike letter in it, which names another file or none.
//
// The dialogs run their own message loop on the calling thread and are owned
// by the thread's active window (the form), which stays disabled meanwhile.
// The clipboard belongs to the system here, so nothing has to be served while
// a dialog runs: the wait callback is kept for the caller and never called.
#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "common/dialogs_console.h"

int tinyfd_winUtf8 = 0;
int tinyfd_forceConsole = 0;

namespace dialogs_win32 {

using dialogs_console::Buttons;
using dialogs_console::PathKind;
using dialogs_console::Rgb;

DialogWaitCallback g_wait_callback = nullptr;

bool console_dialogs() { return dialogs_console::automated() || tinyfd_forceConsole != 0; }

std::wstring widen_utf8(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, w.data(), n);
  w.resize(static_cast<std::size_t>(n - 1));
  return w;
}

// The code page of the program's texts for this call.
UINT program_code_page() { return tinyfd_winUtf8 ? CP_UTF8 : GetACP(); }

std::wstring widen(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  UINT cp = program_code_page();
  int n = MultiByteToWideChar(cp, 0, text, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, text, -1, w.data(), n);
  w.resize(static_cast<std::size_t>(n - 1));
  return w;
}

// The text in code page `cp`; with `exact`, false when a character has no
// form there. Without it such characters become the code page's "?".
bool narrow_to(UINT cp, const std::wstring& w, bool exact, std::string& out) {
  out.clear();
  if (w.empty()) return true;
  const bool utf8 = cp == CP_UTF8;
  // UTF-8 takes no best-fit flag and reports no default character.
  DWORD flags = utf8 ? (exact ? WC_ERR_INVALID_CHARS : 0) : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used = utf8 ? nullptr : &used_default;
  int size = static_cast<int>(w.size());
  int n = WideCharToMultiByte(cp, flags, w.data(), size, nullptr, 0, nullptr, used);
  if (n <= 0) return false;
  out.resize(static_cast<std::size_t>(n));
  WideCharToMultiByte(cp, flags, w.data(), size, out.data(), n, nullptr, used);
  return !(exact && used_default);
}

bool narrow(const std::wstring& w, bool exact, std::string& out) {
  return narrow_to(program_code_page(), w, exact, out);
}

// A chosen path as the program names it; nothing, after a line on standard
// error, when it cannot be named in the program's code page.
std::optional<std::string> program_path_of(const std::wstring& path) {
  std::string p;
  if (narrow(path, true, p)) return p;
  std::string shown;
  narrow_to(CP_UTF8, path, false, shown);
  std::fprintf(stderr, "The chosen path cannot be written in the program's code page: %s\n", shown.c_str());
  return std::nullopt;
}

std::wstring full_path(const std::wstring& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  return full;
}

bool is_folder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Where a file dialog starts: the folder of the default path (absolute) and
// the name it offers. A default that ends in "\" or names a folder is a
// folder without a name.
struct StartPoint {
  std::wstring folder;
  std::wstring name;
};

StartPoint start_point(const char* default_path) {
  std::wstring p = widen(default_path);
  std::replace(p.begin(), p.end(), L'/', L'\\');
  StartPoint start;
  if (p.empty()) return start;
  if (p.back() == L'\\' || is_folder(p)) {
    start.folder = p;
  } else {
    std::size_t sep = p.rfind(L'\\');
    std::size_t cut = sep != std::wstring::npos ? sep + 1 : p.size() >= 2 && p[1] == L':' ? 2 : 0;
    start.folder = p.substr(0, cut);
    start.name = p.substr(cut);
  }
  if (!start.folder.empty()) start.folder = full_path(start.folder);
  return start;
}

// One filter entry: its name (the description, else the patterns) and the
// patterns; empty without patterns (every file shown).
std::wstring filter_of(const std::vector<std::string>& patterns, const char* description) {
  if (patterns.empty()) return {};
  std::wstring name, masks;
  for (const std::string& p : patterns) {
    std::wstring w = widen(p.c_str());
    name += (name.empty() ? L"" : L" ") + w;
    masks += (masks.empty() ? L"" : L";") + w;
  }
  if (description != nullptr && *description != '\0') name = widen(description);
  std::wstring filter = name;
  filter.push_back(L'\0');
  filter += masks;
  filter.push_back(L'\0');
  return filter;  // the second terminator is the string's own
}

// Initialises COM on the calling thread for the scope when it is not yet
// (the folder browser's dialog needs a single-threaded apartment).
class ComScope {
 public:
  ComScope() {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    initialised_ = SUCCEEDED(hr);
    apartment_ = hr != RPC_E_CHANGED_MODE;
  }
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // False when the thread already lives in a multi-threaded apartment.
  bool single_threaded() const { return apartment_; }

 private:
  bool initialised_ = false;
  bool apartment_ = true;
};

// The paths an open dialog returned in `buffer`: one full path, or (several
// chosen) the folder followed by the names, each ended by a zero.
std::vector<std::wstring> chosen_files(const std::vector<wchar_t>& buffer) {
  std::vector<std::wstring> parts;
  std::size_t i = 0;
  while (i < buffer.size() && buffer[i] != L'\0') {
    auto end = std::find(buffer.begin() + static_cast<std::ptrdiff_t>(i), buffer.end(), L'\0');
    parts.emplace_back(buffer.begin() + static_cast<std::ptrdiff_t>(i), end);
    i = static_cast<std::size_t>(end - buffer.begin()) + 1;
  }
  if (parts.size() <= 1) return parts;
  std::wstring folder = parts.front();
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files;
  for (std::size_t k = 1; k < parts.size(); ++k) files.push_back(folder + parts[k]);
  return files;
}

void report_failure(const char* dialog, DWORD error) {
  std::fprintf(stderr, "The %s could not be shown (error 0x%lx)\n", dialog, static_cast<unsigned long>(error));
}

// The file (or files, "|" between them) chosen in the system's open or save
// dialog; nothing for a cancel.
std::optional<std::string> file_dialog(PathKind kind, const char* title, const char* default_path,
                                       const std::vector<std::string>& patterns, const char* description) {
  ComScope com;
  const bool save = kind == PathKind::save;
  const std::wstring caption = widen(title);
  const StartPoint start = start_point(default_path);
  const std::wstring filter = filter_of(patterns, description);
  // Room for many names when several may be chosen.
  std::vector<wchar_t> buffer(kind == PathKind::open_several ? 65536 : 4096, L'\0');

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = start.folder.empty() ? nullptr : start.folder.c_str();
  ofn.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
  // The program's log and listing files live in its current folder: the
  // dialog must not move it.
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (save) {
    ofn.Flags |= OFN_OVERWRITEPROMPT;
  } else {
    ofn.Flags |= OFN_FILEMUSTEXIST;
    if (kind == PathKind::open_several) ofn.Flags |= OFN_ALLOWMULTISELECT;
  }

  auto run = [&](const std::wstring& name) {
    std::fill(buffer.begin(), buffer.end(), L'\0');
    std::copy_n(name.begin(), std::min(name.size(), buffer.size() - 1), buffer.begin());
    return save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  };
  BOOL chosen = run(start.name);
  DWORD error = chosen ? 0 : CommDlgExtendedError();
  // A default name the dialog refuses (wildcards, a bad character) must not
  // keep the dialog from opening: offer no name instead.
  if (error == FNERR_INVALIDFILENAME && !start.name.empty()) {
    chosen = run(std::wstring());
    error = chosen ? 0 : CommDlgExtendedError();
  }
  if (!chosen) {
    if (error != 0) report_failure(save ? "save dialog" : "open dialog", error);
    return std::nullopt;
  }

  std::vector<std::wstring> files = chosen_files(buffer);
  if (files.empty()) return std::nullopt;
  std::string joined;
  for (const std::wstring& f : files) {
    std::optional<std::string> one = program_path_of(f);
    if (!one) return std::nullopt;
    joined += (joined.empty() ? "" : "|") + *one;
  }
  return joined;
}

// The folder browser's caption and starting folder, set once it is shown.
struct BrowseStart {
  std::wstring caption;
  std::wstring folder;
};

int CALLBACK browse_callback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    const BrowseStart* start = reinterpret_cast<const BrowseStart*>(data);
    if (!start->caption.empty()) SetWindowTextW(window, start->caption.c_str());
    if (!start->folder.empty()) {
      SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->folder.c_str()));
    }
  }
  return 0;
}

std::optional<std::string> folder_dialog(const char* title, const char* default_path) {
  ComScope com;
  BrowseStart start;
  start.caption = widen(title);
  std::wstring folder = widen(default_path);
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  if (!folder.empty()) {
    folder = full_path(folder);
    // "C:\Tasks\" is selected as "C:\Tasks"; a drive keeps its "\".
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  }
  start.folder = folder;

  BROWSEINFOW info{};
  info.hwndOwner = GetActiveWindow();
  info.lpszTitle = start.caption.empty() ? nullptr : start.caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (com.single_threaded()) info.ulFlags |= BIF_NEWDIALOGSTYLE;
  info.lpfn = browse_callback;
  info.lParam = reinterpret_cast<LPARAM>(&start);
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (item == nullptr) return std::nullopt;
  wchar_t path[MAX_PATH + 1] = {};
  BOOL got = SHGetPathFromIDListW(item, path);
  CoTaskMemFree(item);
  if (!got || path[0] == L'\0') {
    std::fprintf(stderr, "The chosen folder is not a folder of the file system\n");
    return std::nullopt;
  }
  return program_path_of(path);
}

// The colour chooser has no title of its own: its hook sets the caption.
UINT_PTR CALLBACK colour_hook(HWND window, UINT message, WPARAM, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    const CHOOSECOLORW* cc = reinterpret_cast<const CHOOSECOLORW*>(lparam);
    const std::wstring* caption = reinterpret_cast<const std::wstring*>(cc->lCustData);
    if (!caption->empty()) SetWindowTextW(window, caption->c_str());
    return TRUE;
  }
  return 0;
}

// The user's custom colours, kept for the run.
COLORREF g_custom_colours[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
};

std::optional<Rgb> colour_dialog(const char* title, const Rgb& initial) {
  std::wstring caption = widen(title);
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = GetActiveWindow();
  cc.rgbResult = RGB(initial[0], initial[1], initial[2]);
  cc.lpCustColors = g_custom_colours;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
  cc.lCustData = reinterpret_cast<LPARAM>(&caption);
  cc.lpfnHook = colour_hook;
  if (!ChooseColorW(&cc)) {
    DWORD error = CommDlgExtendedError();
    if (error != 0) report_failure("colour chooser", error);
    return std::nullopt;
  }
  return Rgb{GetRValue(cc.rgbResult), GetGValue(cc.rgbResult), GetBValue(cc.rgbResult)};
}

// ---- the input box ------------------------------------------------------------

// A dialog template built in memory: the header, then the items, each on a
// DWORD boundary, all texts UTF-16.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, const wchar_t* font, WORD points) {
    dword(style);
    dword(0);          // extended style
    word(0);           // item count, counted by add()
    word(0);           // x
    word(0);           // y
    word(static_cast<WORD>(cx));
    word(static_cast<WORD>(cy));
    word(0);           // no menu
    word(0);           // the standard dialog class
    word(0);           // empty caption, set when the box starts
    word(points);
    text(font);
  }
  void add(DWORD style, short x, short y, short cx, short cy, WORD id, WORD class_atom) {
    if (data_.size() % 2 != 0) word(0);
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    word(static_cast<WORD>(x));
    word(static_cast<WORD>(y));
    word(static_cast<WORD>(cx));
    word(static_cast<WORD>(cy));
    word(id);
    word(0xFFFF);
    word(class_atom);
    word(0);  // no text: the box sets its texts when it starts
    word(0);  // no creation data
    ++data_[4];
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

 private:
  void word(WORD w) { data_.push_back(w); }
  void dword(DWORD d) {
    word(LOWORD(d));
    word(HIWORD(d));
  }
  void text(const wchar_t* s) {
    for (; *s != L'\0'; ++s) word(static_cast<WORD>(*s));
    word(0);
  }
  std::vector<WORD> data_;  // new[] storage: aligned for the DWORDs of the header
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

struct InputBoxState {
  std::wstring caption;
  std::wstring prompt;
  std::wstring text;  // the default, then the answer
};

INT_PTR CALLBACK input_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(box, DWLP_USER, lparam);
      const InputBoxState* state = reinterpret_cast<const InputBoxState*>(lparam);
      SetWindowTextW(box, state->caption.c_str());
      SetDlgItemTextW(box, kPromptId, state->prompt.c_str());
      SetDlgItemTextW(box, IDOK, L"OK");
      SetDlgItemTextW(box, IDCANCEL, L"Cancel");
      HWND edit = GetDlgItem(box, kEditId);
      SetWindowTextW(edit, state->text.c_str());
      SendMessageW(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        InputBoxState* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(box, DWLP_USER));
        HWND edit = GetDlgItem(box, kEditId);
        int n = GetWindowTextLengthW(edit);
        std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
        n = GetWindowTextW(edit, text.data(), n + 1);
        text.resize(static_cast<std::size_t>(std::max(n, 0)));
        state->text = text;
        EndDialog(box, IDOK);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        EndDialog(box, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

// Line ends as the static control breaks them: "\r\n".
std::wstring with_crlf(const std::wstring& s) {
  std::wstring out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'\n' && (i == 0 || s[i - 1] != L'\r')) out += L'\r';
    out += s[i];
  }
  return out;
}

// Lines the prompt takes at about `per_line` characters a line.
int prompt_lines(const std::wstring& prompt, int per_line) {
  int lines = 0;
  std::size_t i = 0;
  while (i <= prompt.size()) {
    std::size_t j = prompt.find(L'\n', i);
    if (j == std::wstring::npos) j = prompt.size();
    int length = static_cast<int>(j - i);
    lines += std::max(1, (length + per_line - 1) / per_line);
    i = j + 1;
  }
  return std::clamp(lines, 1, 20);
}

// The text entered; nothing for a cancel.
std::optional<std::string> input_box(const char* title, const char* message, const char* default_text) {
  InputBoxState state;
  state.caption = widen(title);
  state.prompt = with_crlf(widen(message));
  state.text = widen(default_text);
  const bool hidden = default_text == nullptr;

  // Dialog units: a character is about 4 wide and 8 high.
  constexpr short kWidth = 240, kMargin = 7, kButtonWidth = 50, kButtonHeight = 14, kEditHeight = 12;
  const short inner = kWidth - 2 * kMargin;
  const short prompt_height = static_cast<short>(8 * prompt_lines(state.prompt, inner / 4));
  const short edit_y = kMargin + prompt_height + 4;
  const short buttons_y = edit_y + kEditHeight + kMargin;
  const short height = buttons_y + kButtonHeight + kMargin;
  DialogTemplate dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        kWidth, height, L"MS Shell Dlg", 8);
  dialog.add(SS_LEFT | SS_NOPREFIX, kMargin, kMargin, inner, prompt_height, kPromptId, kStaticClass);
  dialog.add(ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | (hidden ? ES_PASSWORD : 0), kMargin, edit_y, inner,
             kEditHeight, kEditId, kEditClass);
  dialog.add(BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - kMargin - 2 * kButtonWidth - 4, buttons_y, kButtonWidth,
             kButtonHeight, IDOK, kButtonClass);
  dialog.add(BS_PUSHBUTTON | WS_TABSTOP, kWidth - kMargin - kButtonWidth, buttons_y, kButtonWidth, kButtonHeight,
             IDCANCEL, kButtonClass);
  INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), GetActiveWindow(), input_box_proc,
                                           reinterpret_cast<LPARAM>(&state));
  if (answer == -1) {
    report_failure("input box", GetLastError());
    return std::nullopt;
  }
  if (answer != IDOK) return std::nullopt;
  std::string text;
  narrow(state.text, false, text);
  return text;
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

// The console form of a path chooser; nothing for a cancel.
std::optional<std::string> console_path(const char* title, PathKind kind, const char* default_path,
                                        const std::vector<std::string>& patterns) {
  std::string answer;
  if (!dialogs_console::ask_path(title, kind, default_path, patterns, !dialogs_console::automated(), answer)) {
    return std::nullopt;
  }
  return answer;
}

const char* keep(std::string& result, const std::optional<std::string>& answer) {
  if (!answer) return nullptr;
  result = *answer;
  return result.c_str();
}

}  // namespace dialogs_win32

using namespace dialogs_win32;

DialogWaitCallback dialogs_set_wait_callback(DialogWaitCallback callback) {
  DialogWaitCallback old = g_wait_callback;
  g_wait_callback = callback;
  return old;
}

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

const char* tinyfd_openFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char* aSingleFilterDescription,
                                  int aAllowMultipleSelects) {
  static std::string result;
  const PathKind kind = aAllowMultipleSelects ? PathKind::open_several : PathKind::open;
  const std::vector<std::string> patterns = dialogs_console::patterns_of(aNumOfFilterPatterns, aFilterPatterns);
  return keep(result, console_dialogs()
                          ? console_path(aTitle, kind, aDefaultPathAndOrFile, patterns)
                          : file_dialog(kind, aTitle, aDefaultPathAndOrFile, patterns, aSingleFilterDescription));
}

const char* tinyfd_saveFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char* aSingleFilterDescription) {
  static std::string result;
  const std::vector<std::string> patterns = dialogs_console::patterns_of(aNumOfFilterPatterns, aFilterPatterns);
  return keep(result,
              console_dialogs()
                  ? console_path(aTitle, PathKind::save, aDefaultPathAndOrFile, patterns)
                  : file_dialog(PathKind::save, aTitle, aDefaultPathAndOrFile, patterns, aSingleFilterDescription));
}

const char* tinyfd_selectFolderDialog(const char* aTitle, const char* aDefaultPath) {
  static std::string result;
  return keep(result, console_dialogs() ? console_path(aTitle, PathKind::folder, aDefaultPath, {})
                                        : folder_dialog(aTitle, aDefaultPath));
}

const char* tinyfd_colorChooser(const char* aTitle, const char* aDefaultHexRGB, const unsigned char aDefaultRGB[3],
                                unsigned char aoResultRGB[3]) {
  static std::string result;
  Rgb initial = {0, 0, 0};
  if (aDefaultHexRGB == nullptr || !dialogs_console::parse_hex_colour(aDefaultHexRGB, initial)) {
    if (aDefaultRGB != nullptr) initial = {aDefaultRGB[0], aDefaultRGB[1], aDefaultRGB[2]};
  }
  std::optional<Rgb> chosen;
  if (console_dialogs()) {
    Rgb answer;
    if (dialogs_console::ask_colour(aTitle, initial, !dialogs_console::automated(), answer)) chosen = answer;
  } else {
    chosen = colour_dialog(aTitle, initial);
  }
  if (!chosen) return nullptr;
  if (aoResultRGB != nullptr) std::copy(chosen->begin(), chosen->end(), aoResultRGB);
  result = dialogs_console::hex_colour(*chosen);
  return result.c_str();
}

const char* tinyfd_inputBox(const char* aTitle, const char* aMessage, const char* aDefaultInput) {
  static std::string result;
  if (!console_dialogs()) return keep(result, input_box(aTitle, aMessage, aDefaultInput));
  std::string answer;
  bool got = dialogs_console::ask_text(aTitle, aMessage, aDefaultInput, !dialogs_console::automated(), answer);
  return keep(result, got ? std::optional<std::string>(answer) : std::nullopt);
}
