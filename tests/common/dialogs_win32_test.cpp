// The native dialogs of the Windows build (under Wine on a display in the
// test run). A second thread finds each dialog of this process by its title
// once it shows, reads or fills in its controls and presses OK or Cancel.
// When a dialog does not show, or does not end when answered, that thread
// closes every window of the process, so that no test waits for ever.
#include <windows.h>
#include <colordlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/dialogs.h"
#include "tests/common/services_support.h"

namespace {

// How long a dialog may take to show: Wine loads the dialog libraries on
// their first use.
constexpr DWORD kPatience = 30000;

bool ours(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid == GetCurrentProcessId() && IsWindowVisible(window);
}

std::wstring text_of(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// The visible top-level window of this process titled `title`; null when none.
HWND find_window(const std::wstring& title) {
  struct Search {
    const std::wstring* title;
    HWND found;
  } search{&title, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        Search* s = reinterpret_cast<Search*>(p);
        if (!ours(w) || text_of(w) != *s->title) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A visible dialog of this process other than `except` (a box it opened).
HWND other_dialog(HWND except) {
  struct Search {
    HWND except;
    HWND found;
  } search{except, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        Search* s = reinterpret_cast<Search*>(p);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (w == s->except || !ours(w) || std::wstring(cls) != L"#32770") return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void close_every_window() {
  EnumWindows(
      [](HWND w, LPARAM) -> BOOL {
        if (ours(w)) PostMessageW(w, WM_CLOSE, 0, 0);
        return TRUE;
      },
      0);
}

// Waits up to `ms` for `done`; true when it came.
bool wait_for(const std::function<bool()>& done, DWORD ms = kPatience) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

void press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Answers the dialog titled `title` from a second thread: `act` runs on it
// once it shows and tells whether it could do its part.
class Answer {
 public:
  Answer(std::wstring title, std::function<bool(HWND)> act, DWORD patience = kPatience)
      : thread_([this, title, act, patience] { run(title, act, patience); }) {}
  ~Answer() { join(); }
  Answer(const Answer&) = delete;
  Answer& operator=(const Answer&) = delete;
  // Whether the dialog showed and `act` did its part.
  bool done() {
    join();
    return done_;
  }

 private:
  void join() {
    if (thread_.joinable()) thread_.join();
  }
  void run(const std::wstring& title, const std::function<bool(HWND)>& act, DWORD patience) {
    HWND dialog = nullptr;
    if (!wait_for([&] { return (dialog = find_window(title)) != nullptr; }, patience)) {
      close_every_window();
      return;
    }
    Sleep(300);  // let the dialog fill itself
    done_ = act(dialog);
    // Answered or not, it must end: close what is left.
    for (int round = 0; round < 20 && !wait_for([&] { return !IsWindow(dialog); }, done_ ? 10000 : 500); ++round) {
      done_ = false;
      close_every_window();
    }
  }
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// Types `text` into the file name box of an open or save dialog.
bool type_file_name(HWND dialog, const std::wstring& text) {
  for (int id : {cmb13, edt1}) {
    HWND box = GetDlgItem(dialog, id);
    if (box != nullptr) return SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
  }
  return false;
}

std::wstring wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

class NativeDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    _putenv("VANTYR_DIALOGS=");  // the native dialogs, not the console
    dir_ = fs::absolute(fresh_test_folder());
    fs::create_directories(dir_ / "Tasks");
    write_file(dir_ / "Tasks" / "a.fpl", "a");
    write_file(dir_ / "Tasks" / "b.fpl", "b");
  }
  void TearDown() override {
    _putenv("VANTYR_DIALOGS=console");
    tinyfd_winUtf8 = 0;
    tinyfd_forceConsole = 0;
  }
  std::string p(const std::string& rel) const { return prog(dir_) + "\\" + rel; }

  fs::path dir_;
};

TEST_F(NativeDialogs, OpenFileOffersThePatternsAsOneFilterAndCancelsToNothing) {
  const char* patterns[] = {"*.fpl", "*.trk"};
  int filters = -1;
  std::wstring filter;
  Answer cancel(L"Open task 1", [&](HWND dialog) {
    HWND types = GetDlgItem(dialog, cmb1);
    filters = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
    wchar_t text[128] = {};
    SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    filter = text;
    press(dialog, IDCANCEL);
    return true;
  });
  EXPECT_EQ(tinyfd_openFileDialog("Open task 1", p("Tasks\\").c_str(), 2, patterns, nullptr, 0), nullptr);
  EXPECT_TRUE(cancel.done());
  EXPECT_EQ(filters, 1);
  EXPECT_EQ(filter, L"*.fpl *.trk");
}

TEST_F(NativeDialogs, OpenFileReturnsTheChosenPathsAndLeavesTheCurrentFolder) {
  const char* patterns[] = {"*.fpl"};
  const fs::path before = fs::current_path();
  // The default's name is offered in its folder: OK takes it.
  Answer take_default(L"Open task 2", [&](HWND dialog) {
    press(dialog, IDOK);
    return true;
  });
  const char* got = tinyfd_openFileDialog("Open task 2", p("Tasks\\b.fpl").c_str(), 1, patterns, nullptr, 0);
  EXPECT_TRUE(take_default.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), p("Tasks\\b.fpl"));

  // A full path typed into the name box.
  Answer typed(L"Open task 3", [&](HWND dialog) {
    bool ok = type_file_name(dialog, wide(p("Tasks\\a.fpl")));
    press(dialog, IDOK);
    return ok;
  });
  got = tinyfd_openFileDialog("Open task 3", nullptr, 1, patterns, nullptr, 0);
  EXPECT_TRUE(typed.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), p("Tasks\\a.fpl"));

  // Several names in the folder of the default, "|" between the full paths.
  Answer several(L"Open tasks", [&](HWND dialog) {
    bool ok = type_file_name(dialog, L"\"a.fpl\" \"b.fpl\"");
    press(dialog, IDOK);
    return ok;
  });
  got = tinyfd_openFileDialog("Open tasks", p("Tasks").c_str(), 1, patterns, nullptr, 1);
  EXPECT_TRUE(several.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), p("Tasks\\a.fpl") + "|" + p("Tasks\\b.fpl"));

  EXPECT_EQ(fs::current_path(), before);  // the log and listing files stay where they were
}

TEST_F(NativeDialogs, SaveFileAsksBeforeReplacingAFile) {
  const char* patterns[] = {"*.fpl"};
  Answer take_default(L"Save task 1", [&](HWND dialog) {
    press(dialog, IDOK);
    return true;
  });
  const char* got = tinyfd_saveFileDialog("Save task 1", p("Tasks\\new.fpl").c_str(), 1, patterns, nullptr);
  EXPECT_TRUE(take_default.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), p("Tasks\\new.fpl"));
  EXPECT_FALSE(fs::exists(dir_ / "Tasks" / "new.fpl"));  // choosing writes nothing

  // An existing file: the replace question, answered No, keeps the dialog
  // open; its Cancel then gives nothing.
  bool asked = false;
  Answer refuse(L"Save task 2", [&](HWND dialog) {
    press(dialog, IDOK);
    HWND question = nullptr;
    asked = wait_for([&] { return (question = other_dialog(dialog)) != nullptr; }, 10000);
    if (!asked) return false;
    Sleep(200);
    press(question, IDNO);
    bool stays = wait_for([&] { return !IsWindow(question); }, 10000) && IsWindow(dialog);
    press(dialog, IDCANCEL);
    return stays;
  });
  EXPECT_EQ(tinyfd_saveFileDialog("Save task 2", p("Tasks\\a.fpl").c_str(), 1, patterns, nullptr), nullptr);
  EXPECT_TRUE(refuse.done());
  EXPECT_TRUE(asked);
}

// Wine's folder browser finds only folders that existed when the Wine
// session started: the folders shown here are the system's own.
TEST_F(NativeDialogs, FolderStartsOnTheDefaultFolder) {
  char system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
  Answer ok(L"Pick a folder", [&](HWND dialog) {
    press(dialog, IDOK);
    return true;
  });
  // A trailing backslash names the same folder; the answer has none.
  const char* got = tinyfd_selectFolderDialog("Pick a folder", (std::string(system) + "\\").c_str());
  EXPECT_TRUE(ok.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(_stricmp(got, system), 0) << got;

  Answer cancel(L"Pick another folder", [&](HWND dialog) {
    press(dialog, IDCANCEL);
    return true;
  });
  EXPECT_EQ(tinyfd_selectFolderDialog("Pick another folder", system), nullptr);
  EXPECT_TRUE(cancel.done());
}

TEST_F(NativeDialogs, ColourStartsOnTheDefaultAndGivesTheChosenOne) {
  unsigned char rgb[3] = {1, 2, 3};
  Answer cancel(L"choose a nice color", [&](HWND dialog) {
    press(dialog, IDCANCEL);
    return true;
  });
  EXPECT_EQ(tinyfd_colorChooser("choose a nice color", "#FF8000", rgb, rgb), nullptr);
  EXPECT_TRUE(cancel.done());
  EXPECT_EQ(rgb[0] * 65536 + rgb[1] * 256 + rgb[2], 0x010203);  // a cancel writes nothing

  // OK at once: the default colour, taken from the text, not from the bytes.
  std::wstring shown_red;
  Answer take_default(L"choose a nice color", [&](HWND dialog) {
    shown_red = text_of(GetDlgItem(dialog, COLOR_RED));
    press(dialog, IDOK);
    return true;
  });
  const char* got = tinyfd_colorChooser("choose a nice color", "#FF8000", rgb, rgb);
  EXPECT_TRUE(take_default.done());
  EXPECT_EQ(shown_red, L"255");
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "#FF8000");
  EXPECT_EQ(rgb[0] * 65536 + rgb[1] * 256 + rgb[2], 0xFF8000);

  // Pure blue typed into the red, green and blue boxes.
  Answer blue(L"choose a nice color", [&](HWND dialog) {
    SetDlgItemTextW(dialog, COLOR_RED, L"0");
    SetDlgItemTextW(dialog, COLOR_GREEN, L"0");
    SetDlgItemTextW(dialog, COLOR_BLUE, L"255");
    Sleep(200);
    press(dialog, IDOK);
    return true;
  });
  got = tinyfd_colorChooser("choose a nice color", "#FF8000", rgb, rgb);
  EXPECT_TRUE(blue.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "#0000FF");
  EXPECT_EQ(rgb[0] * 65536 + rgb[1] * 256 + rgb[2], 255);
}

// The input box's edit control.
HWND edit_of(HWND box) { return FindWindowExW(box, nullptr, L"Edit", nullptr); }

TEST_F(NativeDialogs, InputBoxShowsTheDefaultAndGivesTheTypedTextInTheProgramsCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are Windows-1252; the code page is " << GetACP();
  std::wstring shown;
  Answer typed(L"Pilot", [&](HWND box) {
    HWND edit = edit_of(box);
    shown = text_of(edit);
    SetWindowTextW(edit, L"H\u00e9l\u00e8ne \u0100");  // the last letter has no Windows-1252 form
    press(box, IDOK);
    return edit != nullptr;
  });
  const char* got = tinyfd_inputBox("Pilot", "Name of the pilot:", "Jo");
  EXPECT_TRUE(typed.done());
  EXPECT_EQ(shown, L"Jo");
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "H\xE9l\xE8ne ?");

