// Reading a form definition file into the form model, and the checks of
// what was read. Faults go to the error log "frm_forms.log" in the current
// folder, one line each.
//
// The file is user-editable: lines and items are cut to their fields, and
// elements, radio group names and drop-down lists beyond the capacities are
// refused with a line in the log each (they count as faults), so that
// nothing is ever written past a table.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "common/convert.h"
#include "common/messages.h"
#include "common/text_utils.h"
#include "common/trace.h"
#include "forms/form_text.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms/text_file.h"

using namespace my_forms;

namespace {

using Line = Field<256>;
using Item = Field<128>;

enum Section { kNone = 0, kInput = 1, kRadio = 2, kGeneral = 3, kSepar = 4, kText = 5, kButton = 6 };

constexpr std::array<std::string_view, 7> kHeaders = {
    "", "[Input-boxes]", "[Radio-buttons]", "[General]", "[Separators]", "[Text]", "[Buttons]"};
// Elements a section may hold ([General] has none).
constexpr std::array<int, 7> kCapacity = {0, kMaxInpt, kMaxRdio, 0, kMaxSepa, kMaxTitl, kMaxButt};

// The error log; writing to it is skipped when it could not be created.
class ErrorLog {
 public:
  explicit ErrorLog(std::string_view fnam) {
    int status = 0;
    f_ = open_text_file("frm_forms.log", "w", status);
    line(trim_right(fnam));
  }
  void line(std::string_view s) {
    if (f_) write_line(f_.get(), s);
  }
  void close() { f_.reset(); }

 private:
  FileHandle f_;
};

// A check fault line: the box number in 4 columns, " : ", the message and
// the integers in 9 columns each.
std::string fault_line(int n, std::string_view msg, std::initializer_list<int> values = {}) {
  std::string s = fortran_format(n, "(I4)");
  s += " : ";
  s += msg;
  for (int v : values) s += fortran_format(v, "(I9)");
  return s;
}

// Horizontal position of a text or button: an optional alignment letter
// (L 0, C 1, R 2) and a number, a trailing "%" making it a percentage of the
// window width. Stores alignment * 10000 + x, or -(alignment * 10000 +
// round(10 * percentage)); 0 when the number does not read or the code does
// not fit.
int horizontal_position(std::string_view v) {
  v = trim_right(trim_left(v));
  std::int64_t a = 0;
  if (!v.empty() && (v[0] == 'L' || v[0] == 'C' || v[0] == 'R')) {
    a = v[0] == 'L' ? 0 : v[0] == 'C' ? 1 : 2;
    v.remove_prefix(1);
  }
  v = trim_right(v);
  if (!v.empty() && v.back() == '%') {
    v.remove_suffix(1);
    double p = 0;
    if (!read_real(v, p) || !std::isfinite(p) || std::fabs(p) > 1e8) return 0;
    std::int64_t code = a * 10000 + std::llround(10 * p);
    if (code > INT32_MAX || code < -INT32_MAX) return 0;
    return static_cast<int>(-code);
  }
  int x = 0;
  if (!read_int(v, x)) return 0;
  std::int64_t code = a * 10000 + x;
  if (code > INT32_MAX || code < INT32_MIN) return 0;
  return static_cast<int>(code);
}

// Splits "x,y" and reads each part that reads; the others keep their value.
template <class ReadX, class ReadY>
void read_pair(std::string_view value, ReadX read_x, ReadY read_y) {
  Item rest(value), first;
  extract_comma(rest, first);
  read_x(first.trimmed());
  read_y(rest.trimmed());
}

int type_code(std::string_view v) {
  v = trim_right(v);
  static constexpr std::string_view kLetters = "IRCTKF";
  static constexpr std::array<std::string_view, 10> kNames = {"INT", "FLT", "CHR", "TCK", "KEY",
                                                               "COL", "IFP", "OFP", "FLD", "DDL"};
  if (v.empty()) return 0;
  std::size_t p = kLetters.find(v);
  if (p != std::string_view::npos) return static_cast<int>(p) + 1;
  for (std::size_t k = 0; k < kNames.size(); ++k) {
    if (v == kNames[k]) return static_cast<int>(k) + 1;
  }
  return 0;
}

// First key name that the key begins with, or -1.
template <std::size_t N>
int match_prefix(std::string_view key, const std::array<std::string_view, N>& names) {
  for (std::size_t k = 0; k < N; ++k) {
    if (key.starts_with(names[k])) return static_cast<int>(k);
  }
  return -1;
}

class Reader {
 public:
  explicit Reader(ErrorLog& log) : log_(log) { tmp_dep_.fill(Label()); }

