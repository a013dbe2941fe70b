// The main loop (pump host messages, deliver queued events, tick timers,
// wait for the host when idle) and the timers.
#include <climits>
#include <cmath>
#include <cstdlib>

#include "toolkit/cpw.h"
#include "toolkit/cpw_internal.h"
#include "toolkit/host/cpw_host.h"

struct CpwTimer {
  CpwTimerCallback callback;
  double start;     // counter value when armed
  double interval;  // counter units
  unsigned int elementid;
  unsigned int timerid;
  bool repeat;
  bool internal;     // timers the toolkit sets for itself
  int internalkind;
};

namespace {

constexpr int kPerTurn = 3;  // host messages and events per turn, so timers are seen often

CpwTimer* timer_of(pLinkedElement e) { return static_cast<CpwTimer*>(e->e.v); }

bool deliver_events(pCpw cpw, int n) {
  for (int i = 0; i < n; ++i)
    if (!cpw_event_deliverone(cpw, nullptr)) return false;
  return true;
}

bool one_turn(pCpw cpw) {
  bool pumped = cpw_host(cpw).processevents(cpw, kPerTurn);
  bool delivered = deliver_events(cpw, kPerTurn);
  bool fired = cpw->timers ? cpw_timers_tick(cpw) : false;
  return pumped || delivered || fired;
}

// Milliseconds until the earliest timer is due, rounded up so that the wait
// ends at or after its deadline; -1 when there are no timers.
int ms_to_next_timer(pCpw cpw) {
  if (!cpw->list_timers.baseElement) return -1;
  double now = cpw_host(cpw).hpcount(cpw);
  double least = 0;
  bool first = true;
  for (pLinkedElement e = cpw->list_timers.baseElement; e; e = e->childtomyright) {
    const CpwTimer* t = timer_of(e);
    double left = t->interval - (now - t->start);
    if (first || left < least) least = left;
    first = false;
  }
  if (least <= 0) return 0;
  double ms = std::ceil(least * 1000.0 / cpw_host(cpw).hpfrequency(cpw));
  return ms >= double(INT_MAX) ? INT_MAX : int(ms);
}

// A turn that found nothing to do: the idle callback when one is set, else
// the host waits for its next message, at most until the next timer is due.
// A callback of this turn may have queued an event or asked for a break
// after the turn looked: no waiting then.
void idle(pCpw cpw) {
  if (cpw->idleCallback) {
    cpw->idleCallback(cpw);
    return;
  }
  if (cpw->mainloop_break || cpw_event_pending(cpw)) return;
  cpw_host(cpw).waitevents(cpw, ms_to_next_timer(cpw));
}

}  // namespace

bool cpwMainLoop(pCpw cpw) {
  if (!cpw || !cpw->cpw_initsuccess) return false;
  cpw->mainloop_break = false;
  cpw->cpw_running = true;
  unsigned int turns = 0;
  while (!cpw->mainloop_break) {
    bool activity = one_turn(cpw);
    if (!activity) idle(cpw);
    if (cpw->mainloopCallback && ++turns >= cpw->mainloop_callbackticks) {
      turns = 0;
      cpw->mainloopCallback(cpw, activity);
    }
  }
  cpw->cpw_running = false;
  return cpw->err_code <= 0;
}

bool cpwBreakMainLoop(pCpw cpw) {
  if (!cpw) return false;
  cpw->mainloop_break = true;
  return true;
}

bool cpwMainLoopIsRunning(pCpw cpw) { return cpw && cpw->cpw_running; }

bool cpwMainLoopUpdate(pCpw cpw, unsigned int turns) {
  if (!cpw || !cpw->cpw_initsuccess) return false;
  for (unsigned int i = 0; i < turns; ++i) {
    if (cpw->mainloop_break) return true;
    if (!one_turn(cpw)) return false;
  }
  return true;
}

bool cpwMainLoopCallback(pCpw cpw, CpwMainLoopCallback cb, unsigned int turns) {
  if (!cpw) return false;
  cpw->mainloopCallback = cb;
  cpw->mainloop_callbackticks = turns;
  return true;
}

bool cpwIdleCallback(pCpw cpw, CpwIdleCallback cb) {
  if (!cpw) return false;
  cpw->idleCallback = cb;
  return true;
}

// ---- timers ------------------------------------------------------------------

bool cpw_timers_init(pCpw cpw) {
  ll_initList(&cpw->list_timers);
  cpw->timers = false;
  return true;
}

void cpw_timers_exit(pCpw cpw) {
  for (pLinkedElement e = cpw->list_timers.baseElement; e; e = e->childtomyright) std::free(timer_of(e));
  ll_deleteList(&cpw->list_timers);
  cpw->timers = false;
}

bool cpwTimerCallback(pCpw cpw, unsigned int milliseconds, unsigned int timerid, bool repeat, CpwTimerCallback cb) {
  if (!cpw || !cpw->ctx_localhost) return false;
  CpwTimer* t = static_cast<CpwTimer*>(std::calloc(1, sizeof(CpwTimer)));
  unsigned int eid = t ? ll_addVoid(&cpw->list_timers, t) : 0;
  if (eid == 0) {
    std::free(t);
    cpw->err_code = cpw_error_outofmemory;
    return false;
  }
  t->elementid = eid;
  cpw->timers = true;
  t->timerid = timerid;
  t->repeat = repeat;
  t->callback = cb;
  t->interval = cpw_host(cpw).hpfrequency(cpw) * milliseconds / 1000.0;
  t->start = cpw_host(cpw).hpcount(cpw);
  return true;
}

bool cpwKillTimer(pCpw cpw, unsigned int timerid) {
  if (!cpw || !cpw->list_timers.baseElement) return false;
  for (pLinkedElement e = cpw->list_timers.baseElement; e; e = e->childtomyright) {
    if (timer_of(e)->timerid != timerid) continue;
    std::free(timer_of(e));
    return ll_deleteElement(&cpw->list_timers, e->id);
  }
  return true;
}

bool cpw_timers_tick(pCpw cpw) {
  if (!cpw->list_timers.baseElement) {
    cpw->timers = false;
    return false;
  }
  bool fired = false;
  pLinkedElement e = cpw->list_timers.baseElement;
  while (e) {
    CpwTimer* t = timer_of(e);
    double now = cpw_host(cpw).hpcount(cpw);
    if (now - t->start < t->interval) {
      fired = false;
      e = e->childtomyright;
      continue;
    }
    fired = true;
    unsigned int eid = t->elementid;
    if (!t->internal && t->callback) t->callback(cpw, t->timerid);
    // The callback may have killed this timer (or others): look it up again.
    e = ll_getElement(&cpw->list_timers, eid);
    if (!e) return true;
    if (!t->repeat) {
      std::free(t);
      ll_deleteElement(&cpw->list_timers, eid);
      return true;  // the others are examined on the next turn
    }
    t->start = now;
    e = e->childtomyright;
  }
  return fired;
}
