// Output files go through the project's replacing write.
#include "cli/output_file.h"

#include "cli/command_line.h"
#include "state/file_io.h"

void write_output(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (!write_file_replacing(path, bytes))
        throw CommandFailure{"cannot write " + path};
}
