// The form window on a real X display: vantyr-form shows forms written
// here, the pointer works them as a user would, and the results come from
// the tool's output and from the window's pixels. With VANTYR_WINE_TOOL
// naming the Windows build's vantyr-form.exe, the same tests drive that one
// under Wine (its window is an X window there too).
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "tests/support/form_window_driver.h"
#include "tests/support/temp_tree.h"

namespace {

using namespace display_test;
using test_support::TempDir;
using test_support::write_file;

// ---- colours as the window draws them ----
const Rgb kBackground = grey(0.941);
const Rgb kWhite = grey(1);
const Rgb kInactiveFill = grey(0.666);
const Rgb kCurrentFill = rgb(0.88, 0.94, 1);
const Rgb kInvalid = rgb(1, 0.5, 0.5);  // half red over white
const Rgb kRadioDot = grey(0.2);
const Rgb kHighlight = rgb(0.66, 0.83, 1);
const Rgb kBevelDark = grey(0.412);
const Rgb kListOutline = grey(0.85);
const Rgb kScrollTrack = grey(0.813);
const Rgb kThumb = grey(0.66);

bool dark(Rgb c) { return c.r < 90 && c.g < 90 && c.b < 90; }
bool light(Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; }
bool blue_text(Rgb c) { return c.b > 150 && c.r < 110 && c.g < 110; }
auto like(Rgb want, int tolerance = 8) {
  return [=](Rgb c) { return near(c, want, tolerance); };
}

// A rectangle in form coordinates (x2, y2 excluded).
struct Box {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int cx() const { return (x1 + x2) / 2; }
  int cy() const { return (y1 + y2) / 2; }
};

// Pixels inside a box, its frame left out.
int inside(const Pixels& p, const Box& b, const std::function<bool(Rgb)>& pred) {
  return p.count(b.x1 + 1, b.y1 + 1, b.x2, b.y2, pred);
}

// The input font's cell width and the margin, as the window lays out with them.
struct Metrics {
  int dxi = 0, yoff = 0;
};

struct Value {
  int type = 0, iv = 0;
  double rv = 0;
  std::string text;
};

// What vantyr-form printed at its end.
struct Result {
  bool ended = false;
  int code = -1;
  int exit = INT_MIN;
  std::map<std::string, Value> values;
  std::string err;
  Value at(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? Value{-1, INT_MIN, 0, "(missing)"} : it->second;
  }
  int count(const std::string& line) const {
    int n = 0;
    for (std::size_t at = err.find(line); at != std::string::npos; at = err.find(line, at + 1)) ++n;
    return n;
  }
};

Result parse(const std::string& out) {
  Result r;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // the Windows build's line ends
    if (line.rfind("exit ", 0) == 0) {
      r.exit = std::atoi(line.c_str() + 5);
      continue;
    }
    std::vector<std::string> f;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
      f.push_back(line.substr(from, tab - from));
    f.push_back(line.substr(from));
    if (f.size() == 6) r.values[f[1]] = Value{std::atoi(f[2].c_str()), std::atoi(f[3].c_str()), std::atof(f[4].c_str()), f[5]};
  }
  return r;
}

// The general section of every form here: the window's title, the fonts
// at 14 pixels, tick boxes of 14.
std::string general(const std::string& title, int active) {
  return "[General]\nWindow Title=" + title + "\nFontName=arial.ttf\nFontSize=14\nTickSize=14\nActive=" +
         std::to_string(active) + "\n";
}

// The command that starts the tool on a form: this build's vantyr-form, or
// vantyr-form.exe through the project's Wine wrapper.
std::vector<std::string> tool(const std::vector<std::string>& args) {
  std::vector<std::string> cmd;
  if (const char* exe = std::getenv("VANTYR_WINE_TOOL"))
    cmd = {std::string(std::getenv("VANTYR_SOURCE_DIR")) + "/scripts/wine-run.sh", exe};
  else
    cmd = {std::string(std::getenv("VANTYR_BINARY_DIR")) + "/app/vantyr-form"};
  cmd.insert(cmd.end(), args.begin(), args.end());
  return cmd;
}

// How long a window may take to show: a Wine program starts much slower.
double patience() { return std::getenv("VANTYR_WINE_TOOL") ? 40 : 10; }

