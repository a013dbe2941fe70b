// The form model and its public operations: resetting the model, counting
// and naming elements, values and properties, and running the dialog.
#include <cstdio>
#include <cstdlib>

#include "common/command_interpreter.h"
#include "common/convert.h"
#include "common/messages.h"
#include "common/trace.h"
#include "forms/form_text.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms_window/forms_window.h"

using namespace my_forms;

void table_index_fault(int index, int capacity) {
  std::fprintf(stderr, "forms library: index %d outside a table of %d entries\n", index, capacity);
  std::fflush(stdout);
  std::abort();
}

bool my_forms::is_landscape_list(int n) { return inpt_typ(n) == DDL && inpt_txt(n).trimmed() == "Landscape"; }

void frm_init_form() {
  iact = 0;
  qdebug = false;
  nb_rdio = nb_inpt = nb_sepa = nb_titl = nb_butt = 0;
  tick_size = 0.0f;
  f_size = 0;
  nvers = 0;
  tick_rdio.fill(0);
  tick_rdio_count.fill(0);
  inpt_act.fill(1);
  inpt_pos.fill(-1);
  inpt_dep.fill(-1);
  inpt_siz.fill(0);
  inpt_typ.fill(0);
  inpt_arr.fill(0);
  inpt_ddl.fill(-1);
  inpt_min.fill(kNoMin);
  inpt_max.fill(kNoMax);
  inpt_rval.fill(0.0f);
  inpt_ival.fill(0);
  sepa_pos.fill(0);
  titl_pos.fill(0);
  butt_pos.fill(0);
  butt_siz.fill(0);
  butt_typ.fill(0);
  inpt_txt.fill(Label());
  titl_txt.fill(Label());
  butt_txt.fill(Label());
  ddl_txt.fill(Entry());
  f_name.blank();
  inpt_cval.fill(Value());
  inpt_nam.fill(Label());
  inpt_ext.fill(Pattern());
  inpt_var.fill(Label());
  wintit.blank();
}

// ---- dialog ----

int frm_create_form() {
  qfr = IsLanguageFrench() != 0;
  if (qfr) {
    // The library's French texts are held in code page 1252.
    int exitstat = 0, cmdstat = 0;
    run_command("chcp 1252 > NUL", exitstat, cmdstat);
  }
  if (nb_inpt == 0) return 0;
  if (qdebug) trace(f_name, f_size);
  set_opt({iact, f_size, qdebug ? 1 : 0});
  load_form();
  window_id = frm_start_graphics(c_text(f_name.view(), 128).c_str(), c_text(wintit.view(), 127).c_str());
  if (qdebug) trace("frm_create_form : window_id", window_id);
  return window_id;
}

int frm_new_form() {
  if (window_id == 0) return 0;
  load_form();
  return frm_new_form_gr();
}

int frm_do_form() {
  if (qdebug) trace("frm_do_form : window_id", window_id);
  if (window_id == 0) return 0;
  return frm_do_graphics();
}

// ---- counting and naming ----

int frm_get_count() { return nb_inpt; }
int frm_get_txt_count() { return nb_titl; }
int frm_get_version() { return nvers; }

int frm_set_count(int nn) {
  if (nn > kMaxInpt) return 0;
  // A negative count would leave the model without a meaning for nb_inpt.
  if (nn < 0) return 0;
  nb_inpt = nn;
  return 1;
}

int frm_get_number(std::string_view name) {
  std::string_view wanted = trim_right(name);
  for (int n = 1; n <= nb_inpt; ++n) {
    if (inpt_nam(n).trimmed() == wanted) return n;
  }
  return 0;
}

int frm_get_name(int n, FieldRef name) {
  if (n < 1 || n > kMaxInpt) return 0;
  name = inpt_nam(n).view();
  return 1;
}

int frm_get_txt_name(int n, FieldRef text) {
  if (n < 1 || n > kMaxTitl) return 0;
  text = titl_txt(n).view();
  return 1;
}

int get_key_num(std::string_view key, int& largest) {
  std::string_view digits = key;
  std::size_t u = key.find('_');
  if (u != std::string_view::npos) digits = key.substr(u + 1);
  int v = 0;
  if (!read_int(digits, v)) return 0;
  if (v > largest) largest = v;
  return v;
}

// ---- values ----

int frm_get_value(int n, int& iv, float& rv, FieldRef cv, int& type) {
  if (n < 1 || n > nb_inpt) return 0;
  iv = inpt_ival(n);
  rv = inpt_rval(n);
  cv = inpt_cval(n).view();
  type = inpt_typ(n);
  return 1;
}

int frm_get_cur_value(int n, int& iv, float& rv, FieldRef cv, int& type) {
  if (n < 1 || n > nb_inpt) return 0;
  char text[256] = {};
  get_box_val(n - 1, iv, rv, text);
  cv = buffer_text(text);
  type = inpt_typ(n);
  if (qdebug) trace("frm_get_cur_value", n, iv, rv, cv, type);
  return 1;
}

namespace {
// "#" and the colour as six upper-case hexadecimal digits; a value that
// needs more digits comes out as asterisks, as a six-digit field shows it.
std::string colour_text(int iv) {
  if (iv < 0 || iv > 0xFFFFFF) return "#******";
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(iv));
  return buf;
}

