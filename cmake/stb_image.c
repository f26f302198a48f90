/* The desktop links Debian's libstb; the web build compiles the same header. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
/* The replay tool's screenshots. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
