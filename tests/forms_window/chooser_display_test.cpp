// The real file chooser of a form's input file element on the display:
// vantyr-form shows a form, the element is clicked twice, zenity's file
// chooser opens on the element's value with its pattern, Escape cancels it,
// the "Error" box that follows is closed, and the value is unchanged.
// Without a window manager the focus stays with the form, so each dialog
// is given the focus before its key is sent. Every wait is bounded; what
// the form started is killed with it.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/form_window_driver.h"
#include "tests/support/temp_tree.h"

namespace {

using namespace display_test;

// The command line of the zenity run by the process group `group`, its
// arguments separated by newlines; empty when there is none.
std::string zenity_of_group(pid_t group) {
  std::string found;
  DIR* d = opendir("/proc");
  if (d == nullptr) return found;
  while (dirent* e = readdir(d)) {
    char* end = nullptr;
    long pid = std::strtol(e->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') continue;
    std::string stat = read_file("/proc/" + std::string(e->d_name) + "/stat");
    std::size_t close = stat.rfind(')');
    if (close == std::string::npos || stat.find("(zenity)") == std::string::npos) continue;
    std::istringstream rest(stat.substr(close + 1));
    char state;
    long ppid, pgrp;
    if (!(rest >> state >> ppid >> pgrp) || pgrp != group) continue;
    found = read_file("/proc/" + std::string(e->d_name) + "/cmdline");
    for (char& c : found)
      if (c == '\0') c = '\n';
  }
  closedir(d);
  return found;
}

// Gives the focus to the first viewable window titled `title` other than
// `except`, then presses `key` in it; false when no such window shows in
// `seconds`.
bool press_in(const std::string& title, unsigned long except, const std::string& key, double seconds,
              const fs::path& scratch) {
  const fs::path id_file = scratch / "dialog_id", script = scratch / "find_dialog.sh";
  test_support::write_file(script, "while :; do\n"
                                   "  for w in $(xdotool search --onlyvisible --name '^" + title + "$'); do\n"
                                   "    [ \"$w\" != " + std::to_string(except) + " ] && echo $w > '" +
                                       id_file.string() + "' && exit 0\n"
                                   "  done\n"
                                   "  sleep 0.1\n"
                                   "done\n");
  if (!run_bounded("sh '" + script.string() + "'", seconds)) return false;
  std::string id = read_file(id_file);
  while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
  // The dialog draws its widgets after it maps: a moment before the key.
  return run_bounded("xdotool windowfocus --sync " + id + " sleep 0.5 key " + key, 10);
}

// The form's process group (the form and the dialogs it started), killed
// at the end whatever happened: the form may be gone with a dialog left.
struct KillGroupAtEnd {
  pid_t id;
  ~KillGroupAtEnd() {
    if (id > 0) kill(-id, SIGKILL);
  }
};

// vantyr-form on a form of `elements` with the real dialogs, in `dir`.
class ChooserForm {
 public:
  ChooserForm(const test_support::TempDir& dir, const std::string& elements, const std::string& data) {
    test_support::write_file(dir.path() / "form.frm",
                             "[General]\nWindow Title=" + title +
                                 "\nFontName=arial.ttf\nFontSize=14\nTickSize=14\nActive=1\n"
                                 "[Input-boxes]\n" + elements +
                                 "[Buttons]\n{Txt=OK; Type=OK; Pos=10,8; Size=60}\n");
    test_support::write_file(dir.path() / "form.dat", data);
    o.args = {std::string(std::getenv("VANTYR_BINARY_DIR")) + "/app/vantyr-form", "form.frm", "form.dat"};
    o.env = {"VANTYR_DIALOGS"};  // the real dialogs
    o.dir = dir.path();
    o.out = dir.path() / "out.txt";
    o.err = dir.path() / "err.txt";
  }
  // Starts it and waits for its window.
  void start() {
    ASSERT_TRUE(win.connected()) << "no X display";
    win.move_out();
    std::string why;
    ASSERT_TRUE(child.start(o, &why)) << why;
    group.id = child.pid();
    ASSERT_TRUE(win.find(title, 10, [&] { return child.running(); })) << read_file(o.err);
    ASSERT_TRUE(win.wait_settled(5));
  }

  const std::string title = "Vantyr chooser display";
  ChildOptions o;
  FormWindow win;
  Child child;
  KillGroupAtEnd group{-1};
};

TEST(ChooserDisplay, EscapeInTheRealFileChooserLeavesTheValueAndShowsTheError) {
  test_support::TempDir dir("vantyr-chooser");
  test_support::write_file(dir.path() / "Tasks" / "a.fpl", "");
  const std::string value = dir.program() + "\\Tasks\\a.fpl";
  ChooserForm form(dir, "{Name=in; Type=IFP; Pos=10,40; Size=12; Ext=*.fpl}\n", "in=" + value + "\n");
  ASSERT_NO_FATAL_FAILURE(form.start());
  FormWindow& win = form.win;
  Child& child = form.child;
  const KillGroupAtEnd& group = form.group;
  const std::string& title = form.title;
  const ChildOptions& o = form.o;

  // The first click selects the element, the second opens its chooser.
  ASSERT_TRUE(win.click(20, 47));
  ASSERT_TRUE(win.wait_settled(5));
  ASSERT_TRUE(win.click(20, 47));
  std::string zenity;
  ASSERT_TRUE(poll_until([&] { return !(zenity = zenity_of_group(group.id)).empty(); }, 10))
      << "no chooser started; the form wrote:\n" << read_file(o.err);
  EXPECT_NE(zenity.find("\n--file-selection\n"), std::string::npos) << zenity;
  EXPECT_NE(zenity.find("\n--title=" + title + "\n"), std::string::npos) << zenity;
  EXPECT_NE(zenity.find("\n--filename=" + (dir.path() / "Tasks" / "a.fpl").string() + "\n"), std::string::npos)
      << zenity;
  EXPECT_NE(zenity.find("\n--file-filter=*.fpl | *.[fF][pP][lL]\n"), std::string::npos) << zenity;

  ASSERT_TRUE(press_in(title, win.id(), "Escape", 20, dir.path())) << "the chooser did not show";
  // The cancel is followed by the form's error box, zenity's too.
  ASSERT_TRUE(poll_until([&] { return zenity_of_group(group.id).find("\n--error\n") != std::string::npos; }, 10))
      << "no error box after the cancel; the form " << (child.running() ? "runs" : "ended") << " and wrote:\n"
      << read_file(o.err);
  EXPECT_NE(zenity_of_group(group.id).find("\n--text=No file specification returned\n"), std::string::npos);
  ASSERT_TRUE(press_in("Error", win.id(), "Return", 20, dir.path())) << "the error box did not show";
  EXPECT_TRUE(poll_until([&] { return zenity_of_group(group.id).empty(); }, 10)) << "a dialog stayed open";

  ASSERT_TRUE(win.send_close());
  int code = -1;
  ASSERT_TRUE(child.wait(10, &code)) << read_file(o.err);
  EXPECT_EQ(code, 0);
  std::string out = read_file(o.out);
  EXPECT_NE(out.find("exit -999\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\tin\t7\t0\t0\t" + value + "\n"), std::string::npos) << out;
  // Nothing the form started outlives it.
  EXPECT_TRUE(poll_until([&] { return kill(-group.id, 0) != 0 && errno == ESRCH; }, 5));
}

// What the form copied stays on the clipboard for other programs while its
// chooser's process runs (the form's main loop waits for it meanwhile).
TEST(ChooserDisplay, TheFormsClipboardIsServedWhileTheChooserIsOpen) {
  test_support::TempDir dir("vantyr-chooser");
  ChooserForm form(dir,
                   "{Name=name; Type=CHR; Pos=10,70; Size=12}\n"
                   "{Name=fld; Type=FLD; Pos=10,40; Size=12}\n",
                   "name=glider\nfld=" + dir.program() + "\n");
  ASSERT_NO_FATAL_FAILURE(form.start());
  FormWindow& win = form.win;
  // The whole value selected (from its first cell to beyond its end), copied.
  ASSERT_TRUE(win.drag(1, 12, 77, 100, 77));
  ASSERT_TRUE(win.wait_settled(5));
  ASSERT_TRUE(run_bounded("xdotool key ctrl+c", 5));
  const fs::path pasted = dir.path() / "pasted.txt";
  ASSERT_TRUE(poll_until(
      [&] {
        return run_bounded("sh -c \"xclip -o -selection clipboard > '" + pasted.string() + "'\"", 3) &&
               read_file(pasted) == "glider";
      },
      10))
      << "the form's copy did not reach the clipboard: \"" << read_file(pasted) << "\"";

  ASSERT_TRUE(win.click(20, 47));
  ASSERT_TRUE(win.wait_settled(5));
  ASSERT_TRUE(win.click(20, 47));
  ASSERT_TRUE(poll_until([&] { return zenity_of_group(form.group.id).find("--directory") != std::string::npos; }, 10))
      << "no folder chooser started";
  fs::remove(pasted);
  EXPECT_TRUE(run_bounded("sh -c \"xclip -o -selection clipboard > '" + pasted.string() + "'\"", 5));
  EXPECT_EQ(read_file(pasted), "glider");

  ASSERT_TRUE(press_in(form.title, win.id(), "Escape", 20, dir.path())) << "the chooser did not show";
  ASSERT_TRUE(press_in("Error", win.id(), "Return", 20, dir.path())) << "the error box did not show";
  ASSERT_TRUE(poll_until([&] { return zenity_of_group(form.group.id).empty(); }, 10)) << "a dialog stayed open";
  ASSERT_TRUE(win.send_close());
  EXPECT_TRUE(form.child.wait(10));
}

}  // namespace
