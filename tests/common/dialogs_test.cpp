// The dialog module's choosers and input box as console dialogs
// (VANTYR_DIALOGS=console): the title and prompt lines they write, the
// answers they take from standard input, the answers they refuse, and
// cancels.
#include <gtest/gtest.h>

#include <string>

#include "common/dialogs.h"
#include "tests/common/services_support.h"

namespace {

class ConsoleChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::absolute(fresh_test_folder());
    fs::create_directories(dir_ / "Tasks");
    write_file(dir_ / "Tasks" / "a.fpl", "");
    write_file(dir_ / "Tasks" / "b.fpl", "");
    answer("");
  }
  void TearDown() override { answer(""); }

  void answer(const std::string& text) { answer_from_stdin(dir_ / "answers.txt", text); }
  std::string p(const std::string& rel) const { return prog(dir_) + "\\" + rel; }

  fs::path dir_;
};

TEST_F(ConsoleChooser, OpenFileTakesAnExistingFileAndCancelsOnEmptyOrNoAnswer) {
  const char* patterns[] = {"*.fpl", "", "*.trk"};
  const std::string a = p("Tasks\\a.fpl"), b = p("Tasks\\b.fpl");
  StdoutCapture out(dir_ / "console.txt");
  // A missing file or a folder is asked again; the answer is the line as typed.
  answer(p("Tasks\\missing.fpl") + "\n" + p("Tasks") + "\n  " + a + "  \n");
  const char* got = tinyfd_openFileDialog("Task", b.c_str(), 3, patterns, nullptr, 0);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), a);
  answer("\n" + a + "\n");
  EXPECT_EQ(tinyfd_openFileDialog("Task", nullptr, 0, nullptr, nullptr, 0), nullptr);
  answer("");
  EXPECT_EQ(tinyfd_openFileDialog("Task", "", 1, patterns, nullptr, 0), nullptr);
  // Several files, "|" between them; every one must exist.
  answer(a + "|" + p("Tasks\\c.fpl") + "\n" + a + "|" + b + "\n");
  got = tinyfd_openFileDialog("Tasks", nullptr, 1, patterns, nullptr, 1);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), a + "|" + b);
  EXPECT_EQ(out.text(), "Task\nFile to open [" + b + "] (*.fpl *.trk)\n" +
                            "Task\nFile to open\n" +
                            "Task\nFile to open (*.fpl)\n" +
                            "Tasks\nFiles to open, separated by | (*.fpl)\n");
}

TEST_F(ConsoleChooser, SaveFileWantsANameInAnExistingFolderAndFolderAnExistingFolder) {
  const char* patterns[] = {"*.fpl"};
  StdoutCapture out(dir_ / "console.txt");
  answer(p("Nowhere\\x.fpl") + "\n" + p("Tasks") + "\n" + p("Tasks\\") + "\n" + p("Tasks\\new.fpl") + "\n");
  const char* got = tinyfd_saveFileDialog("Save", p("Tasks\\a.fpl").c_str(), 1, patterns, nullptr);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), p("Tasks\\new.fpl"));
  // A name alone is in the current folder, which exists.
  answer("plain.fpl\n");
  got = tinyfd_saveFileDialog("Save", nullptr, 0, nullptr, nullptr);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "plain.fpl");

  answer(p("Tasks\\a.fpl") + "\n" + p("Tasks") + "\n");
  got = tinyfd_selectFolderDialog("Where", p("Tasks").c_str());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), p("Tasks"));
  answer("\n");
  EXPECT_EQ(tinyfd_selectFolderDialog("Where", nullptr), nullptr);
  EXPECT_EQ(out.text(), "Save\nFile to save [" + p("Tasks\\a.fpl") + "] (*.fpl)\nSave\nFile to save\n" +
                            "Where\nFolder [" + p("Tasks") + "]\nWhere\nFolder\n");
}

TEST_F(ConsoleChooser, ColourAnswersAndDefaults) {
  unsigned char rgb[3] = {1, 2, 3};
  StdoutCapture out(dir_ / "console.txt");
  // Hexadecimal of either case; the result is upper case, the bytes written.
  answer("#00ff80\n");
  const char* got = tinyfd_colorChooser("Pick", "#FF8000", rgb, rgb);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "#00FF80");
  EXPECT_EQ(rgb[0] * 65536 + rgb[1] * 256 + rgb[2], 0x00FF80);
  // Decimal bytes; out-of-range and malformed answers are asked again.
  answer("256,0,0\n#12345\n1,2\n0, 0 ,255\n");
  got = tinyfd_colorChooser("Pick", nullptr, rgb, rgb);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "#0000FF");
  EXPECT_EQ(rgb[2], 255);
  EXPECT_EQ(rgb[0] + rgb[1], 0);
  // A cancel leaves the result bytes alone; a default that is no colour
  // text gives way to the default bytes.
  const unsigned char fallback[3] = {0x12, 0xAB, 0x0C};
  answer("");
  EXPECT_EQ(tinyfd_colorChooser("Pick", "#GG0000", fallback, rgb), nullptr);
  EXPECT_EQ(rgb[2], 255);
  EXPECT_EQ(out.text(), "Pick\nColour as #RRGGBB or r,g,b [#FF8000]\n"
                        "Pick\nColour as #RRGGBB or r,g,b [#00FF80]\n"
                        "Pick\nColour as #RRGGBB or r,g,b [#12AB0C]\n");
}

TEST_F(ConsoleChooser, InputBoxKeepsTheLineAsTypedAndCancelsOnAnEmptyOne) {
  StdoutCapture out(dir_ / "console.txt");
  answer("  two words \r\n");
  const char* got = tinyfd_inputBox("Name", "Pilot name:", "Anna");
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "  two words ");
  answer("\n");
  EXPECT_EQ(tinyfd_inputBox("Name", "Pilot name:", ""), nullptr);
  answer("secret\n");
  got = tinyfd_inputBox("Key", "Password:", nullptr);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(got), "secret");
  EXPECT_EQ(out.text(), "Name\nPilot name: [Anna]\nName\nPilot name:\nKey\nPassword: (hidden)\n");
}

}  // namespace
