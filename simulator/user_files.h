// User files folder: the folder where a Condor version keeps the user's files,
// or the folder of the pilot who flew last, under the user's documents folder.
#pragma once

#include <string_view>

#include "common/field.h"

// `condoruserpath` carries the version in ("3" as its first character means
// Condor 3, anything else Condor 2) and the folder out. `qpilot` asks for the
// pilot folder, otherwise the user files folder. With `qdocreg` the documents
// folder comes from the registry. Returns 1 when a folder was found, else 0
// with `condoruserpath` unchanged.
int get_condor_user_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot, bool qdocreg,
                         FieldRef condoruserpath);

// The same with the documents folder from the registry.
int get_condor_2_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot, FieldRef condoruserpath);
