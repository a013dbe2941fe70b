#include "common/convert.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace {

TEST(FreeFormatRead, IntegerTakesTheFirstItem) {
  int v = -1;
  EXPECT_TRUE(read_int("  42", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(read_int("-7,3", v));
  EXPECT_EQ(v, -7);
  EXPECT_TRUE(read_int("+5/", v));
  EXPECT_EQ(v, 5);
  EXPECT_TRUE(read_int("12 34", v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(read_int("\t9\r", v));  // tab and carriage return separate like blanks
  EXPECT_EQ(v, 9);
  EXPECT_TRUE(read_int("-2147483648", v));
  EXPECT_EQ(v, INT_MIN);
}

TEST(FreeFormatRead, FailedIntegerReadKeepsTheTarget) {
  for (const char* text : {"", "    ", "1.5", "12abc", "1e3", ",5", "/", "+", "-", "2147483648", "3*5", "\"5\""}) {
    int v = 77;
    EXPECT_FALSE(read_int(text, v)) << text;
    EXPECT_EQ(v, 77) << text;
  }
}

TEST(FreeFormatRead, Reals) {
  double d = 0;
  EXPECT_TRUE(read_real(" 1.5E+02 next", d));
  EXPECT_EQ(d, 150.0);
  EXPECT_TRUE(read_real("2d-3", d));
  EXPECT_EQ(d, 0.002);
  EXPECT_TRUE(read_real(".5,", d));
  EXPECT_EQ(d, 0.5);
  EXPECT_TRUE(read_real("-5.", d));
  EXPECT_EQ(d, -5.0);
  EXPECT_TRUE(read_real("17", d));
  EXPECT_EQ(d, 17.0);
  EXPECT_TRUE(read_real("0.1", d));
  EXPECT_EQ(d, 0.1);  // correctly rounded
  float f = 0;
  EXPECT_TRUE(read_real("0.1", f));
  EXPECT_EQ(f, 0.1f);
  EXPECT_TRUE(read_real("1e-50", f));  // too small for a float: zero
  EXPECT_EQ(f, 0.0f);
  EXPECT_TRUE(read_real("1e39", d));  // fine for a double
  EXPECT_EQ(d, 1e39);

  for (const char* text : {"", " ", ".", "1e", "1e+", "e5", "1.5q", "1.2.3", "inf", "nan", "Infinity", ",1", "1.5-2"}) {
    double dv = 3.25;
    float fv = 3.25f;
    EXPECT_FALSE(read_real(text, dv)) << text;
    EXPECT_FALSE(read_real(text, fv)) << text;
    EXPECT_EQ(dv, 3.25) << text;
    EXPECT_EQ(fv, 3.25f) << text;
  }
  float fv = 3.25f;
  EXPECT_FALSE(read_real("1e39", fv));  // overflows a float
  EXPECT_EQ(fv, 3.25f);
  double dv = 3.25;
  EXPECT_FALSE(read_real("-1e400", dv));
  EXPECT_EQ(dv, 3.25);
}

TEST(FortranFormat, FixedPoint) {
  EXPECT_EQ(fortran_format(12.5, "(F16.6)"), "       12.500000");
  EXPECT_EQ(fortran_format(-0.001, "(F16.6)"), "       -0.001000");
  EXPECT_EQ(fortran_format(0.0000004, "(F16.6)"), "        0.000000");
  EXPECT_EQ(fortran_format(-0.0000004, "(F16.6)"), "       -0.000000");
  EXPECT_EQ(fortran_format(0.9999999, "(F16.6)"), "        1.000000");
  // Exact ties go to the even digit; other values to the nearest.
  EXPECT_EQ(fortran_format(0.125, "(F5.2)"), " 0.12");
  EXPECT_EQ(fortran_format(0.375, "(F5.2)"), " 0.38");
  EXPECT_EQ(fortran_format(2.5, "(F3.0)"), " 2.");
  EXPECT_EQ(fortran_format(0.15, "(F5.1)"), "  0.1");  // 0.15 is slightly below the tie
  // The optional zero goes when the width is short; then asterisks.
  EXPECT_EQ(fortran_format(0.5, "(F4.3)"), ".500");
  EXPECT_EQ(fortran_format(1.5, "(F4.3)"), "****");
  EXPECT_EQ(fortran_format(1e20, "(F16.0)"), "****************");
  EXPECT_EQ(fortran_format(1234567.5, "(F0.2)"), "1234567.50");
  EXPECT_EQ(fortran_format(1234567.5, "(1PF12.3)"), "12345675.000");
  EXPECT_EQ(fortran_format(2.0, " (f16.6) "), "        2.000000");
}

TEST(FortranFormat, ExponentForms) {
  EXPECT_EQ(fortran_format(2.5e7, "(1PE16.9)"), " 2.500000000E+07");
  EXPECT_EQ(fortran_format(1234567.5, "(1PE16.6)"), "    1.234568E+06");
  EXPECT_EQ(fortran_format(0.0, "(1PE16.9)"), " 0.000000000E+00");
  EXPECT_EQ(fortran_format(-1e-7, "(1PE16.6)"), "   -1.000000E-07");
  EXPECT_EQ(fortran_format(9.9999999999, "(1PE16.9)"), " 1.000000000E+01");  // carry into the exponent
  EXPECT_EQ(fortran_format(1e100, "(1PE16.9)"), " 1.000000000+100");
  EXPECT_EQ(fortran_format(0.5, "(E16.9)"), " 0.500000000E+00");
  EXPECT_EQ(fortran_format(0.5, "(E7.2)"), ".50E+00");
  EXPECT_EQ(fortran_format(3.0, "(2PE12.3)"), "   30.00E-01");
  EXPECT_EQ(fortran_format(1.5, "(-2PE12.3)"), "   0.002E+03");
  EXPECT_EQ(fortran_format(0.999, "(ES10.2)"), "  9.99E-01");
  EXPECT_EQ(fortran_format(1e-5, "(E10.3E4)"), ".100E-0004");
  EXPECT_EQ(fortran_format(1e10, "(1PE12.3E1)"), "************");
  EXPECT_EQ(fortran_format(9.9996, "(D12.3)"), "   0.100D+02");
}

TEST(FortranFormat, IntegersSpecialValuesAndRefusedFormats) {
  EXPECT_EQ(fortran_format(5, "(I2.2)"), "05");
  EXPECT_EQ(fortran_format(-5, "(I2.2)"), "**");
  EXPECT_EQ(fortran_format(-42, "(I4)"), " -42");
  EXPECT_EQ(fortran_format(123, "(I2)"), "**");
  EXPECT_EQ(fortran_format(0, "(I3.0)"), "   ");
  EXPECT_EQ(fortran_format(7, "(I0.3)"), "007");

  double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(fortran_format(inf, "(F16.6)"), "        Infinity");
  EXPECT_EQ(fortran_format(-inf, "(F4.1)"), "-Inf");
  EXPECT_EQ(fortran_format(-inf, "(F3.1)"), "***");
  EXPECT_EQ(fortran_format(std::nan(""), "(1PE16.9)"), "             NaN");
  EXPECT_EQ(fortran_format(inf, "(I4)"), "****");

  for (const char* f : {"(G12.4)", "(F16)", "(5PE12.3)", "(E12.0)", "(A16)", "", "(F1000.2)", "(I5,I5)"})
    EXPECT_EQ(fortran_format(1.5, f), "") << f;
}

TEST(Items, ExtractListSplitsOutsideTheFirstQuotedStretch) {
  Field<40> line("Txt=\"a;b\";Name=x");
  Field<40> item;
  extract_list(line, item, ";");
  EXPECT_EQ(item.str(), "Txt=\"a;b\"");
  EXPECT_EQ(line.str(), "Name=x");
  extract_list(line, item, ";");
  EXPECT_EQ(item.str(), "Name=x");
  EXPECT_TRUE(line.is_blank());
  extract_list(line, item, ";");
  EXPECT_TRUE(item.is_blank());

  // Items are left-adjusted; only the first quoted stretch protects.
  line = "  a ; b";
  extract_list(line, item, ";x");
  EXPECT_EQ(item.str(), "a");
  EXPECT_EQ(line.str(), " b");
  line = "\"a;b\" \"c;d\";e";
  extract_list(line, item, ";");
  EXPECT_EQ(item.str(), "\"a;b\" \"c");

  // No separator after the quotes: the item ends with the closing quote and
  // nothing after it is lost.
  line = "\"a,b\"xyz";
  extract_comma(line, item);
  EXPECT_EQ(item.str(), "\"a,b\"");
  EXPECT_EQ(line.str(), "xyz");

  Field<4> small;
  line = "abcdefg,h";
  extract_comma(line, small);
  EXPECT_EQ(small.str(), "abcd");
  EXPECT_EQ(line.str(), "h");
}

TEST(Items, ReadListStopsAtABlankItemAndAtTheCapacity) {
  Field<256> items[4];
  int count = -1;
  read_list("a;\"b;c\";d", count, items, 4, ";");
  ASSERT_EQ(count, 3);
  EXPECT_EQ(items[1].str(), "\"b;c\"");
  EXPECT_EQ(items[2].str(), "d");

  read_list("a;;b", count, items, 4, ";");
  EXPECT_EQ(count, 1);

  items[2] = "untouched";
  read_list("1,2,3,4,5", count, items, 2, ",");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(items[1].str(), "2");
  EXPECT_EQ(items[2].str(), "untouched");

  read_list(std::string(300, 'x'), count, items, 4, ",");
  EXPECT_EQ(count, 1);
  EXPECT_EQ(items[0].str(), std::string(256, 'x'));
}

TEST(Items, KeyAndValue) {
  Field<16> key, value;
  extract_key_val("a=b:c", key, value);
  EXPECT_EQ(key.str(), "a");
  EXPECT_EQ(value.str(), "b:c");
  extract_key_val("  Size :  12", key, value);
  EXPECT_EQ(key.str(), "Size");
  EXPECT_EQ(value.str(), "12");
  extract_key_val("lonely", key, value);
  EXPECT_EQ(key.str(), "lonely");
  EXPECT_TRUE(value.is_blank());
  // The line may be the caller's key field itself.
  key = "k=v";
  extract_key_val(key, key, value);
  EXPECT_EQ(key.str(), "k");
  EXPECT_EQ(value.str(), "v");

  Field<2> rel;
  auto split = [&](const char* line) {
    extract_key_val_rel(line, key, value, rel);
    return key.str() + "|" + std::string(rel.view()) + "|" + value.str();
  };
  EXPECT_EQ(split("x <= 5"), "x|<=|5");
  EXPECT_EQ(split("x!=5"), "x|!=|5");
  EXPECT_EQ(split("x>=5"), "x|>=|5");
  EXPECT_EQ(split("x=5"), "x|= |5");
  EXPECT_EQ(split("x[]a,b"), "x|[]|a,b");
  EXPECT_EQ(split("a=b<c"), "a=b|< |c");  // the later operator of the table wins
  EXPECT_EQ(split("plain"), "plain|  |");
}

TEST(Conversions, FlagsAndIntegers) {
  EXPECT_TRUE(is_true("y"));
  EXPECT_TRUE(is_true("Yes"));
  EXPECT_TRUE(is_true("1"));
  EXPECT_FALSE(is_true("true"));
  EXPECT_FALSE(is_true("True"));
  EXPECT_FALSE(is_true(" y"));
  EXPECT_FALSE(is_true(""));
  EXPECT_EQ(log2int(true), 1);
  EXPECT_EQ(log2int(false), 0);

  Field<16> text;
  int len = -1;
  l2b(true, text, len);
  EXPECT_EQ(text.str(), "1");
  EXPECT_EQ(len, 1);
  i2b(-42, text, len);
  EXPECT_EQ(text.view(), "-42             ");
  EXPECT_EQ(len, 3);
  Field<40> wide;
  i2b(INT_MIN, wide, len);
  EXPECT_EQ(wide.str(), "-2147483648");
  Field<2> narrow;
  i2b(123, narrow, len);
  EXPECT_EQ(narrow.str(), "**");
  EXPECT_EQ(len, 2);
}

TEST(Conversions, RealTexts) {
  auto text = [](double x, const char* format) {
    Field<32> t("old");
    int len = -1;
    f2b(x, t, format, len);
    EXPECT_EQ(len, t.len_trim());
    return t.str();
  };
  EXPECT_EQ(text(0.0, "(F16.6)"), "0");
  EXPECT_EQ(text(100.0, "(F16.6)"), "100");
  EXPECT_EQ(text(12.5, "(F16.6)"), "12.5");
  EXPECT_EQ(text(3.0, "(F16.6)"), "3");
  EXPECT_EQ(text(0.25, "(F16.6)"), "0.25");
  EXPECT_EQ(text(-0.0001234, "(F16.6)"), "-0.000123");
  // Decimals limited to what a 32-bit real carries for the magnitude.
  EXPECT_EQ(text(1234567.5, "(F16.6)"), "1234567.5");
  EXPECT_EQ(text(1234567.456, "(F16.6)"), "1234567.46");
  EXPECT_EQ(text(123456789.25, "(F16.6)"), "123456789");
  EXPECT_EQ(text(2.5e7, "(1PE16.9)"), "2.500000000E+07");
  EXPECT_EQ(text(1.0e-4, "(1PE16.6)"), "1.000000E-04");
  EXPECT_EQ(text(1e20, "(F16.6)"), "****************");

  // A short field gets the start of the final text.
  Field<4> small;
  int len = 0;
  f2b(12.5, small, "(F16.6)", len);
  EXPECT_EQ(small.str(), "12.5");
  f2b(-12.5, small, "(F16.6)", len);
  EXPECT_EQ(small.str(), "-12.");
  EXPECT_EQ(len, 4);
}

TEST(Conversions, HoursText) {
  Field<12> text;
  int len = -1;
  t2b(1.5, text, len);
  EXPECT_EQ(text.str(), "01:30:00");
  EXPECT_EQ(len, 8);
  t2b(12.75, text, len);
  EXPECT_EQ(text.str(), "12:45:00");
  t2b(123.0, text, len);
  EXPECT_EQ(text.str(), "**:00:00");
}

TEST(KeyCodes, SplitAndTexts) {
  int flags = -1, base = -1;
  split_key_code(9970, flags, base);
  EXPECT_EQ(flags, 1);
  EXPECT_EQ(base, -30);
  split_key_code(10065, flags, base);
  EXPECT_EQ(flags, 1);
  EXPECT_EQ(base, 65);
  split_key_code(-45, flags, base);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(base, -45);

  auto key_text = [](int k) {
    Field<32> t("old");
    int len = -1;
    k2b(k, t, len);
    EXPECT_EQ(len, t.len_trim());
    return t.str();
  };
  EXPECT_EQ(key_text(10065), "CTRL+\"A\"");
  EXPECT_EQ(key_text(9970), "CTRL+SCN30");
  EXPECT_EQ(key_text(10000), "");
  EXPECT_EQ(key_text(0), "");
  EXPECT_EQ(key_text(150065), "LONG+CTRL+SHFT+ALT+\"A\"");
  EXPECT_EQ(key_text(32), "ASC32");
  EXPECT_EQ(key_text(34), "\"\"\"");
  EXPECT_EQ(key_text(127), "ASC127");
  EXPECT_EQ(key_text(-59), "SCN59");
}

TEST(KeyCodes, TextsReadBack) {
  for (int k : {65, 10065, 9970, -59, 32, 34, 126, 127, 233, 5000, 85000 - 4999, 40126, 79999, 150065}) {
    Field<32> t;
    int len = 0;
    k2b(k, t, len);
    EXPECT_EQ(b2k(t), k) << t.str();
  }
  EXPECT_EQ(b2k("\"\xE9\""), 233);
  EXPECT_EQ(b2k("ALT+ASC 9   "), 40009);
  // Unknown texts are no key.
  for (const char* text : {"", "F1", "CTRL+", "CTRL+ASCx", "ASC6000", "SCN5000", "CTRL+LONG+\"A\"", "\"AB\"", " \"A\""})
    EXPECT_EQ(b2k(text), 0) << text;
}

}  // namespace
