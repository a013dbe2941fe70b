// The choosers with console dialogs (VANTYR_DIALOGS=console). The program's
// wrappers: what they write before and after the dialog, the answers into
// the caller's field with their lengths, the boxes when nothing was chosen,
// the filter list split into patterns. The form's choosers of path and
// colour elements: the dialog each opens (title, default, the element's
// pattern), the choice handed back, and the clipboard served while a
// dialog's process runs, the caller's wait callback restored afterwards.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "common/field.h"
#include "forms_window/chooser_wrappers.h"
#include "forms_window/window_session.h"
#include "tests/support/temp_tree.h"
#include "toolkit/host/null/cpw_null.h"

namespace fw = forms_window;
namespace fs = std::filesystem;

namespace {

using test_support::TempDir;

class ConsoleChoosers : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::set_env("VANTYR_DIALOGS", "console");
    test_support::write_file(dir_.path() / "Tasks" / "a.fpl", "");
    tasks_ = dir_.program() + "\\Tasks";
    dialogs_set_wait_callback(mark);
  }
  void TearDown() override {
    answer("");
    dialogs_set_wait_callback(nullptr);
  }

  // The next console dialogs read `text`; then their input ends.
  void answer(const std::string& text) {
    test_support::write_file(dir_.path() / "in.txt", text);
    if (std::freopen((dir_.path() / "in.txt").string().c_str(), "r", stdin) == nullptr) std::abort();
  }
  void capture() { testing::internal::CaptureStdout(); }
  std::string captured() {
    std::fflush(stdout);
    std::string s = testing::internal::GetCapturedStdout();
    std::string out;  // text-mode line ends of the Windows build
    for (std::size_t i = 0; i < s.size(); ++i)
      if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out.push_back(s[i]);
    return out;
  }

  // The caller's own wait callback, which every form chooser puts back.
  static void mark() {}
  static void expect_restored() { EXPECT_EQ(dialogs_set_wait_callback(mark), mark); }

  TempDir dir_{"vantyr-choosers"};
  std::string tasks_;
};

