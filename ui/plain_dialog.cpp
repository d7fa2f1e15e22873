// A dialog procedure that only closes.
#include "ui/plain_dialog.h"

#include "ui/main_window_link.h"

void PlainDialogProcedure::close() {
    send_main_command(close_command_);
}
