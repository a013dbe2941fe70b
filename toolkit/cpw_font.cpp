// Text with FreeType: faces from the system font folder or a given folder,
// measuring, and drawing glyph by glyph at the OpenGL raster position in the
// current colour, with the glyph's coverage as alpha.
#include <cstdlib>
#include <cstring>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "toolkit/cpw.h"
#include "toolkit/cpw_gl.h"
#include "toolkit/cpw_internal.h"
#include "toolkit/host/cpw_host.h"

struct CpwFontContext {
  FT_Library engine;
  int mode1;
  FT_F26Dot6 size;  // 1/64 points
  int layout;       // 10 .. 14
  int kerning;
  int outline;
  int spacing;
  int pixelformat;  // GL format of the written pixels
  FT_UInt hres, vres;
  unsigned char* buffer;  // colour conversion, kept between calls
  std::size_t buffersize;
};

namespace {

CpwFontContext* font_state(pCpw cpw) { return cpw ? cpw->ctx_font : nullptr; }

bool fail(pCpw cpw, int code) {
  if (cpw) cpw->err_code = code;
  return false;
}

// Alignment hooks of the right-aligned and centred layouts: the pen stays
// where the caller put it.
void cpw_font_alignright(pCpw, CpwFontFace, const char*) {}
void cpw_font_aligncenter(pCpw, CpwFontFace, const char*) {}

void move_raster(GLfloat dx, GLfloat dy) { glBitmap(0, 0, 0, 0, dx, dy, nullptr); }

// Coverage 0 to 255 of pixel `c` of a bitmap row. Bitmap fonts and the
// small-size strikes of some faces come with 1, 2 or 4 bits per pixel
// instead of a byte: their rows are shorter than their width in bytes.
unsigned coverage(const FT_Bitmap& bm, const unsigned char* row, unsigned c) {
  switch (bm.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
      return (row[c >> 3] >> (7 - (c & 7))) & 1 ? 255 : 0;
    case FT_PIXEL_MODE_GRAY2:
      return ((row[c >> 2] >> (6 - 2 * (c & 3))) & 3) * 85;
    case FT_PIXEL_MODE_GRAY4:
      return ((row[c >> 1] >> (4 - 4 * (c & 1))) & 15) * 17;
    default:
      return row[c];
  }
}

// Converts a glyph's coverage into the state's pixel format; returns the
// pixels to write (the coverage itself for formats other than RGB and RGBA).
const unsigned char* convert_glyph(CpwFontContext* fs, const FT_Bitmap& bm, bool* failed) {
  *failed = false;
  int components = fs->pixelformat == GL_RGB ? 3 : fs->pixelformat == GL_RGBA ? 4 : 1;
  unsigned width = bm.width, rows = bm.rows;
  int pitch = bm.pitch < 0 ? -bm.pitch : bm.pitch;
  if (components == 1 && bm.pixel_mode == FT_PIXEL_MODE_GRAY && unsigned(pitch) == width) return bm.buffer;
  std::size_t needed = std::size_t(width) * rows * unsigned(components);
  if (fs->buffersize < needed) {
    unsigned char* grown = static_cast<unsigned char*>(std::realloc(fs->buffer, needed));
    if (!grown) {
      *failed = true;
      return nullptr;
    }
    fs->buffer = grown;
  }
  fs->buffersize = needed;
  GLfloat colour[4] = {1, 1, 1, 1};
  glGetFloatv(GL_CURRENT_COLOR, colour);
  unsigned char* out = fs->buffer;
  for (unsigned r = 0; r < rows; ++r) {
    // Rows are read with the bitmap's own pitch, which may exceed its width.
    const unsigned char* in = bm.buffer + std::size_t(r) * unsigned(pitch);
    for (unsigned c = 0; c < width; ++c) {
      unsigned v = coverage(bm, in, c);
      if (components == 1) {
        *out++ = static_cast<unsigned char>(v);
        continue;
      }
      for (int k = 0; k < components; ++k) *out++ = static_cast<unsigned char>(int(float(v) * colour[k]));
    }
  }
  return fs->buffer;
}

}  // namespace

