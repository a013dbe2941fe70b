// Form data files: writing a form's values and reading them back.
#include <gtest/gtest.h>

#include "common/platform.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "tests/forms/form_files.h"

using namespace my_forms;

namespace {

using Lines = std::vector<std::string>;

class Data : public InTempFolder {
 protected:
  void SetUp() override {
    InTempFolder::SetUp();
    write_file("data.frm",
               "[Input-boxes]\n"
               "{Txt=Int; Name=int; Type=INT; Size=5; Pos=10,10}\n"
               "{Txt=Real; Name=real; Type=FLT; Size=5; Pos=10,40}\n"
               "{Txt=Big; Name=big; Type=FLT; Size=5; Pos=10,70}\n"
               "{Txt=Chr; Name=chr; Type=CHR; Size=5; Pos=10,100}\n"
               "{Txt=Tick; Name=tick; Type=TCK; Pos=10,130}\n"
               "{Txt=Colour; Name=colour; Type=COL; Pos=10,160}\n"
               "{Txt=In; Name=in; Type=IFP; Size=9; Pos=10,190}\n"
               "{Txt=Out; Name=out; Type=OFP; Size=9; Pos=10,220}\n"
               "{Txt=Folder; Name=folder; Type=FLD; Size=9; Pos=10,250}\n"
               "{Txt=Mode,Fast,Slow,Off; Name=mode; Type=DDL; Size=6; Pos=10,280}\n"
               "{Txt=Landscape; Name=land; Type=DDL; Size=6; Pos=10,310}\n"
               "{Txt=Key; Name=key; Type=KEY; Size=6; Pos=10,340}\n");
    read_definition();
  }
  void read_definition() {
    testing::internal::CaptureStdout();
    EXPECT_EQ(frm_read_form("data.frm"), 0);
    testing::internal::GetCapturedStdout();
  }
  static void set(int n, int iv, float rv, std::string_view cv) { ASSERT_EQ(frm_set_value(n, iv, rv, cv, false), 1); }
};

TEST_F(Data, WritingAndReadingBackRestoresTheValues) {
  // A path as long as a value text holds, beside its name.
  const std::string long_path = "C:\\" + std::string(240, 'p') + "\\f.txt";
  set(1, -42, 0, "");
  set(2, 0, 12.5f, "");
  set(3, 0, 2.5e7f, "");
  set(4, 0, 0, "free text, with = and : inside");
  set(5, 1, 0, "");
  set(6, 0x12AB34, 0, "");
  set(7, 0, 0, long_path);
  set(8, 0, 0, "Z:\\out file.log");
  set(9, 0, 0, "C:\\a folder\\");
  set(10, 3, 0, "");
  set(11, 2, 0, "Slovenia3");
  set(12, 10065, 0, "");
  ASSERT_EQ(frm_write_form_data("values.txt"), 0);
  EXPECT_EQ(lines("values.txt"),
            (Lines{"int=-42", "real=12.5", "big=2.500000000E+07", "chr=free text, with = and : inside", "tick=1",
                   "colour=#12AB34", "in=" + long_path, "out=Z:\\out file.log", "folder=C:\\a folder\\", "mode=3",
                   "land=Slovenia3", "key=CTRL+\"A\""}));

  read_definition();  // every value back to its default
  ASSERT_EQ(frm_read_form_data("values.txt"), 0);
  EXPECT_EQ(inpt_ival(1), -42);
  EXPECT_EQ(inpt_cval(1).trimmed(), "-42");
  EXPECT_EQ(inpt_rval(2), 12.5f);
  EXPECT_EQ(inpt_rval(3), 2.5e7f);
  EXPECT_EQ(inpt_cval(4).trimmed(), "free text, with = and : inside");
  EXPECT_EQ(inpt_ival(5), 1);
  EXPECT_EQ(inpt_ival(6), 0x12AB34);
  EXPECT_EQ(inpt_cval(6).trimmed(), "#12AB34");
  EXPECT_EQ(inpt_cval(7).trimmed(), long_path);
  EXPECT_EQ(inpt_cval(8).trimmed(), "Z:\\out file.log");
  EXPECT_EQ(inpt_cval(9).trimmed(), "C:\\a folder\\");
  EXPECT_EQ(inpt_ival(10), 3);
  EXPECT_EQ(inpt_cval(10).trimmed(), "Off");
  EXPECT_EQ(inpt_cval(11).trimmed(), "Slovenia3");
  // A key text other than "ASC" or "SCN" reads back as no key, with the text.
  EXPECT_EQ(inpt_ival(12), 0);
  EXPECT_EQ(inpt_cval(12).trimmed(), "CTRL+\"A\"");
}

TEST_F(Data, ReadingMatchesNamesExactlyAndSkipsWhatDoesNotRead) {
  write_file("values.txt",
             "# saved values\n"
             "\n"
             "INT=5\n"              // another letter case: not the box
             "int : 6\n"            // ":" when there is no "="
             "real=abc\n"           // the text is taken, the number is not
             "nobody=1\n"
             "mode=2\n"
             "mode=7\n"             // no 7th entry: the box keeps entry 2
             "colour=#zz\n"
             "key=ASC65\n"
             "tick=1\n"
             "tick=0\n");           // the later entry wins
  set(2, 0, 1.5f, "");
  set(6, 0x123456, 0, "");
  ASSERT_EQ(frm_read_form_data("values.txt"), 0);
  EXPECT_EQ(inpt_ival(1), 6);
  EXPECT_EQ(inpt_cval(2).trimmed(), "abc");
  EXPECT_EQ(inpt_rval(2), 1.5f);
  EXPECT_EQ(inpt_ival(10), 2);
  EXPECT_EQ(inpt_cval(10).trimmed(), "Slow");
  EXPECT_EQ(inpt_ival(6), 0x123456);  // the colour kept, its text taken
  EXPECT_EQ(inpt_cval(6).trimmed(), "#zz");
  EXPECT_EQ(inpt_cval(12).trimmed(), "A");
  EXPECT_EQ(inpt_ival(12), 0);
  EXPECT_EQ(inpt_ival(5), 0);

  // "SCN" texts give the number itself, from 89 on raised by 128.
  write_file("scan.txt", "key=SCN63\n");
  ASSERT_EQ(frm_read_form_data("scan.txt"), 0);
  EXPECT_EQ(inpt_ival(12), 63);
  EXPECT_TRUE(inpt_cval(12).is_blank());
  write_file("scan.txt", "key=SCN91\n");
  ASSERT_EQ(frm_read_form_data("scan.txt"), 0);
  EXPECT_EQ(inpt_ival(12), 91 + 128);
}

TEST_F(Data, CommentsOnlyAndMissingFiles) {
  set(1, 9, 0, "");
  write_file("comments.txt", "# one\n#two=2\n\n");
  EXPECT_EQ(frm_read_form_data("comments.txt"), 0);
  EXPECT_EQ(inpt_ival(1), 9);
  EXPECT_GT(frm_read_form_data("missing.txt"), 0);
  EXPECT_EQ(inpt_ival(1), 9);
  EXPECT_GT(frm_write_form_data("no such folder\\values.txt"), 0);
  EXPECT_FALSE(exists("no such folder"));
}

TEST_F(Data, AWriteThatFailsIsNoSuccess) {
  // A device that takes no data, as a full disk would (drive Z: is the
  // host's root under Wine, and on Linux as the program sees it).
  if (!file_exists("Z:\\dev\\full")) GTEST_SKIP() << "no full device here";
  EXPECT_GT(frm_write_form_data("Z:\\dev\\full"), 0);
}

}  // namespace