  // Handles one line; false when the reading must stop (duplicate name).
  bool line(const Line& raw) {
    if (raw.is_blank() || raw[0] == '#') return true;
    if (qdebug) trace(raw);
    std::string_view t = raw.trimmed();
    if (t.front() == '[' && t.back() == ']') {
      section_ = kNone;
      for (int s = 1; s <= 6; ++s) {
        if (t == kHeaders[s]) section_ = s;
      }
      // A new header also ends an element left open by a missing "}".
      open_ = 0;
      return true;
    }
    Line work = raw;
    work.left_adjust();
    if (section_ != kNone && work[0] == '{') {
      open_element();
      work = std::string_view(work.view()).substr(1);
      if (work.is_blank()) return true;
    }
    if (section_ != kNone && work[0] == '}') {
      open_ = 0;
      return true;
    }
    if (section_ != kNone && work[work.len_trim() - 1] == '}') {
      work[work.len_trim() - 1] = ' ';
      bool go_on = items(work);
      open_ = 0;
      return go_on;
    }
    return items(work);
  }

  int counter(int section) const { return nb_sect_[section]; }
  int faults() const { return faults_; }
  const Table<Label, kMaxInpt>& tmp_dep() const { return tmp_dep_; }

 private:
  void open_element() {
    int cap = kCapacity[section_];
    if (section_ == kGeneral) {
      open_ = 0;
      return;
    }
    if (nb_sect_[section_] >= cap) {
      ++refused_[section_];
      log_.line(std::string(kHeaders[section_]) + " element " + std::to_string(cap + refused_[section_]) +
                " : beyond the capacity of " + std::to_string(cap) + " elements, ignored");
      ++faults_;
      open_ = 0;
      return;
    }
    open_ = ++nb_sect_[section_];
    if (qdebug) trace("{", section_, open_);
  }

  bool items(const Line& text) {
    Line rest = text;
    // Every item takes at least one character off the line.
    for (int guard = 0; guard <= Line::capacity && !rest.is_blank(); ++guard) {
      Item item;
      extract_list(rest, item, ";");
      if (!item_(item)) return false;
    }
    return true;
  }

  bool item_(const Item& item) {
    Item key, value;
    extract_key_val(item.view(), key, value);
    remove_quotes(value);
    if (value.is_blank()) return true;
    std::string_view k = key.trimmed();
    std::string_view v = value.trimmed();
    if (section_ == kGeneral) {
      general(k, v);
      return true;
    }
    if (open_ == 0) return true;
    switch (section_) {
      case kInput:
        return input_box(open_, k, v);
      case kRadio:
        if (k.starts_with("Set")) radio_group(open_, v);
        return true;
      case kSepar:
        if (k.starts_with("Separ")) separator(open_, v);
        return true;
      case kText:
        text_key(open_, k, v);
        return true;
      case kButton:
        button(open_, k, v);
        return true;
      default:
        return true;
    }
  }

  void general(std::string_view k, std::string_view v) {
    int i = 0;
    if (k == "Window Title") {
      wintit = v;
    } else if (k == "FontName") {
      f_name = v;
    } else if (k == "FontSize") {
      if (read_int(v, i)) f_size = i;
    } else if (k == "Version") {
      if (read_int(v, i) && i >= 0 && i <= 9999) nvers = i;
    } else if (k == "Active") {
      iact = is_true(v) ? 1 : 0;
    } else if (k == "Debug") {
      if (qdebug) trace(k, v);
      qdebug = is_true(v);
    } else if (k == "TickSize") {
      if (read_int(v, i)) tick_size = static_cast<float>(i);
    }
  }

  // Same name (or second identifier) as a box up to the open one, letter case
  // ignored: the definition is refused.
  bool unique(int n, Table<Label, kMaxInpt>& names, std::string_view v) {
    Label candidate(v);
    for (int m = 1; m <= n; ++m) {
      if (case_blind_compare(candidate.view(), names(m).view())) {
        log_.line("NAME: " + candidate.str() + " multiple definition");
        return false;
      }
    }
    names(n) = candidate.view();
    return true;
  }

