// Reading form definition files written by the tests, and the checks of
// what was read.
#include <gtest/gtest.h>

#include "common/messages.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "tests/forms/form_files.h"

using namespace my_forms;

namespace {

using Lines = std::vector<std::string>;

class Reading : public InTempFolder {
 protected:
  // Reads a definition, the console output (message boxes) captured.
  int read(std::string_view content, const std::string& name = "test.frm") {
    write_file(name, content);
    testing::internal::CaptureStdout();
    int result = frm_read_form(name);
    out_ = testing::internal::GetCapturedStdout();
    return result;
  }
  Lines log() { return lines("frm_forms.log"); }
  std::string out_;
};

// A sound box, to which a test adds the items it is about.
std::string box(std::string_view name, std::string_view more = "", int y = 10) {
  return "{Txt=" + std::string(name) + "; Name=" + std::string(name) + "; Type=CHR; Size=5; Pos=10," +
         std::to_string(y) + (more.empty() ? "" : "; ") + std::string(more) + "}\n";
}

TEST_F(Reading, AnElementOnOneLineOrSpreadOverSeveralIsTheSame) {
  ASSERT_EQ(read("[Input-boxes]\n"
                 "{Txt=Speed; Name=speed; Type=FLT; Pos=10,20; TxPos=TL; Size=6; Min=0; Max=250; Arr=1}\n"
                 "{\n"
                 "Txt=Speed\n"
                 "  Name=speed2;Type=FLT\n"
                 "Pos=10,20; TxPos=TL\n"
                 "Size=6; Min=0\n"
                 "Max=250; Arr=1\n"
                 "}\n"),
            0)
      << out_;
  ASSERT_EQ(nb_inpt, 2);
  for (int n = 1; n <= 2; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(inpt_txt(n).trimmed(), "Speed");
    EXPECT_EQ(inpt_typ(n), FLT);
    EXPECT_EQ(inpt_pos.row(n), (std::array<int, 4>{10, 20, -5, -5}));
    EXPECT_EQ(inpt_siz(n), 6);
    EXPECT_EQ(inpt_min(n), 0.0f);
    EXPECT_EQ(inpt_max(n), 250.0f);
    EXPECT_EQ(inpt_arr(n), 1);
    EXPECT_EQ(inpt_act(n), 1);
  }
  EXPECT_EQ(inpt_nam(2).trimmed(), "speed2");
}

TEST_F(Reading, FormSettingsOfTheGeneralSection) {
  ASSERT_EQ(read("[General]\n"
                 "Window Title=\"Towplanes; all of them\"\n"
                 "FontName=cour.ttf\n"
                 "FontSize=14; Version=123\n"
                 "Active=yes\n"
                 "TickSize=15\n"
                 "FontSizeLarge=40\n"   // keys of [General] match exactly
                 "Version=12000\n"      // outside 0 to 9999: ignored
                 "Debug=0\n"),
            0);
  EXPECT_EQ(wintit.trimmed(), "Towplanes; all of them");
  EXPECT_EQ(f_name.trimmed(), "cour.ttf");
  EXPECT_EQ(f_size, 14);
  EXPECT_EQ(nvers, 123);
  EXPECT_EQ(iact, 1);
  EXPECT_EQ(tick_size, 15.0f);
  EXPECT_FALSE(qdebug);
  EXPECT_EQ(frm_get_version(), 123);
}

TEST_F(Reading, KeysOfElementsMatchByTheirBeginning) {
  ASSERT_EQ(read("[Input-boxes]\n"
                 "{Txtlabel=-Greyed; Names=a; Type=C; Size=5; Pos=10,10; Extension=*.x}\n"
                 "{Txt=T; Name=b; Type=TK; Pos=10,40}\n"
                 "{Txt=I; Name=c; Type=IFP; Ext=*.frm; Size=5; Pos=10,70}\n"
                 "{Txt=O; Name=d; Ext=*.log; Type=OFP; Size=5; Pos=10,100}\n"
                 "{Txt=R; Name=e; Type=R; Size=5; Pos=10,130; TxPos=-20,5}\n"),
            0)
      << out_;
  EXPECT_EQ(inpt_txt(1).trimmed(), "Greyed");  // a leading "-" makes the box inactive
  EXPECT_EQ(inpt_act(1), 0);
  EXPECT_EQ(inpt_nam(1).trimmed(), "a");
  EXPECT_EQ(inpt_typ(1), CHR);
  EXPECT_TRUE(inpt_ext(1).is_blank());  // only for file boxes
  EXPECT_EQ(inpt_typ(2), TCK);          // "TK" is found at the 4th letter of IRCTKF
  EXPECT_EQ(inpt_ext(3).trimmed(), "*.frm");
  EXPECT_TRUE(inpt_ext(4).is_blank());  // the type came after the pattern
  EXPECT_EQ(inpt_typ(5), FLT);
  EXPECT_EQ(inpt_pos(3, 5), -20);
  EXPECT_EQ(inpt_pos(4, 5), 5);
}

TEST_F(Reading, TypeNamesAreExactAndAnUnknownTypeIsAFault) {
  EXPECT_EQ(read("[Input-boxes]\n" + box("a", "Type=int") + box("b", "Type=DDL", 40) + box("c", "Type=FLD", 70)),
            1);
  EXPECT_EQ(inpt_typ(1), 0);
  EXPECT_EQ(inpt_typ(2), DDL);
  EXPECT_EQ(inpt_typ(3), FLD);
  EXPECT_EQ(log(), (Lines{"test.frm", "   1 : type undefined"}));
}

TEST_F(Reading, LabelPositionCodes) {
  ASSERT_EQ(read("[Input-boxes]\n" + box("a", "TxPos=R") + box("b", "TxPos=L", 40) + box("c", "TxPos=LA", 70) +
                 box("d", "TxPos=TC", 100) + box("e", "TxPos=TL", 130) + box("f", "TxPos=X", 160)),
            0);
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(inpt_pos(3, n), -n);
    EXPECT_EQ(inpt_pos(4, n), -n);
  }
  EXPECT_EQ(inpt_pos(3, 6), -1);  // unknown code: the default (label right)
}

