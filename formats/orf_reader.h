// The room (.orf) reader: fills the store from view.import_path as one centred subobject.
#pragma once

void load_orf();
