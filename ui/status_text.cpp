// Status caption, polymodel info and About texts from the store, the archive index and the
// view state.
#include "ui/status_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "archive/hog_index.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"

namespace {

constexpr size_t CAPTION_LEN = 80;
constexpr size_t INFO_LEN = 527;
constexpr size_t INFO_TOTALS_CUT = 120; // the totals part is cut to this many characters

// Where the model in the store came from, as the caption and the Info box name it.
struct ShownModel {
    bool from_archive = false;
    int position = 0, count = 0; // list position + 1 and the archive's polymodel count
    std::string archive_path, entry_name;
};

std::optional<ShownModel> kept;

// The archive entry of the current polymodel; "" if the list position is out of range.
const char* current_entry_name() {
    if (view.cur_hog_oof >= hog.num_oof || view.cur_hog_oof >= MAX_HOG_ENTRIES)
        return "";
    uint32_t entry = hog.oof_entries[view.cur_hog_oof];
    return entry < hog.num_entries && entry < MAX_HOG_ENTRIES ? hog.entries[entry].name : "";
}

ShownModel shown_model() {
    if (kept)
        return *kept;
    if (hog.num_entries == 0)
        return {};
    return {true, static_cast<int>(view.cur_hog_oof) + 1, static_cast<int>(hog.num_oof),
            hog.hog_path, current_entry_name()};
}

bool has_separator(const char* path) {
    return std::strpbrk(path, "\\/") != nullptr;
}

// A loose file's name: the part after its last '\' or '/'.
std::string file_name(const char* path) {
    return std::string(last_path_part(path));
}

bool keyed() {
    return model.num_used_frames != 0 && view.positions_on;
}

int current_frame() {
    if (view.cur_keyframe >= model.num_used_frames || view.cur_keyframe >= MAX_ANI)
        return 0;
    return static_cast<int>(model.used_frames[view.cur_keyframe]);
}

} // namespace

void keep_shown_model_source() {
    if (!kept)
        kept = shown_model();
}

void follow_loaded_source() {
    kept.reset();
}

std::string status_caption_text() {
    // Names longer than the 80-character caption buffer are cut.
    char text[CAPTION_LEN];
    const char* path = view.oof_path;
    ShownModel shown = shown_model();
    int written;
    if (shown.from_archive) {
        const char* name = shown.entry_name.c_str();
        if (keyed())
            written = std::snprintf(text, sizeof text, "%2d/%d : %s %d", shown.position,
                                    shown.count, name, current_frame());
        else
            written =
                std::snprintf(text, sizeof text, "%2d/%d : %s", shown.position, shown.count, name);
    } else if (keyed()) {
        if (has_separator(path))
            written = std::snprintf(text, sizeof text, " %s   %d", file_name(path).c_str(),
                                    current_frame());
        else
            written = std::snprintf(text, sizeof text, " %s %d", path, current_frame());
    } else {
        written = std::snprintf(text, sizeof text, " %s", file_name(path).c_str());
    }
    return written < 0 ? std::string() : std::string(text);
}

std::string polymodel_info_text() {
    char text[INFO_LEN];
    ShownModel shown = shown_model();
    int used;
    if (shown.from_archive)
        used = std::snprintf(text, sizeof text, "%s\n%3d/%d Oof Name: %s\n",
                             shown.archive_path.c_str(), shown.position, shown.count,
                             shown.entry_name.c_str());
    else
        used = std::snprintf(text, sizeof text, "Oof Name: %s\n", file_name(view.oof_path).c_str());
    char totals[INFO_TOTALS_CUT + 1];
    int cut =
        std::snprintf(totals, sizeof totals,
                      "Total Vertices %d\nTotal Polygons %d\nTotal Textures %d\nTotal Sobj %d\n\n",
                      static_cast<int>(model.num_vertices), static_cast<int>(model.num_polygons),
                      static_cast<int>(model.num_textures), static_cast<int>(model.num_subobjects));
    if (cut < 0)
        totals[0] = '\0';
    size_t start = used < 0 ? 0 : std::min(static_cast<size_t>(used), sizeof text - 1);
    if (std::snprintf(text + start, sizeof text - start, "%s", totals) < 0)
        text[start] = '\0';
    return text;
}

std::string about_text() {
    return "Meshlook\nVersion " MESHLOOK_VERSION;
}
