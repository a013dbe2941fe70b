// Plain texts and counted strings of the toolkit.
#include "toolkit/cpw_str.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char* alloc_text(std::uint32_t n) { return static_cast<char*>(std::calloc(std::size_t(n) + 1, 1)); }

int lower(char c) { return std::tolower(static_cast<unsigned char>(c)); }

// Byte comparison of `n` bytes where positions past a text's length read as
// 0, so a shorter text is never read past its terminator.
int bounded_compare(const char* a, std::uint32_t alen, const char* b, std::uint32_t blen, std::uint32_t n,
                    bool any_case) {
  for (std::uint32_t i = 0; i < n; ++i) {
    int ca = i < alen ? static_cast<unsigned char>(a[i]) : 0;
    int cb = i < blen ? static_cast<unsigned char>(b[i]) : 0;
    if (any_case) {
      ca = std::tolower(ca);
      cb = std::tolower(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0 && i >= alen && i >= blen) break;
  }
  return 0;
}

std::int32_t find_from(const char* s, const char* what, std::int32_t pos, bool any_case) {
  if (!s || !what) return -1;
  std::int32_t n = std::int32_t(std::strlen(s)), m = std::int32_t(std::strlen(what));
  if (m == 0 || m > n) return -1;
  if (pos < 0) pos = 0;
  for (std::int32_t i = pos; i + m <= n; ++i) {
    std::int32_t k = 0;
    while (k < m && (any_case ? lower(s[i + k]) == lower(what[k]) : s[i + k] == what[k])) ++k;
    if (k == m) return i;
  }
  return -1;
}

// A new record holding a copy of `n` bytes of `buf`.
pStr make_str(const char* buf, std::uint32_t n) {
  pStr s = static_cast<pStr>(std::calloc(1, sizeof(StringContext)));
  if (!s || n == 0) return s;
  s->str = alloc_text(n);
  if (!s->str) {
    std::free(s);
    return nullptr;
  }
  if (buf) std::memcpy(s->str, buf, n);
  s->len = n;
  return s;
}

// Appends n bytes to the string behind the handle, creating it if needed.
// `buf` may be (part of) the string itself: the old text is freed only after
// the copy.
int append(pStr* s, const char* buf, std::uint32_t n) {
  if (!s || !buf) return 0;
  if (n == 0) return 1;
  if (!*s) {
    *s = make_str(buf, n);
    return *s ? 1 : 0;
  }
  std::uint32_t have = (*s)->len;
  char* grown = alloc_text(have + n);
  if (!grown) return 0;
  if (have) std::memcpy(grown, (*s)->str, have);
  std::memcpy(grown + have, buf, n);
  std::free((*s)->str);
  (*s)->str = grown;
  (*s)->len = have + n;
  return 1;
}

}  // namespace

// ---- plain texts ---------------------------------------------------------

char* slStringOfSize(std::uint32_t n) { return alloc_text(n); }

char* slStringFromBuffer(const char* buf, std::uint32_t n) {
  char* r = alloc_text(n);
  if (r && buf) std::memcpy(r, buf, n);
  return r;
}

char* slSizeTo(const char* s, std::uint32_t n) {
  char* r = alloc_text(n);
  if (!r) return nullptr;
  std::uint32_t have = slLength(s);
  std::uint32_t keep = have < n ? have : n;
  if (keep) std::memcpy(r, s, keep);
  std::memset(r + keep, ' ', n - keep);
  return r;
}

char* slCopy(const char* s) { return slStringFromBuffer(s, slLength(s)); }

void slFree(char* s) { std::free(s); }

std::uint32_t slLength(const char* s) { return s ? std::uint32_t(std::strlen(s)) : 0; }

void slClear(char* s) {
  if (s) std::memset(s, 0, std::strlen(s));
}

void slDropLastChar(char* s) {
  std::uint32_t n = slLength(s);
  if (n) s[n - 1] = 0;
}

void slDropCharAt(char* s, std::int32_t pos) {
  std::int32_t n = std::int32_t(slLength(s));
  if (pos < 0 || pos >= n) return;
  std::memmove(s + pos, s + pos + 1, std::size_t(n - pos));
}

