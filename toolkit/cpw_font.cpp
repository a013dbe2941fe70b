// Text with FreeType: faces from the system font folder or a given folder,
// measuring, and drawing glyph by glyph at the OpenGL raster position in the
// current colour, with the glyph's coverage as alpha.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

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
  // A whole text's glyphs, converted and packed into one texture image
  // (see draw_textured), kept between calls like the conversion buffer.
  struct Placed* placed;
  std::size_t placedsize;  // bytes
  unsigned char* glyphs;   // the glyphs' converted pixels, one after the other
  std::size_t glyphssize;
  unsigned char* image;    // the texture image
  std::size_t imagesize;
};

// A glyph of a text: its box relative to the pen's start (x to the right,
// y upwards to the box's top), its pixels, and its place in the texture.
struct Placed {
  long x, top;
  unsigned width, rows;
  std::size_t at;  // offset in CpwFontContext::glyphs
  unsigned tx, ty;
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

// Grows a kept buffer to at least `bytes`; false when memory runs out.
template <class T>
bool grow(T*& buffer, std::size_t& size, std::size_t bytes) {
  if (size >= bytes) return true;
  T* grown = static_cast<T*>(std::realloc(static_cast<void*>(buffer), bytes));
  if (!grown) return false;
  buffer = grown;
  size = bytes;
  return true;
}

bool horizontal(const CpwFontContext* fs) {
  return fs->layout == CPW_FONTOPT_ALIGNRIGHT || fs->layout == CPW_FONTOPT_ALIGNLEFT ||
         fs->layout == CPW_FONTOPT_ALIGNCENTER;
}

// The pen advance of a glyph in whole pixels (the floor).
FT_Pos floor_pixels(FT_Pos v) { return v >= 0 ? v / 64 : -((-v + 63) / 64); }

// Glyph by glyph: each glyph's pixels written at the pen with glDrawPixels.
bool draw_glyphs(pCpw cpw, CpwFontContext* fs, FT_Face face, const unsigned char* text) {
  for (const unsigned char* p = text; *p; ++p) {
    FT_UInt glyph = FT_Get_Char_Index(face, *p);
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    if (g->format != FT_GLYPH_FORMAT_BITMAP) continue;
    bool failed = false;
    const unsigned char* pixels = convert_glyph(fs, g->bitmap, &failed);
    if (failed) return fail(cpw, cpw_error_outofmemory);
    glPixelZoom(1.0f, -1.0f);  // rows run downwards from the glyph's top
    move_raster(GLfloat(g->bitmap_left), GLfloat(g->bitmap_top));
    if (g->bitmap.width && g->bitmap.rows)
      glDrawPixels(GLsizei(g->bitmap.width), GLsizei(g->bitmap.rows), GLenum(fs->pixelformat), GL_UNSIGNED_BYTE,
                   pixels);
    move_raster(-GLfloat(g->bitmap_left), -GLfloat(g->bitmap_top));
    glPixelZoom(1.0f, -1.0f);
    if (horizontal(fs)) move_raster(GLfloat(floor_pixels(g->advance.x)), GLfloat(floor_pixels(g->advance.y)));
  }
  return true;
}

// The texture of fs->image (width x height, RGBA) drawn as one quad per
// placed glyph at the raster position, in window coordinates. Every state
// this changes is the caller's again afterwards.
void draw_quads(CpwFontContext* fs, unsigned width, unsigned height, std::size_t count) {
  GLfloat raster[4], texcoords[4], colour[4], range[2];
  GLint viewport[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texcoords);
  glGetFloatv(GL_CURRENT_COLOR, colour);
  glGetFloatv(GL_DEPTH_RANGE, range);
  glGetIntegerv(GL_VIEWPORT, viewport);
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_TRANSFORM_BIT | GL_POLYGON_BIT);
  // Pixels are not lit, culled, stippled, smoothed at their edges or clipped by planes.
  for (GLenum cap : {GLenum(GL_LIGHTING), GLenum(GL_CULL_FACE), GLenum(GL_POLYGON_SMOOTH), GLenum(GL_POLYGON_STIPPLE),
                     GLenum(GL_POLYGON_OFFSET_FILL), GLenum(GL_TEXTURE_1D), GLenum(GL_TEXTURE_GEN_S),
                     GLenum(GL_TEXTURE_GEN_T), GLenum(GL_TEXTURE_GEN_R), GLenum(GL_TEXTURE_GEN_Q)})
    glDisable(cap);
  for (GLenum plane = GL_CLIP_PLANE0; plane <= GL_CLIP_PLANE5; ++plane) glDisable(plane);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  // White times the texel is the texel, as with GL_REPLACE; a caller that
  // draws its own primitives textured and modulated, with colour and
  // texture coordinates per vertex, shares this state with the text.
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, GLsizei(width), GLsizei(height), 0, GL_RGBA, GL_UNSIGNED_BYTE, fs->image);
  glEnable(GL_TEXTURE_2D);
  glMatrixMode(GL_TEXTURE);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  // Window coordinates, at the raster position's depth.
  glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1, 1);
  GLfloat z = range[1] != range[0] ? 1 - 2 * (raster[2] - range[0]) / (range[1] - range[0]) : 0;
  glBegin(GL_QUADS);
  glColor4f(1, 1, 1, 1);
  for (std::size_t i = 0; i < count; ++i) {
    const Placed& pl = fs->placed[i];
    GLfloat x0 = raster[0] + GLfloat(pl.x), x1 = x0 + GLfloat(pl.width);
    GLfloat y0 = raster[1] + GLfloat(pl.top), y1 = y0 - GLfloat(pl.rows);  // rows run downwards
    GLfloat s0 = GLfloat(pl.tx) / GLfloat(width), s1 = GLfloat(pl.tx + pl.width) / GLfloat(width);
    GLfloat t0 = GLfloat(pl.ty) / GLfloat(height), t1 = GLfloat(pl.ty + pl.rows) / GLfloat(height);
    glTexCoord2f(s0, t0);
    glVertex3f(x0, y0, z);
    glTexCoord2f(s0, t1);
    glVertex3f(x0, y1, z);
    glTexCoord2f(s1, t1);
    glVertex3f(x1, y1, z);
    glTexCoord2f(s1, t0);
    glVertex3f(x1, y0, z);
  }
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_TEXTURE);
  glPopMatrix();
  glPopAttrib();
  glDeleteTextures(1, &texture);
  glTexCoord4fv(texcoords);
  glColor4fv(colour);
}