  bool input_box(int n, std::string_view k, std::string_view v) {
    static constexpr std::array<std::string_view, 12> kKeys = {"Txt", "Name", "Var", "Pos", "TxPos", "Dep",
                                                               "Size", "Type", "Min", "Max", "Arr", "Ext"};
    int i = 0;
    float r = 0;
    switch (match_prefix(k, kKeys)) {
      case 0:  // Txt: a leading "-" makes the box inactive
        if (v.front() == '-') {
          inpt_act(n) = 0;
          v.remove_prefix(1);
        } else {
          inpt_act(n) = 1;
        }
        inpt_txt(n) = v;
        break;
      case 1:
        return unique(n, inpt_nam, v);
      case 2:
        return unique(n, inpt_var, v);
      case 3:
        read_pair(
            v, [&](std::string_view x) { read_int(x, inpt_pos(1, n)); },
            [&](std::string_view y) { read_int(y, inpt_pos(2, n)); });
        break;
      case 4:
        label_position(n, v);
        break;
      case 5:
        tmp_dep_(n) = v;
        break;
      case 6:
        if (read_int(v, i)) inpt_siz(n) = i;
        break;
      case 7:
        inpt_typ(n) = type_code(v);
        break;
      case 8:
        if (read_real(v, r)) inpt_min(n) = r;
        break;
      case 9:
        if (read_real(v, r)) inpt_max(n) = r;
        break;
      case 10:
        if (read_int(v, i)) inpt_arr(n) = i;
        break;
      case 11:
        if (inpt_typ(n) == IFP || inpt_typ(n) == OFP) inpt_ext(n) = v;
        break;
      default:
        break;
    }
    return true;
  }

  void label_position(int n, std::string_view v) {
    if (v.find(',') != std::string_view::npos) {
      read_pair(
          v, [&](std::string_view x) { read_int(x, inpt_pos(3, n)); },
          [&](std::string_view y) { read_int(y, inpt_pos(4, n)); });
      return;
    }
    static constexpr std::array<std::string_view, 5> kCodes = {"R", "L", "LA", "TC", "TL"};
    for (std::size_t c = 0; c < kCodes.size(); ++c) {
      if (v == kCodes[c]) {
        inpt_pos(3, n) = inpt_pos(4, n) = -static_cast<int>(c) - 1;
      }
    }
  }

  void radio_group(int g, std::string_view v) {
    if (qdebug) trace("Set", v);
    Item rest(v);
    int count = 0;
    while (!rest.is_blank()) {
      Item item;
      extract_comma(rest, item);
      if (item.is_blank()) break;
      if (count == kMaxRdioMembers) {
        log_.line("[Radio-buttons] group " + std::to_string(g) + " : more than " + std::to_string(kMaxRdioMembers) +
                  " names, " + item.str() + " and the following ignored");
        ++faults_;
        break;
      }
      Field<16> name(item.view());
      int member = -1;
      for (int m = 1; m <= nb_sect_[kInput]; ++m) {
        if (inpt_nam(m).trimmed() == name.trimmed()) {
          member = m;
          break;
        }
      }
      tick_rdio(++count, g) = member;
    }
    tick_rdio_count(g) = count;
  }

  void separator(int s, std::string_view v) {
    Item rest(v);
    for (int k = 1; k <= 4; ++k) {
      Item item;
      extract_comma(rest, item);
      int i = 0;
      if (read_int(item.trimmed(), i)) sepa_pos(k, s) = i;
    }
  }

  void text_key(int t, std::string_view k, std::string_view v) {
    static constexpr std::array<std::string_view, 2> kKeys = {"Title", "Pos"};
    switch (match_prefix(k, kKeys)) {
      case 0:
        titl_txt(t) = v;
        break;
      case 1:
        read_pair(
            v, [&](std::string_view x) { titl_pos(1, t) = horizontal_position(x); },
            [&](std::string_view y) { read_int(y, titl_pos(2, t)); });
        break;
      default:
        break;
    }
  }

  void button(int b, std::string_view k, std::string_view v) {
    static constexpr std::array<std::string_view, 4> kKeys = {"Pos", "Size", "Txt", "Type"};
    int i = 0;
    switch (match_prefix(k, kKeys)) {
      case 0:
        read_pair(
            v, [&](std::string_view x) { butt_pos(1, b) = horizontal_position(x); },
            [&](std::string_view y) { read_int(y, butt_pos(2, b)); });
        break;
      case 1:
        if (read_int(v, i)) butt_siz(b) = i;
        break;
      case 2:
        butt_txt(b) = v;
        break;
      case 3:
        if (v == "OK") {
          butt_typ(b) = 1;
        } else if (v == "CANCEL") {
          butt_typ(b) = -1;
        } else if (read_int(v, i)) {
          butt_typ(b) = i;
        } else {
          butt_typ(b) = 0;
        }
        break;
      default:
        break;
    }
  }