bool cpw_font_init(pCpw cpw) {
  CpwFontContext* fs = static_cast<CpwFontContext*>(std::calloc(1, sizeof(CpwFontContext)));
  if (!fs) return fail(cpw, cpw_error_outofmemory);
  cpw->ctx_font = fs;
  if (FT_Init_FreeType(&fs->engine) != 0) {
    fs->engine = nullptr;
    return false;
  }
  fs->mode1 = 1;
  fs->size = 16;
  fs->layout = CPW_FONTOPT_ALIGNLEFT;
  fs->kerning = 0;
  fs->outline = 0;
  fs->spacing = 1;
  fs->pixelformat = GL_LUMINANCE;
  fs->hres = fs->vres = 72;
  return true;
}

void cpw_font_exit(pCpw cpw) {
  CpwFontContext* fs = cpw->ctx_font;
  if (!fs) return;
  std::free(fs->buffer);
  if (fs->engine) FT_Done_FreeType(fs->engine);  // also releases faces still loaded
  std::free(fs);
  cpw->ctx_font = nullptr;
}

CpwFontFace cpwLoadFont(pCpw cpw, const char* name, int location, const char* folder) {
  CpwFontContext* fs = font_state(cpw);
  if (!fs || !fs->engine) return nullptr;
  if (!name || (location != CPW_FONTLOC_HOST && location != CPW_FONTLOC_RELATIVE) ||
      (location == CPW_FONTLOC_RELATIVE && !folder)) {
    fail(cpw, cpw_error_invalidparameter);
    return nullptr;
  }
  pStr path = nullptr;
  if (location == CPW_FONTLOC_HOST) {
    if (!cpw_host(cpw).fontpath(cpw, name, &path)) {
      fail(cpw, cpw_error_fontopen);
      return nullptr;
    }
  } else {
    const char* parts[] = {folder, cpw_localhost_separator(), name, nullptr};
    concatStrings(&path, parts);
  }
  FT_Face face = nullptr;
  FT_Error err = FT_New_Face(fs->engine, str(path) ? str(path) : "", 0, &face);
  freeStr(&path);
  if (err != 0) {
    fail(cpw, err == FT_Err_Unknown_File_Format ? cpw_error_fontformat : cpw_error_fontopen);
    return nullptr;
  }
  return face;
}

bool cpwUnloadFont(pCpw cpw, CpwFontFace face) {
  if (!face) return fail(cpw, cpw_error_invalidparameter);
  FT_Done_Face(face);
  return true;
}

int cpwFontMode(pCpw cpw, int mode, int value) {
  CpwFontContext* fs = font_state(cpw);
  if (!fs) return -1;
  int previous;
  switch (mode) {
    case CPW_FONTOPT_MODE1:
      previous = fs->mode1;
      fs->mode1 = 1;
      return previous;
    case CPW_FONTOPT_ALIGNRIGHT:
    case CPW_FONTOPT_ALIGNLEFT:
    case CPW_FONTOPT_VERTICAL_DOWN:
    case CPW_FONTOPT_VERTICAL_UP:
    case CPW_FONTOPT_ALIGNCENTER:
      previous = fs->layout;
      fs->layout = mode;
      return previous;
    case CPW_FONTOPT_SIZE:
      previous = int(fs->size);
      fs->size = FT_F26Dot6(value) * 64;
      return previous;
    case CPW_FONTOPT_GETSIZE:
      return int(fs->size / 64);
    case CPW_FONTOPT_KERNING:
    case CPW_FONTOPT_PIXELMAP_OUTLINE: {
      int& flag = mode == CPW_FONTOPT_KERNING ? fs->kerning : fs->outline;
      if (value != 0 && value != 1) {
        fail(cpw, cpw_error_invalidparameter);
        return -1;
      }
      previous = flag;
      flag = value;
      return previous;
    }
    case CPW_FONTOPT_SPACING:
      previous = fs->spacing;
      fs->spacing = value;
      if (value < 0) fail(cpw, cpw_error_invalidparameter);
      return previous;
    case CPW_FONTOPT_PIXELMAP_GLFORMAT:
      previous = fs->pixelformat;
      fs->pixelformat = value;
      return previous;
    default:
      fail(cpw, cpw_error_invalidparameter);
      return -1;
  }
}

