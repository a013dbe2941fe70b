// A drop-down list labelled "Landscape" lists the active simulator
// installation's landscapes: the folders under its Landscapes folder that
// hold a terrain file of their own name (<name>\<name>.trn). The folder is
// listed by the command interpreter into a temporary file, read once and
// deleted.
#include <string>

#include "common/command_interpreter.h"
#include "common/logging.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/trace.h"
#include "forms/form_loader.h"
#include "forms/my_forms_model.h"
#include "forms/text_file.h"
#include "forms_window/forms_window.h"
#include "simulator/installed_versions.h"

using namespace my_forms;

namespace {
constexpr const char* kListing = "Landscapes_tmp.txt";
// The forms window keeps at most this many entries of the long list.
constexpr int kMaxLandscapes = 333;
}  // namespace

bool hand_over_landscapes(int /*i*/, int k) {
  ddl_nbli(k) = 0;
  if (check_condor_install(" ") == 0) {
    Field<512> msg(qfr ? "*** Aucune installation de Condor (2 ou 3) trouv\xE9" "e ***"
                       : "*** No Condor installation found (2 or 3) ***");
    int status = 0;
    error_message(status, msg, qline);
    log_message_f(msg.trimmed());
    return false;
  }
  get_active_condor_version();

  std::string folder(inst00.cndrinstpath.trimmed());
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  folder += "\\Landscapes\\";

  // cmd.exe would expand a "%" of the folder even inside the quotes, and
  // list (and offer) another folder's names: such a folder is never put on
  // a command line, and the list stays empty.
  if (!quotable(folder)) {
    Field<512> msg(qfr ? "Le dossier " + folder + " contient \"%\" ou un guillemet :/la liste des paysages reste vide"
                       : "The folder " + folder + " holds \"%\" or a double quote:/the landscape list stays empty");
    int status = 1;
    error_message(status, msg, qline);
    log_message_f(msg.trimmed());
    return true;
  }

  std::string command = "DIR /B \"" + folder + "\" > " + kListing;
  // A command line holds 256 characters; a cut one would list something else.
  if (command.size() > 256) {
    trace("Landscapes : folder name too long for the command line:", folder);
    return true;
  }
  int exitstat = 0, cmdstat = 0;
  run_command(command, exitstat, cmdstat);
  if (qdebug) trace(command, "exitstat=", exitstat, "cmdstat=", cmdstat);

  if (!file_exists(kListing)) return true;
  int status = 0;
  FileHandle f = open_text_file(kListing, "r", status);
  if (f) {
    Field<64> name;
    int n = 0;
    while (read_line(f.get(), name, status)) {
      name = command_output_text(name.trimmed());  // cmd.exe writes its console's code page
      std::string_view nm = name.trimmed();
      if (nm.empty()) continue;
      std::string trn = folder + std::string(nm) + "\\" + std::string(nm) + ".trn";
      if (!file_exists(trn)) continue;
      if (n == kMaxLandscapes) {
        trace("Landscapes : more than", kMaxLandscapes, "landscapes, the rest is not listed");
        break;
      }
      ddl_nbli(k) = n + 1;
      std::string entry(nm);
      add_lnd(k - 1, n + 1, n, entry.c_str());
      ++n;
    }
    f.reset();
  }
  delete_file(kListing);
  return true;
}
