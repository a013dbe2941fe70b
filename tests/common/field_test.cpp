#include "common/field.h"

#include <gtest/gtest.h>

TEST(Field, AssignmentCutsOrPadsAndTrimmedIsTheMeaning) {
  Field<5> f("abc");
  EXPECT_EQ(f.view(), "abc  ");
  EXPECT_EQ(f.trimmed(), "abc");
  EXPECT_EQ(f.len_trim(), 3);
  f = "abcdefgh";
  EXPECT_EQ(f.view(), "abcde");
  Field<8> wide;
  EXPECT_TRUE(wide.is_blank());
  wide = f;  // a join is cut to the receiving field
  EXPECT_EQ(wide.view(), "abcde   ");
  Field<3> narrow;
  narrow = wide;
  EXPECT_EQ(narrow.view(), "abc");
}

TEST(Field, AppendGoesAfterTheTrimmedTextAndStopsAtTheEnd) {
  Field<8> f(" a ");
  f.append("bc");
  EXPECT_EQ(f.view(), " abc    ");
  f.append("defghij");
  EXPECT_EQ(f.view(), " abcdefg");
  f.left_adjust();
  EXPECT_EQ(f.view(), "abcdefg ");
}

TEST(Field, ViewsWorkOnTheOwnersStorageAndOverlappingAssignmentsShift) {
  Field<6> f("xabcde");
  FieldRef r = f;
  r.assign(f.view().substr(1));  // shift left by one, a blank enters at the end
  EXPECT_EQ(f.view(), "abcde ");
  r[0] = 'Z';
  EXPECT_EQ(f.trimmed(), "Zbcde");
  EXPECT_TRUE(same_text("ab  ", "ab"));
  EXPECT_FALSE(same_text(" ab", "ab"));
}

TEST(Field, AFieldAppendsAPartOfItselfAsItWasBeforeTheCall) {
  // The source runs past the trimmed text into the place the copy goes to.
  Field<8> f("abc");
  f.append(f.view());
  EXPECT_EQ(f.view(), "abcabc  ");
  Field<10> g("ab");
  g.ref().append(g.view().substr(1, 6));
  EXPECT_EQ(g.view(), "abb       ");
}
