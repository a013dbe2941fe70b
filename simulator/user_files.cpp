// User files folder: the documents folder from the registry (with a leading
// %VARIABLE% expanded), then the version's folder in it, or the folder of
// the pilot who flew last.
#include "simulator/user_files.h"

#include <string>

#include "common/cstring_bridge.h"
#include "common/messages.h"
#include "common/trace.h"
#include "simulator/install_dir.h"

namespace user_files {
const char* const shell_folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}

int get_condor_user_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot, bool qdocreg,
                         FieldRef condoruserpath) {
  for (int i = 0; i < 7; ++i) trace("");
  trace("get_condor_user_path");
  trace("qconfirm,qpilot,qdocreg", qconfirm, qpilot, qdocreg);
  trace(condoruserpath);
  if (qconfirm || !qdocreg) {
    // The program always takes the documents folder from the registry and
    // never asks for a confirmation; neither request is served.
    trace("get_condor_user_path: confirmation and a given documents folder are not supported", msgpltfldr);
    return 0;
  }
  bool v3 = condoruserpath.size() > 0 && condoruserpath[0] == '3';
  const char* regname = v3 ? "Condor3" : "Condor2";
  const char* docsub = v3 ? "Condor3" : "Condor";

  Field<512> folder;
  RegValue value{};
  int len = 0;
  if (RdUsrReg(user_files::shell_folders, "Personal", value, len) != 0) {
    trace(std::string(user_files::shell_folders) + " NOT READABLE");
  } else {
    trace("path ", value.data());
    int ls = 0;
    strcpy_c2f(value.data(), folder, ls);
    std::string text(folder.trimmed());
    std::size_t pct = text.find('%');
    if (pct != std::string::npos) {
      // %NAME%\rest: the name runs from the first "%" to the first "\".
      std::size_t bs = text.find('\\');
      std::string name;
      if (bs == std::string::npos) name = text.substr(pct + 1);
      else if (bs > pct) name = text.substr(pct + 1, bs - pct - 1);
      if (!name.empty() && name.back() == '%') name.pop_back();
      std::string rest = bs == std::string::npos ? std::string() : text.substr(bs);
      Field<80> env(name);
      trace("folder", rest);
      trace("ENV ", env);
      char buf[511];
      int n = MyGetEnv(std::string(env.trimmed()).c_str(), buf, static_cast<int>(sizeof buf));
      if (n <= 0 || n >= static_cast<int>(sizeof buf)) {
        int status = 1;
        Field<512> msg("Error getting environment variable/" + std::string(env.trimmed()));
        error_message_tit(status, "get_condor_user_path", msg, false);
        return 0;
      }
      folder = std::string(buf, static_cast<std::size_t>(n)) + rest;
      trace(folder.len_trim(), folder);
    }
  }
  if (folder.is_blank()) return 0;

  if (qpilot) {
    Field<40> pilot;
    RegValue player{};
    int plen = 0;
    std::string key = std::string("SOFTWARE\\") + regname + "\\";
    if (RdUsrReg(key.c_str(), "LastPlayer", player, plen) == 0) {
      int ls = 0;
      strcpy_c2f(player.data(), pilot, ls);
      folder = std::string(folder.trimmed()) + "\\" + docsub + "\\Pilots\\" + std::string(pilot.trimmed());
    }
    trace("player ", pilot);
  } else {
    folder = std::string(folder.trimmed()) + "\\" + docsub + "\\";
  }
  trace("Final Path : ", folder);
  condoruserpath = folder.view();
  return condoruserpath.is_blank() ? 0 : 1;
}

int get_condor_2_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot, FieldRef condoruserpath) {
  int r = get_condor_user_path(msgpltfldr, qconfirm, qpilot, true, condoruserpath);
  trace("get_condor_user_path=", r);
  return r;
}
