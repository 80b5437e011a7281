#pragma once

// Resource identifiers, shared by glimvane.rc and the code.
#define IDI_GLIMVANE 1           // the program's icon
