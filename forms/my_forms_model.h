// The form model: the settings of the current form and one table per element
// kind, numbered from 1. One instance per process, filled by frm_read_form
// and kept in step with the forms window.
#pragma once

#include "common/field.h"
#include "forms/table.h"

namespace my_forms {

inline constexpr int kMaxInpt = 100;
inline constexpr int kMaxTitl = 20;
inline constexpr int kMaxSepa = 20;
inline constexpr int kMaxButt = 10;
inline constexpr int kMaxRdio = 10;
inline constexpr int kMaxRdioMembers = 10;
inline constexpr int kMaxDdl = 30;
inline constexpr int kMaxDdlEntries = 50;

// Input box type codes.
inline constexpr int INT = 1, FLT = 2, CHR = 3, TCK = 4, KEY = 5, COL = 6, IFP = 7, OFP = 8, FLD = 9, DDL = 10;

// Bounds of a box that gives none; a bound at or beyond 1e25 counts as absent.
inline constexpr float kNoMin = -2e25f;
inline constexpr float kNoMax = 2e25f;

using Label = Field<127>;
using Value = Field<255>;
using Pattern = Field<31>;
using Entry = Field<31>;

// ---- form settings ----
inline int window_id = 0;
inline int iact = 0;
inline bool qdebug = false;
inline Field<128> f_name;
inline Label wintit;
inline int f_size = 0;
inline float tick_size = 0.0f;
inline int nvers = 0;
inline int nb_inpt = 0, nb_titl = 0, nb_sepa = 0, nb_butt = 0, nb_rdio = 0;

// ---- input boxes ----
inline Table<Label, kMaxInpt> inpt_txt;
inline Table<Label, kMaxInpt> inpt_nam;
inline Table<Label, kMaxInpt> inpt_var;
inline Table<int, kMaxInpt> inpt_typ;
inline Table2<int, 4, kMaxInpt> inpt_pos;  // box x, box y, label x, label y (or a placement code)
inline Table<int, kMaxInpt> inpt_siz;
inline Table<int, kMaxInpt> inpt_arr;
inline Table<int, kMaxInpt> inpt_act;
inline Table<int, kMaxInpt> inpt_dep;  // -1 none, 0-99 controlling box (0-based), 1000 + it inverted
inline Table<int, kMaxInpt> inpt_ddl;  // list number (1-based), -1 none
inline Table<float, kMaxInpt> inpt_min;
inline Table<float, kMaxInpt> inpt_max;
inline Table<int, kMaxInpt> inpt_ival;
inline Table<float, kMaxInpt> inpt_rval;
inline Table<Value, kMaxInpt> inpt_cval;
inline Table<Pattern, kMaxInpt> inpt_ext;

// ---- texts, separators, buttons ----
inline Table<Label, kMaxTitl> titl_txt;
inline Table2<int, 2, kMaxTitl> titl_pos;
inline Table2<int, 4, kMaxSepa> sepa_pos;
inline Table<Label, kMaxButt> butt_txt;
inline Table2<int, 2, kMaxButt> butt_pos;
inline Table<int, kMaxButt> butt_siz;
inline Table<int, kMaxButt> butt_typ;

// ---- radio groups (members: 1-based box numbers, -1 unknown name) ----
inline Table2<int, kMaxRdioMembers, kMaxRdio> tick_rdio;
inline Table<int, kMaxRdio> tick_rdio_count;

// ---- drop-down lists ----
inline Table2<Entry, kMaxDdlEntries, kMaxDdl> ddl_txt;
inline Table<int, kMaxDdl> ddl_nbli;

// A drop-down list labelled "Landscape" lists the simulator's landscapes.
bool is_landscape_list(int n);

}  // namespace my_forms