  tinyfd_winUtf8 = 1;
  Answer utf8(L"Pilot \u00e9", [&](HWND box) {
    SetWindowTextW(edit_of(box), L"H\u00e9l\u00e8ne \u0100");
    press(box, IDOK);
    return true;
  });
  got = tinyfd_inputBox("Pilot \xC3\xA9", "Name:", "");
  EXPECT_TRUE(utf8.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "H\xC3\xA9l\xC3\xA8ne \xC4\x80");
}

TEST_F(NativeDialogs, InputBoxCancelledOrEmptiedAndHidden) {
  Answer cancel(L"Password 1", [&](HWND box) {
    SetWindowTextW(edit_of(box), L"secret");
    press(box, IDCANCEL);
    return true;
  });
  EXPECT_EQ(tinyfd_inputBox("Password 1", "Password:", nullptr), nullptr);
  EXPECT_TRUE(cancel.done());

  // A null default hides what is typed; OK on an empty box is an empty text, not a cancel.
  bool hidden = false;
  Answer empty(L"Password 2", [&](HWND box) {
    hidden = (GetWindowLongW(edit_of(box), GWL_STYLE) & ES_PASSWORD) != 0;
    press(box, IDOK);
    return true;
  });
  const char* got = tinyfd_inputBox("Password 2", "Password:", nullptr);
  EXPECT_TRUE(empty.done());
  EXPECT_TRUE(hidden);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "");
}