void slSetCharAt(char* s, std::int32_t pos, char c) {
  if (pos >= 0 && pos < std::int32_t(slLength(s))) s[pos] = c;
}

char* slAppend(const char* a, const char* b) {
  std::uint32_t na = slLength(a), nb = slLength(b);
  char* r = alloc_text(na + nb);
  if (!r) return nullptr;
  if (na) std::memcpy(r, a, na);
  if (nb) std::memcpy(r + na, b, nb);
  return r;
}

char* slAppendAndFree(char* a, const char* b) {
  char* r = slAppend(a, b);
  std::free(a);
  return r;
}

char* slInsert(const char* s, const char* ins, std::int32_t pos) {
  std::int32_t n = std::int32_t(slLength(s)), m = std::int32_t(slLength(ins));
  if (pos < 0) pos = 0;
  if (pos > n) pos = n;
  char* r = alloc_text(std::uint32_t(n + m));
  if (!r) return nullptr;
  if (pos) std::memcpy(r, s, std::size_t(pos));
  if (m) std::memcpy(r + pos, ins, std::size_t(m));
  if (n - pos) std::memcpy(r + pos + m, s + pos, std::size_t(n - pos));
  return r;
}

char* slLower(const char* s) {
  char* r = slCopy(s);
  for (char* p = r; p && *p; ++p) *p = char(std::tolower(static_cast<unsigned char>(*p)));
  return r;
}

char* slUpper(const char* s) {
  char* r = slCopy(s);
  for (char* p = r; p && *p; ++p) *p = char(std::toupper(static_cast<unsigned char>(*p)));
  return r;
}

bool slEquals(const char* a, const char* b) {
  if (!a || !b) return a == b;
  return std::strcmp(a, b) == 0;
}

bool slEqualsAnyCase(const char* a, const char* b) {
  if (!a || !b) return a == b;
  std::uint32_t n = slLength(a);
  return n == slLength(b) && bounded_compare(a, n, b, n, n, true) == 0;
}

std::int32_t slWrapPos(const char* s, std::int32_t pos) {
  std::int32_t n = std::int32_t(slLength(s));
  if (pos > n) return n;
  if (pos < 0) pos += n;
  return pos < 0 ? 0 : pos;
}

char slCharAt(const char* s, std::int32_t pos) {
  if (pos < 0 || pos >= std::int32_t(slLength(s))) return 0;
  return s[pos];
}

char* slSubString(const char* s, std::int32_t start, std::int32_t end) {
  std::int32_t n = std::int32_t(slLength(s));
  if (start < 0) start = 0;
  if (end >= n) end = n - 1;
  if (start > end) return alloc_text(0);
  return slStringFromBuffer(s + start, std::uint32_t(end - start + 1));
}

std::int32_t slFind(const char* s, const char* what) { return find_from(s, what, 0, false); }
std::int32_t slFindFrom(const char* s, const char* what, std::int32_t pos) { return find_from(s, what, pos, false); }
std::int32_t slFindAnyCase(const char* s, const char* what) { return find_from(s, what, 0, true); }
std::int32_t slFindAnyCaseFrom(const char* s, const char* what, std::int32_t pos) {
  return find_from(s, what, pos, true);
}

std::int32_t slRFindFrom(const char* s, const char* what, std::int32_t pos) {
  if (!s || !what) return -1;
  std::int32_t n = std::int32_t(std::strlen(s)), m = std::int32_t(std::strlen(what));
  if (m == 0 || m > n || pos < 0) return -1;
  if (pos > n - m) pos = n - m;
  for (std::int32_t i = pos; i >= 0; --i)
    if (std::memcmp(s + i, what, std::size_t(m)) == 0) return i;
  return -1;
}

bool slContains(const char* s, const char* what) { return slFind(s, what) >= 0; }
bool slContainsAnyCase(const char* s, const char* what) { return slFindAnyCase(s, what) >= 0; }

std::int32_t slCount(const char* s, const char* what) {
  std::int32_t count = 0, m = std::int32_t(slLength(what));
  for (std::int32_t at = slFind(s, what); at >= 0; at = slFindFrom(s, what, at + m)) ++count;
  return count;
}

