// Form data files: one "name=value" line per input box, written from the
// form model and read back into it, matched by name.
#include "common/convert.h"
#include "common/trace.h"
#include "forms/form_text.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms/text_file.h"

using namespace my_forms;

namespace {

std::string value_text(int i) {
  switch (inpt_typ(i)) {
    case INT:
    case TCK:
      if (qdebug) trace(inpt_nam(i), inpt_ival(i));
      return int_text(inpt_ival(i));
    case FLT:
      return real_text_default(inpt_rval(i));
    case KEY: {
      Field<64> t;
      int len = 0;
      k2b(inpt_ival(i), t, len);
      if (qdebug) trace(inpt_nam(i), inpt_ival(i), t);
      return t.str();
    }
    case DDL:
      if (!is_landscape_list(i)) {
        if (qdebug) trace(inpt_nam(i), inpt_ival(i));
        return int_text(inpt_ival(i));
      }
      return inpt_cval(i).str();
    default:
      return inpt_cval(i).str();
  }
}

// Reads the value text back into box n, as its type says. Numbers that do
// not read leave the numeric value as it was.
void store_value(int n, std::string_view text) {
  Value before = inpt_cval(n);
  inpt_cval(n) = text;
  int i = 0;
  float r = 0;
  switch (inpt_typ(n)) {
    case INT:
    case TCK:
      if (read_int(text, i)) inpt_ival(n) = i;
      break;
    case FLT:
      if (read_real(text, r)) inpt_rval(n) = r;
      break;
    case KEY:
      if (text.starts_with("ASC")) {
        if (read_int(text.substr(3), i) && i >= 1 && i <= 255) {
          inpt_ival(n) = 0;
          inpt_cval(n) = std::string(1, static_cast<char>(i));
        }
      } else if (text.starts_with("SCN")) {
        if (read_int(text.substr(3), i)) {
          inpt_ival(n) = i >= 89 ? i + 128 : i;
          inpt_cval(n).blank();
        }
      } else {
        inpt_ival(n) = 0;
      }
      break;
    case COL: {
      // The six hexadecimal digits after the "#".
      std::string_view digits = text.substr(std::min<std::size_t>(1, text.size()));
      digits = trim_right(digits.substr(0, std::min<std::size_t>(6, digits.size())));
      int v = 0;
      if (!digits.empty() && read_hex(digits, v)) inpt_ival(n) = v;
      break;
    }
    case DDL: {
      if (is_landscape_list(n)) break;  // the landscape's name is the value
      // An entry the list does not have leaves the box as it was.
      int list = inpt_ddl(n);
      bool has_entry = read_int(text, i) && list >= 1 && list <= kMaxDdl && i >= 1 && i <= ddl_nbli(list) &&
                       i <= kMaxDdlEntries;
      if (!has_entry) {
        inpt_cval(n) = before.view();
        break;
      }
      inpt_ival(n) = i;
      inpt_cval(n) = ddl_txt(i, list).view();
      break;
    }
    default:
      break;
  }
}

}  // namespace

int frm_write_form_data(std::string_view name) {
  int status = 0;
  FileHandle f = open_text_file(name, "w", status);
  if (!f) return status;
  for (int i = 1; i <= nb_inpt; ++i) {
    std::string line = std::string(inpt_nam(i).trimmed()) + "=" + value_text(i);
    write_line(f.get(), line);
  }
  // Lines that did not reach the file (a full disk) make no data file.
  return close_written_file(f);
}

int frm_read_form_data(std::string_view name) {
  int status = 0;
  FileHandle f = open_text_file(name, "r", status);
  if (!f) return status;
  // A line as written: a name, "=" and a value text, each whole.
  using DataLine = Field<Label::capacity + 1 + Value::capacity>;
  DataLine line;
  while (read_line(f.get(), line, status)) {
    if (line.is_blank() || line[0] == '#') continue;
    if (qdebug) trace(line);
    DataLine key, value;
    extract_key_val(line.view(), key, value);
    int n = frm_get_number(key.trimmed());
    if (qdebug) trace("frm_read_form_data", key, n);
    if (n == 0) continue;
    store_value(n, value.trimmed());
  }
  return status < 0 ? 0 : status;
}
