// Texts of the toolkit: plain zero-terminated arrays (sl...) and counted
// strings (pStr).
//
// Every `sl` operation that returns a text returns a new array of at least one
// byte, which the caller frees with slFree. A `pStr` handle points to a heap
// record holding the text and its length; an empty string has length 0 and no
// array. Operations taking the address of a handle may replace the record
// behind it. Null handles and texts are accepted everywhere.
#pragma once

#include <cstdint>

// ---- plain texts ---------------------------------------------------------

char* slStringOfSize(std::uint32_t n);                      // n zero characters
char* slStringFromBuffer(const char* buf, std::uint32_t n); // copy of n bytes
char* slSizeTo(const char* s, std::uint32_t n);             // cut or blank-padded to n
char* slCopy(const char* s);
void slFree(char* s);
std::uint32_t slLength(const char* s);

// In place.
void slClear(char* s);
void slDropLastChar(char* s);
void slDropCharAt(char* s, std::int32_t pos);
void slSetCharAt(char* s, std::int32_t pos, char c);

char* slAppend(const char* a, const char* b);
char* slAppendAndFree(char* a, const char* b);  // frees `a`
char* slInsert(const char* s, const char* ins, std::int32_t pos);
char* slLower(const char* s);
char* slUpper(const char* s);

bool slEquals(const char* a, const char* b);
bool slEqualsAnyCase(const char* a, const char* b);

std::int32_t slWrapPos(const char* s, std::int32_t pos);
char slCharAt(const char* s, std::int32_t pos);
char* slSubString(const char* s, std::int32_t start, std::int32_t end);  // end inclusive

std::int32_t slFind(const char* s, const char* what);
std::int32_t slFindFrom(const char* s, const char* what, std::int32_t pos);
std::int32_t slRFindFrom(const char* s, const char* what, std::int32_t pos);
std::int32_t slFindAnyCase(const char* s, const char* what);
std::int32_t slFindAnyCaseFrom(const char* s, const char* what, std::int32_t pos);
bool slContains(const char* s, const char* what);
bool slContainsAnyCase(const char* s, const char* what);
std::int32_t slCount(const char* s, const char* what);
char* slReplace(const char* s, const char* what, const char* with);

// ---- counted strings -----------------------------------------------------

struct StringContext {
  char* str;          // zero-terminated text, or null for the empty string
  std::uint32_t len;  // characters, terminator not counted
};
typedef StringContext* pStr;

pStr newString();
pStr crtStr();
pStr crtStrLen(std::uint32_t n);  // n zero characters
void freeStr(pStr* s);

char* str(pStr s);
char* getString(pStr s);
std::uint32_t strLen(pStr s);
std::uint32_t len(pStr s);

int setString(pStr* s, const char* text);
int setStr(pStr* s, pStr from);
pStr cpyString(const char* text);
pStr strCpy(pStr s);
pStr cpyStringLen(const char* buf, std::uint32_t n);
pStr cpyStrLen(pStr s, std::uint32_t n);

int concatString(pStr* s, const char* text);
int concatStr(pStr* s, pStr other);
int concatStrings(pStr* s, const char* const* texts);  // list ends with a null
int concatStringLen(pStr* s, const char* buf, std::uint32_t n);
int concatChar(pStr* s, char c);

int sizeStr(pStr* s, std::uint32_t n);
void strClr(pStr s);

char getChar(pStr s, std::uint32_t pos);
int setChar(pStr s, std::uint32_t pos, char c);
int delChar(pStr s, std::uint32_t pos);
int dropChar(pStr s);

pStr subStr(pStr s, std::uint32_t start, std::int32_t end);  // end exclusive, -1: to the end
pStr subStrShort(pStr s, std::uint32_t start);
pStr subStrLen(pStr s, std::uint32_t start, std::uint32_t n);
pStr strToken(pStr* s, char sep);

int compareStrCs(pStr a, pStr b);
int compareStrLenCs(pStr a, pStr b, std::uint32_t n);
int compareStringLenCs(pStr a, const char* b, std::uint32_t n);
int compareStrNc(pStr a, pStr b);
int compareStringNc(pStr a, const char* b);
int compareStrLenNc(pStr a, pStr b, std::uint32_t n);
int compareStringLenNc(pStr a, const char* b, std::uint32_t n);

int replaceString(pStr s, const char* what, const char* with);
std::int32_t containsStr(pStr s, pStr what);
std::int32_t containsString(pStr s, const char* what);

std::int32_t strToInt32(pStr s);
double strToFloat64(pStr s);
pStr int32ToStr(std::int32_t v);
pStr float64ToStr(double v);
