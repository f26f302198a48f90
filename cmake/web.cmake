# The web toolchain's stand-ins for the desktop's system libraries: emscripten
# ships GLFW 3, OpenAL (on Web Audio) and GL as link options of its own, and
# stb_image is compiled from Debian's header since there is no libstb to link.
add_library(PkgConfig::GLFW INTERFACE IMPORTED)
target_link_options(PkgConfig::GLFW INTERFACE -sUSE_GLFW=3)
# WebGL 1 through the ES 2 backend; the desktop's fixed-function backend is
# compiled but never made, so its GL 1 calls drop out at link time.
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_options(OpenGL::GL INTERFACE -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1)
add_library(OpenAL::OpenAL INTERFACE IMPORTED)
target_link_options(OpenAL::OpenAL INTERFACE -lopenal)

add_library(bw_stb_image STATIC ${PROJECT_SOURCE_DIR}/cmake/stb_image.c)
target_include_directories(bw_stb_image SYSTEM PUBLIC /usr/include/stb)
target_compile_options(bw_stb_image PRIVATE -w)
add_library(PkgConfig::STB INTERFACE IMPORTED)
target_link_libraries(PkgConfig::STB INTERFACE bw_stb_image)

# Every program: memory that grows with large sheets, the file system, and
# the console for the game's messages.
add_link_options(-sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1)
