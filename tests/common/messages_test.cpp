// Messages as the user gets them: lines, the "\/" escape, the kinds of box
// and their answers, the cuts, and a stop after a message. Boxes are console
// dialogs here (VANTYR_DIALOGS=console): title line, text, answer from
// standard input.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/cstring_bridge.h"
#include "common/dialogs.h"
#include "common/field.h"
#include "common/messages.h"
#include "tests/common/services_support.h"

namespace {

using Lines = std::vector<std::string>;

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fresh_test_folder();
    answer("");
  }
  void TearDown() override { answer(""); }

  void answer(const std::string& text) { answer_from_stdin(dir_ / "answers.txt", text); }

  // Shows a message of kind `status` and returns what the console showed.
  std::string show(int& status, const std::string& title, const std::string& text) {
    Field<512> msg(text);
    StdoutCapture out(dir_ / "console.txt");
    error_message_tit(status, title, msg, false);
    return out.text();
  }

  fs::path dir_;
};

TEST_F(MessagesTest, SlashesBecomeLinesOnTheConsole) {
  Field<512> msg("Version numbers do not match:/App:1200/Form:1105");
  int status = 1;
  StdoutCapture out(dir_ / "console.txt");
  error_message_tit(status, "Vantyr", msg, true);
  EXPECT_EQ(out.text(), "Version numbers do not match:\nApp:1200\nForm:1105\n");
  EXPECT_EQ(status, 1);
  // The caller's text is changed in place.
  EXPECT_EQ(msg.trimmed(), "Version numbers do not match:\nApp:1200\nForm:1105");
}

TEST_F(MessagesTest, EscapedSlashStaysAndLeadingSlashGivesEmptyFirstLine) {
  Field<16> msg("a\\/b/c\\/");
  int status = 0;
  StdoutCapture out(dir_ / "console.txt");
  error_message_tit(status, "t", msg, true);
  EXPECT_EQ(out.text(), "a/b\nc/\n");
  // Each removed backslash lets a blank in at the end of the field.
  EXPECT_EQ(msg.view(), std::string_view("a/b\nc/          "));

  Field<16> lead("/first");
  StdoutCapture out2(dir_ / "console2.txt");
  error_message_tit(status, "t", lead, true);
  EXPECT_EQ(out2.text(), "\nfirst\n");
}

TEST_F(MessagesTest, BoxesShowTitleAndTextAndKeepTheKind) {
  for (int kind : {0, 1, 2}) {
    int status = kind;
    EXPECT_EQ(show(status, "Vantyr  ", "Towplanes moved:/Piper"), "Vantyr\nTowplanes moved:\nPiper\n");
    EXPECT_EQ(status, kind);
  }
  Field<512> msg("no title given");
  int status = 0;
  StdoutCapture out(dir_ / "console.txt");
  error_message(status, msg, false);
  EXPECT_EQ(out.text(), "Brisko\nno title given\n");
}

TEST_F(MessagesTest, QuestionsLeaveTheAnswerInTheKind) {
  struct Case {
    int kind;
    std::string input;
    int answer;
  };
  const Case cases[] = {
      {3, "1\n", 1}, {3, "0\n", 0},  {4, "0\n", 0}, {5, "2\n", 2}, {5, "0\n", 0},
      {5, "1\n", 1},
      {3, "\n", 1},  // empty line: the default button, Yes
      {4, "", 1},    // end of input: the default button, OK
      {4, "2\n0\n", 0},  // OK/Cancel has no answer 2: asked again
  };
  for (const Case& c : cases) {
    answer(c.input);
    int status = c.kind;
    EXPECT_EQ(show(status, "Question", "Go on?"), "Question\nGo on?\n");
    EXPECT_EQ(status, c.answer) << "kind " << c.kind << " input \"" << c.input << "\"";
  }
}

TEST_F(MessagesTest, DisplayMessageReturnsTheAnswer) {
  answer("2\n");
  int status = 5;
  StdoutCapture out(dir_ / "console.txt");
  EXPECT_EQ(DisplayMessage("T", "text", status), 2);
  EXPECT_EQ(status, 2);
  status = 0;
  EXPECT_EQ(DisplayMessage("T", "text", status), 1);  // OK of an information box
  EXPECT_EQ(status, 0);
}

