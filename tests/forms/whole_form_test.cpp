// A definition with every element kind: read without a fault, handed to the
// forms window and laid out with fixed metrics (a cell of 8 pixels, a margin
// of 3, text of 12 pixels, texts 7 pixels per character wide and as high as
// their size), giving the rectangles of the placement rules.
#include <gtest/gtest.h>

#include <cstring>

#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"
#include "tests/forms/form_files.h"

namespace fw = forms_window;

namespace {

void measure(const char* text, int size, int& w, int& h) {
  w = 7 * static_cast<int>(std::strlen(text));
  h = size;
}

using Rect = std::array<int, 4>;
using Point = std::array<int, 2>;

constexpr const char* kDefinition =
    "# Every element kind of a form\n"
    "[General]\n"
    "Window Title=Every element\n"
    "FontSize=12\n"
    "TickSize=13\n"
    "Version=7\n"
    "\n"
    "[Input-boxes]\n"
    "{Txt=Count; Name=count; Type=INT; Pos=10,250; Size=5; Arr=1; Min=0; Max=100}\n"
    "{Txt=Ratio; Name=ratio; Type=FLT; Pos=10,200; Size=8; TxPos=TL; Arr=1}\n"
    "{Txt=Comment; Name=comment; Type=CHR; Pos=300,250; Size=10; TxPos=LA}\n"
    "{Txt=Enabled; Name=enabled; Type=TCK; Pos=300,220}\n"
    "{Txt=Hotkey; Name=hotkey; Type=KEY; Pos=-10,170; Size=6}\n"
    "{Txt=Colour; Name=colour; Type=COL; Pos=300,170; Size=3; TxPos=TC}\n"
    "{\n"
    "  Txt=Input; Name=infile; Type=IFP; Ext=*.frm\n"
    "  Pos=10,140; Size=12; Dep=enabled\n"
    "}\n"
    "{Txt=Output; Name=outfile; Type=OFP; Ext=*.log; Pos=10,110; Size=12; TxPos=250,113; Dep=-enabled}\n"
    "{Txt=Folder; Name=folder; Type=FLD; Pos=10,80; Size=12}\n"
    "{Txt=Mode,Fast,Slow; Name=mode; Type=DDL; Pos=-10,50; Size=6}\n"
    "{Txt=A; Name=ra; Type=T; Pos=10,25}\n"
    "{Txt=B; Name=rb; Type=T; Pos=60,25}\n"
    "\n"
    "[Radio-buttons]\n"
    "{Set=ra,rb}\n"
    "\n"
    "[Text]\n"
    "{Title=Every element; Pos=C50%,-20}\n"
    "{Title=Choose; Pos=R390,5}\n"
    "\n"
    "[Separators]\n"
    "{Separ=5,-5,400,-5}\n"
    "{Separ=5,45,400,45}\n"
    "\n"
    "[Buttons]\n"
    "{Txt=OK; Type=OK; Pos=C30%,5; Size=60}\n"
    "{Txt=Cancel; Type=CANCEL; Pos=R95%,5; Size=60}\n"
    "{Txt=All; Type=3; Pos=20,5; Size=40}\n"
    "{Txt=Apply; Type=500; Pos=C50%,5; Size=50}\n"
    "{Txt=Save; Type=1001; Pos=L60%,5; Size=50}\n";

class WholeForm : public InTempFolder {};

TEST_F(WholeForm, ReadsWithoutFaultsAndLaysOutByThePlacementRules) {
  write_file("every.frm", kDefinition);
  testing::internal::CaptureStdout();
  int result = frm_read_form("every.frm");
  EXPECT_EQ(frm_create_form(), 0);
  std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(result, 0) << out;
  EXPECT_EQ(lines("frm_forms.log"), std::vector<std::string>{"every.frm"});
  EXPECT_EQ(frm_get_count(), 12);
  EXPECT_EQ(frm_get_version(), 7);

  form_setup({8, 3, 12, measure});

  const std::array<Rect, 12> boxes = {{
      {10, 250, 56, 265},    // R, with an arrow column
      {10, 200, 80, 215},    // TL
      {300, 250, 386, 265},  // LA
      {300, 220, 313, 233},  // tick box of the form's tick size
      {56, 170, 110, 185},   // L: after its label
      {300, 170, 362, 185},  // TC, colour boxes at least 7 cells
      {10, 140, 112, 155},
      {10, 110, 112, 125},   // explicit label position
      {10, 80, 112, 95},
      {42, 50, 96, 65},      // L
      {10, 25, 23, 38},      // radio members
      {60, 25, 73, 38},
  }};
  const std::array<Point, 12> labels = {{
      {76, 253}, {13, 218}, {243, 253}, {317, 223}, {10, 173}, {310, 188},
      {116, 143}, {250, 113}, {116, 83}, {10, 53}, {27, 28}, {77, 28},
  }};
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(fw::inpt_pos[i], boxes[i]);
    EXPECT_EQ(fw::inpt_ptx[i], labels[i]);
  }
  // From x 10 to 386 and y 5 to the heading's top 309.
  EXPECT_EQ(fw::windowInfo.width, 396);
  EXPECT_EQ(fw::windowInfo.height, 314);

  EXPECT_EQ(fw::subt_pos[0], (Point{198 - 45, 295}));  // centred, 20 above the highest top
  EXPECT_EQ(fw::subt_pos[1], (Point{348, 5}));         // right edge at 390
  EXPECT_EQ(fw::sepa_pos[0], (Rect{5, 280, 400, 280}));
  EXPECT_EQ(fw::sepa_pos[1], (Rect{5, 45, 400, 45}));
  EXPECT_EQ(fw::butt_pos[0], (Rect{88, 5, 148, 20}));    // centred at 30 %
  EXPECT_EQ(fw::butt_pos[1], (Rect{316, 5, 376, 20}));   // right edge at 95 %
  EXPECT_EQ(fw::butt_pos[2], (Rect{20, 5, 60, 20}));
  EXPECT_EQ(fw::butt_pos[3], (Rect{173, 5, 223, 20}));
  EXPECT_EQ(fw::butt_pos[4], (Rect{237, 5, 287, 20}));   // left edge at 60 %
  EXPECT_EQ(fw::butt_typ, (std::array<int, 10>{1, -1, 3, 500, 1001}));

  // The tick box is not ticked: the box depending on it is inactive, the
  // inversely depending one active.
  EXPECT_EQ(fw::inpt_dep[6], 3);
  EXPECT_EQ(fw::inpt_dep[7], 1003);
  EXPECT_EQ(fw::inpt_act[6], 0);
  EXPECT_EQ(fw::inpt_act[7], 1);
  EXPECT_EQ(frm_set_value(4, 1, 1.0f, "", true), 1);
  EXPECT_EQ(fw::inpt_act[6], 1);
  EXPECT_EQ(fw::inpt_act[7], 0);

  EXPECT_EQ(fw::rdio_set[10], 0);
  EXPECT_EQ(fw::rdio_set[11], 0);
  EXPECT_EQ(fw::rdio_set[3], -1);
  EXPECT_EQ(fw::NCRad, 28);
  EXPECT_EQ(fw::ddl_inpt[0], 9);
  EXPECT_EQ(fw::ddl_entry(0, 1), "Slow");
  EXPECT_EQ(fw::inpt_ext[6].view(), "*.frm");
  EXPECT_EQ(fw::inpt_arr[0], 1);
  EXPECT_EQ(fw::inpt_arr[1], 1);
  EXPECT_EQ(fw::Title.view(), "Every element");
}

}  // namespace
