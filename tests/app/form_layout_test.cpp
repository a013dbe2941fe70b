// The shipped form: read without a fault, and laid out (fixed metrics: a
// cell of 8 pixels, a margin of 3, text of 14 pixels, characters half their
// size wide) so that the towplanes fill columns of 8 from the left, no column
// stands empty, and the buttons stay inside the window, aligned.
#include <cstring>
#include <set>

#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"
#include "tests/app/app_fixture.h"

namespace fw = forms_window;
using namespace app_test;

namespace {

int width_of(const char* text, int size) { return static_cast<int>(std::strlen(text)) * size / 2; }
void measure(const char* text, int size, int& w, int& h) { w = width_of(text, size), h = size; }

TEST(Form, HoldsTheTowplanesInColumnsOfEightWithTheButtonsInside) {
  ASSERT_EQ(frm_read_form(program_path(built("Vantyr_form.frm"))), 0);
  EXPECT_EQ(frm_get_version(), 1200);
  ASSERT_EQ(frm_get_count(), 32);
  load_form();
  EXPECT_EQ(std::multiset<int>(fw::butt_typ.begin(), fw::butt_typ.begin() + fw::nb_butt), (std::multiset<int>{-1, 1, 2, 3}));
  std::set<int> columns;
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(fw::inpt_typ[i], 4) << i;
    columns.insert(fw::inpt_def[i][0]);
  }
  ASSERT_EQ(columns.size(), 4u);

  for (int n : {1, 8, 9, 32}) {
    SCOPED_TRACE(n);
    frm_read_form(program_path(built("Vantyr_form.frm")));
    frm_set_count(n);
    // The last towplane with a name as long as a found one can be.
    for (int i = 1; i <= n; ++i) frm_set_prop(1, i, 301, 1, 1.0f, i == n ? std::string(28, 'W') : "DR400", false);
    load_form();
    form_setup({8, 3, 14, measure});
    int width = fw::windowInfo.width, height = fw::windowInfo.height, lowest = height;
    std::set<int> used;
    for (int i = 0; i < n; ++i) {
      used.insert(fw::inpt_pos[i][0]);
      lowest = std::min(lowest, fw::inpt_pos[i][1]);
      EXPECT_LE(fw::inpt_ptx[i][0] + width_of(fw::inpt_txt[i].c_str(), 14), width) << i;
      EXPECT_LE(fw::inpt_ptx[i][1] + 14, height) << i;
    }
    EXPECT_EQ(used.size(), static_cast<std::size_t>((n + 7) / 8));
    if (used.size() < 4) {
      EXPECT_LT(width, *std::next(columns.begin(), static_cast<long>(used.size())));  // an empty column's place
    }
    EXPECT_LE(fw::subt_pos[0][0] + width_of(fw::subt_txt[0].c_str(), 16), width);
    // Two rows of two buttons on the same two x positions, apart, inside the
    // window and below the towplanes.
    std::set<int> bx, by;
    for (int b = 0; b < fw::nb_butt; ++b) {
      const auto& r = fw::butt_pos[b];
      EXPECT_TRUE(r[0] >= 0 && r[2] <= width && r[3] < lowest) << b;
      bx.insert(r[0]);
      by.insert(r[1]);
    }
    ASSERT_EQ(bx.size() * 10 + by.size(), 22u);
    EXPECT_GT(*bx.rbegin(), *bx.begin() + 80);
  }
}

}  // namespace