TEST_F(ConsoleChoosers, GetFolderGivesTheFolderOrOneAfterNoFolderSelected) {
  Field<200> folder("kept");
  int length = -1;
  answer("");
  tinyfd_forceConsole = 1;  // the wrappers ask for the native dialogs
  capture();
  EXPECT_EQ(GetFolder("User files", tasks_.c_str(), length, folder), 1);
  EXPECT_EQ(captured(), "User files\nFolder [" + tasks_ + "]\nError\nNo folder selected\n");
  EXPECT_EQ(tinyfd_forceConsole, 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(folder.trimmed(), "kept");

  answer(tasks_ + "\n");
  capture();
  EXPECT_EQ(GetFolder("User files", "", length, folder), 0);
  EXPECT_EQ(captured(), "User files\nFolder\n");
  EXPECT_EQ(folder.trimmed(), tasks_);
  EXPECT_EQ(length, static_cast<int>(tasks_.size()));

  // A folder longer than the field would come back as another one.
  Field<8> small("kept");
  answer(tasks_ + "\n");
  capture();
  EXPECT_EQ(GetFolder("User files", "", length, small), 1);
  std::string shown = captured();
  EXPECT_NE(shown.find("Error\nThe chosen path is too long"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("No folder selected"), std::string::npos);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(small.trimmed(), "kept");
}

TEST_F(ConsoleChoosers, GetFileNameWritesFilterAndDefaultThenOffersThePatterns) {
  const std::string a = tasks_ + "\\a.fpl";
  Field<200> file("kept");
  int length = -1;
  answer(a + "\n");
  tinyfd_winUtf8 = 1;
  capture();
  EXPECT_EQ(GetFileName(file, "Flight plan", a.c_str(), "*.fpl,*.tsk", "", 0, length), 1);
  EXPECT_EQ(captured(), "Filter: *.fpl,*.tsk\nDefault path: " + a + "\nFlight plan\nFile to open [" + a +
                            "] (*.fpl *.tsk)\n");
  EXPECT_EQ(tinyfd_winUtf8, 0);
  EXPECT_EQ(file.trimmed(), a);
  EXPECT_EQ(length, static_cast<int>(a.size()));

  answer("\n");
  capture();
  EXPECT_EQ(GetFileName(file, "Flight plan", "", "", "", 0, length), 0);
  EXPECT_EQ(captured(),
            "Filter: (none)\nDefault path: (none)\nFlight plan\nFile to open\nError\nNo file specification returned\n");
  EXPECT_EQ(length, 0);
  EXPECT_EQ(file.trimmed(), a);

#ifndef _WIN32
  // The file message in French (the language comes from the locale here).
  const char* old = std::getenv("LC_ALL");
  std::string saved = old != nullptr ? old : "";
  test_support::set_env("LC_ALL", "fr_FR.UTF-8");
  capture();
  EXPECT_EQ(SaveFileName(file, "Plan", "", "*.fpl", "", length), 0);
  test_support::set_env("LC_ALL", saved);
  EXPECT_EQ(captured(), "Plan\nFile to save (*.fpl)\nError\nAucun fichier sp\xE9" "cifi\xE9\n");
#endif
}

TEST_F(ConsoleChoosers, SaveFileNameOffersAtMostTenPatternsInOrder) {
  Field<200> file("kept");
  int length = -1;
  const std::string target = tasks_ + "\\b.p11";
  answer(target + "\n");
  capture();
  EXPECT_EQ(SaveFileName(file, "Save", "", "*.p1,*.p2,*.p3,*.p4,*.p5,*.p6,*.p7,*.p8,*.p9,*.p10,*.p11", "", length),
            1);
  EXPECT_EQ(captured(), "Save\nFile to save (*.p1 *.p2 *.p3 *.p4 *.p5 *.p6 *.p7 *.p8 *.p9 *.p10)\n");
  EXPECT_EQ(file.trimmed(), target);
  EXPECT_EQ(length, static_cast<int>(target.size()));
}

TEST(FilterList, SplitAtEveryCommaWithoutEmptyPatterns) {
  using V = std::vector<std::string>;
  EXPECT_EQ(split_filter("*.fpl,*.trk"), (V{"*.fpl", "*.trk"}));
  EXPECT_EQ(split_filter("*.fpl"), (V{"*.fpl"}));
  EXPECT_EQ(split_filter(""), V{});
  EXPECT_EQ(split_filter(nullptr), V{});
  // Blanks around a pattern and empty pieces are no patterns.
  EXPECT_EQ(split_filter(" *.a ,,*.b, ,"), (V{"*.a", "*.b"}));
  EXPECT_EQ(split_filter("1,2,3,4,5,6,7,8,9,10,11,12"), (V{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
}

TEST_F(ConsoleChoosers, GetStringCutsToTheFieldAndShowsNoBoxOnCancel) {
  Field<5> text("old");
  int length = -1;
  answer("Hel\xE8ne Dupont\n");
  capture();
  GetString("Pilot", "Name:", text, "Anna", length);
  EXPECT_EQ(captured(), "Prompt: Name:\nPilot\nName: [Anna]\n");
  EXPECT_EQ(text.view(), "Hel\xE8n");
  EXPECT_EQ(length, 5);

  answer("");
  capture();
  GetString("Pilot", "Name:", text, "", length);
  EXPECT_EQ(captured(), "Prompt: Name:\nPilot\nName:\n");
  EXPECT_EQ(length, 0);
  EXPECT_EQ(text.view(), "Hel\xE8n");
}

TEST_F(ConsoleChoosers, FileChoosersOfferTheElementsPatternUnderTheFormsTitle) {
  const std::string a = tasks_ + "\\a.fpl";
  std::string chosen = "unchanged";
  answer(a + "\n");
  capture();
  EXPECT_TRUE(fw::choose_input_file("Task form", a.c_str(), "*.fpl", chosen));
  EXPECT_EQ(captured(), "Task form\nFile to open [" + a + "] (*.fpl)\n");
  EXPECT_EQ(chosen, a);
  expect_restored();

  // No pattern: none offered. A cancel gives no choice.
  chosen = "unchanged";
  answer("");
  capture();
  EXPECT_FALSE(fw::choose_output_file("Task form", "", "", chosen));
  EXPECT_EQ(captured(), "Task form\nFile to save\n");
  EXPECT_EQ(chosen, "unchanged");
  expect_restored();

  answer(tasks_ + "\n");
  capture();
  EXPECT_TRUE(fw::choose_folder("Task form", "C:\\Condor3", chosen));
  EXPECT_EQ(captured(), "Task form\nFolder [C:\\Condor3]\n");
  EXPECT_EQ(chosen, tasks_);
  expect_restored();
}

TEST_F(ConsoleChoosers, ColourChooserStartsOnTheValueAndGivesBytesAndText) {
  // The value text wins over the bytes as the start.
  std::array<unsigned char, 3> rgb = {1, 2, 3};
  std::string chosen;
  answer("0,0,255\n");
  capture();
  EXPECT_TRUE(fw::choose_colour("#FF8000", rgb, chosen));
  EXPECT_EQ(captured(), "choose a nice color\nColour as #RRGGBB or r,g,b [#FF8000]\n");
  EXPECT_EQ(chosen, "#0000FF");
  EXPECT_EQ(rgb[0] * 65536 + rgb[1] * 256 + rgb[2], 255);
  expect_restored();

  // A value text that is no colour starts on the bytes; a cancel keeps them.
  answer("");
  chosen = "unchanged";
  capture();
  EXPECT_FALSE(fw::choose_colour("blue", rgb, chosen));
  EXPECT_EQ(captured(), "choose a nice color\nColour as #RRGGBB or r,g,b [#0000FF]\n");
  EXPECT_EQ(chosen, "unchanged");
  EXPECT_EQ(rgb, (std::array<unsigned char, 3>{0, 0, 255}));
  expect_restored();
}

#ifndef _WIN32
// With a real dialog process (a stand-in zenity that takes its time), the
// form's clipboard is served while it runs.
TEST_F(ConsoleChoosers, TheClipboardIsServedWhileTheDialogProcessRuns) {
  const std::string bin = (dir_.path() / "bin").string();
  test_support::write_file(dir_.path() / "bin" / "zenity", "#!/bin/sh\nsleep 0.4\necho /tmp\n");
  fs::permissions(dir_.path() / "bin" / "zenity", fs::perms::owner_all);
  std::string saved_path = std::getenv("PATH");
  const char* display = std::getenv("DISPLAY");
  std::string saved_display = display != nullptr ? display : "";
  test_support::set_env("PATH", bin + ":" + saved_path);
  test_support::set_env("DISPLAY", ":77");
  test_support::set_env("VANTYR_DIALOGS", "");
  pCpw cpw = nullptr;
  ASSERT_TRUE(cpwInitContext(&cpw));
  pCpw saved_cpw = fw::this_cpw;
  fw::this_cpw = cpw;
  cpw_null_clearlog(cpw);

  std::string chosen;
  bool got = fw::choose_folder("Form", "", chosen);
  std::string log = cpw_null_log(cpw);
  fw::this_cpw = saved_cpw;
  cpwFreeContext(&cpw);
  test_support::set_env("PATH", saved_path);
  test_support::set_env("DISPLAY", saved_display);
  test_support::set_env("VANTYR_DIALOGS", "console");

  EXPECT_TRUE(got);
  EXPECT_EQ(chosen, "Z:\\tmp");
  int served = 0;
  for (std::size_t at = log.find("serveclipboard"); at != std::string::npos; at = log.find("serveclipboard", at + 1))
    ++served;
  EXPECT_GE(served, 4) << log;
  expect_restored();
}
#endif

}  // namespace
