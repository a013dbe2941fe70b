// The real message box and console window on Windows (under Wine on a
// display in the test run). A second thread finds a box by its title and
// presses one of its buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "common/dialogs.h"
#include "common/messages.h"
#include "tests/common/services_support.h"

namespace {

// Presses button `id` of the box titled `title` once it shows; true when it did.
bool press_button(const std::wstring& title, int id) {
  for (int i = 0; i < 400; ++i) {
    HWND box = FindWindowW(nullptr, title.c_str());
    if (box != nullptr) {
      Sleep(100);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
      return true;
    }
    Sleep(50);
  }
  return false;
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { _putenv("VANTYR_DIALOGS="); }  // the native box, not the console
  void TearDown() override {
    _putenv("VANTYR_DIALOGS=console");
    tinyfd_winUtf8 = 0;
  }
};

TEST_F(MessageBoxTest, AnswersAreTheCallersCodes) {
  struct Case {
    const char* type;
    int button;
    int answer;
  };
  const Case cases[] = {
      {"yesnocancel", IDYES, 1}, {"yesnocancel", IDNO, 2}, {"yesnocancel", IDCANCEL, 0}, {"yesno", IDNO, 0},
      {"yesno", IDYES, 1},       {"okcancel", IDCANCEL, 0}, {"okcancel", IDOK, 1},       {"ok", IDOK, 1},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string title = "Vantyr question " + std::to_string(++n);
    bool pressed = false;
    std::thread presser([&] { pressed = press_button(std::wstring(title.begin(), title.end()), c.button); });
    int answer = tinyfd_messageBox(title.c_str(), "Move the towplanes?", c.type, "question", 1);
    presser.join();
    EXPECT_TRUE(pressed) << title;
    EXPECT_EQ(answer, c.answer) << c.type << " " << c.button;
  }
}

TEST_F(MessageBoxTest, TitlesInTheCodePageOrInUtf8) {
  // The program's texts are Windows-1252 bytes; with tinyfd_winUtf8 set, UTF-8.
  const std::wstring expected = L"Gr\u00fc\u00dfe \u00e9t\u00e9";
  for (int utf8 : {0, 1}) {
    tinyfd_winUtf8 = utf8;
    const char* title = utf8 ? "Gr\xC3\xBC\xC3\x9F" "e \xC3\xA9t\xC3\xA9" : "Gr\xFC\xDF" "e \xE9t\xE9";
    bool pressed = false;
    std::thread presser([&] { pressed = press_button(expected, IDOK); });
    EXPECT_EQ(tinyfd_messageBox(title, "text", "ok", "info", 1), 1);
    presser.join();
    EXPECT_TRUE(pressed) << "no box titled as expected, utf8=" << utf8;
  }
}

// The console decision runs in a process of its own with a console of its
// own, so that the test decides who shares it.
TEST(ConsoleWindow, AloneTheProgramHidesItsConsole) {
  fs::path dir = fresh_test_folder();
  EXPECT_EXIT(
      {
        redirect_stdout(dir / "console.txt");
        FreeConsole();
        if (!AllocConsole()) std::exit(3);
        HWND window = GetConsoleWindow();
        HideConsole();
        std::printf("visible %d\n", window != nullptr && IsWindowVisible(window) ? 1 : 0);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(read_lines(dir / "console.txt"), (std::vector<std::string>{"nb proc 1", "I'm the last one!", "visible 0"}));
}

TEST(ConsoleWindow, SharedConsoleStaysVisible) {
  fs::path dir = fresh_test_folder();
  EXPECT_EXIT(
      {
        redirect_stdout(dir / "console.txt");
        FreeConsole();
        if (!AllocConsole()) std::exit(3);
        // A second program on the same console, as a prompt would be.
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        // Beside the test program; unlike a prompt it cannot end early for
        // want of console input.
        char command[MAX_PATH + 32];
        DWORD n = GetModuleFileNameA(nullptr, command, MAX_PATH);
        while (n > 0 && command[n - 1] != '\\') --n;
        lstrcpyA(command + n, "console_sharer.exe");
        if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) std::exit(4);
        DWORD list[8];
        // Starting a program under Wine on a loaded machine can take seconds.
        for (int i = 0; i < 1200 && GetConsoleProcessList(list, 8) < 2; ++i) Sleep(50);
        HWND window = GetConsoleWindow();
        HideConsole();
        std::printf("visible %d\n", window != nullptr && IsWindowVisible(window) ? 1 : 0);
        TerminateProcess(pi.hProcess, 0);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(read_lines(dir / "console.txt"),
            (std::vector<std::string>{"nb proc 2", "I'm not the last one!", "visible 1"}));
}

}  // namespace
