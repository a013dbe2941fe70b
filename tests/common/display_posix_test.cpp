// The real message box on Linux: zenity on the X display, driven by xdotool
// as a user would press its keys. Needs a display (Xvfb in the test run).
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "common/dialogs.h"

extern char** environ;

namespace {

// Presses `keys` in the window titled `title` once it shows; runs beside the
// blocking box.
pid_t press_keys_in(const std::string& title, const std::string& keys) {
  std::string script = "w=$(timeout 20 xdotool search --sync --onlyvisible --name '^" + title +
                       "$' | head -n 1) && xdotool windowfocus --sync \"$w\" && sleep 0.3 && xdotool key " + keys;
  const char* argv[] = {"sh", "-c", script.c_str(), nullptr};
  pid_t pid = -1;
  posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char**>(argv), environ);
  return pid;
}

class ZenityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display";
    const char* dialogs = std::getenv("VANTYR_DIALOGS");
    if (dialogs != nullptr) saved_ = dialogs;
    unsetenv("VANTYR_DIALOGS");
  }
  void TearDown() override {
    if (saved_) setenv("VANTYR_DIALOGS", saved_->c_str(), 1);
  }
  std::optional<std::string> saved_;
};

TEST_F(ZenityTest, AnswersAreTheCallersCodes) {
  struct Case {
    const char* type;
    int default_button;
    const char* keys;
    int answer;
  };
  const Case cases[] = {
      {"yesnocancel", 1, "Return", 1},
      {"yesnocancel", 1, "Escape", 0},  // closing the box is Cancel, not No
      // In zenity's question box the focus goes from Yes to Cancel, then No.
      {"yesnocancel", 1, "shift+Tab shift+Tab Return", 2},
      {"yesno", 1, "Escape", 0},
      {"yesno", 0, "Return", 0},  // No is the default
      {"okcancel", 1, "Return", 1},
      {"ok", 1, "Return", 1},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string title = "Vantyr question " + std::to_string(++n);
    pid_t driver = press_keys_in(title, c.keys);
    ASSERT_GT(driver, 0);
    int answer = tinyfd_messageBox(title.c_str(), "Move the towplanes?\nH\xE9l\xE8ne <b>not bold</b>", c.type,
                                   "question", c.default_button);
    int status = 0;
    waitpid(driver, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the keys did not reach box " << title;
    EXPECT_EQ(answer, c.answer) << c.type << " " << c.keys;
  }
}

}  // namespace
