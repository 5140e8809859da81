// The independent decoder the loader tests compare against.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
