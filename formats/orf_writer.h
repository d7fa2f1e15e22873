// The room (.orf) writer: saves the store to view.export_path.
#pragma once

// True when the file was written; on failure shows "Can't write the output file".
bool export_orf();
