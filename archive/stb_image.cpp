// The one compiled copy of stb_image, with only the decoders image textures use.
#include "archive/image_texture.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS MAX_IMAGE_SIDE
#include <stb_image.h>