class FormDisplay : public ::testing::Test {
 protected:
  // Shows `form` (with the values of `data`) and waits until the window is drawn.
  void show(const std::string& form, const std::string& data = "") {
    title = "Vantyr display " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
    write_file(dir.path() / "form.frm", general(title, active) + form);
    ChildOptions o;
    o.args = tool({"form.frm"});
    if (!data.empty()) {
      write_file(dir.path() / "form.dat", data);
      o.args.push_back("form.dat");
    }
    o.dir = dir.path();
    o.out = dir.path() / "out.txt";
    o.err = dir.path() / "err.txt";
    ASSERT_TRUE(win.connected()) << "no X display";
    win.move_out();
    std::string why;
    ASSERT_TRUE(child.start(o, &why)) << why;
    ASSERT_TRUE(win.find(title, patience(), [&] { return child.running(); }))
        << "no window \"" << title << "\"; the tool wrote:\n" << read_file(o.err);
    // The top-left corner is margin in every form: background once drawn.
    ASSERT_TRUE(win.wait_for([](const Pixels& p) { return near(p.at(0, p.height() - 1), kBackground, 2); }, 5,
                             &first_frame))
        << "the window was never drawn";
    ASSERT_TRUE(win.wait_settled(5)) << "the window keeps changing";
  }

  // Waits for the tool's end and reads what it printed.
  Result finish(double seconds = 10) {
    Result r;
    r.ended = child.wait(seconds, &r.code);
    Result p = parse(read_file(dir.path() / "out.txt"));
    r.exit = p.exit;
    r.values = p.values;
    r.err = read_file(dir.path() / "err.txt");
    return r;
  }

  // Metrics of the forms window with these fonts, measured once from the
  // size of a window holding one unlabelled box of 20 cells at (0, 0):
  // 20·DxI + 2·Yoffset wide plus the DxI/2 kept before a label, and
  // Yoffset + 14 high. (Windows makes a captioned window no narrower than
  // about 110 pixels: a box of 10 cells would not tell.)
  static Metrics metrics() {
    static Metrics m = [] {
      Metrics r;
      TempDir d;
      std::string t = "Vantyr display gauge";
      write_file(d.path() / "gauge.frm", general(t, 1) + "[Input-boxes]\n{Name=g; Type=CHR; Pos=0,0; Size=20}\n");
      Child c;
      ChildOptions o;
      o.args = tool({"gauge.frm"});
      o.dir = d.path();
      o.out = d.path() / "out.txt";
      o.err = d.path() / "err.txt";
      FormWindow w;
      if (!c.start(o) || !w.find(t, patience(), [&] { return c.running(); })) {
        ADD_FAILURE() << "the gauge form did not show: " << read_file(o.err);
        return r;
      }
      r.yoff = w.height() - 14;
      for (int dxi = 1; dxi < 40; ++dxi)
        if (20 * dxi + dxi / 2 + 2 * r.yoff == w.width()) r.dxi = dxi;
      w.send_close();
      c.wait(10);
      if (r.dxi == 0 || r.yoff < 0) ADD_FAILURE() << "gauge window " << w.width() << "x" << w.height();
      return r;
    }();
    return m;
  }

  // The box of a value field of `size` cells at (x, y), and of a tick box.
  static Box field(int x, int y, int size) {
    Metrics m = metrics();
    return {x, y, x + m.dxi * size + 2 * m.yoff, y + m.yoff + 14};
  }
  static Box tick(int x, int y) { return {x, y, x + 14, y + 14}; }
  // A button of width 80 centred at `permille` of the window's width.
  Box button(int permille, int y) const {
    int x1 = win.width() * permille / 1000 - 40;
    return {x1, y, x1 + 80, y + metrics().yoff + 14};
  }

  // Waits until the window shows what `cond` looks for. When it does not,
  // the window is kept as a PNG beside the tests for a look at it.
  // A program that has ended shows nothing more: no waiting for it.
  bool until(const std::function<bool(const Pixels&)>& cond, Pixels* last = nullptr) {
    bool ended = false;
    if (win.wait_for([&](const Pixels& p) { return cond(p) || (ended = !child.running()); }, 3, last) && !ended)
      return true;
    if (ended || !child.running() || !win.viewable()) {
      ADD_FAILURE() << "the form ended";
      return false;
    }
    fs::path shots = fs::path(std::getenv("VANTYR_BINARY_DIR")) / "display-failures";
    fs::create_directories(shots);
    fs::path png = shots / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                            std::to_string(++failed_waits) + ".png");
    win.save_png(png);
    ADD_FAILURE() << "the window did not show it; see " << png.string();
    return false;
  }

  // Whether a button is drawn pressed: its left edges dark instead of light.
  static bool pressed(const Pixels& p, const Box& b) {
    return p.count(b.x1 - 2, b.y1 + 2, b.x1 + 1, b.y2 - 1, like(kBevelDark, 20)) > 0;
  }

  int active = 1;
  int failed_waits = 0;
  Pixels first_frame;  // the first frame seen with the form drawn
  std::string title;
  TempDir dir{"vantyr-display"};
  Child child;
  FormWindow win;
};

