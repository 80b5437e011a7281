#pragma once

#include "winops/commands.h"

// The main window's three edit boxes, read and written from any thread. A box asked for after
// the main window or the box is gone ends the program with a fatal error.
CommandBoxes& MainWindowCommandBoxes();
