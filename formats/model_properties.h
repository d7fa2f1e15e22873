// Derives per-subobject display state from the store: origins, model radius and the
// "$facing", "$rotate=", "$glow=" and "$fov=" property strings.
#pragma once

void prepare_model();