  ErrorLog& log_;
  int section_ = kNone;
  int open_ = 0;
  std::array<int, 7> nb_sect_{};
  std::array<int, 7> refused_{};
  int faults_ = 0;
  Table<Label, kMaxInpt> tmp_dep_;
};

// The dependency written for box i, encoded: -1 none, the 0-based number of
// the controlling box, 1000 + it for "-" (inverse).
int resolve_dependency(int i, const Label& dep) {
  std::string_view name = dep.trimmed();
  if (name.empty()) return -1;
  bool inverse = name.front() == '-';
  if (inverse) name.remove_prefix(1);
  int m = frm_get_number(name);
  if (m == 0 || m == i) return -1;
  return inverse ? 1000 + (m - 1) : m - 1;
}

// Splits a drop-down box's "Txt" into its label and the entries of list k.
void split_list(int i, int k) {
  std::string_view txt = inpt_txt(i).trimmed();
  std::size_t comma = txt.find(',');
  if (comma == std::string_view::npos) {
    if (k > 0 && !is_landscape_list(i)) {
      ddl_txt(1, k) = txt;
      ddl_nbli(k) = 1;
    } else if (k > 0) {
      ddl_nbli(k) = 0;
    }
    return;
  }
  Label label(txt.substr(0, comma));
  Item rest(txt.substr(comma + 1));
  remove_quotes(label);
  inpt_txt(i) = label.view();
  if (k <= 0) return;
  int count = 0;
  if (!is_landscape_list(i)) {
    while (!rest.is_blank() && count < kMaxDdlEntries) {
      Item item;
      extract_comma(rest, item);
      remove_quotes(item);
      if (item.is_blank()) break;
      ddl_txt(++count, k) = item.view();
    }
  }
  ddl_nbli(k) = count;
}

}  // namespace

int frm_read_form(std::string_view fnam) {
  frm_init_form();
  ErrorLog log(fnam);
  int status = 0;
  FileHandle f = open_text_file(fnam, "r", status);
  if (!f) {
    log.line("ERROR OPENING");
    return status;
  }

  Reader reader(log);
  Line line;
  while (read_line(f.get(), line, status)) {
    if (!reader.line(line)) return 1;  // duplicate name: the form has no elements
  }
  f.reset();

  nb_inpt = reader.counter(kInput);
  nb_rdio = reader.counter(kRadio);
  nb_sepa = reader.counter(kSepar);
  nb_titl = reader.counter(kText);
  nb_butt = reader.counter(kButton);
  int errors = reader.faults();

  int lists = 0;
  for (int i = 1; i <= nb_inpt; ++i) {
    inpt_dep(i) = resolve_dependency(i, reader.tmp_dep()(i));

    switch (inpt_typ(i)) {
      case TCK:
        inpt_siz(i) = static_cast<int>(tick_size);
        inpt_arr(i) = 0;
        break;
      case COL:
        inpt_siz(i) = std::max(inpt_siz(i), 7);
        inpt_arr(i) = 0;
        break;
      case INT:
        inpt_min(i) = -1e9f;
        inpt_max(i) = 1e9f;
        break;
      case CHR:
      case KEY:
      case IFP:
      case OFP:
      case FLD:
      case DDL:
        inpt_arr(i) = 0;
        break;
      default:
        break;
    }

    if (inpt_typ(i) == DDL) {
      if (lists < kMaxDdl) {
        inpt_ddl(i) = ++lists;
        split_list(i, lists);
      } else {
        split_list(i, 0);
        log.line(fault_line(i, "more than " + std::to_string(kMaxDdl) + " drop-down lists, the list is ignored"));
        ++errors;
      }
    }

    if (inpt_typ(i) == 0) {
      log.line(fault_line(i, "type undefined"));
      ++errors;
    }
    if (inpt_nam(i).is_blank()) {
      log.line(fault_line(i, "name undefined"));
      ++errors;
    }
    if (inpt_max(i) < inpt_min(i)) {
      log.line(fault_line(i, "inpt_min, inpt_max inverted"));
      ++errors;
    }
    int x = inpt_pos(1, i), y = inpt_pos(2, i);
    if (x > 10000 || x < -10000 || y < 0 || y > 10000) {
      log.line(fault_line(i, "invalid position", {x, y}));
      ++errors;
    }
    if (inpt_typ(i) != TCK && (inpt_siz(i) < 2 || inpt_siz(i) > 500)) {
      log.line(fault_line(i, "invalid size", {inpt_siz(i)}));
      ++errors;
    }
  }

  if (errors > 0) {
    Field<128> msg(trim_right(fnam));
    msg.append("/");
    msg.append(int_text(errors));
    msg.append(qfr ? " erreurs d\xE9" "tect\xE9" "es/voir frm_forms.log" : " errors detected/see frm_forms.log");
    int msg_status = 1;  // an error box
    error_message(msg_status, msg, qline);
  }
  if (qdebug) trace(errors, status, "errors, ios");
  log.close();
  return std::max({errors, status, 0});
}
