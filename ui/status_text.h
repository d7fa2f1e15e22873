// The texts the main window shows: the status caption, the "Oof Information" box and About.
#pragma once

#include <string>

// The caption drawn under the model while one is loaded (at most 79 characters).
std::string status_caption_text();

// The text of the "Oof Information" box.
std::string polymodel_info_text();

std::string about_text();

// Load Hog of an archive without polymodels keeps the model in the store while the index
// already describes the new archive: the texts go on naming where the kept model came from
// until the next load says otherwise.
void keep_shown_model_source();
void follow_loaded_source();