TEST_F(Reading, CommentsBlankLinesAndUnknownSections) {
  ASSERT_EQ(read("# a comment\n"
                 "\n"
                 "[Input-boxes]\n" +
                 box("a") +
                 "   # not a comment: an item line without a known key\n"
                 "[input-boxes]\n" +  // not a section: ignored up to the next header
                 box("b") +
                 "[Input-boxes] \n" + box("c", "", 40)),
            0);
  EXPECT_EQ(nb_inpt, 2);
  EXPECT_EQ(inpt_nam(2).trimmed(), "c");
}

TEST_F(Reading, ItemsWithoutAValueOrOutsideAnElementAreIgnored) {
  ASSERT_EQ(read("[Input-boxes]\n"
                 "Txt=outside\n"
                 "{Txt=; Name=a; Txt:Colon; Type=CHR; Size=5; Pos=10,10; Size=abc; Pos=x,20}\n"),
            0);
  EXPECT_EQ(inpt_txt(1).trimmed(), "Colon");
  EXPECT_EQ(inpt_siz(1), 5);
  EXPECT_EQ(inpt_pos(1, 1), 10);  // x did not read
  EXPECT_EQ(inpt_pos(2, 1), 20);
}

TEST_F(Reading, DropDownListsSplitTheirText) {
  ASSERT_EQ(read("[Input-boxes]\n" + box("a", "Type=DDL; Txt=Mode,Fast,\"Slow, very\",,Never") +
                 box("b", "Type=DDL; Txt=Alone", 40) +
                 box("c", "Type=DDL; Txt=Landscape,Alps,Flatland", 70) +
                 box("d", "Type=DDL; Txt=Long,0123456789012345678901234567890123456789", 100)),
            0)
      << out_;
  EXPECT_EQ(inpt_txt(1).trimmed(), "Mode");
  EXPECT_EQ(inpt_ddl(1), 1);
  ASSERT_EQ(ddl_nbli(1), 2);  // an empty entry ends the list
  EXPECT_EQ(ddl_txt(1, 1).trimmed(), "Fast");
  EXPECT_EQ(ddl_txt(2, 1).trimmed(), "Slow, very");
  EXPECT_EQ(inpt_txt(2).trimmed(), "Alone");
  EXPECT_EQ(ddl_nbli(2), 1);
  EXPECT_EQ(ddl_txt(1, 2).trimmed(), "Alone");
  EXPECT_EQ(inpt_txt(3).trimmed(), "Landscape");
  EXPECT_EQ(ddl_nbli(3), 0);  // the simulator's landscapes, not the entries written
  EXPECT_TRUE(is_landscape_list(3));
  EXPECT_EQ(ddl_txt(1, 4).trimmed(), "0123456789012345678901234567890");
}

