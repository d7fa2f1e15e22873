// meshlook-cli render: draws a model into a PNG, or every polymodel of an archive into a folder
// of PNGs and/or a contact sheet.
#include <cstdlib>

#include "archive/hog_index.h"
#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "cli/contact_sheet.h"
#include "cli/entry_names.h"
#include "cli/model_render.h"
#include "cli/model_source.h"
#include "cli/output_file.h"
#include "cli/progress.h"
#include "state/paths.h"

namespace {

const OptionRule options[] = {
    {"output", 'o', "OUT"}, {"size", 0, "WxH"},          {"view", 0, "X,Y"},
    {"frame", 0, "N"},      {"no-textures", 0, nullptr}, {"fit", 0, nullptr},
    {"all", 0, nullptr},    {"sheet", 0, "SHEET.png"},
};

constexpr Size2 IMAGE_SIZE{400, 400};
constexpr Size2 SHEET_CELL_SIZE{160, 160};

void parse_view(const std::string& text, RenderSettings& settings) {
    char* end = nullptr;
    settings.rot_x = std::strtof(text.c_str(), &end);
    bool ok = end != text.c_str() && *end == ',';
    const char* second = ok ? end + 1 : end;
    settings.rot_y = std::strtof(second, &end);
    if (!ok || end == second || *end != '\0')
        throw UsageError{"--view wants two angles in degrees, X,Y (e.g. 30,45), not \"" + text +
                         "\""};
}

RenderSettings parse_settings(const Args& args, Size2 default_size) {
    RenderSettings settings;
    Size2 size = args.has("size") ? parse_size(args.value("size"), "size") : default_size;
    settings.width = size.width;
    settings.height = size.height;
    if (args.has("view"))
        parse_view(args.value("view"), settings);
    if (args.has("frame"))
        settings.frame = uint32_t(parse_count(args.value("frame"), "frame", 0xFFFFFFFFL));
    settings.textures = !args.has("no-textures");
    settings.fit = args.has("fit");
    return settings;
}

int render_one(const ModelSource& source, const Args& args) {
    RenderSettings settings = parse_settings(args, IMAGE_SIZE);
    load_model(source);
    Image image = ModelRenderer(settings).draw();
    write_output(args.value("output", source_stem(source) + ".png"), encode_png(image, false));
    return 0;
}

// Where --all writes: one PNG per polymodel, named after it, each name checked and claimed.
struct FolderOutput {
    bool enabled;
    std::string folder;
    NameClaims claims;
};

// Draws polymodel list position p and writes it to the folder when asked. A reader's refusal
// throws ReaderStop, a refused name or failed write CommandFailure.
Image draw_entry(uint32_t p, const std::string& name, ModelRenderer& renderer,
                 FolderOutput& output) {
    std::string file = name_stem(name) + ".png";
    std::string refused = output.enabled ? unsafe_name_reason(name) : "";
    if (output.enabled && refused.empty())
        refused = output.claims.claim(file, name);
    if (!refused.empty())
        throw CommandFailure{"its name " + refused + "; not rendered"};
    load_archive_model(p);
    Image image = renderer.draw();
    if (output.enabled)
        write_output(join_path(output.folder, file), encode_png(image, false));
    return image;
}

// Draws each polymodel of the loaded archive; a model that cannot be read is named and
// skipped. Returns the number of failures.
int render_archive(const ModelSource& source, const Args& args, std::vector<SheetCell>& cells) {
    FolderOutput output{args.has("all"), args.value("output", "."), {}};
    ModelRenderer renderer(parse_settings(args, output.enabled ? IMAGE_SIZE : SHEET_CELL_SIZE));
    ProgressLine progress(hog.num_oof);
    int failures = 0;
    for (uint32_t p = 0; p < hog.num_oof; ++p) {
        std::string name = polymodel_name(p);
        std::string label = source.path + ":" + name;
        cli_sink.set_source(label);
        progress.show(p + 1, "rendering", name);
        SheetCell cell{name, {}};
        try {
            cell.image = draw_entry(p, name, renderer, output);
        } catch (const ReaderStop&) {
            ++failures; // the sink has named the entry with the reader's message
        } catch (const CommandFailure& failure) {
            report(label + ": " + failure.message);
            ++failures;
        }
        if (args.has("sheet"))
            cells.push_back(std::move(cell));
    }
    return failures;
}

int render_batch(const ModelSource& source, const Args& args) {
    if (source.kind != SourceKind::archive)
        throw UsageError{"--all and --sheet draw every polymodel of an archive (.hog)"};
    open_archive(source.path);
    if (args.has("all")) {
        make_folders(args.value("output", ".")); // a failure shows as each write's
    }
    std::vector<SheetCell> cells;
    int failures = render_archive(source, args, cells);
    cli_sink.set_source(source.label);
    if (args.has("sheet")) {
        Size2 cell = args.has("size") ? parse_size(args.value("size"), "size")
                                      : (args.has("all") ? IMAGE_SIZE : SHEET_CELL_SIZE);
        write_output(args.value("sheet"),
                     encode_png(make_contact_sheet(cells, cell.width, cell.height), false));
    }
    if (failures != 0)
        report(source.path + ": " + std::to_string(failures) + " of " +
               std::to_string(hog.num_oof) + " polymodels not rendered");
    return failures == 0 ? 0 : EXIT_FAILED;
}

int run(const Args& args) {
    expect_arguments(args, 1, "one model or archive");
    ModelSource source = parse_source(args.positional()[0]);
    cli_sink.set_source(source.label);
    if (args.has("all") || args.has("sheet"))
        return render_batch(source, args);
    return render_one(source, args);
}

} // namespace

const Command render_command{
    "render",
    "IN [-o OUT.png] [--size WxH] [--view X,Y] [--frame N] [--no-textures] [--fit]\n"
    "       meshlook-cli render ARCHIVE.hog [--all -o DIR] [--sheet SHEET.png] [options]",
    "Draws the model as the viewer shows it after loading (same lighting, textures, culling\n"
    "and zoom; point markers off) into a PNG. IN is a model (.oof, ARCHIVE.hog:ENTRY.oof,\n"
    ".orf, .cob, .scn) or an archive, which stands for its first polymodel.\n"
    "\n"
    "  -o, --output OUT   the PNG to write (default: the model's name with .png, here);\n"
    "                     with --all the folder to write into (default: here)\n"
    "  --size WxH         image size in pixels (default 400x400; sheet cells 160x160)\n"
    "  --view X,Y         turn the model X degrees about the horizontal axis, then Y about\n"
    "                     the vertical one (default 30.01,30.01, the viewer's start view)\n"
    "  --frame N          draw the position and rotation keys of the last keyframe at or\n"
    "                     before frame N ('info' lists the keyframes)\n"
    "  --no-textures      flat colours only; textured polygons light grey\n"
    "  --fit              zoom so the model fills the image instead of the viewer's zoom\n"
    "  --all              draw every polymodel of the archive to DIR/NAME.png\n"
    "  --sheet SHEET.png  draw every polymodel of the archive into one contact sheet, each\n"
    "                     named below its drawing\n"
    "\n"
    "With --all or --sheet a model that cannot be read is named and skipped, the others are\n"
    "drawn, and the exit status is then 1. On a terminal a progress line shows the model\n"
    "being drawn.\n",
    options,
    run,
};
