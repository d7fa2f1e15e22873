// load_cob: walks the chunks of a binary trueSpace file into the import tables, then converts.
#include "formats/cob_reader.h"

#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "formats/cob_chunks.h"
#include "formats/cob_scene.h"
#include "state/counts.h"
#include "state/file_io.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/prefault.h"
#include "state/view_state.h"

alignas(LARGE_PAGE_BYTES) CobScene cob_scene;

namespace {

constexpr size_t COB_HEADER_SIZE = 32;
constexpr size_t CHUNK_HEADER_SIZE = 20;
// The group table is larger than the store's: a group beyond MAX_SOBJ could never convert.
constexpr uint32_t GROUP_LIMIT = clamp_count(COB_MAX_GROUPS, MAX_SOBJ);

struct ChunkHeader {
    char tag[4];
    uint32_t id;
    uint32_t parent;
    uint32_t size;
};

bool tag_is(const ChunkHeader& header, const char* tag) {
    return std::memcmp(header.tag, tag, 4) == 0;
}

ChunkHeader read_chunk_header(ByteCursor& in) {
    ChunkHeader header;
    in.bytes(header.tag, 4);
    in.skip(4); // major and minor version
    header.id = in.u32();
    header.parent = in.u32();
    header.size = in.u32();
    return header;
}

void reset_scene() {
    CobScene& s = cob_scene;
    s.num_vertices = s.num_uvs = s.num_faces = 0;
    s.num_polh = s.num_materials = s.num_groups = s.num_texture_files = 0;
    s.groupless = 0;
}

void dispatch(const ChunkHeader& header, ByteCursor& data) {
    if (tag_is(header, "PolH"))
        read_polh(data);
    else if (tag_is(header, "Mat1"))
        read_mat1(data);
    else if (tag_is(header, "Grou"))
        read_grou(data, header.id, header.parent);
}

// Reads chunk after chunk until "END ". A file that ends without it, or inside a chunk, keeps
// what the complete chunks before held.
void read_chunks(std::span<const uint8_t> file) {
    size_t pos = COB_HEADER_SIZE;
    while (file.size() - pos >= CHUNK_HEADER_SIZE) {
        ByteCursor head(file.subspan(pos, CHUNK_HEADER_SIZE));
        ChunkHeader header = read_chunk_header(head);
        pos += CHUNK_HEADER_SIZE;
        if (tag_is(header, "END "))
            return;
        if (header.size > file.size() - pos)
            return;
        ByteCursor data(file.subspan(pos, header.size));
        pos += header.size;
        dispatch(header, data);
    }
}

constexpr char NOT_BINARY[] = "Not a binary trueSpace file";

void refuse_unless_binary(std::span<const uint8_t> header) {
    if (header.size() < COB_HEADER_SIZE || header[15] != 'B')
        fatal_error(NOT_BINARY, -2);
}

// The header is checked before the rest is read, and a file longer than any real scene is
// refused unread.
std::vector<uint8_t> read_import_file() {
    std::string path(view.import_path, strnlen(view.import_path, sizeof view.import_path));
    FileHandle file = open_for_reading(path);
    if (!file)
        fatal_error("Can't open the cob/scn file", -2);
    std::vector<uint8_t> bytes;
    if (!read_file_image(file.get(), 0, file_size(file.get()), COB_HEADER_SIZE,
                         refuse_unless_binary, bytes))
        fatal_error(NOT_BINARY, -2);
    return bytes;
}

} // namespace

void refuse_cob(const char* text) {
    fatal_error(text, 7);
}

void read_grou(ByteCursor& data, uint32_t chunk_id, uint32_t parent_id) {
    CobScene& s = cob_scene;
    // Group 0 of a group-less PolH has no chunk id that later groups could name as parent.
    if (s.groupless)
        refuse_cob("cob: Grou after PolH... ouch");
    if (s.num_groups >= GROUP_LIMIT)
        refuse_cob("cob: groups > MAX_SOBJ... ouch");
    CobGroup& group = s.groups[s.num_groups];
    data.skip(2); // duplicate count
    uint16_t length = data.u16();
    size_t kept = clamp_count(length, COB_GROUP_NAME_LEN - 1);
    data.string_field(group.name, kept);
    data.skip(length - kept);
    if (group.name[0] == '\0')
        std::strcpy(group.name, "None");
    group.centre = data.vec3();
    group.chunk_id = chunk_id;
    group.parent = -1;
    for (uint32_t g = s.num_groups; g-- > 0;) {
        if (s.groups[g].chunk_id == parent_id) {
            group.parent = int32_t(g);
            break;
        }
    }
    s.num_groups++;
}

void load_cob() {
    load_cob_bytes(read_import_file());
}

void load_cob_bytes(std::span<const uint8_t> bytes) {
    refuse_unless_binary(bytes);
    reset_scene();
    read_chunks(bytes);
    convert_cob();
    view.model_loaded = 1;
}
