// The control for the DLL-search test: loads a DLL by bare name with the
// default search order, as a program without the restriction would.
// Usage: loadlib.exe <name.dll>; exit code 0 when it loaded.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  return LoadLibraryA(argv[1]) != nullptr ? 0 : 1;
}
