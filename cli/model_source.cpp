// Telling what a file is and loading it into the store as the viewer does.
#include "cli/model_source.h"

#include <algorithm>
#include <cstring>

#include "archive/hog_index.h"
#include "cli/command_line.h"
#include "cli/file_image.h"
#include "cli/quiet_stdout.h"
#include "formats/cob_reader.h"
#include "formats/model_properties.h"
#include "formats/oof_reader.h"
#include "formats/orf_reader.h"
#include "state/file_io.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/view_state.h"

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return text;
}

bool ends_with(const std::string& text, const char* suffix) {
    size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

SourceKind kind_by_extension(const std::string& path, bool& known) {
    std::string name = lower(std::string(last_path_part(path)));
    known = true;
    if (ends_with(name, ".oof"))
        return SourceKind::polymodel;
    if (ends_with(name, ".hog"))
        return SourceKind::archive;
    if (ends_with(name, ".orf"))
        return SourceKind::room;
    if (ends_with(name, ".cob") || ends_with(name, ".scn"))
        return SourceKind::truespace;
    known = false;
    return SourceKind::polymodel;
}

SourceKind kind_by_contents(const std::string& path) {
    FileHandle file = open_for_reading(path);
    std::vector<uint8_t> magic = file ? read_bytes(file.get(), 0, 4) : std::vector<uint8_t>{};
    if (magic.size() == 4 && std::memcmp(magic.data(), "PSPO", 4) == 0)
        return SourceKind::polymodel;
    if (magic.size() == 4 && std::memcmp(magic.data(), "HOG2", 4) == 0)
        return SourceKind::archive;
    throw CommandFailure{path + ": " + (file ? "not a file meshlook-cli reads" : "cannot open it") +
                         " (it takes .oof, .hog, .orf, .cob and .scn files)"};
}

// Whether nothing was loaded yet: the store is then as clear_model leaves it, and clearing it
// again would only touch half a megabyte of key tables for nothing.
bool store_fresh = true;

void import_file(const std::string& path, void (*read)()) {
    leave_archive_mode();
    copy_bounded(view.import_path, PATH_LEN, path);
    view.model_loaded = 0;
    if (!store_fresh)
        clear_model();
    store_fresh = false;
    read();
    prepare_model();
}

// Open failures and sizes are refused as load_cob refuses them.
void read_cob_quietly() {
    QuietStdout quiet;
    FileHandle file = open_for_reading(view.import_path);
    if (!file)
        fatal_error("Can't open the cob/scn file", -2);
    if (file_size(file.get()) > MAX_READ_SIZE)
        fatal_error("Not a binary trueSpace file", -2);
    FileImage image(file.get());
    load_cob_bytes(image.bytes());
}

} // namespace

ModelSource parse_source(const std::string& text) {
    // The readers take their file names from fixed path buffers.
    if (text.size() >= PATH_LEN)
        throw CommandFailure{"the path " + text + " is longer than " +
                             std::to_string(PATH_LEN - 1) + " characters"};
    ModelSource source{SourceKind::polymodel, text, "", text};
    size_t mark = lower(text).find(".hog:");
    if (mark != std::string::npos && !open_for_reading(text)) {
        source.kind = SourceKind::archive_entry;
        source.path = text.substr(0, mark + 4);
        source.entry = text.substr(mark + 5);
        return source;
    }
    bool known = false;
    source.kind = kind_by_extension(text, known);
    if (!known)
        source.kind = kind_by_contents(text);
    return source;
}

void open_archive(const std::string& path) {
    copy_bounded(hog.hog_path, PATH_LEN, path);
    hog.num_entries = 0;
    load_hog();
}

int32_t find_polymodel(const std::string& name) {
    for (uint32_t p = 0; p < hog.num_oof; ++p)
        if (equal_ignoring_case(polymodel_name(p), name))
            return int32_t(p);
    return -1;
}

std::string polymodel_name(uint32_t position) {
    return hog.entries[hog.oof_entries[position]].name;
}

void load_archive_model(uint32_t position) {
    store_fresh = false;
    view.cur_hog_oof = position;
    view.model_loaded = 0;
    load_oof(position);
}

void load_model(const ModelSource& source) {
    switch (source.kind) {
    case SourceKind::polymodel:
        store_fresh = false;
        leave_archive_mode();
        copy_bounded(view.oof_path, PATH_LEN, source.path);
        view.model_loaded = 0;
        load_oof(0);
        return;
    case SourceKind::room:
        import_file(source.path, load_orf);
        return;
    case SourceKind::truespace:
        import_file(source.path, read_cob_quietly);
        return;
    case SourceKind::archive:
    case SourceKind::archive_entry:
        break;
    }
    open_archive(source.path);
    if (hog.num_oof == 0)
        throw CommandFailure{source.path + ": This Hog has no Oof files"};
    int32_t position = 0;
    if (source.kind == SourceKind::archive_entry) {
        position = find_polymodel(source.entry);
        if (position < 0)
            throw CommandFailure{source.path + ": no polymodel named " + source.entry};
    }
    load_archive_model(uint32_t(position));
}

std::string source_stem(const ModelSource& source) {
    return name_stem(source.kind == SourceKind::archive_entry ? source.entry : source.path);
}

std::string name_stem(const std::string& name) {
    std::string last(last_path_part(name));
    size_t dot = last.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? last : last.substr(0, dot);
}