TEST_F(FormDisplay, ClosingTheWindowEndsTheFormWithMinus999AndAnActiveFormHasACloseControl) {
  show("[Input-boxes]\n{Txt=Name; Name=name; Type=CHR; Pos=10,40; Size=8}\n"
       "[Buttons]\n{Txt=OK; Type=OK; Pos=C50%,10; Size=80}\n",
       "name=kept\n");
  std::vector<unsigned long> hints = win.motif_hints();
  ASSERT_EQ(hints.size(), 5u);
  const unsigned long func_close = 32, decor_menu = 16;
  EXPECT_NE(hints[1] & func_close, 0u);
  EXPECT_NE(hints[2] & decor_menu, 0u);
  ASSERT_TRUE(win.send_close());
  Result r = finish();
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.exit, -999);
  EXPECT_EQ(r.at("name").text, "kept");
}

// The window shows the finished form from its first frame on: no frame is
// drawn before the window's OpenGL state is set (texts then come out as
// black blocks: their glyphs are copied unblended).
TEST_F(FormDisplay, TheFirstFrameShownIsTheFinishedForm) {
  show("[Input-boxes]\n{Txt=Label; Name=name; Type=CHR; Pos=10,40; Size=8}\n"
       "[Text]\n{Title=A title; Pos=10,-15}\n"
       "[Buttons]\n{Txt=OK; Type=OK; Pos=C50%,10; Size=80}\n",
       "name=value\n");
  Pixels settled = win.grab();
  EXPECT_EQ(first_frame.differences(settled), 0)
      << "dark pixels in the first frame " << first_frame.count(0, 0, first_frame.width(), first_frame.height(), dark)
      << ", afterwards " << settled.count(0, 0, settled.width(), settled.height(), dark);
  ASSERT_TRUE(win.send_close());
  EXPECT_TRUE(finish().ended);
}

// Ticks, colour boxes, the red mark of rejected values and their messages,
// and Cancel, in one run.
TEST_F(FormDisplay, OkWithInvalidValuesMarksThemAndKeepsTheFormOpenAndCancelReturnsTheOldValues) {
  const Box tck = tick(10, 190), later = tick(100, 190);
  const Box ratio = field(10, 160, 6), in = field(10, 130, 12), note = field(10, 100, 8), big = field(10, 70, 12);
  const Box dark_col = field(220, 160, 8), light_col = field(220, 130, 8);
  show("[Input-boxes]\n"
       "{Txt=Tick; Name=tick; Type=TCK; Pos=10,190}\n"
       "{Txt=Later; Name=later; Type=TCK; Pos=100,190}\n"
       "{Txt=Ratio; Name=ratio; Type=FLT; Pos=10,160; Size=6; Min=0; Max=100}\n"
       "{Txt=Input; Name=in; Type=IFP; Pos=10,130; Size=12}\n"
       "{Txt=Note; Name=note; Type=CHR; Pos=10,100; Size=8}\n"
       "{Txt=Big; Name=big; Type=INT; Pos=10,70; Size=12}\n"
       "{Txt=Dark; Name=dark; Type=COL; Pos=220,160; Size=8}\n"
       "{Txt=Light; Name=light; Type=COL; Pos=220,130; Size=8}\n"
       "[Buttons]\n"
       "{Txt=OK; Type=OK; Pos=C25%,10; Size=80}\n"
       "{Txt=Cancel; Type=CANCEL; Pos=C75%,10; Size=80}\n",
       "tick=0\nlater=1\nratio=150\nin=missing.trn\nnote=fine\nbig=2000000000\ndark=#101010\nlight=#808080\n");
  Pixels p = win.grab();
  EXPECT_EQ(inside(p, tck, dark), 0);
  EXPECT_GT(inside(p, later, dark), 5);
  EXPECT_EQ(p.count(0, 0, p.width(), p.height(), like(kInvalid)), 0) << "nothing is checked before OK";
  // White text on the dark colour, black on the light one.
  EXPECT_TRUE(near(p.at(dark_col.x2 - 3, dark_col.y1 + 2), rgb(16 / 255.0, 16 / 255.0, 16 / 255.0), 3))
      << describe(p.at(dark_col.x2 - 3, dark_col.y1 + 2));
  EXPECT_GT(inside(p, dark_col, light), 10);
  EXPECT_GT(inside(p, light_col, dark), 10);
  EXPECT_EQ(inside(p, light_col, light), 0);

  ASSERT_TRUE(win.click(tck.cx(), tck.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return inside(q, tck, dark) > 5; })) << "no tick drawn";

  // OK: the rejected values are marked (a real above its maximum, a missing
  // input file, an integer beyond the thousand million every integer box is
  // held to), the others are not; the form stays.
  const Box ok = button(250, 10), cancel = button(750, 10);
  ASSERT_TRUE(win.click(ok.cx(), ok.cy()));
  auto marked = [&](const Pixels& q, const Box& b) { return inside(q, b, like(kInvalid)) > 20; };
  EXPECT_TRUE(until([&](const Pixels& q) { return marked(q, ratio) && marked(q, in) && marked(q, big); }, &p));
  EXPECT_FALSE(marked(p, note));
  EXPECT_FALSE(marked(p, dark_col) || marked(p, light_col));
  EXPECT_TRUE(child.running() && win.viewable()) << "OK with rejected values ended the form";

  // A right press on a rejected value shows its message, in blue on white,
  // where the pointer is; the release hides it.
  auto message_at = [&](const Pixels& q, int y) { return q.count(0, y - 4, q.width(), y + 20, blue_text); };
  ASSERT_TRUE(win.press(3, ratio.x1 + 20, ratio.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return message_at(q, ratio.cy()) > 20; })) << "no message";
  ASSERT_TRUE(win.release(3, ratio.x1 + 20, ratio.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return message_at(q, ratio.cy()) == 0; }))
      << "the message stayed";

  // A change after the failed OK, then Cancel: the form's values are those
  // it had, not the window's.
  ASSERT_TRUE(win.click(later.cx(), later.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return inside(q, later, dark) == 0; }));
  ASSERT_TRUE(win.click(cancel.cx(), cancel.cy()));
  Result r = finish();
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exit, -1);
  EXPECT_EQ(r.at("later").iv, 1);
  EXPECT_EQ(r.at("ratio").rv, 150);
  EXPECT_EQ(r.at("big").iv, 2000000000);
  EXPECT_EQ(r.at("in").text, "missing.trn");
  EXPECT_EQ(r.at("dark").iv, 0x101010);
  EXPECT_EQ(r.count("DEFAULT CALLBACK : BUTTON"), 0) << "no button passed its checks";
}

