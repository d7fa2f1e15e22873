// The one ViewState, holding its start values from program start.
#include "state/view_state.h"

ViewState view;
