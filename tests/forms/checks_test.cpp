// Checking values entered in the window, bounds and spin-arrow steps.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "tests/forms/form_files.h"

using namespace my_forms;

// The application's own check, which replaces the library's default: it
// vetoes one text with its own message.
int check_values_app(int, std::string_view, int&, float&, FieldRef cval, FieldRef message) {
  if (cval.trimmed() == "veto") {
    message = "Vetoed by the application";
    return 0;
  }
  return 1;
}

namespace {

enum Box { kInt = 0, kReal, kRealMax, kChr, kTick, kKey, kColour, kInFile, kOutFile, kFolder, kList, kSpinInt, kSpinReal };

class Checks : public InTempFolder {
 protected:
  void SetUp() override {
    InTempFolder::SetUp();
    write_file("checks.frm",
               "[Input-boxes]\n"
               "{Txt=Int; Name=int; Type=INT; Size=5; Pos=10,10}\n"
               "{Txt=Real; Name=real; Type=FLT; Size=5; Pos=10,40; Min=0; Max=10}\n"
               "{Txt=RealMax; Name=realmax; Type=FLT; Size=5; Pos=10,70; Max=10}\n"
               "{Txt=Chr; Name=chr; Type=CHR; Size=5; Pos=10,100}\n"
               "{Txt=Tick; Name=tick; Type=TCK; Pos=10,130}\n"
               "{Txt=Key; Name=key; Type=KEY; Size=6; Pos=10,160}\n"
               "{Txt=Colour; Name=colour; Type=COL; Pos=10,190}\n"
               "{Txt=In; Name=in; Type=IFP; Size=9; Pos=10,220}\n"
               "{Txt=Out; Name=out; Type=OFP; Size=9; Pos=10,250}\n"
               "{Txt=Folder; Name=folder; Type=FLD; Size=9; Pos=10,280}\n"
               "{Txt=Mode,Fast,Slow; Name=mode; Type=DDL; Size=6; Pos=10,310}\n"
               "{Txt=SpinInt; Name=spinint; Type=INT; Size=5; Pos=10,340; Arr=1}\n"
               "{Txt=SpinReal; Name=spinreal; Type=FLT; Size=5; Pos=10,370; Arr=1}\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(frm_read_form("checks.frm"), 0);
    testing::internal::GetCapturedStdout();
  }

  // check_values as the window calls it, on a text of its 256-byte field.
  int check(int box, const char* entered, int ival = 0, float rval = 0.0f, int active = 1) {
    std::strncpy(text, entered, sizeof text - 1);
    std::memset(message, 'x', sizeof message);
    iv = ival;
    rv = rval;
    return check_values(box, active, iv, rv, text, message);
  }
  int minmax() {
    std::memset(message, 'x', sizeof message);
    return check_minmax(box_, iv, rv, text, message);
  }

  char text[256] = {};
  char message[256] = {};
  int iv = 0;
  float rv = 0;
  int box_ = 0;
};

TEST_F(Checks, IntegerBoxes) {
  EXPECT_EQ(check(kInt, "  007"), 1);
  EXPECT_STREQ(text, "7");
  EXPECT_STREQ(message, "");
  EXPECT_EQ(iv, 7);
  EXPECT_EQ(inpt_ival(kInt + 1), 7);
  EXPECT_EQ(inpt_rval(kInt + 1), 7.0f);
  EXPECT_EQ(inpt_cval(kInt + 1).trimmed(), "  007");

  EXPECT_EQ(check(kInt, "12a"), 0);
  EXPECT_STREQ(message, "Integer value required");
  EXPECT_EQ(inpt_ival(kInt + 1), 7);

  EXPECT_EQ(check(kInt, ""), 1);  // blank: accepted, nothing stored
  EXPECT_EQ(inpt_ival(kInt + 1), 7);

  EXPECT_EQ(check(kInt, "1500000000"), 1);
  box_ = kInt;
  EXPECT_EQ(minmax(), 0);
  EXPECT_STREQ(message, "Value must be in [-1000000000,1000000000]");
}

TEST_F(Checks, RealBoxesAndTheirBounds) {
  EXPECT_EQ(check(kReal, "0"), 1);
  EXPECT_STREQ(text, "0.000000000E+00");  // below 0.001: the exponent form
  EXPECT_EQ(check(kReal, "2.5"), 1);
  EXPECT_STREQ(text, "2.5");
  EXPECT_EQ(rv, 2.5f);
  EXPECT_EQ(inpt_ival(kReal + 1), 3);
  EXPECT_EQ(check(kReal, "1,5"), 1);  // the first item only: 1
  EXPECT_EQ(rv, 1.0f);
  EXPECT_EQ(check(kReal, "x"), 0);
  EXPECT_STREQ(message, "Floating-point value required");
  EXPECT_EQ(check(kReal, "1e39"), 0);  // too large for a real
  EXPECT_EQ(inpt_rval(kReal + 1), 1.0f);

  EXPECT_EQ(check(kReal, "12"), 1);
  box_ = kReal;
  EXPECT_EQ(minmax(), 0);
  EXPECT_STREQ(message, "Value must be in [0,10]");
  EXPECT_EQ(check(kRealMax, "12"), 1);
  box_ = kRealMax;
  EXPECT_EQ(minmax(), 0);
  EXPECT_STREQ(message, "Value must be <= 10");
  frm_set_prop(1, kRealMax + 1, 201, 0, 20.0f, "", false);
  frm_set_prop(1, kRealMax + 1, 202, 0, 2e25f, "", false);
  EXPECT_EQ(minmax(), 0);
  EXPECT_STREQ(message, "Value must be >= 20");
  EXPECT_EQ(check(kRealMax, "25"), 1);
  EXPECT_EQ(minmax(), 1);
  EXPECT_STREQ(message, "");
  box_ = kChr;
  EXPECT_EQ(minmax(), 1);
}

TEST_F(Checks, TextTickKeyColourAndListBoxes) {
  EXPECT_EQ(check(kChr, "any text"), 1);
  EXPECT_EQ(inpt_cval(kChr + 1).trimmed(), "any text");
  EXPECT_EQ(check(kChr, "veto"), 0);
  EXPECT_STREQ(message, "Vetoed by the application");

  EXPECT_EQ(check(kTick, "", 1), 1);
  EXPECT_EQ(inpt_cval(kTick + 1).trimmed(), "1");
  EXPECT_EQ(check(kTick, "", 2), 0);
  EXPECT_STREQ(message, "Value must be 0/1");
  EXPECT_EQ(inpt_ival(kTick + 1), 1);

  EXPECT_EQ(check(kKey, "CTRL+A", 10065), 1);
  EXPECT_EQ(inpt_ival(kKey + 1), 10065);
  EXPECT_EQ(check(kKey, "wide", 300), 1);  // base code from 256 on is lowered by 128
  EXPECT_EQ(iv, 172);
  EXPECT_EQ(inpt_ival(kKey + 1), 172);
  EXPECT_EQ(check(kKey, "far", 400), 1);  // outside the key range: nothing stored
  EXPECT_EQ(inpt_ival(kKey + 1), 172);

  EXPECT_EQ(check(kColour, "#00FF00"), 1);
  EXPECT_EQ(inpt_ival(kColour + 1), 65280);
  EXPECT_EQ(check(kColour, "#00ff0a"), 1);
  EXPECT_EQ(inpt_ival(kColour + 1), 0x00FF0A);
  EXPECT_EQ(check(kColour, "00FF00"), 0);
  EXPECT_STREQ(message, "Format: #RRGGBB");
  EXPECT_EQ(check(kColour, "#00FG00"), 0);
  EXPECT_EQ(check(kColour, "#00FF"), 0);
  EXPECT_EQ(inpt_ival(kColour + 1), 0x00FF0A);

  EXPECT_EQ(check(kList, "Slow", 1), 1);
  EXPECT_EQ(inpt_ival(kList + 1), 2);
  EXPECT_EQ(inpt_cval(kList + 1).trimmed(), "Slow");
}

TEST_F(Checks, PathBoxes) {
  write_file("exists.txt", "x");
  EXPECT_EQ(check(kInFile, "exists.txt"), 1);
  EXPECT_EQ(inpt_cval(kInFile + 1).trimmed(), "exists.txt");
  EXPECT_EQ(check(kInFile, "missing.txt"), 0);
  EXPECT_STREQ(message, "File does not exist");
  EXPECT_EQ(check(kInFile, ""), 1);  // blank: the stored path stays
  EXPECT_EQ(inpt_cval(kInFile + 1).trimmed(), "exists.txt");
  EXPECT_EQ(check(kInFile, "C:\\some\\folder\\"), 1);  // a folder was chosen: no file
  EXPECT_TRUE(inpt_cval(kInFile + 1).is_blank());
  EXPECT_EQ(check(kOutFile, "new.txt"), 1);
  EXPECT_EQ(inpt_cval(kOutFile + 1).trimmed(), "new.txt");
  EXPECT_EQ(check(kFolder, "C:\\anywhere"), 1);
  EXPECT_EQ(inpt_cval(kFolder + 1).trimmed(), "C:\\anywhere");
}

TEST_F(Checks, InactiveBoxesAndBoxesOutsideTheForm) {
  EXPECT_EQ(check(kInt, "not a number", 0, 0.0f, 0), 1);
  EXPECT_EQ(inpt_act(kInt + 1), 0);
  EXPECT_STREQ(text, "not a number");
  EXPECT_EQ(check(13, "1"), 0);
  EXPECT_EQ(check(-1, "1"), 0);
  box_ = 13;
  EXPECT_EQ(minmax(), 0);
}

TEST_F(Checks, LongTextsAreCutToTheirFields) {
  std::string long_text(300, '7');
  EXPECT_EQ(check(kChr, long_text.c_str()), 1);
  EXPECT_EQ(std::strlen(text), 255u);
  EXPECT_EQ(inpt_cval(kChr + 1).trimmed().size(), 255u);
  char small[4] = "abc";
  char msg[5];
  int ival = 0;
  float rval = 0;
  EXPECT_EQ(check_values(kColour, 1, ival, rval, small, msg), 0);
  EXPECT_STREQ(msg, "Form");  // "Format: #RRGGBB" cut to the buffer
}

TEST(Steps, SizesOfSpinSteps) {
  EXPECT_EQ(get_incr(100), 5.0f);
  EXPECT_EQ(get_incr(1000), 50.0f);
  EXPECT_EQ(get_incr(30), 1.0f);
  EXPECT_FLOAT_EQ(get_incr(0.5f), 0.02f);
  EXPECT_EQ(get_incr(0), 1.0f);
  EXPECT_EQ(get_incr(-100), 5.0f);
  EXPECT_FLOAT_EQ(get_incr(2e25f), 1e24f);

  EXPECT_TRUE(check_minmax_0(5, 0, 10));
  EXPECT_TRUE(check_minmax_0(0, 0, 10));
  EXPECT_FALSE(check_minmax_0(10.5f, 0, 10));
  EXPECT_TRUE(check_minmax_0(50, 10, 10));  // equal or inverted bounds bound nothing
  EXPECT_TRUE(check_minmax_0(50, 10, 0));
}

TEST_F(Checks, SpinArrowsStepWithinTheBounds) {
  frm_set_prop(1, kSpinInt + 1, 202, 0, 100.0f, "", false);
  ASSERT_EQ(check(kSpinInt, "20"), 1);
  EXPECT_EQ(incrm_val(kSpinInt, iv, rv, text, 1), 1);  // below 30: steps of 1
  EXPECT_STREQ(text, "21");
  EXPECT_EQ(iv, 21);
  // At 98 the step is 5 (about a 25th of the value), cut at the bound.
  ASSERT_EQ(check(kSpinInt, "98"), 1);
  EXPECT_EQ(incrm_val(kSpinInt, iv, rv, text, 1), 1);
  EXPECT_STREQ(text, "100");
  EXPECT_EQ(incrm_val(kSpinInt, iv, rv, text, 1), 1);
  EXPECT_STREQ(text, "100");
  EXPECT_EQ(inpt_ival(kSpinInt + 1), 100);
  EXPECT_EQ(inpt_cval(kSpinInt + 1).trimmed(), "100");

  // From 1000 on the step follows the size of the stored value.
  ASSERT_EQ(check(kSpinInt, "-1000"), 1);
  EXPECT_EQ(incrm_val(kSpinInt, iv, rv, text, -1), 1);
  EXPECT_STREQ(text, "-1050");
  EXPECT_EQ(iv, -1050);

  std::snprintf(text, sizeof text, "abc");
  EXPECT_EQ(incrm_val(kSpinInt, iv, rv, text, 1), 0);
  EXPECT_EQ(inpt_ival(kSpinInt + 1), -1050);

  // A real box at 0 without bounds steps by a 25th of half the default range.
  ASSERT_EQ(check(kSpinReal, "0"), 1);
  EXPECT_EQ(incrm_val(kSpinReal, iv, rv, text, 1), 1);
  EXPECT_FLOAT_EQ(rv, 1e24f);
  EXPECT_STREQ(text, "1.000000014E+24");
  EXPECT_EQ(iv, 0);
  EXPECT_EQ(inpt_ival(kSpinReal + 1), 2147483647);  // as near as an integer gets

  ASSERT_EQ(check(kSpinReal, "2.5"), 1);
  EXPECT_EQ(incrm_val(kSpinReal, iv, rv, text, -1), 1);
  EXPECT_STREQ(text, "2.4");
  EXPECT_EQ(incrm_val(kSpinReal, iv, rv, text, 1), 1);
  std::snprintf(text, sizeof text, "x");
  EXPECT_EQ(incrm_val(kSpinReal, iv, rv, text, 1), 0);
  EXPECT_EQ(incrm_val(kChr, iv, rv, text, 1), 0);  // nothing to step
}

}  // namespace
