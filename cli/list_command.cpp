// meshlook-cli list: the entries of an archive with their sizes and kinds.
#include <algorithm>
#include <cstdio>

#include "cli/archive_listing.h"
#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "cli/model_source.h"

namespace {

int run(const Args& args) {
    expect_arguments(args, 1, "one ARCHIVE");
    const std::string& path = args.positional()[0];
    cli_sink.set_source(path);
    open_archive(path);
    std::vector<ListedEntry> entries = list_entries();
    int width = 4;
    for (const ListedEntry& entry : entries)
        width = std::max(width, int(entry.name.size()));
    for (const ListedEntry& entry : entries)
        std::printf("%-*s %10u  %s\n", width, entry.name.c_str(), entry.size,
                    kind_name(entry.kind));
    return 0;
}

} // namespace

const Command list_command{
    "list",
    "ARCHIVE.hog",
    "Lists the entries of the archive in directory order: name, size in bytes and kind\n"
    "(polymodel, texture, animated texture or other).\n",
    {},
    run,
};