unsigned power_of_two(unsigned n) {
  unsigned p = 1;
  while (p < n) p <<= 1;
  return p;
}

// The text's glyphs as texture quads, one quad per glyph, each covering
// exactly the pixels glDrawPixels would write, with the same pixels: a
// software OpenGL pays a large fixed cost per glDrawPixels (a form's frame
// took several hundred milliseconds glyph by glyph), while quads of one
// texture cost next to nothing. The texture replaces the fragment's colour
// and alpha by the glyph's converted pixels, as glDrawPixels does for RGBA;
// everything after (blending, tests, masks) is the caller's. False, with
// nothing drawn, when the text does not fit a texture; the caller draws it
// glyph by glyph then.
bool draw_textured(pCpw cpw, CpwFontContext* fs, FT_Face face, const unsigned char* text, bool* drawn) {
  *drawn = false;
  std::size_t n = std::strlen(reinterpret_cast<const char*>(text));
  if (!grow(fs->placed, fs->placedsize, n * sizeof(Placed))) return fail(cpw, cpw_error_outofmemory);
  GLint maxsize = 64;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxsize);
  const unsigned shelfwidth = maxsize < 512 ? unsigned(maxsize) : 512u;
  std::size_t count = 0, used = 0;
  FT_Pos penx = 0, peny = 0;
  unsigned shelfx = 0, shelfy = 0, shelfrows = 0, texwidth = 0;
  for (const unsigned char* p = text; *p; ++p) {
    FT_UInt glyph = FT_Get_Char_Index(face, *p);
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    if (g->format != FT_GLYPH_FORMAT_BITMAP) continue;
    const FT_Bitmap& bm = g->bitmap;
    if (bm.width && bm.rows) {
      if (bm.width > shelfwidth) return true;
      if (shelfx + bm.width > shelfwidth) {  // the next shelf of the texture
        shelfy += shelfrows;
        shelfx = shelfrows = 0;
      }
      bool failed = false;
      const unsigned char* pixels = convert_glyph(fs, bm, &failed);
      std::size_t bytes = std::size_t(bm.width) * bm.rows * 4;
      if (failed || !grow(fs->glyphs, fs->glyphssize, used + bytes)) return fail(cpw, cpw_error_outofmemory);
      std::memcpy(fs->glyphs + used, pixels, bytes);
      fs->placed[count++] = Placed{long(penx) + g->bitmap_left, long(peny) + g->bitmap_top, bm.width, bm.rows, used,
                                   shelfx, shelfy};
      used += bytes;
      shelfx += bm.width;
      if (shelfx > texwidth) texwidth = shelfx;
      if (bm.rows > shelfrows) shelfrows = bm.rows;
    }
    if (horizontal(fs)) {
      penx += floor_pixels(g->advance.x);
      peny += floor_pixels(g->advance.y);
    }
  }
  unsigned width = power_of_two(texwidth), height = power_of_two(shelfy + shelfrows);
  if (count > 0 && (width > unsigned(maxsize) || height > unsigned(maxsize))) return true;
  *drawn = true;
  GLint valid = 0;
  glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
  if (count > 0 && valid) {
    std::size_t bytes = std::size_t(width) * height * 4;
    if (!grow(fs->image, fs->imagesize, bytes)) return fail(cpw, cpw_error_outofmemory);
    std::memset(fs->image, 0, bytes);
    for (std::size_t i = 0; i < count; ++i) {
      const Placed& pl = fs->placed[i];
      for (unsigned r = 0; r < pl.rows; ++r)
        std::memcpy(fs->image + (std::size_t(pl.ty + r) * width + pl.tx) * 4, fs->glyphs + pl.at + std::size_t(r) * pl.width * 4,
                    std::size_t(pl.width) * 4);
    }
    draw_quads(fs, width, height, count);
  }
  move_raster(GLfloat(penx), GLfloat(peny));
  return true;
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
  std::free(fs->placed);
  std::free(fs->glyphs);
  std::free(fs->image);
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
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  bool drawn = false;
  bool ok = fs->pixelformat == GL_RGBA ? draw_textured(cpw, fs, face, bytes, &drawn) : true;
  if (ok && !drawn) ok = draw_glyphs(cpw, fs, face, bytes);
  glPopClientAttrib();
  glPopAttrib();
  return ok;
}
