// load_oof: reads the loose file or the archive entry, checks the header and walks the chunks.
#include "formats/oof_reader.h"

#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "archive/hog_index.h"
#include "formats/model_properties.h"
#include "formats/oof_read_chunks.h"
#include "state/file_io.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/view_state.h"

namespace {

std::string bounded_text(const char (&path)[PATH_LEN]) {
    return std::string(path, strnlen(path, PATH_LEN));
}

constexpr size_t OOF_MAGIC_SIZE = 4;

void refuse_unless_polymodel(std::span<const uint8_t> header) {
    if (header.size() < OOF_MAGIC_SIZE || std::memcmp(header.data(), "PSPO", 4) != 0)
        fatal_error("oof header is wrong", 0);
}

// The model's bytes: the magic is checked before the rest is read, so a file of another kind
// is refused at once, and a model longer than any real one is refused unread.
std::vector<uint8_t> read_model(std::FILE* file, uint64_t offset, uint64_t length) {
    std::vector<uint8_t> data;
    if (!read_file_image(file, offset, length, OOF_MAGIC_SIZE, refuse_unless_polymodel, data))
        fatal_error("Oof data is bad, unknown datatype... ouch", 5);
    return data;
}

std::vector<uint8_t> read_archive_entry(uint32_t position) {
    FileHandle file = open_for_reading(bounded_text(hog.hog_path));
    if (!file)
        fatal_error("Oof: Can't open the hog file", -2);
    // The main window only asks for listed positions; anything else names no entry.
    if (position >= hog.num_oof || hog.oof_entries[position] >= hog.num_entries)
        fatal_error("Oof: hog entry > num_oof... ouch", 7);
    const HogEntry& entry = hog.entries[hog.oof_entries[position]];
    return read_model(file.get(), entry.offset, entry.length);
}

std::vector<uint8_t> read_loose_file() {
    FileHandle file = open_for_reading(bounded_text(view.oof_path));
    if (!file)
        fatal_error("Can't open the oof file", -2);
    return read_model(file.get(), 0, file_size(file.get()));
}

// A file without a TXTR chunk has no texture list; without this reset an export or the texture
// loader would see the previous model's list.
void forget_texture_list() {
    model.num_textures = 0;
    for (TextureSlot& slot : model.textures)
        slot.referenced = 0;
}

bool tag_is(const char tag[4], const char* name) {
    return std::memcmp(tag, name, 4) == 0;
}

void read_chunk(OofInput& in, const char tag[4], uint32_t length) {
    if (tag_is(tag, "OHDR"))
        in.cursor.skip(36);
    else if (tag_is(tag, "SOBJ"))
        read_sobj(in);
    else if (tag_is(tag, "TXTR"))
        read_txtr(in);
    else if (tag_is(tag, "GPNT"))
        read_gpnt(in);
    else if (tag_is(tag, "GRND"))
        read_grnd(in);
    else if (tag_is(tag, "ATCH"))
        read_atch(in);
    else if (tag_is(tag, "NATH"))
        read_nath(in);
    else if (tag_is(tag, "SPCL"))
        read_spcl(in);
    else if (tag_is(tag, "WBAT"))
        read_wbat(in);
    else if (tag_is(tag, "PINF"))
        read_pinf(in, length);
    else if (tag_is(tag, "PANI"))
        read_pani(in);
    else if (tag_is(tag, "RANI"))
        read_rani(in);
    else
        fatal_error("Oof data is bad, unknown datatype... ouch", 5);
}

void read_chunks(OofInput& in) {
    ByteCursor& cursor = in.cursor;
    // The end of the data is what could be read: a short file or entry ends early.
    while (cursor.tell() < cursor.size()) {
        char tag[4];
        cursor.bytes(tag, 4);
        uint32_t length = cursor.u32();
        size_t chunk_end = cursor.tell() + length;
        read_chunk(in, tag, length);
        if (cursor.tell() != chunk_end) {
            message_box("ERROR", "Oof data is bad, chunk length wrong... ouch");
            cursor.seek(chunk_end);
        }
    }
}

// The store is emptied before the file is opened, so a refused file leaves no old model.
void start_model() {
    clear_model();
    forget_texture_list();
}

void read_image(std::span<const uint8_t> bytes) {
    refuse_unless_polymodel(bytes);
    OofInput in{ByteCursor(bytes), 0};
    in.cursor.skip(OOF_MAGIC_SIZE);
    in.version = in.cursor.u32();
    read_chunks(in);
    prepare_model();
    view.model_loaded = 1;
}

} // namespace

void load_oof(uint32_t position) {
    start_model();
    read_image(hog.num_entries != 0 ? read_archive_entry(position) : read_loose_file());
}

void load_oof_bytes(std::span<const uint8_t> bytes) {
    start_model();
    read_image(bytes);
}
