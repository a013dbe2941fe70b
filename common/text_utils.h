// Small routines on blank-padded fixed-length texts: case, comparison,
// quotes, control characters, number-list conventions, version and time
// formatting, and in-place sorts. None reports an error.
#pragma once

#include <string_view>

#include "common/field.h"

void majusc(FieldRef strng);
void minusc(FieldRef strng);
bool case_blind_compare(std::string_view s1, std::string_view s2);
void make_printable(FieldRef str);
// Removes one pair of double (single) quotes enclosing the trimmed text; a
// text that is a lone quote becomes blank.
void remove_quotes(FieldRef buff);
void remove_simple_quotes(FieldRef buff);
bool is_num(std::string_view str);
bool is_uint(std::string_view str);
void subs_comma(FieldRef ligne);
void subs_dot_comma(FieldRef ligne);
void from_frcsv(FieldRef ligne);
void to_frcsv(FieldRef ligne);
void remove_trail_0(FieldRef buff);
void remove_0(FieldRef buff);
void quote_spaces(FieldRef strng);
void numver_to_char(int numver, FieldRef cc1, int& lc1);
// " h:mm:ss", with ".hh" hundredths when there are any and the field holds 11
// characters.
void to_hms(double secs, FieldRef ccc);
// The short form in the first 8 characters; the rest of the field is blank.
void to_hms_c(double secs, FieldRef ccc);
// Seconds of "h:m:s" (first 16 characters); -999 when the seconds do not read
// or the total does not fit an int. An hour or minute that does not read
// counts as 0.
int hms2sec(std::string_view cc1);
// A random digit (30 %) or capital letter in the first character.
void random_char(FieldRef ccc);

// Exchange sort with early exit, stable; ascending when `qasc`, else
// descending. Texts compare as blank-padded fields of equal width.
template <int N>
void my_sort_c(int n, Field<N>* list, bool qasc);
void my_sort_i(int n, int* list, bool qasc);
void my_sort_r(int n, float* list, bool qasc);
template <int N>
void my_sort_i_c(int n, int* list, Field<N>* clist, bool qasc);

// ---- implementation of the templates ----

namespace text_utils_detail {
// Returns true when b should come before a in the wanted order.
template <class T, class Less>
bool out_of_order(const T& a, const T& b, bool qasc, Less less) {
  return qasc ? less(b, a) : less(a, b);
}
template <class T, class Less, class Swap>
void exchange_sort(int n, T* list, bool qasc, Less less, Swap swap_also) {
  for (int i = n; i > 1; --i) {
    bool exchanged = false;
    for (int j = 1; j < i; ++j) {  // element j against element j-1 (0-based)
      if (out_of_order(list[j - 1], list[j], qasc, less)) {
        T t = list[j];
        list[j] = list[j - 1];
        list[j - 1] = t;
        swap_also(j);
        exchanged = true;
      }
    }
    if (!exchanged) break;
  }
}
template <int N>
bool text_less(const Field<N>& a, const Field<N>& b) {
  for (int k = 0; k < N; ++k) {
    unsigned char x = static_cast<unsigned char>(a[k]), y = static_cast<unsigned char>(b[k]);
    if (x != y) return x < y;
  }
  return false;
}
}  // namespace text_utils_detail

template <int N>
void my_sort_c(int n, Field<N>* list, bool qasc) {
  text_utils_detail::exchange_sort(n, list, qasc, text_utils_detail::text_less<N>, [](int) {});
}

template <int N>
void my_sort_i_c(int n, int* list, Field<N>* clist, bool qasc) {
  text_utils_detail::exchange_sort(n, list, qasc, [](int a, int b) { return a < b; }, [clist](int j) {
    Field<N> t = clist[j];
    clist[j] = clist[j - 1];
    clist[j - 1] = t;
  });
}
