// The definition checks' summary as the user gets it on Linux: an error box
// (zenity --error). A stand-in zenity on PATH records its arguments, since
// the console dialogs of the other tests do not show a box's kind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "forms/my_forms.h"
#include "tests/forms/form_files.h"

namespace {

class SummaryBox : public InTempFolder {};

TEST_F(SummaryBox, FaultsFoundByTheChecksAreShownAsAnError) {
  namespace fs = std::filesystem;
  std::string bin = (fs::current_path() / "bin").string();
  fs::create_directories(bin);
  write_file(bin + "/zenity", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"\n");
  fs::permissions(bin + "/zenity", fs::perms::owner_all);
  std::string path = std::getenv("PATH");
  std::string dialogs = std::getenv("VANTYR_DIALOGS") ? std::getenv("VANTYR_DIALOGS") : "";
  const char* display = std::getenv("DISPLAY");
  std::string old_display = display ? display : "";
  setenv("PATH", (bin + ":" + path).c_str(), 1);
  setenv("DISPLAY", ":77", 1);
  unsetenv("VANTYR_DIALOGS");

  write_file("bad.frm", "[Input-boxes]\n{Txt=a; Name=a; Type=CHR; Size=1; Pos=10,10}\n");
  int result = frm_read_form("bad.frm");

  setenv("PATH", path.c_str(), 1);
  display ? setenv("DISPLAY", old_display.c_str(), 1) : unsetenv("DISPLAY");
  setenv("VANTYR_DIALOGS", dialogs.c_str(), 1);
  EXPECT_EQ(result, 1);
  std::vector<std::string> args = lines(bin + "/args");
  ASSERT_FALSE(args.empty());
  EXPECT_EQ(args[0], "--error");
  EXPECT_NE(read_file(bin + "/args").find("bad.frm\n1 errors detected\nsee frm_forms.log"), std::string::npos)
      << read_file(bin + "/args");
}

}  // namespace
