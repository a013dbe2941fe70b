// Texts, counted strings and id-keyed lists of the toolkit.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/cpw_list.h"
#include "toolkit/cpw_str.h"

namespace {

// Takes ownership of an sl result and returns it as a std::string.
std::string take(char* s) {
  std::string r = s ? s : "<null>";
  slFree(s);
  return r;
}

std::string text(pStr s) { return s && s->str ? std::string(s->str, s->len) : std::string(); }

TEST(PlainTexts, ReplaceKeepsEverythingOutsideTheOccurrences) {
  EXPECT_EQ(take(slReplace("aXbXc", "X", "YY")), "aYYbYYc");
  EXPECT_EQ(take(slReplace("abc", "X", "YY")), "abc");
  EXPECT_EQ(take(slReplace("XXX", "XX", "-")), "-X");  // non-overlapping, left to right
  EXPECT_EQ(take(slReplace("abab", "ab", "")), "");
  EXPECT_EQ(slReplace("abc", "", "x"), nullptr);
  EXPECT_EQ(slReplace("ab", "abc", "x"), nullptr);
  EXPECT_EQ(slReplace(nullptr, "a", "b"), nullptr);
}

TEST(PlainTexts, PositionsWrapAndClamp) {
  EXPECT_EQ(slWrapPos("abcde", -1), 4);
  EXPECT_EQ(slWrapPos("abcde", 9), 5);
  EXPECT_EQ(slWrapPos("abcde", -9), 0);
  EXPECT_EQ(slCharAt("abc", 1), 'b');
  EXPECT_EQ(slCharAt("abc", 3), 0);
  EXPECT_EQ(slCharAt("abc", -1), 0);
  EXPECT_EQ(take(slSubString("abcdef", 1, 3)), "bcd");  // end inclusive
  EXPECT_EQ(take(slSubString("abcdef", 4, 99)), "ef");
  EXPECT_EQ(take(slSubString("abcdef", 4, 2)), "");
}

TEST(PlainTexts, SearchAndCount) {
  EXPECT_EQ(slFind("hello world", "o"), 4);
  EXPECT_EQ(slFindFrom("hello world", "o", 5), 7);
  EXPECT_EQ(slRFindFrom("hello world", "o", 6), 4);
  EXPECT_EQ(slRFindFrom("hello world", "o", 99), 7);
  EXPECT_EQ(slFindAnyCase("Hello", "LL"), 2);
  EXPECT_EQ(slFind("abc", ""), -1);
  EXPECT_EQ(slFind("ab", "abc"), -1);
  EXPECT_EQ(slCount("aaaa", "aa"), 2);
  EXPECT_TRUE(slContainsAnyCase("Vantyr", "TYR"));
  EXPECT_FALSE(slContains("Vantyr", "TYR"));
  EXPECT_TRUE(slEqualsAnyCase("CPW", "cpw"));
  EXPECT_FALSE(slEqualsAnyCase("CPW", "cpwx"));
}

TEST(PlainTexts, BuildingAndEditing) {
  EXPECT_EQ(take(slSizeTo("ab", 4)), "ab  ");
  EXPECT_EQ(take(slSizeTo("abcdef", 3)), "abc");
  EXPECT_EQ(take(slInsert("abef", "cd", 2)), "abcdef");
  EXPECT_EQ(take(slInsert("ab", "x", 99)), "abx");
  EXPECT_EQ(take(slAppendAndFree(slCopy("ab"), "cd")), "abcd");
  EXPECT_EQ(take(slUpper("MixEd 1")), "MIXED 1");
  char* s = slCopy("abcd");
  slDropCharAt(s, 1);
  EXPECT_STREQ(s, "acd");
  slDropCharAt(s, 7);
  slSetCharAt(s, 0, 'x');
  slDropLastChar(s);
  EXPECT_STREQ(s, "xc");
  slClear(s);
  EXPECT_EQ(slLength(s), 0u);
  slFree(s);
  char* z = slStringOfSize(3);
  EXPECT_EQ(z[0] | z[1] | z[2] | z[3], 0);
  slFree(z);
}

TEST(CountedStrings, TokenSplitsAfterTheFirstCharacter) {
  pStr s = cpyString("a,b,c");
  pStr head = strToken(&s, ',');
  EXPECT_EQ(text(head), "a");
  EXPECT_EQ(text(s), "b,c");
  freeStr(&head);
  // A separator in the first position does not split.
  pStr t = cpyString(",x");
  head = strToken(&t, ',');
  EXPECT_EQ(text(head), ",x");
  EXPECT_EQ(t, nullptr);
  freeStr(&head);
  head = strToken(&s, ',');
  freeStr(&head);
  head = strToken(&s, ',');
  EXPECT_EQ(text(head), "c");
  EXPECT_EQ(s, nullptr);
  freeStr(&head);
  EXPECT_EQ(strToken(&s, ','), nullptr);
}

TEST(CountedStrings, ConcatenationCreatesAndGrows) {
  pStr s = nullptr;
  EXPECT_EQ(concatString(&s, ""), 1);
  EXPECT_EQ(s, nullptr);  // appending nothing leaves the handle as it was
  EXPECT_EQ(concatString(&s, "ab"), 1);
  EXPECT_EQ(concatChar(&s, 'c'), 1);
  pStr other = cpyString("de");
  EXPECT_EQ(concatStr(&s, other), 1);
  const char* more[] = {"f", "", "gh", nullptr};
  EXPECT_EQ(concatStrings(&s, more), 1);
  EXPECT_EQ(concatStringLen(&s, "ijkl", 2), 1);
  EXPECT_EQ(text(s), "abcdefghij");
  EXPECT_EQ(strLen(s), 10u);
  EXPECT_EQ(concatString(&s, nullptr), 0);
  EXPECT_EQ(concatString(nullptr, "x"), 0);
  freeStr(&s);
  freeStr(&other);
  EXPECT_EQ(strLen(nullptr), 0u);
}

TEST(CountedStrings, AStringCanBeAppendedToItself) {
  std::string expected(100, 'x');
  expected.replace(0, 9, "Towplane:");
  pStr s = cpyString(expected.c_str());
  pStr after = cpyString("kept");  // so that the text cannot grow where it lies
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(concatStr(&s, s), 1);
    expected += expected;
    ASSERT_EQ(text(s), expected);
    ASSERT_EQ(concatString(&s, str(s) + 9), 1);
    expected += expected.substr(9);
    ASSERT_EQ(text(s), expected);
  }
  EXPECT_EQ(text(after), "kept");
  freeStr(&s);
  freeStr(&after);
}