// Buttons that keep the form open, press and release apart, radio groups,
// dependencies, inactive elements and spin arrows, in one run of a form
// without a close control.
TEST_F(FormDisplay, ButtonsRadioGroupsDependenciesAndSpinArrows) {
  active = 0;
  const Box count = field(10, 190, 4), level = field(150, 190, 4);
  const Box r1 = tick(10, 160), r2 = tick(80, 160), r3 = tick(150, 160), master = tick(10, 130);
  const Box with = field(10, 100, 6), without = field(150, 100, 6), plain = field(10, 70, 6);
  show("[Input-boxes]\n"
       "{Txt=Count; Name=count; Type=INT; Pos=10,190; Size=4; Arr=1}\n"
       "{Txt=Level; Name=level; Type=FLT; Pos=150,190; Size=4; Arr=1; Min=0; Max=10}\n"
       "{Txt=One; Name=r1; Type=TCK; Pos=10,160}\n"
       "{Txt=Two; Name=r2; Type=TCK; Pos=80,160}\n"
       "{Txt=Three; Name=r3; Type=TCK; Pos=150,160}\n"
       "{Txt=Master; Name=master; Type=TCK; Pos=10,130}\n"
       "{Txt=With; Name=with; Type=CHR; Pos=10,100; Size=6; Dep=master}\n"
       "{Txt=Without; Name=without; Type=CHR; Pos=150,100; Size=6; Dep=-master}\n"
       "{Txt=Plain; Name=plain; Type=CHR; Pos=10,70; Size=6}\n"
       "[Radio-buttons]\n{Set=r1,r2,r3}\n"
       "[Buttons]\n"
       "{Txt=OK; Type=OK; Pos=C25%,10; Size=80}\n"
       "{Txt=Apply; Type=500; Pos=C75%,10; Size=80}\n",
       "count=8\nlevel=9\nr1=1\nr2=0\nr3=0\nmaster=0\nplain=abc\n");
  std::vector<unsigned long> hints = win.motif_hints();
  ASSERT_EQ(hints.size(), 5u);
  const unsigned long func_close = 32, decor_menu = 16;
  EXPECT_EQ(hints[1] & func_close, 0u) << "Active=0: no close function";
  EXPECT_EQ(hints[2] & decor_menu, 0u) << "Active=0: no window menu";

  // Dependencies: "with" follows the master tick, "without" the reverse.
  auto fill = [](const Pixels& q, const Box& b) { return q.at(b.x2 - 3, b.y1 + 2); };
  Pixels p = win.grab();
  EXPECT_TRUE(near(fill(p, with), kInactiveFill, 3)) << describe(fill(p, with));
  EXPECT_TRUE(near(fill(p, without), kWhite, 3)) << describe(fill(p, without));
  ASSERT_TRUE(win.click(master.cx(), master.cy()));
  EXPECT_TRUE(until(
      [&](const Pixels& q) { return near(fill(q, with), kWhite, 3) && near(fill(q, without), kInactiveFill, 3); }))
      << "dependencies not applied after the tick";

  // A click makes an element current; a click on an inactive one leaves none current.
  ASSERT_TRUE(win.click(plain.x1 + 5, plain.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return near(fill(q, plain), kCurrentFill, 3); }));
  ASSERT_TRUE(win.click(without.x1 + 5, without.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return near(fill(q, plain), kWhite, 3); }, &p));
  EXPECT_TRUE(near(fill(p, without), kInactiveFill, 3)) << describe(fill(p, without));

  // Radio group: the second member set clears the first; set again, it stays set.
  auto dot = [](const Pixels& q, const Box& b) { return near(q.at(b.cx() + 2, b.cy() + 2), kRadioDot, 30); };
  EXPECT_TRUE(dot(p, r1) && !dot(p, r2));
  ASSERT_TRUE(win.click(r2.cx(), r2.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return dot(q, r2) && !dot(q, r1) && !dot(q, r3); }));
  ASSERT_TRUE(win.click(r2.cx(), r2.cy()));

  // Spin arrows right of the box: one step per click, drawn pressed while
  // held. The integer steps by 1: 8 up, up, down gives 9. The real steps by
  // 0.5 near 9 and stops at its maximum: 9 up three times gives 10, down 9.5.
  const Metrics m = metrics();
  struct Arrows {
    int x, up, down;
  };
  auto arrows = [&](const Box& b) {
    const int mid = (b.y1 + b.y2) / 2;
    return Arrows{b.x2 + m.dxi, (mid + 1 + b.y2 - 1) / 2, (b.y1 + 1 + mid) / 2};
  };
  const Arrows ca = arrows(count), la = arrows(level);
  auto arrow_pressed = [&](const Pixels& q, int y) { return q.count(ca.x - 3, y - 2, ca.x + 3, y + 2, like(kHighlight)) > 0; };
  ASSERT_TRUE(win.press(1, ca.x, ca.up));
  EXPECT_TRUE(until([&](const Pixels& q) { return arrow_pressed(q, ca.up); })) << "up arrow not pressed";
  ASSERT_TRUE(win.release(1, ca.x, ca.up));
  EXPECT_TRUE(until([&](const Pixels& q) { return !arrow_pressed(q, ca.up); }));
  ASSERT_TRUE(win.click(ca.x, ca.up));
  ASSERT_TRUE(win.click(ca.x, ca.down));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(win.click(la.x, la.up));
  ASSERT_TRUE(win.click(la.x, la.down));

  // A type-500 button runs the application and keeps the form open. Pressed
  // on it and released elsewhere it does nothing; pressed elsewhere and
  // released on it, it runs.
  const Box ok = button(250, 10), apply = button(750, 10);
  ASSERT_TRUE(win.click(apply.cx(), apply.cy()));
  ASSERT_TRUE(win.press(1, apply.cx(), apply.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return pressed(q, apply); })) << "held button not drawn pressed";
  ASSERT_TRUE(win.release(1, apply.x2 + 30, apply.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return !pressed(q, apply); }));
  ASSERT_TRUE(win.press(1, apply.x2 + 30, apply.cy()));
  ASSERT_TRUE(win.release(1, apply.cx(), apply.cy()));
  EXPECT_TRUE(child.running() && win.viewable()) << "a type-500 button ended the form";

  ASSERT_TRUE(win.click(ok.cx(), ok.cy()));
  Result r = finish();
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.count("DEFAULT CALLBACK : BUTTON 2 500\n"), 2) << r.err;
  EXPECT_EQ(r.count("DEFAULT CALLBACK : BUTTON 1 1\n"), 1) << r.err;
  EXPECT_EQ(r.at("count").iv, 9);
  EXPECT_EQ(r.at("level").rv, 9.5);
  EXPECT_EQ(r.at("r1").iv, 0);
  EXPECT_EQ(r.at("r2").iv, 1);
  EXPECT_EQ(r.at("r3").iv, 0);
  EXPECT_EQ(r.at("master").iv, 1);
  EXPECT_EQ(r.at("plain").text, "abc");
}