TEST_F(MessagesTest, UnknownKindShowsNothing) {
  int status = 7;
  EXPECT_EQ(show(status, "T", "never shown"), "");
  EXPECT_EQ(status, 7);
  StdoutCapture out(dir_ / "console.txt");
  EXPECT_EQ(DisplayMessage("T", "x", status), 7);
  EXPECT_EQ(out.text(), "");
}

TEST_F(MessagesTest, LongTextAndTitleAreCut) {
  int status = 0;
  std::string text = repeat("abcdefghij", 60) + "/" ;  // 601 characters
  std::string title = repeat("T", 80);
  std::string shown = show(status, title, text);
  EXPECT_EQ(shown, repeat("T", 63) + "\n" + text.substr(0, 511) + "\n");
}

TEST_F(MessagesTest, DialogTypesAndDefaultsOfTheBoxItself) {
  StdoutCapture out(dir_ / "console.txt");
  answer("\n");
  EXPECT_EQ(tinyfd_messageBox("T", "m", "yesnocancel", "question", 2), 2);
  answer("");
  EXPECT_EQ(tinyfd_messageBox("T", "m", "okcancel", "question", 0), 0);
  answer(" 0 \n");
  EXPECT_EQ(tinyfd_messageBox("T", "m", "yesno", "question", 1), 0);
  EXPECT_EQ(tinyfd_messageBox(nullptr, nullptr, "ok", "info", 1), 1);
  EXPECT_EQ(out.text(), "T\nm\nT\nm\nT\nm\n\n\n");
}

TEST_F(MessagesTest, ConsoleFallbackPromptsAndTakesLetters) {
  // The dialog a user gets on a console when no graphical box can be shown.
  putenv(const_cast<char*>("VANTYR_DIALOGS="));
  tinyfd_forceConsole = 1;
  StdoutCapture out(dir_ / "console.txt");
  answer("n\n");
  int no = tinyfd_messageBox("T", "m", "yesnocancel", "question", 1);
  answer("maybe\nc\n");
  int cancel = tinyfd_messageBox("T", "m", "okcancel", "question", 1);
  answer("\n");
  int ok = tinyfd_messageBox("T", "m", "ok", "info", 1);
  std::string shown = out.text();
  tinyfd_forceConsole = 0;
  putenv(const_cast<char*>("VANTYR_DIALOGS=console"));
  EXPECT_EQ(no, 2);
  EXPECT_EQ(cancel, 0);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(shown,
            "T\nm\n[1/y = Yes, 2/n = No, 0/c = Cancel] "
            "T\nm\n[1/o = OK, 0/c = Cancel] [1/o = OK, 0/c = Cancel] "
            "T\nm\n[Enter] ");
}

TEST_F(MessagesTest, StopWithMessageShowsItAndEndsTheRun) {
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        stop_with_message("Vantyr", "Form file missing/C:\\x\\Vantyr_form.frm");
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(read_lines(dir_ / "console.txt"), (Lines{"Vantyr", "Form file missing", "C:\\x\\Vantyr_form.frm"}));
}

TEST(CStringBridge, FixedFromZeroTerminated) {
  Field<5> f("zzzzz");
  int ls = 0;
  strcpy_c2f("abc", f, ls);
  EXPECT_EQ(f.view(), std::string_view("abc  "));
  EXPECT_EQ(ls, 3);
  ls = 2;
  strcpy_c2f("abc", f, ls);
  EXPECT_EQ(f.view(), std::string_view("ab   "));
  EXPECT_EQ(ls, 2);
  // Never more than the field holds, whatever the count asks for.
  char guard[12] = "0123456789";
  FieldRef part(guard, 4);
  ls = 9;
  strcpy_c2f("abcdefgh", part, ls);
  EXPECT_STREQ(guard, "abcd456789");
  EXPECT_EQ(ls, 4);
}

TEST(CStringBridge, ZeroTerminatedFromFixed) {
  char buf[8];
  int ls = -1;
  strcpy_f2c("abc     ", buf, sizeof buf, ls);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(ls, 3);
  // Cut so that the zero byte still fits.
  strcpy_f2c("abcdefghijk", buf, sizeof buf, ls);
  EXPECT_STREQ(buf, "abcdefg");
  EXPECT_EQ(ls, 7);
  strcpy_f2c("    ", buf, sizeof buf, ls);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(ls, 0);
}

}  // namespace