TEST_F(Reading, AListKeepsItsFirstFiftyEntries) {
  std::string entries;
  for (int k = 1; k <= 60; ++k) entries += ",x";
  ASSERT_EQ(read("[Input-boxes]\n" + box("a", "Type=DDL; Txt=L" + entries)), 0);
  EXPECT_EQ(ddl_nbli(1), 50);
}

TEST_F(Reading, RadioGroupsReferToBoxesDefinedBeforeThem) {
  ASSERT_EQ(read("[Radio-buttons]\n"
                 "{Set=one,two}\n"
                 "[Input-boxes]\n" +
                 box("one", "Type=T") + box("two", "Type=T", 40) + box("ABCDEFGHIJKLMNOPQRS", "Type=T", 70) +
                 "[Radio-buttons]\n"
                 "{Set=one, two,nobody,ABCDEFGHIJKLMNOPQRS}\n"),
            0)
      << out_;
  ASSERT_EQ(nb_rdio, 2);
  EXPECT_EQ(tick_rdio_count(1), 2);
  EXPECT_EQ(tick_rdio(1, 1), -1);
  EXPECT_EQ(tick_rdio(2, 1), -1);
  EXPECT_EQ(tick_rdio_count(2), 4);
  EXPECT_EQ(tick_rdio(1, 2), 1);
  EXPECT_EQ(tick_rdio(2, 2), 2);
  EXPECT_EQ(tick_rdio(3, 2), -1);
  EXPECT_EQ(tick_rdio(4, 2), -1);  // names are taken in 16 characters
}

TEST_F(Reading, TextsButtonsAndSeparators) {
  ASSERT_EQ(read("[Text]\n"
                 "{Title=Heading; Pos=C50%,-20}\n"
                 "{Title=Note; Pos=R700,5}\n"
                 "{Title=Other; Pos=L33.33%,5}\n"
                 "{Title=Bad; Pos=C?%,5}\n"
                 "[Buttons]\n"
                 "{Txt=OK; Type=OK; Pos=C50%,5; Size=80}\n"
                 "{Txt=Cancel; Type=CANCEL; Pos=20,5; Size=80}\n"
                 "{Txt=All; Type=3}\n"
                 "{Txt=What; Type=ok}\n"
                 "[Separators]\n"
                 "{Separ=5,x,400,-5}\n"),
            0);
  EXPECT_EQ(nb_titl, 4);
  EXPECT_EQ(titl_pos(1, 1), -10500);
  EXPECT_EQ(titl_pos(2, 1), -20);
  EXPECT_EQ(titl_pos(1, 2), 20700);
  EXPECT_EQ(titl_pos(1, 3), -333);
  EXPECT_EQ(titl_pos(1, 4), 0);
  EXPECT_EQ(titl_txt(2).trimmed(), "Note");
  EXPECT_EQ(nb_butt, 4);
  EXPECT_EQ(butt_typ(1), 1);
  EXPECT_EQ(butt_typ(2), -1);
  EXPECT_EQ(butt_typ(3), 3);
  EXPECT_EQ(butt_typ(4), 0);
  EXPECT_EQ(butt_pos(1, 1), -10500);
  EXPECT_EQ(butt_pos(1, 2), 20);
  EXPECT_EQ(butt_siz(1), 80);
  EXPECT_EQ(nb_sepa, 1);
  EXPECT_EQ(sepa_pos.row(1), (std::array<int, 4>{5, 0, 400, -5}));
}