// Entries "1" to "n" of a drop-down list.
std::string entries(int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += "," + std::to_string(i);
  return s;
}

// Drop-down lists: pushed up from the window's bottom, with and without a
// scroll bar, the wheel stopping at both ends.
TEST_F(FormDisplay, DropDownListsScrollAndStayInTheWindow) {
  const Box low = field(10, 20, 6), eleven = field(10, 200, 6), ten = field(110, 200, 6);
  const Box to_end = field(210, 200, 6), to_start = field(310, 200, 6);
  show("[Input-boxes]\n"
       "{Txt=Low" + entries(25) + "; Name=low; Type=DDL; Pos=10,20; Size=6}\n"
       "{Txt=A" + entries(11) + "; Name=eleven; Type=DDL; Pos=10,200; Size=6}\n"
       "{Txt=B" + entries(10) + "; Name=ten; Type=DDL; Pos=110,200; Size=6}\n"
       "{Txt=C" + entries(30) + "; Name=end; Type=DDL; Pos=210,200; Size=6}\n"
       "{Txt=D" + entries(30) + "; Name=start; Type=DDL; Pos=310,200; Size=6}\n"
       "[Buttons]\n{Txt=OK; Type=OK; Pos=450,20; Size=80}\n",
       "low=1\neleven=1\nten=1\nend=1\nstart=1\n");
  const Metrics m = metrics();
  const int rh = m.yoff + 14, bar = 2 * m.dxi;
  // A list hangs below its element: n rows (10 at most) down from its bottom.
  auto list_drawn = [&](const Pixels& q, const Box& e, int top) {
    return near(q.at(e.x1 + 3, top - rh / 2), kWhite, 2) && near(q.at(e.x1 + 3, top - 9 * rh - rh / 2), kWhite, 2);
  };
  auto bar_pixels = [&](const Pixels& q, const Box& e, int top, int bottom) {
    return q.count(e.x2 - bar + 1, bottom + 1, e.x2 - 1, top - 1,
                   [](Rgb c) { return near(c, kScrollTrack, 6) || near(c, kThumb, 6); });
  };
  auto shut = [&] { ASSERT_TRUE(win.click(win.width() - 5, 5)); };

  // 25 entries from near the bottom: pushed up, its bottom at 12.
  const int low_top = 10 * rh + 12;
  Pixels p;
  ASSERT_TRUE(win.click(low.x1 + 5, low.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return list_drawn(q, low, low_top); }, &p)) << "no list";
  // Filled from y 12 up, its outline on the edge below; its top at 10 rows above.
  const int lx = low.x1 + 3;
  EXPECT_TRUE(near(p.at(lx, 12), kWhite, 2)) << describe(p.at(lx, 12));
  EXPECT_TRUE(near(p.at(lx, 11), kListOutline, 3)) << describe(p.at(lx, 11));
  EXPECT_TRUE(near(p.at(lx, 10), kBackground, 2)) << describe(p.at(lx, 10));
  EXPECT_FALSE(near(p.at(lx, low_top - 1), kBackground, 2)) << describe(p.at(lx, low_top - 1));
  EXPECT_TRUE(near(p.at(lx, low_top), kBackground, 2)) << describe(p.at(lx, low_top));
  EXPECT_GT(bar_pixels(p, low, low_top, 12), 20) << "25 entries scroll";
  shut();
  EXPECT_TRUE(until([&](const Pixels& q) { return near(q.at(low.x1 + 3, 100), kBackground, 2); }))
      << "a click outside did not close the list";

  const int top = 200, bottom = 200 - 10 * rh;
  ASSERT_TRUE(win.click(eleven.x1 + 5, eleven.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return list_drawn(q, eleven, top); }, &p));
  EXPECT_GT(bar_pixels(p, eleven, top, bottom), 20) << "11 entries scroll";
  shut();
  ASSERT_TRUE(win.click(ten.x1 + 5, ten.cy()));
  EXPECT_TRUE(until([&](const Pixels& q) { return list_drawn(q, ten, top) && !list_drawn(q, eleven, top); }, &p));
  EXPECT_EQ(bar_pixels(p, ten, top, bottom), 0) << "10 entries do not scroll";
  shut();

  // The wheel towards the user scrolls to the end and no further: after 25
  // notches the first row shows entry 21 of 30.
  ASSERT_TRUE(win.click(to_end.x1 + 5, to_end.cy()));
  ASSERT_TRUE(until([&](const Pixels& q) { return list_drawn(q, to_end, top); }));
  ASSERT_TRUE(win.wheel(-25, to_end.x1 + 10, top - 3 * rh));
  // The thumb reaches the bottom of its track.
  EXPECT_TRUE(until([&](const Pixels& q) { return near(q.at(to_end.x2 - m.dxi, bottom + bar + 2), kThumb, 6); }));
  ASSERT_TRUE(win.click(to_end.x1 + 10, top - rh / 2));
  // Away from the user it stops at the start: 3 notches up, 2 down, the first row shows entry 3.
  ASSERT_TRUE(win.click(to_start.x1 + 5, to_start.cy()));
  ASSERT_TRUE(until([&](const Pixels& q) { return list_drawn(q, to_start, top); }));
  ASSERT_TRUE(win.wheel(3, to_start.x1 + 10, top - 3 * rh));
  ASSERT_TRUE(win.wheel(-2, to_start.x1 + 10, top - 3 * rh));
  ASSERT_TRUE(win.click(to_start.x1 + 10, top - rh / 2));

  ASSERT_TRUE(until([&](const Pixels& q) { return !list_drawn(q, to_start, top); }));
  ASSERT_TRUE(win.click(485, 28));
  Result r = finish();
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.at("end").iv, 21);
  EXPECT_EQ(r.at("end").text, "21");
  EXPECT_EQ(r.at("start").iv, 3);
  EXPECT_EQ(r.at("start").text, "3");
  EXPECT_EQ(r.at("low").iv, 1);
  EXPECT_EQ(r.at("ten").iv, 1);
}

