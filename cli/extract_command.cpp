// meshlook-cli extract: copies archive entries into a folder under their own names.
#include <sys/stat.h>

#include "archive/hog_index.h"
#include "cli/archive_listing.h"
#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "cli/entry_names.h"
#include "cli/model_source.h"
#include "state/file_io.h"
#include "state/paths.h"

namespace {

const OptionRule options[] = {{"output", 'o', "DIR"}, {"verbose", 'v', nullptr}};

// The entries the command line names (all of them when it names none), in directory order;
// each name that matches no entry is reported and counted as a failure.
std::vector<ListedEntry> chosen_entries(const std::vector<std::string>& names, int& failures) {
    std::vector<ListedEntry> all = list_entries();
    if (names.empty())
        return all;
    std::vector<bool> chosen(all.size(), false);
    for (const std::string& name : names) {
        bool found = false;
        for (size_t k = 0; k < all.size(); ++k)
            if (equal_ignoring_case(all[k].name, name))
                chosen[k] = found = true;
        if (!found) {
            report("no entry named " + name + " in " + hog.hog_path);
            ++failures;
        }
    }
    std::vector<ListedEntry> result;
    for (size_t k = 0; k < all.size(); ++k)
        if (chosen[k])
            result.push_back(all[k]);
    return result;
}

// Writes one entry; the reason it was refused or failed, or "" on success.
std::string extract_entry(std::FILE* archive, const ListedEntry& entry, const std::string& folder,
                          NameClaims& claims) {
    std::string reason = unsafe_name_reason(entry.name);
    if (reason.empty())
        reason = claims.claim(entry.name,
                              "entry " + std::to_string(entry.index) + " (" + entry.name + ")");
    if (!reason.empty())
        return "its name " + reason + "; not extracted";
    std::string target = join_path(folder, entry.name);
    struct stat existing;
    // A symlink or folder in the way would take the write elsewhere.
    if (::lstat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return target + " exists and is not a regular file; not extracted";
    const HogEntry& stored = hog.entries[entry.index];
    std::vector<uint8_t> bytes;
    if (!read_file_image(archive, stored.offset, stored.length, 0, nullptr, bytes))
        return "too large to extract";
    if (bytes.size() != stored.length)
        return "the archive ends inside it; not extracted";
    if (!write_file_replacing(target, bytes))
        return "cannot write " + target;
    return "";
}

int run(const Args& args) {
    if (args.positional().empty())
        throw UsageError{"expects an ARCHIVE"};
    const std::string& path = args.positional()[0];
    cli_sink.set_source(path);
    open_archive(path);
    std::string folder = args.value("output", ".");
    if (!make_folders(folder))
        throw CommandFailure{"cannot create the folder " + folder};
    FileHandle archive = open_for_reading(path);
    if (!archive)
        throw CommandFailure{path + ": Can't open the hog file"};

    int failures = 0;
    std::vector<std::string> names(args.positional().begin() + 1, args.positional().end());
    NameClaims claims;
    for (const ListedEntry& entry : chosen_entries(names, failures)) {
        std::string problem = extract_entry(archive.get(), entry, folder, claims);
        if (!problem.empty()) {
            report(path + ": entry " + std::to_string(entry.index) + " \"" + entry.name +
                   "\": " + problem);
            ++failures;
        } else if (args.has("verbose")) {
            std::printf("%s\n", join_path(folder, entry.name).c_str());
        }
    }
    if (failures != 0)
        report(std::to_string(failures) + (failures == 1 ? " entry" : " entries") +
               " not extracted");
    return failures == 0 ? 0 : EXIT_FAILED;
}

} // namespace

const Command extract_command{
    "extract",
    "ARCHIVE.hog [NAME...] [-o DIR]",
    "Copies the archive's entries, or only those named (ignoring case), into DIR (default: the\n"
    "working folder, created when missing) under their own names. An entry whose name would\n"
    "leave DIR (a folder separator, \"..\", an absolute path) or collide with an earlier\n"
    "entry's (ignoring case) is refused and named; the others are still extracted, and the\n"
    "exit status is then 1. An existing file is replaced only once the new one is complete.\n"
    "\n"
    "  -o, --output DIR   the folder to write into\n"
    "  -v, --verbose      print each file written\n",
    options,
    run,
};
