// The element entry points of the forms window: the forms library hands a
// form's elements over through the add_* calls and changes them through the
// set_* calls. Every index is checked against its table's capacity (and the
// set_* calls against the current counts), so nothing lands outside a table.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/trace.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"

namespace forms_window {

namespace {
// Value text of a KEY element: the key's name, "??????" for a key without
// one; no key (0) shows nothing.
void set_key_text(int index, int key_code) {
  if (key_code == 0) {
    inpt_cval[index] = "";
    return;
  }
  std::string name;
  if (get_key_name(key_code, name) > 0) {
    inpt_cval[index] = name;
  } else {
    inpt_cval[index] = "??????";
  }
}

bool valid_list(int list) { return list >= 0 && list < kMaxDdl; }
}  // namespace

std::string_view ddl_entry(int list, int entry) {
  if (!valid_list(list) || entry < 0 || entry >= ddl_nbli[list]) return {};
  if (list == LndDDL) {
    if (entry >= kMaxLnd || !lnd_nam[entry]) return {};
    return lnd_nam[entry].get();
  }
  if (entry >= kMaxDdlEntries) return {};
  return ddl_txt[list][entry].view();
}

}  // namespace forms_window

using namespace forms_window;

void add_inpt(int count, int index, const char* label, const char* value, int x, int y, int tx, int ty, int ival,
              float rval, int size, int type, int arrows, int active, int dep, int ddl, const char* ext) {
  nb_inpt = std::clamp(count, 0, kMaxInpt);
  if (index < 0 || index >= kMaxInpt) return;
  inpt_txt[index] = arg_text(label, 1024);
  inpt_def[index] = {x, y, tx, ty};
  inpt_ival[index] = ival;
  inpt_rval[index] = rval;
  inpt_siz[index] = size;
  inpt_typ[index] = type;
  inpt_arr[index] = arrows;
  inpt_act[index] = active;
  inpt_dep[index] = dep;
  inpt_ddl[index] = ddl;
  inpt_ext[index] = arg_text(ext, 1024);
  inpt_OK[index] = 1;
  inpt_inc[index] = 0;
  inpt_ofs[index] = 0;
  // A new element belongs to no radio group until the groups are handed over.
  rdio_set[index] = -1;
  if (type == kKEY && ival != 0) {
    set_key_text(index, ival);
  } else {
    inpt_cval[index] = arg_text(value, 1024);
  }
  // Its list's entries follow; an empty list must not show an earlier
  // form's entries.
  if (type == kDDL && valid_list(ddl)) {
    ddl_nbli[ddl] = 0;
    if (LndDDL == ddl) LndDDL = -1;
  }
}

void set_inpt_props(int index, const char* label, int active, int type, const char* ext, int refresh) {
  if (index < 0 || index >= nb_inpt) return;
  inpt_txt[index] = arg_text(label, 1024);
  inpt_ext[index] = arg_text(ext, 1024);
  inpt_act[index] = active;
  inpt_typ[index] = type;
  if (refresh != 0) request_redraw();
}

void set_inpt_val(int index, int ival, float rval, const char* value) {
  if (index < 0 || index >= nb_inpt) return;
  inpt_ival[index] = ival;
  inpt_rval[index] = rval;
  if (inpt_typ[index] == kDDL) {
    inpt_cval[index] = ddl_entry(inpt_ddl[index], ival);
  } else if (inpt_typ[index] == kKEY) {
    set_key_text(index, ival);
  } else {
    inpt_cval[index] = arg_text(value, 1024);
  }
  check_depend();
  request_redraw();
}

int get_box_val(int index, int& ival, float& rval, std::span<char> value) {
  if (index < 0 || index >= kMaxInpt) return 0;
  ival = inpt_ival[index] + (inpt_typ[index] == kDDL ? 1 : 0);
  rval = inpt_rval[index];
  if (!value.empty()) {
    std::string_view v = inpt_cval[index].view();
    std::size_t n = std::min(v.size(), value.size() - 1);
    std::memcpy(value.data(), v.data(), n);
    value[n] = '\0';
  }
  return 1;
}

