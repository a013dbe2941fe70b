// OpenGL declarations. Windows' GL header needs the Windows types first.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#endif
#include <GL/gl.h>
