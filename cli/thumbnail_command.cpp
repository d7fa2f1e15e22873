// meshlook-cli thumbnail: the freedesktop thumbnailer form, a square transparent PNG.
#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "cli/model_render.h"
#include "cli/model_source.h"
#include "cli/output_file.h"
#include "state/paths.h"

namespace {

const OptionRule options[] = {{"size", 's', "SIZE"}};

constexpr long MAX_THUMBNAIL = 4096;

int run(const Args& args) {
    expect_arguments(args, 2, "IN and OUT.png");
    RenderSettings settings;
    settings.width = settings.height =
        int(parse_count(args.value("size", "256"), "size", MAX_THUMBNAIL));
    if (settings.width == 0)
        throw UsageError{"--size must be at least 1"};
    settings.fit = true;
    settings.transparent = true;
    ModelSource source = parse_source(args.positional()[0]);
    cli_sink.set_source(source.label);
    // A thumbnailer starts in no particular folder: textures are looked for beside the model.
    std::string out = absolute_path(args.positional()[1]);
    source.path = absolute_path(source.path);
    change_folder(std::string(folder_part(source.path))); // else they are looked for here
    load_model(source);
    write_output(out, encode_png(ModelRenderer(settings).draw(), true));
    return 0;
}

} // namespace

const Command thumbnail_command{
    "thumbnail",
    "-s SIZE IN OUT.png",
    "Writes a SIZE x SIZE thumbnail of the model with a transparent background, the model\n"
    "filling the square, as a freedesktop thumbnailer does (see desktop/meshlook.thumbnailer).\n"
    "IN is any model meshlook-cli reads; an archive stands for its first polymodel. Loose\n"
    "textures are looked for in IN's folder.\n"
    "\n"
    "  -s, --size SIZE   the side of the square in pixels (default 256)\n",
    options,
    run,
};
