// Handing the form model over to the forms window, element by element, in
// the order the window expects: titles, separators, input boxes, list
// entries, radio groups, buttons. Numbers become 0-based at the hand-over.
#include <span>

#include "common/trace.h"
#include "forms/form_loader.h"
#include "forms/form_text.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms_window/forms_window.h"

using namespace my_forms;

void load_form() {
  if (qdebug) trace("Titles : ", nb_titl);
  for (int t = 1; t <= nb_titl; ++t) {
    add_subt(nb_titl, t - 1, c_text(titl_txt(t).view(), 255).c_str(), titl_pos(1, t), titl_pos(2, t));
  }
  add_sepa(nb_sepa, std::span<const std::array<int, 4>>(sepa_pos.all()).first(static_cast<std::size_t>(nb_sepa)));

  trace("Input-boxes : ", nb_inpt);
  for (int i = 1; i <= nb_inpt; ++i) {
    int selected = inpt_typ(i) == DDL ? inpt_ival(i) - 1 : inpt_ival(i);
    add_inpt(nb_inpt, i - 1, c_text(inpt_txt(i).view(), 255).c_str(), c_text(inpt_cval(i).view(), 127).c_str(),
             inpt_pos(1, i), inpt_pos(2, i), inpt_pos(3, i), inpt_pos(4, i), selected, inpt_rval(i), inpt_siz(i),
             inpt_typ(i), inpt_arr(i), inpt_act(i), inpt_dep(i), inpt_ddl(i) - 1,
             c_text(inpt_ext(i).view(), 31).c_str());
  }

  trace("Drop-down lists : ");
  for (int i = 1; i <= nb_inpt; ++i) {
    int k = inpt_ddl(i);
    if (inpt_typ(i) != DDL || k < 1 || k > kMaxDdl) continue;
    if (is_landscape_list(i)) {
      if (!hand_over_landscapes(i, k)) return;
      continue;
    }
    for (int j = 1; j <= ddl_nbli(k) && j <= kMaxDdlEntries; ++j) {
      add_ddl(k - 1, ddl_nbli(k), j - 1, c_text(ddl_txt(j, k).view(), 255).c_str());
    }
  }

  if (qdebug) {
    trace("Radio-buttons : ", nb_rdio);
    for (int g = 1; g <= nb_rdio; ++g) {
      std::string members;
      for (int m = 1; m <= tick_rdio_count(g) && m <= kMaxRdioMembers; ++m) {
        members += " " + std::to_string(tick_rdio(m, g));
      }
      trace(g, members);
    }
  }
  add_rdio(nb_rdio, tick_rdio_count.all(), tick_rdio.all());

  if (qdebug) trace("Buttons : ", nb_butt);
  for (int b = 1; b <= nb_butt; ++b) {
    add_butt(nb_butt, b - 1, c_text(butt_txt(b).view(), 255).c_str(), butt_pos(1, b), butt_pos(2, b), butt_siz(b),
             butt_typ(b));
  }
}
