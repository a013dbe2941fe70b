// System fonts on Linux, through fontconfig. A name is first looked for as a
// file in the font folders fontconfig knows; otherwise a well-known Windows
// font file name stands for its family, which fontconfig matches to the
// family itself or its metric twin (Debian's Liberation fonts). Any other
// name is not found, so the callers' font fallbacks still happen.
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstring>

#include "toolkit/host/cpw_host.h"

namespace {

struct WindowsFont {
  const char* file;
  const char* family;
  const char* twin;  // metric-compatible family
  int weight;
  int slant;
};

const WindowsFont windows_fonts[] = {
    {"arial.ttf", "Arial", "Liberation Sans", FC_WEIGHT_REGULAR, FC_SLANT_ROMAN},
    {"arialbd.ttf", "Arial", "Liberation Sans", FC_WEIGHT_BOLD, FC_SLANT_ROMAN},
    {"ariali.ttf", "Arial", "Liberation Sans", FC_WEIGHT_REGULAR, FC_SLANT_ITALIC},
    {"arialbi.ttf", "Arial", "Liberation Sans", FC_WEIGHT_BOLD, FC_SLANT_ITALIC},
    {"cour.ttf", "Courier New", "Liberation Mono", FC_WEIGHT_REGULAR, FC_SLANT_ROMAN},
    {"courbd.ttf", "Courier New", "Liberation Mono", FC_WEIGHT_BOLD, FC_SLANT_ROMAN},
    {"couri.ttf", "Courier New", "Liberation Mono", FC_WEIGHT_REGULAR, FC_SLANT_ITALIC},
    {"courbi.ttf", "Courier New", "Liberation Mono", FC_WEIGHT_BOLD, FC_SLANT_ITALIC},
    {"times.ttf", "Times New Roman", "Liberation Serif", FC_WEIGHT_REGULAR, FC_SLANT_ROMAN},
    {"timesbd.ttf", "Times New Roman", "Liberation Serif", FC_WEIGHT_BOLD, FC_SLANT_ROMAN},
    {"timesi.ttf", "Times New Roman", "Liberation Serif", FC_WEIGHT_REGULAR, FC_SLANT_ITALIC},
    {"timesbi.ttf", "Times New Roman", "Liberation Serif", FC_WEIGHT_BOLD, FC_SLANT_ITALIC},
};

const char* base_name(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

// A font file of that name (case-blind, as on Windows) in a font folder.
bool find_file(FcConfig* config, const char* name, pStr* path) {
  FcPattern* all = FcPatternCreate();
  FcObjectSet* want = FcObjectSetBuild(FC_FILE, nullptr);
  FcFontSet* fonts = FcFontList(config, all, want);
  bool found = false;
  for (int i = 0; fonts && i < fonts->nfont && !found; ++i) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    const char* f = reinterpret_cast<const char*>(file);
    if (strcasecmp(base_name(f), name) == 0) found = setString(path, f) != 0;
  }
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(want);
  FcPatternDestroy(all);
  return found;
}

bool find_family(FcConfig* config, const WindowsFont& wf, pStr* path) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wf.family));
  FcPatternAddInteger(pattern, FC_WEIGHT, wf.weight);
  FcPatternAddInteger(pattern, FC_SLANT, wf.slant);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  bool found = false;
  if (match) {
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    // fontconfig always offers some font; only the family or its twin will do.
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        (strcasecmp(reinterpret_cast<const char*>(family), wf.family) == 0 ||
         strcasecmp(reinterpret_cast<const char*>(family), wf.twin) == 0))
      found = setString(path, reinterpret_cast<const char*>(file)) != 0;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

bool cpw_platform_fontpath(pCpw, const char* name, pStr* path) {
  if (!name || !path || !*name) return false;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return false;
  bool found = find_file(config, name, path);
  for (const WindowsFont& wf : windows_fonts)
    if (!found && strcasecmp(name, wf.file) == 0) found = find_family(config, wf, path);
  FcConfigDestroy(config);
  return found;
}

const char* cpw_localhost_separator() { return "/"; }