TEST_F(NativeDialogs, APathOutsideTheCodePageIsRefusedUnlessTextsAreUtf8) {
  if (GetACP() != 1252) GTEST_SKIP() << "the name must have no form in the code page; it is " << GetACP();
  const std::wstring omega = L"\u03a9.fpl";  // Greek capital omega: not in Windows-1252
  { std::ofstream(dir_ / "Tasks" / omega) << "x"; }
  ASSERT_TRUE(fs::exists(dir_ / "Tasks" / omega));
  {
    Answer refused(L"Open task 4", [&](HWND dialog) {
      bool ok = type_file_name(dialog, omega);
      press(dialog, IDOK);
      return ok;
    });
    EXPECT_EQ(tinyfd_openFileDialog("Open task 4", p("Tasks\\").c_str(), 0, nullptr, nullptr, 0), nullptr);
    EXPECT_TRUE(refused.done());
  }
  tinyfd_winUtf8 = 1;
  Answer taken(L"Open task 5", [&](HWND dialog) {
    bool ok = type_file_name(dialog, omega);
    press(dialog, IDOK);
    return ok;
  });
  const char* got = tinyfd_openFileDialog("Open task 5", p("Tasks\\").c_str(), 0, nullptr, nullptr, 0);
  EXPECT_TRUE(taken.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), p("Tasks\\") + "\xCE\xA9.fpl");
}

TEST_F(NativeDialogs, ForcedConsoleAsksOnTheConsole) {
  tinyfd_forceConsole = 1;
  // Should a native box show after all, it is closed after a short while.
  Answer none(L"Pilot", [&](HWND box) {
    press(box, IDCANCEL);
    return true;
  }, 3000);
  StdoutCapture out(dir_ / "console.txt");
  answer_from_stdin(dir_ / "answers.txt", "Jo\n");
  const char* got = tinyfd_inputBox("Pilot", "Name:", "X");
  EXPECT_FALSE(none.done());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "Jo");
  EXPECT_EQ(out.text(), "Pilot\nName: [X]\n> ");
  answer_from_stdin(dir_ / "answers.txt", "");
}

}  // namespace
