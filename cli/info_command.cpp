// meshlook-cli info: what a model or an archive holds.
#include <cstdio>

#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "cli/info_report.h"
#include "cli/model_source.h"

namespace {

const OptionRule options[] = {{"json", 0, nullptr}};

int run(const Args& args) {
    expect_arguments(args, 1, "one FILE");
    ModelSource source = parse_source(args.positional()[0]);
    cli_sink.set_source(source.label);
    bool json = args.has("json");
    std::string report;
    if (source.kind == SourceKind::archive) {
        open_archive(source.path);
        report = json ? archive_info_json(source) : archive_info_text(source);
    } else {
        load_model(source);
        report = json ? model_info_json(source) : model_info_text(source);
    }
    std::fputs(report.c_str(), stdout);
    return 0;
}

} // namespace

const Command info_command{
    "info",
    "FILE [--json]",
    "Shows what FILE holds. For a model (.oof, ARCHIVE.hog:ENTRY.oof, .orf, .cob, .scn): the\n"
    "counts of subobjects, vertices, polygons, textures, points, batteries and keys, the\n"
    "bounding box and radius, the subobject tree with names, property strings and what they\n"
    "make of each subobject ($facing, $rotate, $glow, $fov), and each texture with the file\n"
    "it would be loaded from (the working folder first, then the archive) or \"missing\".\n"
    "For an archive (.hog): its entries by kind.\n"
    "\n"
    "  --json   print one JSON document instead (see docs/info-json.md)\n",
    options,
    run,
};
