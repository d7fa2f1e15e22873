// What a command reads: a loose polymodel, an archive, one polymodel of an archive
// ("ARCHIVE.hog:ENTRY.oof"), a room or a trueSpace file; and loading it into the store the
// way the viewer's commands do.
#pragma once

#include <cstdint>
#include <string>

enum class SourceKind { polymodel, archive, archive_entry, room, truespace };

struct ModelSource {
    SourceKind kind;
    std::string path;  // the file; for archive_entry the archive
    std::string entry; // archive_entry only: the entry's name
    std::string label; // as the user wrote it, for messages
};

// Tells the kind by the extension (any case), else by the file's first bytes. Throws
// CommandFailure for a file of no known kind.
ModelSource parse_source(const std::string& text);

// Reads the archive's directory into the archive index (load_hog).
void open_archive(const std::string& path);

// The position of the named polymodel in the loaded archive's list, ignoring case; or -1.
int32_t find_polymodel(const std::string& name);

// Loads the model into the store and prepares it. An archive alone stands for its first
// polymodel, as when the viewer opens it. A reader's refusal throws ReaderStop; an archive
// without polymodels or without the named entry throws CommandFailure.
void load_model(const ModelSource& source);

// Loads polymodel list position `position` of the loaded archive.
void load_archive_model(uint32_t position);

// The name of polymodel list position `position` of the loaded archive.
std::string polymodel_name(uint32_t position);

// The name an output file takes after the model: the entry's or file's name without folder
// and extension.
std::string source_stem(const ModelSource& source);

// A file or entry name without its folder and its last extension.
std::string name_stem(const std::string& name);
