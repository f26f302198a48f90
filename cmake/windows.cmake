# The Windows cross build (scripts/windows, toolchain cmake/mingw-w64.cmake):
# the desktop's library targets made from the libraries built into the sysroot.
find_package(glfw3 3.3 CONFIG REQUIRED)
add_library(PkgConfig::GLFW INTERFACE IMPORTED)
target_link_libraries(PkgConfig::GLFW INTERFACE glfw)

add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_libraries(OpenGL::GL INTERFACE opengl32)

# OpenAL Soft stays a DLL (its licence wants it replaceable). Under -static the
# linker takes only archives for -l names, so its import library goes by path.
find_file(BW_OPENAL_IMPORT_LIB libOpenAL32.dll.a PATH_SUFFIXES lib REQUIRED)
find_path(BW_OPENAL_INCLUDE AL/al.h REQUIRED)
find_file(BW_OPENAL_DLL OpenAL32.dll PATH_SUFFIXES bin REQUIRED)
add_library(OpenAL::OpenAL INTERFACE IMPORTED)
target_link_libraries(OpenAL::OpenAL INTERFACE ${BW_OPENAL_IMPORT_LIB})
target_include_directories(OpenAL::OpenAL INTERFACE ${BW_OPENAL_INCLUDE})

# Debian's libstb is a Linux library: the implementations are compiled here
# from its portable headers, as for the browser.
add_library(bw_stb_image STATIC ${PROJECT_SOURCE_DIR}/cmake/stb_image.c)
target_include_directories(bw_stb_image SYSTEM PUBLIC /usr/include/stb)
target_compile_options(bw_stb_image PRIVATE -w)
add_library(PkgConfig::STB INTERFACE IMPORTED)
target_link_libraries(PkgConfig::STB INTERFACE bw_stb_image)

# One self-contained executable: the C and C++ runtimes and winpthreads linked
# in, so only OpenAL32.dll and system DLLs are imported.
add_link_options(-static)

# The programs run under Wine with a prefix of this build tree's own, through
# a wrapper that names it (tests and gtest's discovery at build time alike).
set(BW_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
