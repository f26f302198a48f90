/* The desktop links Debian's libstb; the browser, Windows and portable Linux
   builds compile the same headers here. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
/* The replay tool's screenshots. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
