// A toolkit window with one line of text, closed by its close box.
//
//   toolkit_example [title]
//
// Prints "close requested" when the window manager (or any client sending
// WM_DELETE_WINDOW) asks the window to close, then ends.
#include <cstdio>

#include "toolkit/cpw.h"
#include "toolkit/cpw_gl.h"

namespace {

CpwFontFace font = nullptr;

void on_create(pCpw cpw, unsigned id, unsigned flag) {
  if (flag == 1) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(1, 1, 1, 1);
    return;
  }
  std::printf("close requested\n");
  std::fflush(stdout);
  cpwDestroyWindow(cpw, id);  // the first window: this ends the main loop
}

void on_reshape(pCpw, unsigned, unsigned width, unsigned height) {
  glViewport(0, 0, GLsizei(width), GLsizei(height));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void on_display(pCpw cpw, unsigned id) {
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(0.0f, 0.0f, 0.6f);
  glRasterPos2i(12, 30);
  if (font) cpwDrawFont(cpw, font, "Vantyr: towplanes of Condor 2 and 3", CPW_DRAWFONT_PIXELS);
  cpwSwapWindowBuffers(cpw, id);
}

}  // namespace

int main(int argc, char** argv) {
  const char* title = argc > 1 ? argv[1] : "Vantyr toolkit example";
  pCpw cpw = nullptr;
  if (!cpwInitContext(&cpw)) {
    std::fprintf(stderr, "toolkit_example: no display (error %d)\n", cpw ? cpwGetLastError(cpw) : 0);
    cpwFreeContext(&cpw);
    return 1;
  }
  font = cpwLoadFont(cpw, "arial.ttf", CPW_FONTLOC_HOST, nullptr);
  if (!font) std::fprintf(stderr, "toolkit_example: arial.ttf not found (error %d)\n", cpwGetLastError(cpw));
  cpwFontMode(cpw, CPW_FONTOPT_SIZE, 18);
  cpwFontMode(cpw, CPW_FONTOPT_PIXELMAP_GLFORMAT, GL_RGBA);
  cpwCreateCallback(cpw, on_create);
  cpwReshapeCallback(cpw, on_reshape);
  cpwDisplayCallback(cpw, on_display);
  if (!cpwCreateWindowEx(cpw, title, 100, 100, 420, 60)) {
    std::fprintf(stderr, "toolkit_example: no window (error %d)\n", cpwGetLastError(cpw));
    cpwFreeContext(&cpw);
    return 1;
  }
  std::printf("window open\n");
  std::fflush(stdout);
  bool ok = cpwMainLoop(cpw);
  cpwFreeContext(&cpw);
  return ok ? 0 : 1;
}