void add_butt(int count, int index, const char* text, int x, int y, int width, int type) {
  nb_butt = std::clamp(count, 0, kMaxButt);
  if (index < 0 || index >= kMaxButt) return;
  butt_txt[index] = arg_text(text, 1024);
  butt_def[index] = {x, y};
  butt_siz[index] = width;
  butt_typ[index] = type;
  butt_down[index] = 0;
}

void add_rdio(int groups, const std::array<int, 10>& counts, const std::array<std::array<int, 10>, 10>& members) {
  nb_rdio = std::clamp(groups, 0, kMaxRdio);
  rdio_set.fill(-1);
  int largest = 0;
  for (int g = 0; g < nb_rdio; ++g) {
    int given = std::clamp(counts[g], 0, kMaxRdioMembers);
    int kept = 0;
    for (int k = 0; k < given; ++k) {
      int m = members[g][k];
      // A name that matched no element (-1), or a number outside the form,
      // is left out of the group.
      if (m < 1 || m > nb_inpt) continue;
      tick_rdio[g][kept++] = m - 1;
      rdio_set[m - 1] = g;
      largest = std::max(largest, inpt_siz[m - 1]);
    }
    tick_rdio_count[g] = kept;
  }
  // Enough points for a smooth circle of the largest member, within the table.
  double points = std::trunc(largest * 3.14159265359 / 1.5) + 1;
  NCRad = static_cast<int>(std::clamp(points, 1.0, static_cast<double>(kMaxCircle)));
  for (int k = 0; k < NCRad; ++k) {
    double angle = k * (6.28318530718 / NCRad) + 0.7853981633975;
    pprad[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
  }
}

void add_sepa(int count, std::span<const std::array<int, 4>> pos) {
  nb_sepa = std::clamp(count, 0, std::min<int>(kMaxSepa, static_cast<int>(pos.size())));
  for (int s = 0; s < nb_sepa; ++s) sepa_def[s] = pos[s];
}

void add_subt(int count, int index, const char* text, int x, int y) {
  nb_subt = std::clamp(count, 0, kMaxSubt);
  if (index < 0 || index >= kMaxSubt) return;
  subt_txt[index] = arg_text(text, 1024);
  subt_def[index] = {x, y};
}

void set_subt(int index, const char* text, int refresh) {
  if (index < 0 || index >= nb_subt) return;
  subt_txt[index] = arg_text(text, 1024);
  if (refresh != 0) request_redraw();
}

void add_ddl(int list, int count, int entry, const char* text) {
  if (!valid_list(list)) return;
  ddl_nbli[list] = std::clamp(count, 0, kMaxDdlEntries);
  if (entry < 0 || entry >= kMaxDdlEntries) return;
  ddl_txt[list][entry] = arg_text(text, 1024);
}

void add_lnd(int list, int count, int entry, const char* text) {
  if (!valid_list(list) || entry < 0 || entry >= kMaxLnd) return;
  LndDDL = list;
  ddl_nbli[list] = std::clamp(count, 0, kMaxLnd);
  std::string_view t = arg_text(text, 4096);
  auto copy = std::make_unique<char[]>(t.size() + 1);
  std::memcpy(copy.get(), t.data(), t.size());
  copy[t.size()] = '\0';
  lnd_nam[entry] = std::move(copy);
}

int get_box_num(int x, int y, int count, std::span<const std::array<int, 4>> rects) {
  int n = std::min<int>(count, static_cast<int>(rects.size()));
  for (int k = 0; k < n; ++k) {
    const auto& r = rects[k];
    if (r[0] < x && x < r[2] && r[1] < y && y < r[3]) return k;
  }
  return -1;
}

void check_depend() {
  for (int i = 0; i < nb_inpt; ++i) {
    int d = inpt_dep[i];
    bool inverse = false;
    if (d >= 1000 && d < 2000) {
      d -= 1000;
      inverse = true;
    }
    // Only a tick box of this form controls another element.
    if (d < 0 || d >= nb_inpt || inpt_typ[d] != kTCK) continue;
    bool ticked = inpt_ival[d] != 0;
    inpt_act[i] = (ticked != inverse) ? 1 : 0;
  }
}
