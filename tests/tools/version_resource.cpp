// version200.dll - test tool: a DLL that is only read, never loaded. Its
// version resource says 2.0.0.0, for the version test of system files.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
