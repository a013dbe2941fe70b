// A program that supplies no call-backs of its own gets the library's.
#include <gtest/gtest.h>

#include "forms/my_forms.h"

namespace {

TEST(DefaultCallbacks, ReportWhatHappenedAndAcceptEveryValue) {
  testing::internal::CaptureStdout();
  int value = 1;
  frm_callback(6, 2, value);
  frm_callback(1, 3, value);
  frm_callback(4, 3, value);
  Field<255> cval("text");
  Field<256> message;
  int ival = 7;
  float rval = 7.5f;
  int result = check_values_app(3, "Label", ival, rval, cval, message);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "DEFAULT CALLBACK : BUTTON 2 1\n"
            "DEFAULT CALLBACK : INPUT BOX 3 1\n"
            "check_values_app DEFAULT : 3 Label 7 7.5 text \n");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(ival, 7);
}

}  // namespace