TEST(CountedStrings, SubstringsAndCharacters) {
  pStr s = cpyString("abcdef");
  pStr a = subStr(s, 1, 3), b = subStr(s, 2, -1), c = subStr(s, 4, 99), d = subStr(s, 9, 10), e = subStrLen(s, 4, 9);
  EXPECT_EQ(text(a), "bc");
  EXPECT_EQ(text(b), "cdef");
  EXPECT_EQ(text(c), "ef");
  EXPECT_EQ(strLen(d), 0u);
  EXPECT_EQ(text(e), "ef");
  EXPECT_EQ(getChar(s, 5), 'f');
  EXPECT_EQ(getChar(s, 6), 0);
  EXPECT_EQ(setChar(s, 6, 'x'), 0);
  EXPECT_EQ(delChar(s, 0), 1);
  EXPECT_EQ(dropChar(s), 1);
  EXPECT_EQ(text(s), "bcde");
  EXPECT_EQ(sizeStr(&s, 3), 1);
  EXPECT_EQ(strLen(s), 3u);
  EXPECT_EQ(getChar(s, 0) | getChar(s, 1) | getChar(s, 2), 0);
  for (pStr* p : {&s, &a, &b, &c, &d, &e}) freeStr(p);
}

TEST(CountedStrings, ComparisonsNeverReadPastTheShorterText) {
  pStr abc = cpyString("abc"), ab = cpyString("ab"), ABC = cpyString("ABC");
  EXPECT_GT(compareStrCs(abc, ab), 0);
  EXPECT_EQ(compareStrCs(ab, abc), 0);  // over the first string's length
  EXPECT_EQ(compareStrLenCs(abc, ab, 2), 0);
  EXPECT_NE(compareStrCs(abc, ABC), 0);
  EXPECT_EQ(compareStrNc(abc, ABC), 0);
  EXPECT_EQ(compareStringNc(ABC, "abc"), 0);
  EXPECT_EQ(compareStringLenNc(ABC, "abX", 2), 0);
  EXPECT_EQ(compareStrCs(nullptr, nullptr), 0);
  EXPECT_EQ(compareStrNc(abc, nullptr), -1);
  EXPECT_EQ(compareStringNc(nullptr, "a"), -1);
  for (pStr* p : {&abc, &ab, &ABC}) freeStr(p);
}

TEST(CountedStrings, ReplaceAndContains) {
  pStr s = cpyString("a.b.c");
  EXPECT_EQ(replaceString(s, ".", "::"), 1);
  EXPECT_EQ(text(s), "a::b::c");
  EXPECT_EQ(replaceString(s, "a", "ab"), -1);  // equal over the shorter length
  EXPECT_EQ(replaceString(s, nullptr, "x"), -1);
  EXPECT_EQ(containsString(s, "b"), 3);
  EXPECT_EQ(containsString(s, "z"), -1);
  EXPECT_EQ(containsString(s, nullptr), 0);
  pStr empty = newString();
  EXPECT_EQ(replaceString(empty, "a", "b"), 0);
  pStr n = int32ToStr(-42);
  EXPECT_EQ(text(n), "-42");
  EXPECT_EQ(strToInt32(n), -42);
  pStr f = float64ToStr(2.5);
  EXPECT_DOUBLE_EQ(strToFloat64(f), 2.5);
  for (pStr* p : {&s, &empty, &n, &f}) freeStr(p);
}

