// The towplane manager's whole job on a real X display: the program on a
// generated installation shows its form, the pointer ticks and unticks
// towplanes and presses the buttons, and the folders move (or stay) on disk.
// Each test runs twice: this build's vantyr on a Wine prefix of the test's
// own (Linux/...), and the Windows build's Vantyr.exe under Wine on an
// installation registered in the test run's real Wine prefix (Wine/...; its
// windows are X windows on the same display).
#include <random>
#include <thread>

#include "tests/app/app_fixture.h"
#include "tests/support/form_window_driver.h"

using namespace app_test;
using namespace display_test;

namespace {

enum class Build { Linux, Windows };

std::string env_or_empty(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

const Rgb kWhite = grey(1);
const Rgb kInactiveFill = grey(0.666);
const Rgb kInactiveLabel = grey(0.7);

bool dark(Rgb c) { return c.r < 90 && c.g < 90 && c.b < 90; }

// Condor 3 with three active towplanes, one hidden, and one whose name is
// too long to be found (the program keeps 32 of its 40 characters). The
// form lists them in descending order of their names:
//   1 WILGA (hidden), 2 PAWNEE, 3 HUSKY, 4 DR400, 5 the long one (missing).
class Interactive : public AppTest, public testing::WithParamInterface<Build> {
 protected:
  bool under_wine() const { return GetParam() == Build::Windows; }

  void SetUp() override {
    AppTest::SetUp();
    if (under_wine()) {
      windows_build_dir = env_or_empty("VANTYR_WINDOWS_BUILD_DIR");
      ASSERT_FALSE(windows_build_dir.empty()) << "VANTYR_WINDOWS_BUILD_DIR names no Windows build";
      // The run's shared prefix: its registry through `wine reg`, its own
      // drive Z: for the installation in the temporary folder.
      setup.prefix = env_or_empty("VANTYR_WINEPREFIX");
      if (setup.prefix.empty()) setup.prefix = env_or_empty("VANTYR_SOURCE_DIR") + "/build/wine-prefix";
      setup.real_wine = true;
      set_env("WINEPREFIX", setup.prefix);
    }
    SimVersion& v = install(3);
    if (under_wine()) {
      v.install_dir = program_path(tmp.path() / "Program Files" / "Condor3");
      v.pilot = "Pilot" + std::to_string(std::random_device{}());
    }
    v.towplanes = {"DR400", "PAWNEE", "HUSKY", kLongName};
    v.hidden_towplanes = {"WILGA"};
    v.gliders = {"ASK21"};
    setup_installation(v);
    make();
    if (under_wine()) pilot = fixture_host_path(setup, pilot_dir_of(setup, v));
    planes = install_dir_of(v) + "\\Planes\\";
    hidden = install_dir_of(v) + "\\Hidden_Planes\\";
    root = host(install_dir_of(v));
    before = tree_of(root);
  }
  // What a test changes in the installation before it is made.
  virtual void setup_installation(SimVersion&) {}

  void TearDown() override {
    child.kill();
    if (!pilot.empty()) {
      // The pilot's folder went into the shared prefix's documents.
      std::error_code ec;
      fs::remove_all(pilot, ec);
      fs::remove(fs::path(pilot).parent_path(), ec);  // Pilots, when nothing else is there
      fs::remove(fs::path(pilot).parent_path().parent_path(), ec);
    }
    AppTest::TearDown();  // the registry entries go too
  }

  // Starts the program on the installation and waits for its form. With
  // `native_dialogs` its boxes are the platform's own, not the console's.
  void start(bool native_dialogs = false) {
    ChildOptions o;
    if (under_wine()) {
      fs::path dir = tmp.path() / "Vantyr Program";
      fs::create_directories(dir);
      for (const char* f : {"Vantyr.exe", "Vantyr_form.frm"})
        fs::copy_file(fs::path(windows_build_dir) / "app" / f, dir / f, fs::copy_options::overwrite_existing);
      o.args = {env_or_empty("VANTYR_SOURCE_DIR") + "/scripts/wine-run.sh", (dir / "Vantyr.exe").string()};
    } else {
      o.args = {(program_dir() / program_file()).string()};
    }
    o.env = {"WINEPREFIX=" + setup.prefix, native_dialogs ? "VANTYR_DIALOGS" : "VANTYR_DIALOGS=console"};
    o.dir = run_dir();
    o.out = tmp.path() / "out.txt";
    o.err = tmp.path() / "err.txt";
    ASSERT_TRUE(win.connected()) << "no X display";
    win.move_out();
    std::string why;
    ASSERT_TRUE(child.start(o, &why)) << why;
    // A Wine program starts much slower.
    ASSERT_TRUE(win.find("Vantyr", under_wine() ? 60 : 20, [&] { return child.running(); }))
        << "no form window; the program wrote:\n" << read_file(o.out) << read_file(o.err);
    ASSERT_TRUE(win.wait_for([](const Pixels& p) { return near(p.at(0, p.height() - 1), grey(0.941), 2); }, 5))
        << "the form was never drawn";
    ASSERT_TRUE(win.wait_settled(5)) << "the form keeps changing";
  }

  // Waits for the program's end; its standard output.
  std::string finish() {
    int code = -1;
    EXPECT_TRUE(child.wait(20, &code)) << "the program did not end";
    EXPECT_EQ(code, 0);
    return without_cr(read_file(tmp.path() / "out.txt"));
  }

  // Tick box of towplane i (from 1) as the shipped form places it: 14
  // pixels square, 8 to a column from (20, 238) down in steps of 24.
  static int box_x(int i) { return 20 + (i - 1) / 8 * 260; }
  static int box_y(int i) { return 238 - (i - 1) % 8 * 24; }
  static bool ticked(const Pixels& p, int i) {
    return p.count(box_x(i) + 1, box_y(i) + 1, box_x(i) + 14, box_y(i) + 14, dark) > 5;
  }
  // The ticks of towplanes 1..n as a text of 1 and 0.
  static std::string ticks(const Pixels& p, int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += ticked(p, i) ? '1' : '0';
    return s;
  }
  bool shows_ticks(const std::string& want, Pixels* last = nullptr) {
    bool ok = win.wait_for([&](const Pixels& p) { return ticks(p, int(want.size())) == want; }, 3, last);
    if (!ok) ADD_FAILURE() << "ticks on screen " << ticks(win.grab(), int(want.size())) << ", wanted " << want;
    return ok;
  }
  void tick_box(int i) { ASSERT_TRUE(win.click(box_x(i) + 7, box_y(i) + 7)); }

  // Buttons of width 80, centred at a quarter and three quarters of the
  // window's width, at y 36 (Tick all, Untick all) and 10 (OK, Cancel).
  void button(int permille, int y) { ASSERT_TRUE(win.click(win.width() * permille / 1000, y + 7)); }
  void tick_all() { button(250, 36); }
  void untick_all() { button(750, 36); }
  void ok() { button(250, 10); }
  void cancel() { button(750, 10); }

  std::string planes, hidden;  // the program's names of the two folders
  std::string windows_build_dir;
  fs::path pilot;  // the pilot's folder in the shared prefix (Wine)
  fs::path root;
  std::vector<std::string> before;
  Child child;
  FormWindow win;
};

TEST_P(Interactive, TheUsersTicksMoveTheFoldersAndTheSummaryTellsWhere) {
  start();
  Pixels p;
  ASSERT_TRUE(shows_ticks("01110", &p));
  // The missing towplane is greyed, box and label; the others are not.
  for (int i = 1; i <= 4; ++i)
    EXPECT_TRUE(near(p.at(box_x(i) + 2, box_y(i) + 2), kWhite, 3)) << i << " " << describe(p.at(box_x(i) + 2, box_y(i) + 2));
  EXPECT_TRUE(near(p.at(box_x(5) + 2, box_y(5) + 2), kInactiveFill, 3)) << describe(p.at(box_x(5) + 2, box_y(5) + 2));
  auto label = [&](int i, const std::function<bool(Rgb)>& pred) {
    return p.count(box_x(i) + 16, box_y(i), box_x(i) + 250, box_y(i) + 16, pred);
  };
  EXPECT_GT(label(1, dark), 10);
  EXPECT_EQ(label(5, dark), 0);
  EXPECT_GT(label(5, [](Rgb c) { return near(c, kInactiveLabel, 4); }), 10);

  // A click on the greyed towplane changes nothing.
  tick_box(5);
  tick_box(2);  // PAWNEE off
  tick_box(1);  // WILGA on
  ASSERT_TRUE(shows_ticks("10110"));
  ok();
  std::string out = finish();

  // The boxes were those of the towplanes in this order; the missing one was
  // reported before the form came up.
  EXPECT_NE(out.find("npln 5\n1 WILGA\n2 PAWNEE\n3 HUSKY\n4 DR400\n5 " + kLong32 + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Vantyr\nMissing towplanes:\n" + kLong32 + "\n"), std::string::npos) << out;
  EXPECT_TRUE(fs::is_directory(host(hidden + "PAWNEE")));
  EXPECT_FALSE(fs::exists(host(planes + "PAWNEE")));
  EXPECT_TRUE(fs::is_directory(host(planes + "WILGA")));
  EXPECT_FALSE(fs::exists(host(hidden + "WILGA")));
  for (const char* stays : {"DR400", "HUSKY", "ASK21"}) EXPECT_TRUE(fs::is_directory(host(planes + stays))) << stays;
  EXPECT_NE(out.find("Vantyr\n PAWNEE: DEACTIVATED\n  moved to: " + hidden + "\n\n WILGA: ACTIVATED\n  moved to: " +
                     planes + "\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("Not moved"), std::string::npos) << out;
}

TEST_P(Interactive, TickAllAndUntickAllSetEveryBoxAndTickAllActivatesTheHiddenOnes) {
  start();
  ASSERT_TRUE(shows_ticks("01110"));
  untick_all();
  ASSERT_TRUE(shows_ticks("00000"));
  // The greyed one is ticked too; it is not moved, as it was not found.
  tick_all();
  ASSERT_TRUE(shows_ticks("11111"));
  ok();
  std::string out = finish();
  EXPECT_TRUE(fs::is_directory(host(planes + "WILGA")));
  for (const char* stays : {"DR400", "HUSKY", "PAWNEE"}) EXPECT_TRUE(fs::is_directory(host(planes + stays))) << stays;
  EXPECT_NE(out.find("Vantyr\n WILGA: ACTIVATED\n  moved to: " + planes + "\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("DEACTIVATED"), std::string::npos) << out;
  EXPECT_EQ(out.find("Not moved"), std::string::npos) << out;
}

TEST_P(Interactive, CancelAndClosingTheWindowMoveNothing) {
  for (bool close : {false, true}) {
    SCOPED_TRACE(close ? "window closed" : "Cancel");
    start();
    tick_box(2);
    tick_box(1);
    untick_all();
    ASSERT_TRUE(shows_ticks("00000"));
    if (close) ASSERT_TRUE(win.send_close());
    else cancel();
    std::string out = finish();
    EXPECT_NE(out.find(close ? "frm_do_form : -999\n" : "frm_do_form : -1\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("ACTIVATED"), std::string::npos) << out;
    EXPECT_EQ(tree_of(root), before);
  }
}

// The Windows build's own boxes: the summary is the system's message box,
// which the user answers before the program ends. No towplane is missing
// here, so no box comes before the form.
class NativeBoxes : public Interactive {
 protected:
  void setup_installation(SimVersion& v) override { v.towplanes = {"DR400", "PAWNEE", "HUSKY"}; }
};

TEST_P(NativeBoxes, TheSummaryIsASystemBoxThatWaitsForItsAnswer) {
  start(true);
  ASSERT_TRUE(shows_ticks("0111"));
  tick_box(1);  // WILGA on
  ASSERT_TRUE(shows_ticks("1111"));
  ok();
  // The form goes and a box of the same title comes.
  ASSERT_TRUE(poll_until([&] { return !win.viewable(); }, 10)) << "the form stayed on screen";
  FormWindow box;
  ASSERT_TRUE(box.find("Vantyr", 20, [&] { return child.running(); }))
      << "no summary box; the program wrote:\n" << read_file(tmp.path() / "out.txt");
  EXPECT_TRUE(fs::is_directory(host(planes + "WILGA")));
  EXPECT_FALSE(fs::exists(host(hidden + "WILGA")));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(child.running()) << "the program ended with its box unanswered";
  if (const char* shots = std::getenv("VANTYR_SHOTS")) box.save_png(fs::path(shots) / "wine-summary.png");
  // The pointer over the box gives it the keyboard; Enter presses its OK.
  ASSERT_TRUE(box.move(box.width() / 2, box.height() / 2));
  ASSERT_TRUE(box.key("Return"));
  std::string out = finish();
  // The summary went to the box: no console box (its title, then its text).
  EXPECT_NE(out.find(" WILGA: ACTIVATED\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("Vantyr\n WILGA: ACTIVATED"), std::string::npos) << out;
  for (const char* stays : {"DR400", "HUSKY", "PAWNEE"}) EXPECT_TRUE(fs::is_directory(host(planes + stays))) << stays;
}

INSTANTIATE_TEST_SUITE_P(Linux, Interactive, testing::Values(Build::Linux));
INSTANTIATE_TEST_SUITE_P(Wine, Interactive, testing::Values(Build::Windows));
INSTANTIATE_TEST_SUITE_P(Wine, NativeBoxes, testing::Values(Build::Windows));

}  // namespace