// Entry k of box n's list, blank when the list has no such entry.
std::string_view list_entry(int n, int k) {
  int list = inpt_ddl(n);
  if (list < 1 || list > kMaxDdl) return {};
  if (k < 1 || k > ddl_nbli(list) || k > kMaxDdlEntries) return {};
  return ddl_txt(k, list).trimmed();
}
}  // namespace

int frm_set_value(int n, int iv, float rv, std::string_view cv, bool update) {
  if (n < 1 || n > nb_inpt) return 0;
  if (qdebug) {
    trace("frm_set_value : ", n, inpt_ival(n), inpt_nam(n), "-", iv, rv, len_trim(cv), cv);
  }
  inpt_rval(n) = rv;
  inpt_ival(n) = iv;
  int handed = iv;
  bool blank = len_trim(cv) == 0;
  switch (inpt_typ(n)) {
    case DDL: {
      int k = iv;
      if (k < 1) {
        if (qdebug) trace("frm_set_value : DDL value <= 0", iv);
        k = 1;
      }
      // The landscape names live on the window side only; the caller's text
      // is the landscape's name.
      if (is_landscape_list(n)) {
        inpt_cval(n) = cv;
      } else {
        inpt_cval(n) = list_entry(n, k);
      }
      handed = iv - 1;
      break;
    }
    case INT:
      inpt_cval(n) = cv;
      if (blank) inpt_cval(n) = int_text(iv);
      break;
    case FLT: {
      inpt_cval(n) = cv;
      double a = std::fabs(static_cast<double>(rv));
      bool exp_form = a > 1e6 || (a > 1e-10 && a < 1e-3);
      if (blank) inpt_cval(n) = real_text(rv, exp_form ? "(1PE16.6)" : "(F16.6)");
      break;
    }
    case COL:
      inpt_cval(n) = cv;
      if (blank) inpt_cval(n) = colour_text(iv);
      break;
    case KEY:
      inpt_cval(n).blank();
      break;
    default:
      inpt_cval(n) = cv;
      break;
  }
  if (qdebug) trace("frm_set_value : ", n, handed, rv, inpt_cval(n));
  if (update) set_inpt_val(n - 1, handed, rv, c_text(inpt_cval(n).view(), 255).c_str());
  return 1;
}

// ---- properties ----

int frm_set_prop(int element_class, int n, int code, int iv, float rv, std::string_view cv, bool refresh) {
  if (qdebug) trace("frm_set_prop", n, nb_inpt, element_class, 5, 1);
  if (element_class == 1) {
    if (n < 1 || n > nb_inpt) {
      if (qdebug) trace("INP", n);
      return 0;
    }
    switch (code) {
      case 101:
        inpt_act(n) = iv;
        break;
      case 102:
        inpt_typ(n) = iv;
        break;
      case 201:
        inpt_min(n) = rv;
        return 1;
      case 202:
        inpt_max(n) = rv;
        return 1;
      case 301:
        inpt_txt(n) = cv;
        break;
      case 302:
        inpt_ext(n) = cv;
        break;
      case 303:
        inpt_nam(n) = cv;
        break;
      default:  // 304 (the second identifier) is read-only; other codes are unknown
        if (qdebug) trace("INP - PROP", n);
        return 0;
    }
    set_inpt_props(n - 1, c_text(inpt_txt(n).view(), 255).c_str(), inpt_act(n), inpt_typ(n),
                   c_text(inpt_ext(n).view(), 31).c_str(), refresh ? 1 : 0);
    if (qdebug) trace("INP - PROP", n, refresh);
    return 1;
  }
  if (element_class == 5) {
    if (n < 1 || n > nb_titl) {
      if (qdebug) trace("TXT", n);
      return 0;
    }
    if (code != 301) return 0;
    titl_txt(n) = cv;
    set_subt(n - 1, c_text(titl_txt(n).view(), 255).c_str(), refresh ? 1 : 0);
    return 1;
  }
  return 0;
}

int frm_get_prop(int element_class, int n, int code, int& iv, float& rv, FieldRef cv) {
  if (element_class == 1) {
    if (n < 1 || n > nb_inpt) {
      if (qdebug) trace("INP", n);
      return 0;
    }
    switch (code) {
      case 101:
        iv = inpt_act(n);
        return 1;
      case 102:
        iv = inpt_typ(n);
        return 1;
      case 201:
        rv = inpt_min(n);
        return 1;
      case 202:
        rv = inpt_max(n);
        return 1;
      case 301:
        cv = inpt_txt(n).view();
        return 1;
      case 302:
        cv = inpt_ext(n).view();
        return 1;
      case 303:
        cv = inpt_nam(n).view();
        return 1;
      case 304:
        cv = inpt_var(n).view();
        return 1;
      default:
        if (qdebug) trace("INP - PROP", n);
        return 0;
    }
  }
  if (element_class == 5) {
    if (n < 1 || n > nb_titl) {
      if (qdebug) trace("TXT", n);
      return 0;
    }
    if (code == 301) cv = titl_txt(n).view();
    return 1;
  }
  return 1;
}