TEST(Lists, IdsGrowAndAreNeverReused) {
  LinkedListData list;
  ll_initList(&list);
  int a = 1, b = 2, c = 3, d = 4;
  EXPECT_EQ(ll_addVoid(&list, &a), 1u);
  EXPECT_EQ(ll_addVoid(&list, &b), 2u);
  EXPECT_EQ(ll_addVoid(&list, &c), 3u);
  EXPECT_EQ(ll_deleteElement(&list, 1), 1);
  EXPECT_EQ(ll_deleteElement(&list, 1), 0);
  void* v = nullptr;
  EXPECT_EQ(ll_getVoid(&list, &v, 2), 1);
  EXPECT_EQ(v, &b);
  EXPECT_EQ(ll_getVoid(&list, &v, 3), 1);
  EXPECT_EQ(v, &c);
  EXPECT_EQ(ll_addVoid(&list, &d), 4u);
  // An absent id on a non-empty list answers 1 with no value.
  v = &a;
  EXPECT_EQ(ll_getVoid(&list, &v, 9), 1);
  EXPECT_EQ(v, nullptr);
  EXPECT_EQ(ll_setVoid(&list, 4, &a), 1);
  EXPECT_EQ(ll_setVoid(&list, 9, &a), 0);
  EXPECT_EQ(ll_getLength(&list), 3u);
  EXPECT_EQ(ll_deleteList(&list), 3u);
  EXPECT_EQ(ll_getVoid(&list, &v, 2), 0);  // empty list
  EXPECT_EQ(ll_addInt32(&list, 7), 1u);
  EXPECT_EQ(ll_deleteList(&list), 1u);
  EXPECT_EQ(ll_deleteList(&list), 0u);
}

TEST(Lists, StringsAreOwnedAndCopied) {
  pLinkedList list = ll_createList();
  pStr s = cpyString("two");
  ll_addString(list, "one");
  ll_addStr(list, s);
  freeStr(&s);  // the list holds its own copy
  pStr got = nullptr;
  EXPECT_EQ(ll_getString(list, &got, 2), 1);
  EXPECT_EQ(text(got), "two");
  freeStr(&got);
  EXPECT_EQ(ll_popString(list, &got), 1);
  EXPECT_EQ(text(got), "two");
  freeStr(&got);
  EXPECT_EQ(ll_getLength(list), 1u);
  ll_freeList(&list);
  EXPECT_EQ(list, nullptr);
}

TEST(Lists, IterationMarksEachElementOnce) {
  LinkedListData list;
  ll_initList(&list);
  EXPECT_EQ(ll_initIterate(&list), 0);
  for (int i = 10; i < 13; ++i) ll_addInt32(&list, i);
  EXPECT_EQ(ll_initIterate(&list), 1);
  std::string seen;
  while (pLinkedElement e = ll_getNext(&list)) {
    seen += std::to_string(le_getInt32(e)) + " ";
    if (le_getInt32(e) == 11) ll_addInt32(&list, 99);  // added during iteration: seen later
  }
  EXPECT_EQ(seen, "10 11 12 99 ");
  ll_deleteList(&list);
}

TEST(Lists, FlipAndPop) {
  pLinkedList list = ll_createList();
  EXPECT_EQ(ll_flipList(&list), 0);
  ll_addFloat64(list, 1.5);
  ll_addFloat64(list, 2.5);
  ll_addFloat64(list, 3.5);
  ll_deleteElement(list, 2);
  EXPECT_EQ(ll_flipList(&list), 1);
  EXPECT_DOUBLE_EQ(le_getFloat64(ll_getElement(list, 1)), 3.5);
  EXPECT_DOUBLE_EQ(le_getFloat64(ll_getElement(list, 2)), 1.5);
  EXPECT_EQ(ll_getElement(list, 3), nullptr);
  double f = 0;
  EXPECT_EQ(ll_popFloat64(list, &f), 1);
  EXPECT_DOUBLE_EQ(f, 1.5);
  std::int32_t i = 0;
  EXPECT_EQ(ll_popInt32(list, &i), 1);  // a float element read as integer gives 0
  EXPECT_EQ(i, 0);
  EXPECT_EQ(ll_popInt32(list, &i), 0);
  ll_freeList(&list);
}

TEST(Lists, UnlinkAndLinkUpMoveElementsBetweenLists) {
  LinkedListData a, b;
  ll_initList(&a);
  ll_initList(&b);
  ll_addString(&a, "x");
  ll_addString(&a, "y");
  pLinkedElement e = ll_unLink(&a, 1);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(ll_getLength(&a), 1u);
  EXPECT_EQ(ll_unLink(&a, 1), nullptr);
  ll_addInt32(&b, 5);
  EXPECT_EQ(ll_linkUp(&b, e), 2u);
  EXPECT_EQ(text(le_getString(ll_getElement(&b, 2))), "x");
  EXPECT_EQ(le_getType(ll_getElement(&b, 1)), Element_Int32);
  ll_deleteList(&a);
  ll_deleteList(&b);
}

}  // namespace
