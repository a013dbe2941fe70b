// The shipped form: read without a fault, and laid out (fixed metrics: a
// cell of 8 pixels, a margin of 3, text of 14 pixels, texts half their size
// wide per character) so that the towplanes fill columns of 8 from the left,
// no column stands empty, and the buttons stay inside the window, aligned.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"
#include "tests/app/app_fixture.h"

namespace fw = forms_window;
using namespace app_test;

namespace {

void measure(const char* text, int size, int& w, int& h) {
  w = static_cast<int>(std::strlen(text)) * size / 2;
  h = size;
}

TEST(Form, HoldsTheTowplanesInColumnsOfEightWithTheButtonsInside) {
  ASSERT_EQ(frm_read_form(program_path(built("Vantyr_form.frm"))), 0);
  EXPECT_EQ(frm_get_version(), 1200);
  ASSERT_EQ(frm_get_count(), 32);
  load_form();
  std::multiset<int> types(fw::butt_typ.begin(), fw::butt_typ.begin() + fw::nb_butt);
  EXPECT_EQ(types, (std::multiset<int>{-1, 1, 2, 3}));  // cancel, OK, untick all, tick all
  EXPECT_GE(fw::nb_subt, 1);
  std::set<int> column_x;
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(fw::inpt_typ[i], 4) << i;
    column_x.insert(fw::inpt_def[i][0]);
  }
  std::vector<int> columns(column_x.begin(), column_x.end());
  ASSERT_EQ(columns.size(), 4u);

  for (int n : {1, 8, 9, 32}) {
    SCOPED_TRACE(n);
    ASSERT_EQ(frm_read_form(program_path(built("Vantyr_form.frm"))), 0);
    frm_set_count(n);
    // Towplane names as long as one can be found (28 characters) in the last box.
    for (int i = 1; i <= n; ++i) frm_set_prop(1, i, 301, 1, 1.0f, i == n ? std::string(28, 'W') : "DR400", false);
    load_form();
    form_setup({8, 3, 14, measure});
    int width = fw::windowInfo.width, height = fw::windowInfo.height;
    int used = (n + 7) / 8;
    std::set<int> xs;
    int lowest_box = height;
    for (int i = 0; i < n; ++i) {
      xs.insert(fw::inpt_pos[i][0]);
      lowest_box = std::min(lowest_box, fw::inpt_pos[i][1]);
      int w = 0, h = 0;
      measure(fw::inpt_txt[i].c_str(), 14, w, h);
      EXPECT_LE(fw::inpt_ptx[i][0] + w, width) << i;
      EXPECT_LE(fw::inpt_ptx[i][1] + h, height) << i;
    }
    EXPECT_EQ(xs.size(), static_cast<std::size_t>(used));
    if (used < 4) {
      EXPECT_LT(width, columns[static_cast<std::size_t>(used)]);  // an empty column would start here
    }
    // Two rows of two buttons, on the same two x positions, inside the window
    // and apart.
    std::set<int> bx, by;
    int top_button = 0;
    for (int b = 0; b < fw::nb_butt; ++b) {
      const auto& r = fw::butt_pos[b];
      EXPECT_GE(r[0], 0);
      EXPECT_LE(r[2], width);
      EXPECT_LE(r[3], height);
      bx.insert(r[0]);
      by.insert(r[1]);
      top_button = std::max(top_button, r[3]);
    }
    ASSERT_EQ(bx.size(), 2u);
    EXPECT_EQ(by.size(), 2u);
    EXPECT_GT(*bx.rbegin(), *bx.begin() + 80);
    EXPECT_LT(top_button, lowest_box);
    int w = 0, h = 0;
    measure(fw::subt_txt[0].c_str(), 16, w, h);
    EXPECT_LE(fw::subt_pos[0][0] + w, width);
    EXPECT_LE(fw::subt_pos[0][1] + h, height);
  }
}

}  // namespace