char* slReplace(const char* s, const char* what, const char* with) {
  if (!s || !what || !with) return nullptr;
  std::uint32_t n = slLength(s), m = slLength(what), w = slLength(with);
  if (m == 0 || m > n) return nullptr;
  std::uint32_t count = std::uint32_t(slCount(s, what));
  char* r = alloc_text(n - count * m + count * w);
  if (!r) return nullptr;
  char* out = r;
  std::int32_t from = 0;
  for (std::int32_t at = slFind(s, what); at >= 0; at = slFindFrom(s, what, at + std::int32_t(m))) {
    std::memcpy(out, s + from, std::size_t(at - from));
    out += at - from;
    std::memcpy(out, with, w);
    out += w;
    from = at + std::int32_t(m);
  }
  std::memcpy(out, s + from, n - std::uint32_t(from));
  return r;
}

// ---- counted strings -----------------------------------------------------

pStr newString() { return make_str(nullptr, 0); }
pStr crtStr() { return make_str(nullptr, 0); }
pStr crtStrLen(std::uint32_t n) { return make_str(nullptr, n); }

void freeStr(pStr* s) {
  if (!s || !*s) return;
  std::free((*s)->str);
  std::free(*s);
  *s = nullptr;
}

char* str(pStr s) { return s ? s->str : nullptr; }
char* getString(pStr s) { return s ? s->str : nullptr; }
std::uint32_t strLen(pStr s) { return s ? s->len : 0; }
std::uint32_t len(pStr s) { return s ? s->len : 0; }

int setString(pStr* s, const char* text) {
  if (!s || !text) return 0;
  pStr n = cpyString(text);
  if (!n) return 0;
  freeStr(s);
  *s = n;
  return 1;
}

int setStr(pStr* s, pStr from) {
  if (!s || !from) return 0;
  pStr n = strCpy(from);
  if (!n) return 0;
  freeStr(s);
  *s = n;
  return 1;
}

pStr cpyString(const char* text) { return text ? make_str(text, slLength(text)) : nullptr; }
pStr strCpy(pStr s) { return s ? make_str(s->str, s->len) : nullptr; }
pStr cpyStringLen(const char* buf, std::uint32_t n) { return buf ? make_str(buf, n) : nullptr; }
pStr cpyStrLen(pStr s, std::uint32_t n) { return s ? make_str(s->str, n < s->len ? n : s->len) : nullptr; }

int concatString(pStr* s, const char* text) { return append(s, text, slLength(text)); }
int concatStr(pStr* s, pStr other) { return other ? append(s, other->str ? other->str : "", other->len) : 0; }
int concatStringLen(pStr* s, const char* buf, std::uint32_t n) { return append(s, buf, n); }
int concatChar(pStr* s, char c) { return append(s, &c, 1); }

int concatStrings(pStr* s, const char* const* texts) {
  if (!s || !texts) return 0;
  for (; *texts; ++texts)
    if (!concatString(s, *texts)) return 0;
  return 1;
}

int sizeStr(pStr* s, std::uint32_t n) {
  if (!s) return 0;
  pStr r = make_str(nullptr, n);
  if (!r) return 0;
  freeStr(s);
  *s = r;
  return 1;
}

void strClr(pStr s) {
  if (!s) return;
  std::free(s->str);
  s->str = nullptr;
  s->len = 0;
}

char getChar(pStr s, std::uint32_t pos) { return s && pos < s->len ? s->str[pos] : 0; }

int setChar(pStr s, std::uint32_t pos, char c) {
  if (!s || pos >= s->len) return 0;
  s->str[pos] = c;
  return 1;
}

int delChar(pStr s, std::uint32_t pos) {
  if (!s || pos >= s->len) return 0;
  std::memmove(s->str + pos, s->str + pos + 1, s->len - pos);
  if (--s->len == 0) strClr(s);
  return 1;
}

int dropChar(pStr s) { return s && s->len ? delChar(s, s->len - 1) : 0; }

