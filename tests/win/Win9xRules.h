// The rules Windows 95/98 set on Win32 calls where Wine is more lenient:
// structure sizes, flags those systems lack, 16-bit GDI coordinates, the
// tray tooltip's length, functions looked up at run time. Installed into a
// module's import address table, every call the module makes through that
// table is checked before it goes on to the system. The product is built
// as it ships; only the tests install this: the Wine test program in its
// own table (a broken rule fails the test), the end-to-end runs' rules DLL
// in the real program's (a broken rule goes to a file).
#ifndef TETHRA_TESTS_WIN_WIN9XRULES_H
#define TETHRA_TESTS_WIN_WIN9XRULES_H

#include <windows.h>

namespace Win9xRules {

// Receives one line per broken rule, naming the call, the argument and the rule.
using Sink = void (*)(const char* message);

// Points module's import entries for the checked functions at their
// checkers and sends violations to sink. Returns the number of entries
// replaced; entries already replaced stay as they are.
int Install(HMODULE module, Sink sink);

// Whether a row of the rule table reached a checker (its function is
// imported by the module Install was given).
bool IsInstalled(const char* function);

// The functions of the rule table, in table order; null past the end.
const char* FunctionAt(int index);

}  // namespace Win9xRules

#endif
