// Texture upload: each referenced slot's decoded image compiled into its own display list.
#include "render/texture_loader.h"

#include <GL/gl.h>

#include <algorithm>

#include "archive/texture_search.h"
#include "render/gl_current.h"
#include "state/polymodel.h"

namespace {

// The list holds the image and nothing else, so calling it only makes the image current.
uint32_t compile_texture_list(const TextureImage& image) {
    GLuint list = glGenLists(1);
    if (list == 0)
        return 0;
    glNewList(list, GL_COMPILE);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texture_pixels);
    glEndList();
    return list;
}

void load_slot(TextureSlot& slot) {
    TextureImage image{};
    char file_name[LOADED_FILE_LEN] = {};
    if (slot.referenced && load_texture_image(slot.name, image, file_name)) {
        slot.gl_list = compile_texture_list(image);
        slot.loaded = slot.gl_list != 0;
        slot.has_alpha = slot.loaded && image.has_alpha;
    }
    copy_bounded(slot.loaded_file, LOADED_FILE_LEN, slot.loaded ? file_name : "");
}

} // namespace

void release_textures() {
    make_gl_current();
    for (TextureSlot& slot : model.textures) {
        if (slot.loaded)
            glDeleteLists(slot.gl_list, 1);
        slot.loaded = 0;
        slot.gl_list = 0;
        slot.has_alpha = 0;
        slot.loaded_file[0] = '\0';
    }
}

void load_textures() {
    FolderListingScope listing;
    make_gl_current();
    release_textures();
    uint32_t count = std::min<uint32_t>(model.num_textures, MAX_TEXTURE);
    for (uint32_t i = 0; i < count; ++i)
        load_slot(model.textures[i]);
}