TEST_F(Reading, DependenciesAreResolvedByName) {
  ASSERT_EQ(read("[Input-boxes]\n" + box("tick", "Type=T") + box("a", "Dep=tick", 40) + box("b", "Dep=-tick", 70) +
                 box("c", "Dep=c", 100) + box("d", "Dep=nobody", 130) + box("e", "Dep=TICK", 160)),
            0);
  EXPECT_EQ(inpt_dep(1), -1);
  EXPECT_EQ(inpt_dep(2), 0);
  EXPECT_EQ(inpt_dep(3), 1000);
  EXPECT_EQ(inpt_dep(4), -1);  // on itself
  EXPECT_EQ(inpt_dep(5), -1);
  EXPECT_EQ(inpt_dep(6), -1);  // names match with their letter case
  EXPECT_EQ(log(), (Lines{"test.frm"}));
}

TEST_F(Reading, AdjustmentsByTypeAndTheChecks) {
  int result = read("[General]\nTickSize=12\n[Input-boxes]\n" +
                    box("tick", "Type=T; Size=900; Arr=1") +                 // tick size of the form
                    box("colour", "Type=COL; Size=3; Arr=1", 40) +           // at least 7
                    box("int", "Type=INT; Min=5; Max=1; Arr=1", 70) +        // bounds of an integer box
                    box("real", "Type=FLT; Min=5; Max=1; Arr=1", 100) +      // inverted
                    box("small", "Size=1", 130) +                            // invalid size
                    "{Txt=Nameless; Type=CHR; Size=5}\n");                   // no name, no position
  EXPECT_EQ(result, 4);
  EXPECT_EQ(inpt_siz(1), 12);
  EXPECT_EQ(inpt_arr(1), 0);
  EXPECT_EQ(inpt_siz(2), 7);
  EXPECT_EQ(inpt_arr(2), 0);
  EXPECT_EQ(inpt_min(3), -1e9f);
  EXPECT_EQ(inpt_max(3), 1e9f);
  EXPECT_EQ(inpt_arr(3), 1);
  EXPECT_EQ(inpt_arr(4), 1);
  EXPECT_EQ(log(), (Lines{"test.frm", "   4 : inpt_min, inpt_max inverted", "   5 : invalid size        1",
                          "   6 : name undefined", "   6 : invalid position       -1       -1"}));
  EXPECT_NE(out_.find("test.frm\n4 errors detected\nsee frm_forms.log"), std::string::npos) << out_;
}

TEST_F(Reading, PositionsOutsideTheWindowRange) {
  EXPECT_EQ(read("[Input-boxes]\n" + box("a", "Pos=-10001,5") + box("b", "Pos=-10000,10001") +
                 box("c", "Pos=10000,0")),
            2);
  EXPECT_EQ(log(), (Lines{"test.frm", "   1 : invalid position   -10001        5",
                          "   2 : invalid position   -10000    10001"}));
}

TEST_F(Reading, ADuplicateNameStopsTheReading) {
  EXPECT_EQ(read("[Input-boxes]\n" + box("Alpha") + box("ALPHA") + box("Gamma")), 1);
  EXPECT_EQ(log(), (Lines{"test.frm", "NAME: ALPHA multiple definition"}));
  EXPECT_EQ(nb_inpt, 0);
  EXPECT_EQ(out_.find("errors detected"), std::string::npos);  // no message box

  EXPECT_EQ(read("[Input-boxes]\n{Txt=a; Name=one; Var=x; Type=CHR}\n{Name=two; Var=X}\n"), 1);
  EXPECT_EQ(log().back(), "NAME: X multiple definition");
  EXPECT_EQ(read("[Input-boxes]\n{Txt=a; Name=one; Name=ONE}\n"), 1);
}

