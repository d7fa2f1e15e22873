// The trueSpace (.cob/.scn) importer: reads view.import_path and converts it into the store.
#pragma once

void load_cob();
