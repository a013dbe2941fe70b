// Layout of the forms window with fixed metrics: a cell of 8 pixels, a
// margin of 3, text of 12 pixels, and texts 7 pixels per character wide and
// as high as their size.
#include <gtest/gtest.h>

#include <cstring>

#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"

namespace fw = forms_window;

namespace {

void measure(const char* text, int size, int& w, int& h) {
  w = 7 * static_cast<int>(std::strlen(text));
  h = size;
}

const FormMetrics kMetrics{8, 3, 12, measure};

using Rect = std::array<int, 4>;
using Point = std::array<int, 2>;

constexpr int kINT = 1, kTCK = 4, kCHR = 3;

class Layout : public ::testing::Test {
 protected:
  void SetUp() override {
    add_rdio(0, {}, {});
    add_sepa(0, {});
    nb = 0;
  }
  // Adds input box `index` of a form that grows with each call.
  void input(const char* label, int x, int y, int tx, int ty, int size, int type = kCHR, int arrows = 0) {
    ++nb;
    add_inpt(nb, nb - 1, label, "", x, y, tx, ty, 0, 0.0f, size, type, arrows, 1, -1, -2, "");
  }
  void no_buttons_or_titles() {
    add_butt(0, 0, "", 0, 0, 0, 0);
    add_subt(0, 0, "", 0, 0);
  }
  int nb = 0;
};

TEST_F(Layout, LabelRightOfTheBoxAndOfItsArrows) {
  no_buttons_or_titles();
  input("Count", 10, 10, -1, -1, 5);
  input("Step", 10, 40, -1, -1, 5, kINT, 1);
  form_setup(kMetrics);
  // 5 cells of 8 and two margins of 3 wide, margin plus text size high.
  EXPECT_EQ(fw::inpt_pos[0], (Rect{10, 10, 56, 25}));
  EXPECT_EQ(fw::inpt_ptx[0], (Point{60, 13}));  // half a cell right of the box
  // One arrow column is two cells wide; the label follows it.
  EXPECT_EQ(fw::inpt_pos[1], (Rect{10, 40, 56, 55}));
  EXPECT_EQ(fw::inpt_ptx[1], (Point{76, 43}));
  // Contents from (10, 10) to (76 + 4 * 7, 55): the same margins around them.
  EXPECT_EQ(fw::windowInfo.width, 10 + 104);
  EXPECT_EQ(fw::windowInfo.height, 10 + 55);
}

TEST_F(Layout, EveryLabelPlacementOfTheTable) {
  no_buttons_or_titles();
  input("Top", 100, 100, -5, -5, 4);      // TL: above, at the box's left plus the margin
  input("Centred", 100, 150, -4, -4, 4);  // TC: above, centred on the box
  input("Left", 100, 200, -3, -3, 4);     // LA: left of the box, right-aligned
  input("First", -20, 250, -1, -1, 4);    // L: a negative x puts the label first
  input("", -20, 280, -1, -1, 4);         // L with an empty label: the box at -x
  input("Here", 100, 300, 300, 320, 4);   // explicit label position
  input("Odd", 100, 330, -9, 50, 4);      // a label x below the codes
  form_setup(kMetrics);

  EXPECT_EQ(fw::inpt_pos[0], (Rect{100, 100, 138, 115}));
  EXPECT_EQ(fw::inpt_ptx[0], (Point{103, 118}));
  EXPECT_EQ(fw::inpt_pos[1], (Rect{100, 150, 138, 165}));
  EXPECT_EQ(fw::inpt_ptx[1], (Point{(100 + 138 - 49) / 2, 168}));
  EXPECT_EQ(fw::inpt_pos[2], (Rect{100, 200, 138, 215}));
  EXPECT_EQ(fw::inpt_ptx[2], (Point{100 - 8 - 28, 203}));
  EXPECT_EQ(fw::inpt_pos[3], (Rect{20 + 4 + 35, 250, 97, 265}));
  EXPECT_EQ(fw::inpt_ptx[3], (Point{20, 253}));
  EXPECT_EQ(fw::inpt_pos[4], (Rect{20, 280, 58, 295}));
  EXPECT_EQ(fw::inpt_pos[5], (Rect{100, 300, 138, 315}));
  EXPECT_EQ(fw::inpt_ptx[5], (Point{300, 320}));
  EXPECT_EQ(fw::inpt_pos[6], (Rect{100, 330, 138, 345}));
  EXPECT_EQ(fw::inpt_ptx[6], (Point{-9, 50}));
  // Leftmost: the L labels at 20; rightmost: the explicit label's end 328;
  // lowest 100, highest the last box's top 345.
  EXPECT_EQ(fw::windowInfo.width, 20 + 328);
  EXPECT_EQ(fw::windowInfo.height, 100 + 345);
}

TEST_F(Layout, TickBoxesAreSquaresOfTheirSize) {
  no_buttons_or_titles();
  input("Tick", 10, 10, -1, -1, 13, kTCK);
  form_setup(kMetrics);
  EXPECT_EQ(fw::inpt_pos[0], (Rect{10, 10, 23, 23}));
  EXPECT_EQ(fw::inpt_ptx[0], (Point{27, 13}));
}

TEST_F(Layout, AnExplicitLabelBelowTheBoxStillLeavesRoomForTheWholeBox) {
  no_buttons_or_titles();
  input("Below", 10, 50, 10, 20, 4);
  form_setup(kMetrics);
  // Highest point: the box's top at 65, not its text line at 53.
  EXPECT_EQ(fw::windowInfo.height, 20 + 65);
}

TEST_F(Layout, LabelCodeLeftWithAPositiveXPutsTheLabelLeftOfTheWindow) {
  no_buttons_or_titles();
  input("Name", 40, 10, -2, -2, 4);
  form_setup(kMetrics);
  EXPECT_EQ(fw::inpt_ptx[0], (Point{-40, 13}));
  EXPECT_EQ(fw::inpt_pos[0][0], -40 + 4 + 28);
}

TEST_F(Layout, ButtonsAbsoluteOrPlacedRelativeToTheWindowWidth) {
  input("A", 10, 40, -1, -1, 50);  // contents from 10 to 10 + 406 + 4 + 7 = 427
  add_subt(0, 0, "", 0, 0);
  add_butt(5, 0, "Centre", -10500, 5, 80, 1);  // centred at half the width
  add_butt(5, 1, "Right", 20700, 5, 80, 1);    // right edge at 700
  add_butt(5, 2, "Plain", 20, 5, 60, 1);       // absolute
  add_butt(5, 3, "Zero", 0, 5, 60, 1);         // neither: no right edge
  add_butt(5, 4, "Edge", 9999, 5, 60, 1);
  form_setup(kMetrics);
  int width = fw::windowInfo.width;
  EXPECT_EQ(width, 10 + 427);
  EXPECT_EQ(fw::windowInfo.height, 5 + 55);
  EXPECT_EQ(fw::butt_pos[0], (Rect{width * 500 / 1000 - 40, 5, width * 500 / 1000 + 40, 20}));
  EXPECT_EQ(fw::butt_pos[1], (Rect{620, 5, 700, 20}));
  EXPECT_EQ(fw::butt_pos[2], (Rect{20, 5, 80, 20}));
  EXPECT_EQ(fw::butt_pos[3][2], fw::butt_pos[3][0]);
  EXPECT_EQ(fw::butt_pos[4][2], fw::butt_pos[4][0]);
  EXPECT_EQ(get_box_num(1, 10, fw::nb_butt, fw::butt_pos), -1);
}

TEST_F(Layout, TitlesAndSeparatorsAboveEverythingElse) {
  input("A", 10, 40, -1, -1, 5);                // top at 55
  add_butt(1, 0, "OK", 10, 60, 50, 1);          // top at 75
  add_subt(2, 0, "Heading", -10500, -20);       // 30 above the highest top
  add_subt(2, 1, "Note", 300, 10);
  std::array<std::array<int, 4>, 2> sepa = {{{5, -5, 200, -5}, {5, 30, 200, 30}}};
  add_sepa(2, sepa);
  form_setup(kMetrics);
  EXPECT_EQ(fw::subt_pos[0][1], 75 + 10 + 20);
  EXPECT_EQ(fw::subt_pos[1], (Point{300, 10}));
  // The heading is measured at the text size plus 2 and counts for the height.
  EXPECT_EQ(fw::windowInfo.height, 10 + 105 + 14);
  int width = fw::windowInfo.width;
  EXPECT_EQ(width, 10 + 300 + 28);
  EXPECT_EQ(fw::subt_pos[0][0], width * 500 / 1000 - 49 / 2);
  EXPECT_EQ(fw::sepa_pos[0], (Rect{5, 90, 200, 90}));
  EXPECT_EQ(fw::sepa_pos[1], (Rect{5, 30, 200, 30}));
}

TEST_F(Layout, RunningTheLayoutAgainGivesTheSameRectangles) {
  no_buttons_or_titles();
  input("First", -20, 250, -1, -1, 4);
  add_butt(1, 0, "OK", -10500, 5, 80, 1);
  form_setup(kMetrics);
  auto boxes = fw::inpt_pos;
  auto buttons = fw::butt_pos;
  form_setup(kMetrics);
  EXPECT_EQ(fw::inpt_pos, boxes);
  EXPECT_EQ(fw::butt_pos, buttons);
}

TEST_F(Layout, AbsurdPositionsAndSizesDoNotOverflow) {
  no_buttons_or_titles();
  input("Huge", 2000000000, 2000000000, -1, -1, 2000000000, kCHR, 2000000000);
  add_butt(1, 0, "OK", -2147483647 - 1, 5, 2000000000, 1);
  form_setup(kMetrics);
  EXPECT_EQ(fw::inpt_pos[0][2], 2147483647);
  EXPECT_GE(fw::windowInfo.width, 1);
}

TEST_F(Layout, ListsKnowTheElementThatShowsThem) {
  no_buttons_or_titles();
  input("A", 10, 10, -1, -1, 5);
  add_inpt(2, 1, "Mode", "", 10, 40, -1, -1, 0, 0.0f, 5, 10, 0, 1, -1, 3, "");
  form_setup(kMetrics);
  EXPECT_EQ(fw::ddl_inpt[3], 1);
  EXPECT_EQ(fw::ddl_inpt[0], -1);
}

}  // namespace
