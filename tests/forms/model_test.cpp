// The public operations on the form model: counting, naming, values,
// properties, and the dialog without a window.
#include <gtest/gtest.h>

#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms_window/forms_window_state.h"
#include "tests/forms/form_files.h"

using namespace my_forms;
namespace fw = forms_window;

namespace {

class Model : public InTempFolder {
 protected:
  void SetUp() override {
    InTempFolder::SetUp();
    write_file("model.frm",
               "[Input-boxes]\n"
               "{Txt=Count; Name=count; Var=v_count; Type=INT; Size=5; Pos=10,10}\n"
               "{Txt=Ratio; Name=ratio; Type=FLT; Size=8; Pos=10,40}\n"
               "{Txt=Colour; Name=colour; Type=COL; Pos=10,70}\n"
               "{Txt=Mode,Fast,Slow,Off; Name=mode; Type=DDL; Size=6; Pos=10,100}\n"
               "{Txt=Hotkey; Name=hotkey; Type=KEY; Size=6; Pos=10,130}\n"
               "{Txt=Note; Name=note; Type=CHR; Size=6; Pos=10,160}\n"
               "[Text]\n"
               "{Title=Heading; Pos=C50%,-20}\n"
               "[Buttons]\n"
               "{Txt=OK; Type=OK; Pos=C50%,5; Size=80}\n");
    testing::internal::CaptureStdout();
    result_ = frm_read_form("model.frm");
    testing::internal::GetCapturedStdout();
  }
  int result_ = -1;
};

TEST_F(Model, CountsNamesAndNumbers) {
  ASSERT_EQ(result_, 0);
  EXPECT_EQ(frm_get_count(), 6);
  EXPECT_EQ(frm_get_txt_count(), 1);
  EXPECT_EQ(frm_get_number("ratio"), 2);
  EXPECT_EQ(frm_get_number("ratio   "), 2);
  EXPECT_EQ(frm_get_number("RATIO"), 0);

  Field<32> name("old");
  EXPECT_EQ(frm_get_name(2, name), 1);
  EXPECT_EQ(name.trimmed(), "ratio");
  EXPECT_EQ(frm_get_name(100, name), 1);  // the capacity bounds it, not the count
  EXPECT_TRUE(name.is_blank());
  EXPECT_EQ(frm_get_name(101, name), 0);
  EXPECT_EQ(frm_get_name(0, name), 0);
  Field<4> shorter;
  EXPECT_EQ(frm_get_name(1, shorter), 1);
  EXPECT_EQ(shorter.view(), "coun");
  Field<32> title;
  EXPECT_EQ(frm_get_txt_name(1, title), 1);
  EXPECT_EQ(title.trimmed(), "Heading");
  EXPECT_EQ(frm_get_txt_name(21, title), 0);

  EXPECT_EQ(frm_set_count(101), 0);
  EXPECT_EQ(frm_get_count(), 6);
  EXPECT_EQ(frm_set_count(-1), 0);
  EXPECT_EQ(frm_set_count(3), 1);
  EXPECT_EQ(frm_get_count(), 3);
  int iv = 0;
  float rv = 0;
  Field<16> cv;
  int type = 0;
  EXPECT_EQ(frm_get_value(3, iv, rv, cv, type), 1);
  EXPECT_EQ(frm_get_value(4, iv, rv, cv, type), 0);
  EXPECT_EQ(frm_get_number("mode"), 0);
}

TEST_F(Model, KeyNumbers) {
  int largest = 5;
  EXPECT_EQ(get_key_num("box_12", largest), 12);
  EXPECT_EQ(largest, 12);
  EXPECT_EQ(get_key_num("7", largest), 7);
  EXPECT_EQ(largest, 12);
  EXPECT_EQ(get_key_num("box_x", largest), 0);
  EXPECT_EQ(get_key_num("a_3_4", largest), 0);  // "3_4" is no integer
}

TEST_F(Model, SettingValuesGivesEveryTypeItsText) {
  int iv = 0, type = 0;
  float rv = 0;
  Field<255> cv;
  EXPECT_EQ(frm_set_value(1, 42, 0.0f, "", false), 1);
  frm_get_value(1, iv, rv, cv, type);
  EXPECT_EQ(cv.trimmed(), "42");
  EXPECT_EQ(type, INT);
  frm_set_value(1, 42, 0.0f, "  042", false);
  frm_get_value(1, iv, rv, cv, type);
  EXPECT_EQ(cv.trimmed(), "  042");

  frm_set_value(2, 0, 12.5f, "", false);
  frm_get_value(2, iv, rv, cv, type);
  EXPECT_EQ(cv.trimmed(), "12.5");
  frm_set_value(2, 0, 2.5e7f, "", false);
  frm_get_value(2, iv, rv, cv, type);
  EXPECT_EQ(cv.trimmed(), "2.500000E+07");

  frm_set_value(3, 255, 0.0f, "", false);
  frm_get_value(3, iv, rv, cv, type);
  EXPECT_EQ(cv.trimmed(), "#0000FF");

  frm_set_value(5, 10065, 0.0f, "ignored", false);
  frm_get_value(5, iv, rv, cv, type);
  EXPECT_TRUE(cv.is_blank());
  EXPECT_EQ(iv, 10065);

  frm_set_value(4, 3, 0.0f, "", false);
  frm_get_value(4, iv, rv, cv, type);
  EXPECT_EQ(cv.trimmed(), "Off");
  frm_set_value(4, 9, 0.0f, "", false);  // no such entry
  frm_get_value(4, iv, rv, cv, type);
  EXPECT_TRUE(cv.is_blank());
  EXPECT_EQ(frm_set_value(7, 0, 0.0f, "", false), 0);
  EXPECT_EQ(frm_set_value(0, 0, 0.0f, "", false), 0);
}

TEST_F(Model, CreatingTheFormHandsItOverAndOpensNoWindow) {
  ASSERT_EQ(result_, 0);
  testing::internal::CaptureStdout();
  EXPECT_EQ(frm_create_form(), 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("no window available"), std::string::npos) << out;
  EXPECT_EQ(frm_do_form(), 0);
  EXPECT_EQ(frm_new_form(), 0);

  EXPECT_EQ(fw::nb_inpt, 6);
  EXPECT_EQ(fw::inpt_txt[3].view(), "Mode");
  EXPECT_EQ(fw::ddl_nbli[0], 3);
  EXPECT_EQ(fw::ddl_txt[0][2].view(), "Off");
  EXPECT_EQ(fw::inpt_ddl[3], 0);
  EXPECT_EQ(fw::inpt_ddl[0], -2);
  EXPECT_EQ(fw::nb_subt, 1);
  EXPECT_EQ(fw::subt_def[0], (std::array<int, 2>{-10500, -20}));
  EXPECT_EQ(fw::nb_butt, 1);
  EXPECT_EQ(fw::butt_typ[0], 1);

  // With the value updated in the window, the list box gets its 0-based entry.
  frm_set_value(4, 2, 0.0f, "", true);
  EXPECT_EQ(fw::inpt_ival[3], 1);
  EXPECT_EQ(fw::inpt_cval[3].view(), "Slow");
  int iv = 0, type = 0;
  float rv = 0;
  Field<255> cv;
  EXPECT_EQ(frm_get_cur_value(4, iv, rv, cv, type), 1);
  EXPECT_EQ(iv, 2);
  EXPECT_EQ(cv.trimmed(), "Slow");
  EXPECT_EQ(type, DDL);
  EXPECT_EQ(frm_get_cur_value(7, iv, rv, cv, type), 0);

  // A list value below 1 shows the first entry in the model and no entry in
  // the window.
  frm_set_value(4, 0, 0.0f, "", true);
  frm_get_value(4, iv, rv, cv, type);
  EXPECT_EQ(iv, 0);
  EXPECT_EQ(cv.trimmed(), "Fast");
  EXPECT_EQ(fw::inpt_ival[3], -1);

  EXPECT_EQ(frm_set_count(0), 1);
  EXPECT_EQ(frm_create_form(), 0);
}

TEST_F(Model, PropertiesOfBoxesAndTexts) {
  testing::internal::CaptureStdout();
  frm_create_form();
  testing::internal::GetCapturedStdout();
  int iv = 0;
  float rv = 0;
  Field<64> cv("untouched");

  EXPECT_EQ(frm_set_prop(1, 6, 301, 0, 0.0f, "New label", true), 1);
  EXPECT_EQ(fw::inpt_txt[5].view(), "New label");
  EXPECT_EQ(frm_set_prop(1, 6, 101, 0, 0.0f, "", false), 1);
  EXPECT_EQ(fw::inpt_act[5], 0);
  EXPECT_EQ(frm_set_prop(1, 6, 303, 0, 0.0f, "renamed", false), 1);
  EXPECT_EQ(frm_get_number("renamed"), 6);
  EXPECT_EQ(frm_set_prop(1, 6, 302, 0, 0.0f, std::string(40, 'e'), false), 1);
  frm_get_prop(1, 6, 302, iv, rv, cv);
  EXPECT_EQ(cv.trimmed(), std::string(31, 'e'));
  EXPECT_EQ(frm_set_prop(1, 2, 201, 0, -3.5f, "", false), 1);
  EXPECT_EQ(frm_get_prop(1, 2, 201, iv, rv, cv), 1);
  EXPECT_EQ(rv, -3.5f);
  EXPECT_EQ(frm_set_prop(1, 6, 102, INT, 0.0f, "", false), 1);
  EXPECT_EQ(fw::inpt_typ[5], INT);

  EXPECT_EQ(frm_set_prop(1, 1, 304, 0, 0.0f, "no", false), 0);
  EXPECT_EQ(frm_get_prop(1, 1, 304, iv, rv, cv), 1);
  EXPECT_EQ(cv.trimmed(), "v_count");
  EXPECT_EQ(frm_set_prop(1, 1, 999, 0, 0.0f, "", false), 0);
  EXPECT_EQ(frm_get_prop(1, 1, 999, iv, rv, cv), 0);
  EXPECT_EQ(frm_set_prop(1, 7, 301, 0, 0.0f, "", false), 0);
  EXPECT_EQ(frm_get_prop(1, 7, 301, iv, rv, cv), 0);

  EXPECT_EQ(frm_set_prop(5, 1, 301, 0, 0.0f, "New heading", false), 1);
  EXPECT_EQ(fw::subt_txt[0].view(), "New heading");
  EXPECT_EQ(frm_set_prop(5, 1, 302, 0, 0.0f, "x", false), 0);
  EXPECT_EQ(frm_set_prop(5, 2, 301, 0, 0.0f, "x", false), 0);
  EXPECT_EQ(frm_set_prop(6, 1, 301, 0, 0.0f, "x", false), 0);

  iv = 77;
  rv = 7.5f;
  cv = "untouched";
  EXPECT_EQ(frm_get_prop(6, 1, 301, iv, rv, cv), 1);
  EXPECT_EQ(frm_get_prop(5, 1, 999, iv, rv, cv), 1);
  EXPECT_EQ(iv, 77);
  EXPECT_EQ(rv, 7.5f);
  EXPECT_EQ(cv.trimmed(), "untouched");
  EXPECT_EQ(frm_get_prop(5, 1, 301, iv, rv, cv), 1);
  EXPECT_EQ(cv.trimmed(), "New heading");
}

TEST_F(Model, ANewReadingStartsFromAnEmptyModel) {
  write_file("small.frm", "[Input-boxes]\n{Txt=One; Name=one; Type=CHR; Size=5; Pos=10,10}\n");
  frm_set_value(1, 5, 0.0f, "five", false);
  EXPECT_EQ(frm_read_form("small.frm"), 0);
  EXPECT_EQ(frm_get_count(), 1);
  EXPECT_EQ(frm_get_txt_count(), 0);
  EXPECT_TRUE(inpt_cval(1).is_blank());
  EXPECT_EQ(inpt_ddl(4), -1);
  EXPECT_TRUE(inpt_txt(2).is_blank());
}

}  // namespace
