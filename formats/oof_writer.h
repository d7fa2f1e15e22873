// The polymodel (.oof) writer: saves the store to view.export_path as a version-2300 file.
#pragma once

// True when the file was written; on failure shows "Can't write the output file" and leaves
// any existing file and the store untouched.
bool export_oof();