bool cpwGetFontBBox(pCpw cpw, CpwFontFace face, const char* text, CpwFontBBox* bbox) {
  CpwFontContext* fs = font_state(cpw);
  if (!fs) return false;
  if (!face || !text || !bbox) return fail(cpw, cpw_error_invalidparameter);
  FT_Set_Char_Size(face, 0, fs->size, fs->hres, fs->vres);
  *bbox = CpwFontBBox{0, 0, 0, 0};
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    FT_UInt glyph = FT_Get_Char_Index(face, *p);
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    bbox->width += std::int32_t(g->advance.x / 64) * fs->spacing;
    std::int32_t height = std::int32_t(g->metrics.height / 64);
    std::int32_t depth = height - std::int32_t(g->metrics.horiBearingY / 64);
    if (height > bbox->height) bbox->height = height;
    if (depth > bbox->offsety) bbox->offsety = depth;
  }
  return true;
}

bool cpwDrawFont(pCpw cpw, CpwFontFace face, const char* text, int) {
  CpwFontContext* fs = font_state(cpw);
  if (!fs) return false;
  if (!face || !text) return fail(cpw, cpw_error_invalidparameter);
  FT_Set_Char_Size(face, 0, fs->size, fs->hres, fs->vres);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPushAttrib(GL_PIXEL_MODE_BIT);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (fs->layout == CPW_FONTOPT_ALIGNRIGHT) cpw_font_alignright(cpw, face, text);
  if (fs->layout == CPW_FONTOPT_ALIGNCENTER) cpw_font_aligncenter(cpw, face, text);
  bool ok = true;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    FT_UInt glyph = FT_Get_Char_Index(face, *p);
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    if (g->format != FT_GLYPH_FORMAT_BITMAP) continue;
    bool failed = false;
    const unsigned char* pixels = convert_glyph(fs, g->bitmap, &failed);
    if (failed) {
      ok = fail(cpw, cpw_error_outofmemory);
      break;
    }
    glPixelZoom(1.0f, -1.0f);  // rows run downwards from the glyph's top
    move_raster(GLfloat(g->bitmap_left), GLfloat(g->bitmap_top));
    if (g->bitmap.width && g->bitmap.rows)
      glDrawPixels(GLsizei(g->bitmap.width), GLsizei(g->bitmap.rows), GLenum(fs->pixelformat), GL_UNSIGNED_BYTE,
                   pixels);
    move_raster(-GLfloat(g->bitmap_left), -GLfloat(g->bitmap_top));
    glPixelZoom(1.0f, -1.0f);
    if (fs->layout == CPW_FONTOPT_ALIGNRIGHT || fs->layout == CPW_FONTOPT_ALIGNLEFT ||
        fs->layout == CPW_FONTOPT_ALIGNCENTER) {
      // floor of the advance in whole pixels
      FT_Pos ax = g->advance.x >= 0 ? g->advance.x / 64 : -((-g->advance.x + 63) / 64);
      FT_Pos ay = g->advance.y >= 0 ? g->advance.y / 64 : -((-g->advance.y + 63) / 64);
      move_raster(GLfloat(ax), GLfloat(ay));
    }
  }
  glPopClientAttrib();
  glPopAttrib();
  return ok;
}
