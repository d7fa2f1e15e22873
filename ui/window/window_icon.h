// The program's window icon, drawn at run time.
#pragma once

#include <QIcon>

QIcon make_window_icon();
