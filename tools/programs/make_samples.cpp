// Writes the sample files into a folder (default "samples"): demo.hog with the sample models
// and their textures, and a loose demo.oof with the textures it needs beside it.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/oof_writer.h"
#include "tools/hog_builder.h"
#include "tools/sample_models.h"
#include "tools/sample_textures.h"

int main(int argc, char** argv) {
    std::filesystem::path folder = argc > 1 ? argv[1] : "samples";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "make_samples: cannot create %s\n", folder.string().c_str());
        return 1;
    }

    // The models as file bytes, through the program's own writer.
    std::vector<HogFile> archive;
    for (const SampleModel& sample : sample_models()) {
        sample.build();
        archive.push_back({sample.file_name, export_oof_bytes()});
    }
    std::vector<SampleFile> textures = sample_textures();
    for (const SampleFile& texture : textures)
        archive.push_back({texture.name, texture.bytes});
    if (!write_whole_file((folder / "demo.hog").string(), build_hog(archive)))
        return 1;

    // The loose model is the first sample; its textures lie beside it as loose files.
    sample_models().front().build();
    if (!write_whole_file((folder / "demo.oof").string(), export_oof_bytes()))
        return 1;
    for (const SampleFile& texture : textures)
        if (texture.name == "hull.ogf" || texture.name == "glass.ogf")
            if (!write_whole_file((folder / texture.name).string(), texture.bytes))
                return 1;

    std::printf("make_samples: wrote %s/demo.hog (%zu models, %zu textures) and demo.oof\n",
                folder.string().c_str(), sample_models().size(), textures.size());
    return 0;
}
