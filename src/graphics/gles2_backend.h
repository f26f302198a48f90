// The renderer's GL calls on OpenGL ES 2 (WebGL in the browser build): one
// shader pair standing in for the fixed-function pipeline the desktop uses.
#pragma once

#include <memory>

#include "graphics/gl_backend.h"

std::unique_ptr<GlBackend> MakeGles2Backend();
