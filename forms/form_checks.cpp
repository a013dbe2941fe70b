// Checks of the values entered in the forms window: each value is checked
// and normalised by its box's type and stored in the form model when
// accepted; bounds are tested separately; spin arrows step numeric values.
// These are the only way values flow from the window into the model.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "common/convert.h"
#include "common/platform.h"
#include "common/trace.h"
#include "forms/form_text.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"

using namespace my_forms;

namespace {

using Message = Field<256>;

bool box_in_form(int box) { return box >= 0 && box < nb_inpt; }

// "#" and six hexadecimal digits, nothing else.
bool read_colour(std::string_view t, int& colour) {
  t = trim_right(t);
  return t.size() == 7 && t[0] == '#' && read_hex(t.substr(1), colour);
}

}  // namespace

int check_values(int box, int active, int& ival, float& rval, std::span<char> text, std::span<char> message) {
  Value t(buffer_text(text));
  Message msg;
  if (!box_in_form(box)) {
    to_buffer("", message);
    return 0;
  }
  const int n = box + 1;
  inpt_act(n) = active;
  if (qdebug) {
    trace("----------------------------------------");
    trace("check_values", n, active, inpt_txt(n), ival, rval, t);
  }

  bool ok = true;
  if (active != 0) {
    switch (inpt_typ(n)) {
      case INT: {
        if (t.is_blank()) break;
        int v = 0;
        if (!read_int(t.view(), v)) {
          msg = "Integer value required";
          trace("read status: failed", t);
          ok = false;
          break;
        }
        inpt_ival(n) = v;
        inpt_rval(n) = static_cast<float>(v);
        inpt_cval(n) = t.view();
        t = int_text(v);
        ival = v;
        break;
      }
      case FLT: {
        if (t.is_blank()) break;
        float v = 0;
        // A number too large for a real is no value either.
        if (!read_real(t.view(), v) || !std::isfinite(v)) {
          msg = "Floating-point value required";
          ok = false;
          break;
        }
        inpt_ival(n) = nint_sat(v);
        inpt_rval(n) = v;
        inpt_cval(n) = t.view();
        t = real_text_default(v);
        rval = v;
        break;
      }
      case CHR:
        inpt_cval(n) = t.view();
        inpt_ival(n) = 0;
        inpt_rval(n) = 0;
        break;
      case TCK:
        if (ival != 0 && ival != 1) {
          msg = "Value must be 0/1";
          ok = false;
          break;
        }
        inpt_ival(n) = ival;
        inpt_cval(n) = int_text(ival);
        inpt_rval(n) = static_cast<float>(ival);
        break;
      case KEY: {
        int k = ival % 10000;
        if (k > 5000) k -= 10000;
        if (k < -382 || k > 382) break;
        if (k >= 256) {
          int old = ival;
          ival -= 128;
          trace("check_values KEY", old, ival);
        }
        inpt_cval(n) = t.view();
        inpt_ival(n) = ival;
        inpt_rval(n) = rval;
        break;
      }
      case COL: {
        int colour = 0;
        if (!read_colour(t.view(), colour)) {
          msg = "Format: #RRGGBB";
          ok = false;
          break;
        }
        inpt_cval(n) = t.view();
        inpt_ival(n) = colour;
        inpt_rval(n) = static_cast<float>(colour);
        break;
      }
      case IFP:
        if (t.is_blank()) break;
        if (t.trimmed().back() == '\\') {  // a folder was chosen
          inpt_cval(n).blank();
          break;
        }
        if (!file_exists(t.trimmed())) {
          if (qdebug) trace("IN FILE : ", t);
          msg = "File does not exist";
          ok = false;
          break;
        }
        inpt_cval(n) = t.view();
        break;
      case OFP:
        if (qdebug) trace("OUT FILE : ", t);
        inpt_cval(n) = t.view();
        break;
      case FLD:
        if (qdebug) trace("FOLDER : ", t);
        inpt_cval(n) = t.view();
        break;
      case DDL:
        inpt_ival(n) = ival + 1;
        inpt_rval(n) = static_cast<float>(ival + 1);
        inpt_cval(n) = t.view();
        break;
      default:
        break;
    }
  }

  int result = 0;
  if (!ok) {
    trace(msg);
  } else {
    result = check_values_app(n, inpt_txt(n).trimmed(), inpt_ival(n), inpt_rval(n), inpt_cval(n), msg) != 0 ? 1 : 0;
  }
  if (qdebug) trace("check_values :", result, inpt_ival(n), inpt_rval(n), inpt_cval(n));
  to_buffer(msg.view(), message);
  to_buffer(t.view(), text);
  return result;
}