// ---- keys ----

// The X keyboard switched to a layout for the life of the guard, back to
// the US one afterwards (the layout is the X server's, shared by the tests).
class Layout {
 public:
  explicit Layout(const std::string& name) { ok_ = run_bounded("setxkbmap " + name, 10); }
  ~Layout() { run_bounded("setxkbmap us", 10); }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

TEST_F(FormDisplay, TypingFillsNumberAndTextBoxesAndKeyBoxesCaptureKeys) {
  Metrics m = metrics();
  show("[Input-boxes]\n"
       "{Txt=Whole; Name=whole; Type=INT; Pos=10,250; Size=6}\n"
       "{Txt=Real; Name=real; Type=FLT; Pos=10,220; Size=10}\n"
       "{Txt=Text; Name=text; Type=CHR; Pos=10,190; Size=12}\n"
       "{Txt=Plain; Name=k1; Type=KEY; Pos=10,160; Size=14}\n"
       "{Txt=Shifted; Name=k2; Type=KEY; Pos=10,130; Size=14}\n"
       "{Txt=Function; Name=k3; Type=KEY; Pos=10,100; Size=14}\n"
       "{Txt=Held; Name=k4; Type=KEY; Pos=10,70; Size=14}\n"
       "[Buttons]\n{Txt=OK; Type=OK; Pos=C25%,10; Size=80}\n{Txt=Cancel; Type=CANCEL; Pos=C75%,10; Size=80}\n");
  auto cell = [&](const Box& b, int c) { return b.x1 + m.yoff + c * m.dxi + 1; };
  auto click_field = [&](const Box& b, int c) {
    win.click(cell(b, c), b.cy());
    win.wait_settled(2);
  };
  const Box whole = field(10, 250, 6), real = field(10, 220, 10), text = field(10, 190, 12);
  click_field(whole, 0);
  win.type("42x");  // a letter is not part of a number
  click_field(real, 0);
  win.type("1.5E-3e,");  // nor are a lower-case e and a comma
  click_field(text, 0);
  win.type("Hi there");
  win.wait_settled(2);
  // The two first characters selected, then replaced by one typed.
  win.press(1, cell(text, 0), text.cy());
  win.release(1, cell(text, 2), text.cy());
  win.wait_settled(2);
  win.type("X");

  const std::vector<std::pair<Box, std::function<void()>>> keys = {
      {field(10, 160, 14), [&] { win.key("a"); }},
      {field(10, 130, 14), [&] {
         // Released in the order a user does: the letter first.
         win.key_down("shift");
         win.key("a");
         win.key_up("shift");
       }},
      {field(10, 100, 14), [&] { win.key("F5"); }},
      {field(10, 70, 14), [&] {
         win.key_down("shift");
         win.key_down("F5");
         std::this_thread::sleep_for(std::chrono::milliseconds(1100));
         win.key_up("F5");
         win.key_up("shift");
       }},
  };
  for (const auto& [box, press_keys] : keys) {
    click_field(box, 0);
    press_keys();
    win.wait_settled(2);
  }
  win.move_out();
  Box ok = button(250, 10);
  win.click(ok.cx(), ok.cy());
  Result r = finish();
  ASSERT_TRUE(r.ended) << r.err;
  EXPECT_EQ(r.exit, 1) << r.err;
  EXPECT_EQ(r.at("whole").iv, 42);
  EXPECT_DOUBLE_EQ(r.at("real").rv, 0.0015);
  EXPECT_EQ(r.at("text").text, "X there");
  EXPECT_EQ(r.at("k1").iv, 65);
  EXPECT_EQ(r.at("k1").text, "A");
  EXPECT_EQ(r.at("k2").iv, 19970);
  EXPECT_EQ(r.at("k2").text, "SHFT+A");
  EXPECT_EQ(r.at("k3").iv, -63);
  EXPECT_EQ(r.at("k3").text, "F5");
  EXPECT_EQ(r.at("k4").iv, 99937);
  EXPECT_EQ(r.at("k4").text, "LONG+SHFT+F5");
}

TEST_F(FormDisplay, CopyAndPasteWithOtherPrograms) {
  Metrics m = metrics();
  show("[Input-boxes]\n"
       "{Txt=From; Name=from; Type=CHR; Pos=10,100; Size=12}\n"
       "{Txt=To; Name=to; Type=CHR; Pos=10,70; Size=12}\n"
       "[Buttons]\n{Txt=OK; Type=OK; Pos=C25%,10; Size=80}\n{Txt=Cancel; Type=CANCEL; Pos=C75%,10; Size=80}\n",
       "from=copy me\n");
  auto cell = [&](const Box& b, int c) { return b.x1 + m.yoff + c * m.dxi + 1; };
  const Box from = field(10, 100, 12), to = field(10, 70, 12);
  win.press(1, cell(from, 0), from.cy());
  win.release(1, cell(from, 4), from.cy());
  win.wait_settled(2);
  win.key("ctrl+c");
  win.wait_settled(2);
  // Another program pastes it while the form runs.
  fs::path pasted = dir.path() / "pasted.txt";
  ASSERT_TRUE(run_bounded("sh -c \"xclip -o -selection clipboard > '" + pasted.string() + "'\"", 5));
  EXPECT_EQ(read_file(pasted), "copy");

  // Text another program owns is pasted into the form.
  ASSERT_TRUE(run_bounded("sh -c \"printf 'from xclip' | xclip -i -selection clipboard -loops 1 &\"", 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  win.click(cell(to, 0), to.cy());
  win.wait_settled(2);
  win.key("ctrl+v");
  win.wait_settled(2);
  win.move_out();
  Box ok = button(250, 10);
  win.click(ok.cx(), ok.cy());
  Result r = finish();
  run_bounded("pkill -x xclip", 5);
  ASSERT_TRUE(r.ended) << r.err;
  EXPECT_EQ(r.at("from").text, "copy me");
  EXPECT_EQ(r.at("to").text, "from xclip");
}

TEST_F(FormDisplay, OnAFrenchKeyboardTheTopRowTypesDigitsAndCapturesAsDigitKeys) {
  Metrics m = metrics();
  Layout french("fr");
  ASSERT_TRUE(french.ok()) << "setxkbmap fr failed";
  show("[Input-boxes]\n"
       "{Txt=Whole; Name=whole; Type=INT; Pos=10,100; Size=6}\n"
       "{Txt=Key; Name=key; Type=KEY; Pos=10,70; Size=14}\n"
       "[Buttons]\n{Txt=OK; Type=OK; Pos=C25%,10; Size=80}\n{Txt=Cancel; Type=CANCEL; Pos=C75%,10; Size=80}\n");
  auto cell = [&](const Box& b, int c) { return b.x1 + m.yoff + c * m.dxi + 1; };
  const Box whole = field(10, 100, 6), key = field(10, 70, 14);
  win.click(cell(whole, 0), whole.cy());
  win.wait_settled(2);
  win.type("123");  // Shift and the top row's keys on this layout
  win.wait_settled(2);
  win.click(cell(key, 0), key.cy());
  win.wait_settled(2);
  win.key("ampersand");  // the top row's first key, unshifted
  win.wait_settled(2);
  win.move_out();
  Box ok = button(250, 10);
  win.click(ok.cx(), ok.cy());
  Result r = finish();
  ASSERT_TRUE(r.ended) << r.err;
  EXPECT_EQ(r.at("whole").iv, 123);
  EXPECT_EQ(r.at("key").iv, '1');
  EXPECT_EQ(r.at("key").text, "1");
}

}  // namespace
