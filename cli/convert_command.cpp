// meshlook-cli convert: any model the program reads, written as .oof, .orf or .obj.
#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "cli/model_source.h"
#include "cli/obj_export.h"
#include "formats/oof_writer.h"
#include "formats/orf_writer.h"
#include "state/file_io.h"
#include "state/paths.h"
#include "state/view_state.h"

namespace {

enum class Target { oof, orf, obj };

Target target_of(const std::string& path) {
    std::string_view ext = extension_part(path);
    if (equal_ignoring_case(ext, ".oof"))
        return Target::oof;
    if (equal_ignoring_case(ext, ".orf"))
        return Target::orf;
    if (equal_ignoring_case(ext, ".obj"))
        return Target::obj;
    throw UsageError{"OUT must end in .oof, .orf or .obj, not \"" + path + "\""};
}

int run(const Args& args) {
    expect_arguments(args, 2, "IN and OUT");
    const std::string& out = args.positional()[1];
    Target target = target_of(out);
    ModelSource source = parse_source(args.positional()[0]);
    cli_sink.set_source(source.label);
    if (source.kind == SourceKind::archive)
        throw UsageError{"IN names a whole archive; name one model as ARCHIVE.hog:ENTRY.oof"};
    load_model(source);
    if (target == Target::obj) {
        export_obj(out, source.label);
        return 0;
    }
    if (out.size() >= PATH_LEN)
        throw CommandFailure{"the output path is longer than " + std::to_string(PATH_LEN - 1) +
                             " characters"};
    cli_sink.set_source(out);
    copy_bounded(view.export_path, PATH_LEN, out);
    bool written = target == Target::oof ? export_oof() : export_orf();
    return written ? 0 : EXIT_FAILED;
}

} // namespace

const Command convert_command{
    "convert",
    "IN OUT",
    "Reads the model IN (.oof, ARCHIVE.hog:ENTRY.oof, .orf, .cob, .scn) and writes it as OUT,\n"
    "in the format OUT's extension names:\n"
    "  .oof   a version-2300 polymodel, as the viewer's File > Export > Oof\n"
    "  .orf   a room, as File > Export > Orf (one placeholder texture)\n"
    "  .obj   Wavefront OBJ with its .mtl beside it, and each texture the model uses as a PNG\n"
    "         beside them; model space, seen as in the viewer, one object per subobject\n"
    "An existing file is replaced only once the new one is complete.\n",
    {},
    run,
};