bool check_minmax_0(float x, float lower, float upper) {
  if (!(lower < upper)) return true;
  return lower <= x && x <= upper;
}

int check_minmax(int box, int& ival, float& rval, std::span<const char> text, std::span<char> message) {
  to_buffer("", message);
  if (!box_in_form(box)) return 0;
  const int n = box + 1;
  if (qdebug) trace("check_minmax", n, ival, rval, buffer_text(text));
  int type = inpt_typ(n);
  if (type != INT && type != FLT) return 1;
  float lower = inpt_min(n), upper = inpt_max(n);
  if (check_minmax_0(inpt_rval(n), lower, upper)) return 1;
  auto bound = [type](float b) { return type == INT ? int_text(nint_sat(b)) : real_text(b, "(F16.6)"); };
  std::string msg;
  if (lower <= -1e25f) {
    msg = "Value must be <= " + bound(upper);
  } else if (upper >= 1e25f) {
    msg = "Value must be >= " + bound(lower);
  } else {
    msg = "Value must be in [" + bound(lower) + "," + bound(upper) + "]";
  }
  to_buffer(msg, message);
  return 0;
}

float get_incr(float v) {
  if (v == 0) return 1.0f;
  double b = std::log10(std::fabs(static_cast<double>(v)) / 25.0);
  double p = std::floor(b);
  double m = std::pow(10.0, b - p);
  double unit = std::pow(10.0, p);
  if (m > 7.071) return static_cast<float>(10 * unit);
  if (m > 3.1623) return static_cast<float>(5 * unit);
  if (m > 1.414) return static_cast<float>(2 * unit);
  return static_cast<float>(unit);
}

int incrm_val(int box, int& ival, float& rval, std::span<char> text, int incr) {
  if (!box_in_form(box)) return 0;
  const int n = box + 1;
  Value t(buffer_text(text));
  int type = inpt_typ(n);
  int result = 0;
  if (type == INT) {
    // The stored value, not the text, sets the step.
    int step = 1;
    if (std::abs(static_cast<std::int64_t>(inpt_ival(n))) >= 30) step = nint_sat(get_incr(static_cast<float>(inpt_ival(n))));
    int v = 0;
    if (!read_int(t.view(), v)) {
      trace("");
      return 0;
    }
    std::int64_t w = static_cast<std::int64_t>(v) + static_cast<std::int64_t>(incr) * step;
    w = std::max<std::int64_t>(w, nint_sat(inpt_min(n)));
    w = std::min<std::int64_t>(nint_sat(inpt_max(n)), w);
    int nv = static_cast<int>(std::clamp<std::int64_t>(w, INT32_MIN, INT32_MAX));
    if (qdebug) trace("incrm_val INT", n, step, v, nv);
    inpt_ival(n) = nv;
    inpt_rval(n) = static_cast<float>(nv);
    t = int_text(nv);
    inpt_cval(n) = t.view();
    ival = nv;
    result = 1;
  } else if (type == FLT) {
    float step;
    if (std::fabs(inpt_rval(n)) < 1e-10f) {
      step = inpt_min(n) < inpt_max(n) ? get_incr((inpt_max(n) - inpt_min(n)) / 2) : 1.0f;
    } else {
      step = get_incr(inpt_rval(n));
    }
    float v = 0;
    if (!read_real(t.view(), v)) {
      trace("Floating-point value required");
      return 0;
    }
    float old = v;
    v = v + static_cast<float>(incr) * step;
    if (v < inpt_min(n) || std::isnan(v)) v = inpt_min(n);
    if (v > inpt_max(n)) v = inpt_max(n);
    if (qdebug) trace("incrm_val FLT", n, step, old, v);
    inpt_ival(n) = nint_sat(v);
    inpt_rval(n) = v;
    rval = v;
    t = real_text_default(v);
    inpt_cval(n) = t.view();
    result = 1;
  }
  // Other types have no spin arrows to step: nothing changes.
  if (qdebug) trace("incrm_val :", result);
  to_buffer(t.view(), text);
  return result;
}
