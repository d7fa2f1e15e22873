// Status caption, polymodel info and About texts from the store, the archive index and the
// view state.
#include "ui/status_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"

namespace {

constexpr size_t CAPTION_LEN = 80;
constexpr size_t INFO_LEN = 527;
constexpr size_t INFO_TOTALS_CUT = 120; // the totals part is cut to this many characters

// The archive entry of the current polymodel; "" if the list position is out of range.
const char* current_entry_name() {
    if (view.cur_hog_oof >= hog.num_oof || view.cur_hog_oof >= MAX_HOG_ENTRIES)
        return "";
    uint32_t entry = hog.oof_entries[view.cur_hog_oof];
    return entry < hog.num_entries && entry < MAX_HOG_ENTRIES ? hog.entries[entry].name : "";
}

// Loose-file names are cut at the last backslash only, as they came from the dialog.
const char* after_last_backslash(const char* path) {
    const char* cut = std::strrchr(path, '\\');
    return cut ? cut + 1 : path;
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

std::string status_caption_text() {
    // Names longer than the 80-character caption buffer are cut.
    char text[CAPTION_LEN];
    const char* path = view.oof_path;
    int written;
    if (hog.num_entries != 0) {
        int position = static_cast<int>(view.cur_hog_oof) + 1;
        int count = static_cast<int>(hog.num_oof);
        if (keyed())
            written = std::snprintf(text, sizeof text, "%2d/%d : %s %d", position, count,
                                    current_entry_name(), current_frame());
        else
            written = std::snprintf(text, sizeof text, "%2d/%d : %s", position, count,
                                    current_entry_name());
    } else if (keyed()) {
        if (std::strchr(path, '\\'))
            written = std::snprintf(text, sizeof text, " %s   %d", after_last_backslash(path),
                                    current_frame());
        else
            written = std::snprintf(text, sizeof text, " %s %d", path, current_frame());
    } else {
        written = std::snprintf(text, sizeof text, " %s", after_last_backslash(path));
    }
    return written < 0 ? std::string() : std::string(text);
}

std::string polymodel_info_text() {
    char text[INFO_LEN];
    int used;
    if (hog.num_entries != 0)
        used = std::snprintf(text, sizeof text, "%s\n%3d/%d Oof Name: %s\n", hog.hog_path,
                             static_cast<int>(view.cur_hog_oof) + 1, static_cast<int>(hog.num_oof),
                             current_entry_name());
    else
        used =
            std::snprintf(text, sizeof text, "Oof Name: %s\n", after_last_backslash(view.oof_path));
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
