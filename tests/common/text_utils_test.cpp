#include "common/text_utils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextUtils, CaseMappingTouchesOnlyAsciiLettersWithinTheText) {
  Field<10> name("H\xE9l\xE8ne");
  majusc(name);
  EXPECT_EQ(name.view(), "H\xE9L\xE8NE    ");
  minusc(name);
  EXPECT_EQ(name.view(), "h\xE9l\xE8ne    ");
  Field<6> marks("a[z{~");
  majusc(marks);
  EXPECT_EQ(marks.str(), "A[Z{~");
}

TEST(TextUtils, CaseBlindCompare) {
  EXPECT_TRUE(case_blind_compare("Planes", "PLANES   "));
  EXPECT_FALSE(case_blind_compare(" Planes", "Planes"));
  EXPECT_TRUE(case_blind_compare("", "    "));
  EXPECT_FALSE(case_blind_compare("Plane", "Planes"));
  // Only letters are mapped: "[" and "{" differ by the case distance but stay different.
  EXPECT_FALSE(case_blind_compare("a[", "A{"));
  EXPECT_FALSE(case_blind_compare("\xE9", "\xC9"));
}

TEST(TextUtils, RemoveQuotesTakesOffOneEnclosingPair) {
  auto unquoted = [](const char* text) {
    Field<12> f(text);
    remove_quotes(f);
    return std::string(f.view());
  };
  EXPECT_EQ(unquoted("\"abc\""), "abc         ");
  EXPECT_EQ(unquoted("\"a\"b\"  "), "a\"b         ");
  EXPECT_EQ(unquoted("\"\"x\"\""), "\"x\"         ");
  EXPECT_EQ(unquoted("\""), "            ");
  EXPECT_EQ(unquoted("\"\""), "            ");
  EXPECT_EQ(unquoted("abc"), "abc         ");
  EXPECT_EQ(unquoted("\"abc"), "\"abc        ");
  EXPECT_EQ(unquoted(" \"abc\""), " \"abc\"      ");

  Field<8> single("'it''s'");
  remove_simple_quotes(single);
  EXPECT_EQ(single.str(), "it''s");
  Field<8> mixed("\"abc'");
  remove_simple_quotes(mixed);
  EXPECT_EQ(mixed.str(), "\"abc'");
}

TEST(TextUtils, MakePrintableReplacesEveryLineFeedOfTheField) {
  Field<8> f("a\nb");
  f[7] = '\n';
  make_printable(f);
  EXPECT_EQ(f.view(), "a/b    /");
  Field<8> plain("a b");
  make_printable(plain);
  EXPECT_EQ(plain.view(), "a b     ");
}

TEST(TextUtils, NumberListConventions) {
  EXPECT_TRUE(is_num("-1.5E+3  "));
  EXPECT_FALSE(is_num(" 1"));
  EXPECT_FALSE(is_num("1,5"));
  EXPECT_FALSE(is_num("   "));
  EXPECT_TRUE(is_uint("0123"));
  EXPECT_FALSE(is_uint("+1"));
  EXPECT_FALSE(is_uint(""));

  Field<20> line("1.5,2.5,x.y");
  subs_comma(line);
  EXPECT_EQ(line.str(), "1.5;2.5;x.y");
  line = "1.5,2.5";
  subs_dot_comma(line);
  EXPECT_EQ(line.str(), "1,5;2,5");
  from_frcsv(line);
  EXPECT_EQ(line.str(), "1.5,2.5");

  // Points turn into decimal commas only in numeric fields.
  Field<40> csv("1.5,file.txt,\"2.5\",-3e.2,7");
  to_frcsv(csv);
  EXPECT_EQ(csv.str(), "1,5;file.txt;\"2.5\";-3e,2;7");
}

TEST(TextUtils, NulCharacters) {
  Field<8> f(std::string_view("ab\0cd", 5));
  remove_trail_0(f);
  EXPECT_EQ(f.view(), "ab      ");

  Field<8> g(std::string_view("a\0b\0c\0", 6));
  remove_0(g);
  EXPECT_EQ(g.view(), "abc     ");
  Field<6> h(std::string_view("ab\0", 3));
  h[5] = 'x';  // a NUL before the last character is cut out, the rest moves left
  remove_0(h);
  EXPECT_EQ(h.view(), "ab  x ");
}

TEST(TextUtils, QuoteSpaces) {
  Field<12> f("my file");
  quote_spaces(f);
  EXPECT_EQ(f.str(), "\"my file\"");
  Field<12> g("myfile");
  quote_spaces(g);
  EXPECT_EQ(g.str(), "myfile");
  Field<8> tight("my file");
  quote_spaces(tight);
  EXPECT_EQ(tight.view(), "\"my file");
}

TEST(TextUtils, VersionNumberText) {
  Field<16> cc;
  int lc = -1;
  numver_to_char(1234, cc, lc);
  EXPECT_EQ(cc.view(), "1.2.3.4         ");
  EXPECT_EQ(lc, 7);
  numver_to_char(12345, cc, lc);
  EXPECT_EQ(cc.str(), "12.3.4.5");
  numver_to_char(305, cc, lc);
  EXPECT_EQ(cc.str(), "0.3.0.5");
  numver_to_char(0, cc, lc);
  EXPECT_EQ(cc.str(), "0.0.0.0");
  EXPECT_EQ(lc, 7);
  numver_to_char(100000, cc, lc);
  EXPECT_EQ(cc.str(), "**.0.0.0");
  Field<4> narrow;
  numver_to_char(1200, narrow, lc);
  EXPECT_EQ(narrow.view(), "1.2.");
  EXPECT_EQ(lc, 4);
}