TEST_F(Reading, EmptyMissingAndBinaryFiles) {
  EXPECT_EQ(read(""), 0);
  EXPECT_EQ(nb_inpt, 0);
  EXPECT_EQ(log(), (Lines{"test.frm"}));

  testing::internal::CaptureStdout();
  int result = frm_read_form("missing.frm");
  testing::internal::GetCapturedStdout();
  EXPECT_GT(result, 0);
  EXPECT_EQ(log(), (Lines{"missing.frm", "ERROR OPENING"}));

  std::string binary;
  for (int k = 0; k < 5000; ++k) binary += static_cast<char>((k * 7919) % 256);
  const char tail[] = "\n[Input-boxes]\n{\0\xff}\n";
  binary.append(tail, sizeof tail - 1);
  read(binary);
  EXPECT_LE(nb_inpt, 100);
}

TEST_F(Reading, WindowsLineEndsReadTheSame) {
  ASSERT_EQ(read("[Input-boxes]\r\n{Txt=a; Name=a; Type=CHR; Size=5; Pos=10,10}\r\n[Buttons]\r\n{Txt=OK; Type=OK}\r\n"),
            0);
  EXPECT_EQ(nb_inpt, 1);
  EXPECT_EQ(inpt_pos(2, 1), 10);
  EXPECT_EQ(butt_typ(1), 1);
}

TEST_F(Reading, LongLinesAndItemsAreCut) {
  // The line is cut at 256 characters: its last item and its closing brace
  // are lost, and the element stays open for the next line. The label item
  // is cut at 128 characters.
  std::string line = "{Txt=" + std::string(260, 'x') + "; Name=lost}\n";
  ASSERT_EQ(read("[Input-boxes]\n" + line + "Name=a; Type=CHR; Size=6; Pos=10,10}\n"), 0) << out_;
  EXPECT_EQ(nb_inpt, 1);
  EXPECT_EQ(inpt_txt(1).trimmed(), std::string(124, 'x'));
  EXPECT_EQ(inpt_nam(1).trimmed(), "a");
  EXPECT_EQ(inpt_siz(1), 6);
}

TEST_F(Reading, ElementsBeyondTheCapacitiesAreRefused) {
  std::string def = "[Input-boxes]\n";
  for (int i = 1; i <= 102; ++i) def += box("b" + std::to_string(i), "Type=DDL; Txt=L,x", 10 + i);
  def += "[Radio-buttons]\n{Set=b1,b2,b3,b4,b5,b6,b7,b8,b9,b10,b11,b12}\n";
  def += "[Separators]\n";
  for (int s = 1; s <= 21; ++s) def += "{Separ=1,2,3,4}\n";
  def += "[Buttons]\n";
  for (int b = 1; b <= 11; ++b) def += "{Txt=B; Type=1}\n";
  int result = read(def);
  EXPECT_EQ(nb_inpt, 100);
  EXPECT_EQ(nb_sepa, 20);
  EXPECT_EQ(nb_butt, 10);
  EXPECT_EQ(tick_rdio_count(1), 10);
  EXPECT_EQ(inpt_ddl(30), 30);
  EXPECT_EQ(inpt_ddl(31), -1);
  // Two boxes, two names, a separator, a button and 70 lists too many.
  EXPECT_EQ(result, 2 + 1 + 1 + 1 + 70);
  Lines l = log();
  EXPECT_EQ(l[1], "[Input-boxes] element 101 : beyond the capacity of 100 elements, ignored");
  EXPECT_EQ(l[2], "[Input-boxes] element 102 : beyond the capacity of 100 elements, ignored");
  EXPECT_EQ(l[3], "[Radio-buttons] group 1 : more than 10 names, b11 and the following ignored");
  EXPECT_EQ(l[6], "  31 : more than 30 drop-down lists, the list is ignored");
  EXPECT_NE(out_.find("75 errors detected"), std::string::npos);
}

TEST_F(Reading, FrenchMessage) {
  qfr = true;
  read("[Input-boxes]\n{Txt=a}\n");
  qfr = false;
  EXPECT_NE(out_.find("erreurs d"), std::string::npos) << out_;
  EXPECT_NE(out_.find("voir frm_forms.log"), std::string::npos) << out_;
}

}  // namespace
