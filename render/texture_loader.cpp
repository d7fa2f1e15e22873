// Texture upload: each referenced slot's decoded image in a texture object made once, and a
// display list that binds it.
#include "render/texture_loader.h"

#include <GL/gl.h>

#include <algorithm>

#include "archive/texture_search.h"
#include "render/gl_current.h"
#include "render/gl_setup.h"
#include "state/polymodel.h"

uint32_t texture_objects[MAX_TEXTURE];

namespace {

// The image goes to GL once, here; calling the list only binds it, so a frame that switches
// slots sends no texels.
GLuint make_texture_object(int width, int height) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0)
        return 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    // Filters and wrapping belong to the texture object; left at their defaults the
    // minification filter would ask for mipmaps and the texture would not apply.
    set_texture_parameters();
    glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texture_pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

void load_slot(uint32_t index) {
    TextureSlot& slot = model.textures[index];
    TextureImage image{};
    char file_name[LOADED_FILE_LEN] = {};
    if (slot.referenced && load_texture_image(slot.name, image, file_name) &&
        upload_texture(index, image.width, image.height))
        slot.has_alpha = image.has_alpha;
    copy_bounded(slot.loaded_file, LOADED_FILE_LEN, slot.loaded ? file_name : "");
}

} // namespace

bool upload_texture(uint32_t slot, int width, int height) {
    GLuint list = glGenLists(1);
    if (list == 0)
        return false;
    GLuint texture = make_texture_object(width, height);
    if (texture == 0) {
        glDeleteLists(list, 1);
        return false;
    }
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEndList();
    texture_objects[slot] = texture;
    model.textures[slot].gl_list = list;
    model.textures[slot].loaded = 1;
    return true;
}

void release_textures() {
    make_gl_current();
    for (int i = 0; i < MAX_TEXTURE; ++i) {
        TextureSlot& slot = model.textures[i];
        if (slot.loaded) {
            glDeleteLists(slot.gl_list, 1);
            glDeleteTextures(1, &texture_objects[i]);
        }
        texture_objects[i] = 0;
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
        load_slot(i);
}