TEST(TextUtils, TimeTexts) {
  Field<8> short_field;
  to_hms(3602.0, short_field);
  EXPECT_EQ(short_field.view(), " 1:00:02");
  to_hms(3602.75, short_field);  // too short for hundredths
  EXPECT_EQ(short_field.view(), " 1:00:02");
  Field<12> wide;
  to_hms(3602.75, wide);
  EXPECT_EQ(wide.view(), " 1:00:02.75 ");
  to_hms(45296.0, wide);
  EXPECT_EQ(wide.str(), "12:34:56");
  to_hms(360000.0, wide);  // 100 hours do not fit two characters
  EXPECT_EQ(wide.str(), "**:00:00");
  Field<12> compact("xxxxxxxxxxxx");
  to_hms_c(3602.75, compact);
  EXPECT_EQ(compact.view(), " 1:00:02    ");

  EXPECT_EQ(hms2sec("1:30:15"), 5415);
  EXPECT_EQ(hms2sec(" 01:00:00   "), 3600);
  EXPECT_EQ(hms2sec("0:0:7"), 7);
  EXPECT_EQ(hms2sec("1:30:xx"), -999);
  EXPECT_EQ(hms2sec("1:30:"), -999);
  EXPECT_EQ(hms2sec(""), -999);
  // Only the seconds decide success; an unreadable hour counts as 0.
  EXPECT_EQ(hms2sec("x:02:03"), 123);
  // Only the first 16 characters count.
  EXPECT_EQ(hms2sec("0:0:000000000009999"), 9);
}

TEST(TextUtils, RandomCharIsADigitOrCapitalFollowedByBlanks) {
  bool digit = false, letter = false;
  Field<4> c("zzzz");
  for (int i = 0; i < 2000; ++i) {
    random_char(c);
    ASSERT_EQ(c.view().substr(1), "   ");
    char ch = c[0];
    ASSERT_TRUE((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z')) << static_cast<int>(ch);
    if (ch >= '0' && ch <= '9') digit = true;
    if (ch >= 'A' && ch <= 'Z') letter = true;
  }
  EXPECT_TRUE(digit);
  EXPECT_TRUE(letter);
}

TEST(TextUtils, SortsByCodeValueInBothDirections) {
  Field<4> texts[] = {Field<4>("b"), Field<4>("B"), Field<4>("a"), Field<4>("ab"), Field<4>(" a")};
  my_sort_c(5, texts, true);
  EXPECT_EQ(texts[0].str(), " a");
  EXPECT_EQ(texts[1].str(), "B");
  EXPECT_EQ(texts[2].str(), "a");
  EXPECT_EQ(texts[3].str(), "ab");
  EXPECT_EQ(texts[4].str(), "b");
  my_sort_c(5, texts, false);
  EXPECT_EQ(texts[0].str(), "b");
  EXPECT_EQ(texts[4].str(), " a");

  int ints[] = {3, -1, 7, 0, 7, 2};
  my_sort_i(6, ints, true);
  EXPECT_EQ(std::vector<int>(ints, ints + 6), (std::vector<int>{-1, 0, 2, 3, 7, 7}));
  my_sort_i(6, ints, false);
  EXPECT_EQ(std::vector<int>(ints, ints + 6), (std::vector<int>{7, 7, 3, 2, 0, -1}));

  float reals[] = {0.5f, -2.0f, 1e10f, 0.25f};
  my_sort_r(4, reals, true);
  EXPECT_EQ(std::vector<float>(reals, reals + 4), (std::vector<float>{-2.0f, 0.25f, 0.5f, 1e10f}));

  // Only the first n elements move; n of 0 or 1 changes nothing.
  int part[] = {5, 4, 3, 2, 1};
  my_sort_i(3, part, true);
  EXPECT_EQ(std::vector<int>(part, part + 5), (std::vector<int>{3, 4, 5, 2, 1}));
  my_sort_i(1, part + 3, true);
  my_sort_i(0, part + 3, true);
  EXPECT_EQ(part[3], 2);
}

TEST(TextUtils, SortWithTextsIsStableAndCarriesTheTexts) {
  int keys[] = {2, 1, 2, 1, 3};
  Field<2> names[] = {Field<2>("a"), Field<2>("b"), Field<2>("c"), Field<2>("d"), Field<2>("e")};
  my_sort_i_c(5, keys, names, true);
  std::string order;
  for (auto& n : names) order += n.str();
  EXPECT_EQ(order, "bdace");
  EXPECT_EQ(std::vector<int>(keys, keys + 5), (std::vector<int>{1, 1, 2, 2, 3}));

  my_sort_i_c(5, keys, names, false);
  order.clear();
  for (auto& n : names) order += n.str();
  EXPECT_EQ(order, "eacbd");
}

}  // namespace
