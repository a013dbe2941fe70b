// The element tables of the forms window: hand-over, capacities, values,
// dependencies, radio groups and key names.
#include <gtest/gtest.h>

#include <cmath>

#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"

namespace fw = forms_window;

namespace {

constexpr int kINT = 1, kCHR = 3, kTCK = 4, kKEY = 5, kDDL = 10;

void box(int count, int index, int type, int ival = 0, int dep = -1, int ddl = -2, int size = 5,
         const char* value = "") {
  add_inpt(count, index, "Label", value, 10, 10 + 30 * index, -1, -1, ival, 0.0f, size, type, 0, 1, dep, ddl, "*.txt");
}

TEST(Elements, IndexesBeyondTheTablesAreIgnored) {
  box(3, 0, kCHR, 0, -1, -2, 5, "keep");
  box(3, 100, kCHR, 0, -1, -2, 5, "lost");
  box(3, -1, kCHR, 0, -1, -2, 5, "lost");
  EXPECT_EQ(fw::inpt_cval[0].view(), "keep");
  box(500, 1, kCHR);
  EXPECT_EQ(fw::nb_inpt, 100);  // a count above the capacity is cut to it

  add_butt(3, 10, "lost", 0, 0, 0, 0);
  EXPECT_EQ(fw::nb_butt, 3);
  add_subt(25, 20, "lost", 0, 0);
  EXPECT_EQ(fw::nb_subt, 20);

  std::array<std::array<int, 4>, 25> sepa{};
  add_sepa(25, sepa);
  EXPECT_EQ(fw::nb_sepa, 20);
  add_sepa(5, std::span<const std::array<int, 4>>(sepa).first(2));
  EXPECT_EQ(fw::nb_sepa, 2);  // never more than were handed over

  add_ddl(30, 3, 0, "lost");
  add_ddl(2, 80, 50, "lost");
  EXPECT_EQ(fw::ddl_nbli[2], 50);
  add_lnd(2, 400, 333, "lost");
  add_lnd(30, 1, 0, "lost");
  EXPECT_EQ(fw::ddl_nbli[2], 50);
}

TEST(Elements, LongTextsAreCutToTheirFields) {
  std::string label(300, 'L'), value(400, 'v'), ext(50, 'e');
  add_inpt(1, 0, label.c_str(), value.c_str(), 0, 0, -1, -1, 0, 0.0f, 5, kCHR, 0, 1, -1, -2, ext.c_str());
  EXPECT_EQ(fw::inpt_txt[0].length(), 126);
  EXPECT_EQ(fw::inpt_cval[0].length(), 255);
  EXPECT_EQ(fw::inpt_ext[0].length(), 31);
}

TEST(Elements, BoxValuesReadBackWithListEntriesFromOne) {
  box(2, 0, kINT, 42);
  box(2, 1, kDDL, 2, -1, 0);
  int iv = 0;
  float rv = 0;
  char text[8];
  EXPECT_EQ(get_box_val(0, iv, rv, text), 1);
  EXPECT_EQ(iv, 42);
  EXPECT_EQ(get_box_val(1, iv, rv, text), 1);
  EXPECT_EQ(iv, 3);

  iv = -7;
  std::memcpy(text, "intact", 7);
  EXPECT_EQ(get_box_val(100, iv, rv, text), 0);
  EXPECT_EQ(iv, -7);
  EXPECT_STREQ(text, "intact");

  // The text is cut to the caller's buffer.
  box(1, 0, kCHR, 0, -1, -2, 5, "a long value");
  EXPECT_EQ(get_box_val(0, iv, rv, text), 1);
  EXPECT_STREQ(text, "a long ");
}

TEST(Elements, SettingAValueShowsTheTextOfItsKind) {
  box(3, 0, kDDL, 0, -1, 4);
  box(3, 1, kKEY);
  box(3, 2, kCHR);
  add_ddl(4, 2, 0, "Fast");
  add_ddl(4, 2, 1, "Slow");
  set_inpt_val(0, 1, 0.0f, "ignored");
  EXPECT_EQ(fw::inpt_cval[0].view(), "Slow");
  set_inpt_val(0, 2, 0.0f, "ignored");  // no such entry
  EXPECT_EQ(fw::inpt_cval[0].view(), "");
  set_inpt_val(0, -1, 0.0f, "ignored");
  EXPECT_EQ(fw::inpt_cval[0].view(), "");

  set_inpt_val(1, 65, 0.0f, "ignored");
  EXPECT_EQ(fw::inpt_cval[1].view(), "A");
  set_inpt_val(1, 2 * 10000 - 30, 0.0f, "ignored");  // Shift and the scan code of A
  EXPECT_EQ(fw::inpt_cval[1].view(), "SHFT+A");
  set_inpt_val(1, 0, 0.0f, "ignored");
  EXPECT_EQ(fw::inpt_cval[1].view(), "");

  set_inpt_val(2, 0, 0.0f, "typed");
  EXPECT_EQ(fw::inpt_cval[2].view(), "typed");
  set_inpt_val(3, 0, 0.0f, "beyond the form");
  EXPECT_EQ(fw::inpt_cval[2].view(), "typed");
}

TEST(Elements, TheLongListKeepsItsEntriesAndANewFormForgetsThem) {
  box(1, 0, kDDL, 0, -1, 5);
  add_lnd(5, 1, 0, "Slovenia3");
  add_lnd(5, 2, 1, "AA3");
  EXPECT_EQ(fw::LndDDL, 5);
  set_inpt_val(0, 1, 0.0f, "");
  EXPECT_EQ(fw::inpt_cval[0].view(), "AA3");
  EXPECT_EQ(fw::ddl_entry(5, 0), "Slovenia3");

  // The same list handed over again without entries is empty.
  box(1, 0, kDDL, 0, -1, 5);
  EXPECT_EQ(fw::ddl_nbli[5], 0);
  EXPECT_EQ(fw::LndDDL, -1);
  EXPECT_EQ(fw::ddl_entry(5, 0), "");
}

TEST(Elements, KeyBoxesShowTheNameOfTheirKey) {
  box(2, 0, kKEY, 10065);
  EXPECT_EQ(fw::inpt_cval[0].view(), "CTRL+A");
  box(2, 1, kKEY, -63, -1, -2, 5, "given text");
  EXPECT_EQ(fw::inpt_cval[1].view(), "F5");
  box(2, 1, kKEY, -255, -1, -2, 5, "given text");  // a scan code without a name
  EXPECT_EQ(fw::inpt_cval[1].view(), "??????");
  box(2, 1, kKEY, 0, -1, -2, 5, "given text");
  EXPECT_EQ(fw::inpt_cval[1].view(), "given text");

  std::string name;
  EXPECT_EQ(get_key_name(65, name), 1);
  EXPECT_EQ(name, "A");
  EXPECT_EQ(get_key_name(8 * 10000 + 10000 + 2 * 10000 + 4 * 10000 + 66, name), 20);
  EXPECT_EQ(name, "LONG+CTRL+SHFT+ALT+B");
  EXPECT_EQ(get_key_name(10000, name), 0);  // modifiers without a key
  EXPECT_EQ(get_key_name(-63, name), 2);  // scan codes: the platform's names
  EXPECT_EQ(name, "F5");
  EXPECT_EQ(get_key_name(10000 - 72 - 256, name), 7);  // Ctrl and the extended scan code 72
  EXPECT_EQ(name, "CTRL+Up");
  EXPECT_EQ(get_key_name(-255, name), 0);
  EXPECT_EQ(name, "");
}

TEST(Elements, DependenciesFollowTheirTickBox) {
  box(5, 0, kTCK, 1);
  box(5, 1, kCHR, 0, 0);           // active while box 0 is ticked
  box(5, 2, kCHR, 0, 1000);        // active while box 0 is not ticked
  box(5, 3, kCHR, 0, 1);           // on a box that is not a tick box: no effect
  box(5, 4, kCHR, 0, 500);         // on an element beyond the tables: no effect
  fw::inpt_act[3] = fw::inpt_act[4] = 1;
  check_depend();
  EXPECT_EQ(fw::inpt_act[1], 1);
  EXPECT_EQ(fw::inpt_act[2], 0);
  set_inpt_val(0, 0, 0.0f, "0");
  EXPECT_EQ(fw::inpt_act[1], 0);
  EXPECT_EQ(fw::inpt_act[2], 1);
  EXPECT_EQ(fw::inpt_act[3], 1);
  EXPECT_EQ(fw::inpt_act[4], 1);
}

TEST(Elements, RadioGroupsLeaveOutUnknownMembers) {
  for (int i = 0; i < 4; ++i) box(4, i, kTCK, 0, -1, -2, 14);
  std::array<int, 10> counts{3, 2};
  std::array<std::array<int, 10>, 10> members{};
  members[0] = {1, -1, 3};
  members[1] = {4, 99};
  add_rdio(2, counts, members);
  EXPECT_EQ(fw::tick_rdio_count[0], 2);
  EXPECT_EQ(fw::tick_rdio[0][0], 0);
  EXPECT_EQ(fw::tick_rdio[0][1], 2);
  EXPECT_EQ(fw::tick_rdio_count[1], 1);
  EXPECT_EQ(fw::rdio_set[0], 0);
  EXPECT_EQ(fw::rdio_set[1], -1);
  EXPECT_EQ(fw::rdio_set[3], 1);
  // A circle for members of 14 pixels: trunc(14 pi / 1.5) + 1 points from 45 degrees.
  EXPECT_EQ(fw::NCRad, 30);
  EXPECT_NEAR(fw::pprad[0][0], std::sqrt(0.5), 1e-6);
  EXPECT_NEAR(fw::pprad[0][1], std::sqrt(0.5), 1e-6);

  // More groups or members than the tables hold, and members too large for
  // the circle table.
  for (int i = 0; i < 4; ++i) box(4, i, kTCK, 0, -1, -2, 200);
  counts.fill(25);
  add_rdio(40, counts, members);
  EXPECT_EQ(fw::nb_rdio, 10);
  EXPECT_EQ(fw::NCRad, 100);

  // A new hand-over without groups leaves every element out of them.
  box(4, 0, kTCK);
  EXPECT_EQ(fw::rdio_set[0], -1);
}

TEST(Elements, BoxUnderAPointIsFoundStrictlyInside) {
  std::array<std::array<int, 4>, 2> rects = {{{10, 10, 20, 20}, {15, 15, 30, 30}}};
  EXPECT_EQ(get_box_num(12, 12, 2, rects), 0);
  EXPECT_EQ(get_box_num(18, 18, 2, rects), 0);
  EXPECT_EQ(get_box_num(20, 18, 2, rects), 1);
  EXPECT_EQ(get_box_num(10, 12, 2, rects), -1);
  EXPECT_EQ(get_box_num(25, 25, 1, rects), -1);
  EXPECT_EQ(get_box_num(25, 25, 9, rects), 1);  // never beyond the table handed
}

TEST(Elements, PropertiesAndTitlesChangeOnlyWithinTheForm) {
  box(1, 0, kCHR);
  set_inpt_props(0, "New", 0, kINT, "*.frm", 1);
  EXPECT_EQ(fw::inpt_txt[0].view(), "New");
  EXPECT_EQ(fw::inpt_typ[0], kINT);
  EXPECT_EQ(fw::inpt_act[0], 0);
  set_inpt_props(1, "Beyond", 1, kCHR, "", 1);
  EXPECT_EQ(fw::inpt_txt[1].view(), "Label");

  add_subt(1, 0, "Title", 0, 0);
  set_subt(0, "Changed", 0);
  set_subt(1, "Beyond", 0);
  EXPECT_EQ(fw::subt_txt[0].view(), "Changed");
  EXPECT_NE(fw::subt_txt[1].view(), "Beyond");
}

TEST(Session, WithoutAWindowTheFormIsNotShown) {
  set_opt({1, 14, 0});
  EXPECT_EQ(fw::ActWin, 1);
  EXPECT_EQ(fw::font_size, 14);
  testing::internal::CaptureStdout();
  EXPECT_EQ(frm_start_graphics("arial.ttf", "My form"), 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("no window available"), std::string::npos) << out;
  EXPECT_EQ(frm_do_graphics(), 0);
  EXPECT_EQ(frm_new_form_gr(), 0);
}

}  // namespace
