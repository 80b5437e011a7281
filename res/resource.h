#pragma once

// Resource identifiers, shared by glimvane.rc and the code.
#define IDI_GLIMVANE 1           // the program's icon
#define IDR_GLIMVANE_ICON_FILE 2 // the same icon as icon-file bytes, for the notification area
