// Init and exit steps of the toolkit's modules, in the order the context
// runs them (cpw_context.cpp).
#pragma once

#include "toolkit/cpw.h"

bool cpw_localhost_init(pCpw cpw);
void cpw_localhost_exit(pCpw cpw);
bool cpw_perf_init(pCpw cpw);
void cpw_perf_exit(pCpw cpw);
bool cpw_font_init(pCpw cpw);
void cpw_font_exit(pCpw cpw);
bool cpw_event_init(pCpw cpw);
void cpw_event_exit(pCpw cpw);
bool cpw_window_init(pCpw cpw);
void cpw_window_exit(pCpw cpw);
void cpw_window_closeall(pCpw cpw);
bool cpw_menus_init(pCpw cpw);
void cpw_menus_exit(pCpw cpw);
bool cpw_timers_init(pCpw cpw);
void cpw_timers_exit(pCpw cpw);
bool cpw_videosettings_init(pCpw cpw);
void cpw_videosettings_exit(pCpw cpw);
bool cpw_primitives_init(pCpw cpw);
void cpw_primitives_exit(pCpw cpw);
bool cpw_extensions_init(pCpw cpw);
void cpw_extensions_exit(pCpw cpw);
bool cpw_joystick_init(pCpw cpw);
void cpw_joystick_exit(pCpw cpw);

// One step of the event dispatcher: true when another event is pending after it.
bool cpw_event_deliverone(pCpw cpw, bool* delivered);
// Whether an event waits in the ring.
bool cpw_event_pending(pCpw cpw);
// Ticks the timers; true when the last timer examined fired.
bool cpw_timers_tick(pCpw cpw);