pStr subStr(pStr s, std::uint32_t start, std::int32_t end) {
  if (!s) return nullptr;
  std::uint32_t stop = (end < 0 || std::uint32_t(end) > s->len) ? s->len : std::uint32_t(end);
  if (start >= stop) return make_str(nullptr, 0);
  return make_str(s->str + start, stop - start);
}

pStr subStrShort(pStr s, std::uint32_t start) { return subStr(s, start, -1); }

pStr subStrLen(pStr s, std::uint32_t start, std::uint32_t n) {
  if (!s) return nullptr;
  if (start >= s->len) return make_str(nullptr, 0);
  if (n > s->len - start) n = s->len - start;
  return make_str(s->str + start, n);
}

pStr strToken(pStr* s, char sep) {
  if (!s || !*s) return nullptr;
  pStr whole = *s;
  for (std::uint32_t i = 1; i < whole->len; ++i) {
    if (whole->str[i] != sep) continue;
    pStr head = make_str(whole->str, i);
    pStr tail = make_str(whole->str + i + 1, whole->len - i - 1);
    if (!head || !tail) {
      freeStr(&head);
      freeStr(&tail);
      return nullptr;
    }
    freeStr(s);
    *s = tail;
    return head;
  }
  pStr copy = strCpy(whole);
  freeStr(s);
  return copy;
}

int compareStrCs(pStr a, pStr b) {
  if (!a || !b) return (a == b) ? 0 : -1;
  return bounded_compare(a->str, a->len, b->str, b->len, a->len, false);
}

int compareStrLenCs(pStr a, pStr b, std::uint32_t n) {
  if (!a || !b) return (a == b) ? 0 : -1;
  return bounded_compare(a->str, a->len, b->str, b->len, n, false);
}

int compareStringLenCs(pStr a, const char* b, std::uint32_t n) {
  if (!a || !b) return (!a && !b) ? 0 : -1;
  return bounded_compare(a->str, a->len, b, slLength(b), n, false);
}

int compareStrNc(pStr a, pStr b) {
  if (!a || !b) return (a == b) ? 0 : -1;
  return bounded_compare(a->str, a->len, b->str, b->len, a->len, true);
}

int compareStringNc(pStr a, const char* b) {
  if (!a || !b) return (!a && !b) ? 0 : -1;
  return bounded_compare(a->str, a->len, b, slLength(b), a->len, true);
}

int compareStrLenNc(pStr a, pStr b, std::uint32_t n) {
  if (!a || !b) return (a == b) ? 0 : -1;
  return bounded_compare(a->str, a->len, b->str, b->len, n, true);
}

int compareStringLenNc(pStr a, const char* b, std::uint32_t n) {
  if (!a || !b) return (!a && !b) ? 0 : -1;
  return bounded_compare(a->str, a->len, b, slLength(b), n, true);
}

int replaceString(pStr s, const char* what, const char* with) {
  if (!s || !what || !with) return -1;
  std::uint32_t m = slLength(what), w = slLength(with);
  // Equal over the shorter length (an empty searched text included): the
  // replacement could match again or change nothing.
  if (std::memcmp(what, with, m < w ? m : w) == 0) return -1;
  if (s->len == 0) return 0;
  char* r = slReplace(s->str, what, with);
  if (!r) return 1;  // searched text longer than the string: nothing to replace
  std::free(s->str);
  s->len = slLength(r);
  if (s->len == 0) {
    std::free(r);
    r = nullptr;
  }
  s->str = r;
  return 1;
}

std::int32_t containsStr(pStr s, pStr what) {
  if (!s || !what) return 0;
  return slFind(s->str, what->str);
}

std::int32_t containsString(pStr s, const char* what) {
  if (!s || !what) return 0;
  return slFind(s->str, what);
}

std::int32_t strToInt32(pStr s) { return s && s->str ? std::atoi(s->str) : 0; }
double strToFloat64(pStr s) { return s && s->str ? std::atof(s->str) : 0.0; }

pStr int32ToStr(std::int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%i", v);
  return cpyString(buf);
}

pStr float64ToStr(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return cpyString(buf);
}
