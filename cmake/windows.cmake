# The Windows cross build (scripts/windows, toolchain cmake/mingw-w64.cmake):
# the desktop's library targets made from the libraries built into the sysroot.
find_package(glfw3 3.3 CONFIG REQUIRED)
add_library(PkgConfig::GLFW INTERFACE IMPORTED)
target_link_libraries(PkgConfig::GLFW INTERFACE glfw)

add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_libraries(OpenGL::GL INTERFACE opengl32)

# OpenAL Soft stays a DLL (its licence wants it replaceable). Under -static the
# linker takes only archives for -l names, so its import library goes by path.
find_library(BW_OPENAL_IMPORT_LIB NAMES libOpenAL32.dll.a REQUIRED)
find_path(BW_OPENAL_INCLUDE AL/al.h REQUIRED)
get_filename_component(BW_OPENAL_PREFIX ${BW_OPENAL_IMPORT_LIB} DIRECTORY)
get_filename_component(BW_OPENAL_DLL ${BW_OPENAL_PREFIX}/../bin/OpenAL32.dll ABSOLUTE)
if(NOT EXISTS ${BW_OPENAL_DLL})
  message(FATAL_ERROR "OpenAL32.dll is not beside ${BW_OPENAL_IMPORT_LIB}")
endif()
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

# GCC 12 warns of overlapping copies inside std::string's own inlined code at
# -O3 (a false positive, GCC bug 105329), which -Werror would make fatal.
add_compile_options(-Wno-restrict)

# One self-contained executable: the C and C++ runtimes and winpthreads linked
# in, so only OpenAL32.dll and system DLLs are imported.
add_link_options(-static)

# The game in the build tree runs as unzipped: OpenAL32.dll beside it.
file(COPY ${BW_OPENAL_DLL} DESTINATION ${CMAKE_BINARY_DIR})

# The programs run under Wine with a prefix of this build tree's own, through
# a wrapper that names it (tests and gtest's discovery at build time alike)
# and puts OpenAL32.dll on Windows' search path for the tests.
set(BW_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
get_filename_component(BW_OPENAL_DLL_DIR ${BW_OPENAL_DLL} DIRECTORY)
string(REPLACE "/" "\\" BW_OPENAL_DLL_DIR_WINDOWS "Z:${BW_OPENAL_DLL_DIR}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
