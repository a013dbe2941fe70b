// The real message box on Windows (under Wine in the test run): a second
// thread finds it by its title and presses one of its buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "common/dialogs.h"

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

}  // namespace
