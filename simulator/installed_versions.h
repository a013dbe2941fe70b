// Installed versions and active version: which of Condor 2 and Condor 3 are
// installed, their folders, and which installation is the active one (the
// one flown last, judged by the dates of its flight plan and log).
#pragma once

#include <cstdint>
#include <string_view>

#include "common/field.h"

// The installation record: install, pilot and user files folders of Condor 2
// and 3 and of the active installation. Texts are blank-padded; initially
// every text is blank, every number 0, every flag false.
struct CondorInstall {
  Field<256> condor_1_path;  // reserved
  Field<256> cndrpilpath;    // pilot folder of the active installation
  Field<256> instpath1;      // reserved
  Field<256> instpath2;      // install folder of Condor 2
  Field<256> instpath3;      // install folder of Condor 3
  Field<256> rootpath2;      // user files folder of Condor 2
  Field<256> rootpath3;      // user files folder of Condor 3
  Field<256> pilpath2;       // pilot folder of Condor 2
  Field<256> pilpath3;       // pilot folder of Condor 3
  Field<256> cndrinstpath;   // install folder of the active installation
  Field<256> cndrrootpath;   // user files folder of the active installation
  int icndr = 0;             // reserved
  int cndrvers = 0;          // active version: 2 or 3; 0 = both installed, not decided yet
  bool qc1 = false;          // reserved
  bool qc2 = false;          // Condor 2 is installed
  bool qc3 = false;          // Condor 3 is installed

  Field<256>& pilot_path() { return cndrpilpath; }
  int& condor_version() { return cndrvers; }
};

extern CondorInstall inst00;

// Finds the installed versions and fills `inst00`. Returns 0 when neither is
// installed, otherwise the highest version installed. `msgpltfldr` is the
// prompt text of the user files lookup's confirmation (not asked here).
// On Linux it first chooses the Wine prefix to look in.
int check_condor_install(std::string_view msgpltfldr);

// The same lookup in the prefix already chosen; `reported` writes the log
// lines and the console notes of a missing version, as check_condor_install
// does (without it, for comparing installations, nothing is reported).
int find_condor_install(std::string_view msgpltfldr, bool reported);

// A sign of use of an installation: the modification time of a flight plan
// or of a log (seconds since 1970, -1 when missing), and whose it is.
struct UseDate {
  std::int64_t time;
  int owner;
};

// The dates of use of the installations in `inst00`: Condor 3's and Condor
// 2's flight plans, then their logs, in this order (-1 for a version that is
// not installed).
void use_dates(UseDate (&dates)[4]);

// The installation used last among `dates`, taken in their order: the
// strictly newest date, so the earlier on equal dates. Its index, or -1 when
// no date is after 1970.
int used_last(const UseDate* dates, int count);

// Decides the active installation and sets `cndrvers`, `cndrinstpath`,
// `cndrpilpath` and `cndrrootpath` (finding the installations first when
// that has not been done).
void get_active_condor_version();
