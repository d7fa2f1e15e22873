// The trueSpace (.cob/.scn) importer: reads view.import_path and converts it into the store.
#pragma once

// Reads the binary trueSpace file named by view.import_path into the import tables, converts
// them into the store and sets view.model_loaded. Bad files end the program with a message.
void load_cob();

// Fills the store from the import tables (used vertices only, groups as subobjects).
void convert_cob();
