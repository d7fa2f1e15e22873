// The info command's report on a model in the store or on the loaded archive, as text for a
// person or as one JSON document (its shape is described in docs/info-json.md).
#pragma once

#include <string>

#include "cli/model_source.h"

std::string model_info_text(const ModelSource& source);
std::string model_info_json(const ModelSource& source);
std::string archive_info_text(const ModelSource& source);
std::string archive_info_json(const ModelSource& source);

// "polymodel", "room" or "truespace"; "archive" for an archive alone.
const char* source_kind_name(const ModelSource& source);
