// What tethra_objcount.dll measures and counts inside the process it is loaded into. The
// probe loads it into the program under test and reads the record back.
#ifndef TETHRA_TESTS_E2E_OBJCOUNT_H
#define TETHRA_TESTS_E2E_OBJCOUNT_H

#include <windows.h>

struct ObjectCounts {
    ULONGLONG privateBytes;  // committed private memory (what Windows calls private bytes)
    DWORD gdi;               // GDI objects, stock objects left out
    DWORD gdiByType[16];     // the same by GetObjectType code (OBJ_PEN ... OBJ_COLORSPACE)
    DWORD windows;           // windows of the process, children included
    DWORD menus;
    DWORD icons;             // icons and cursors
    DWORD accelerators;
    DWORD user;              // windows + menus + icons + accelerators
};

// The exported counter, run on a thread of the counted process; its
// parameter points at an ObjectCounts to fill.
#define TETHRA_COUNT_OBJECTS_EXPORT "TethraCountObjects"

#endif
