// holdfile.exe - test tool: holds a file open with no sharing, as a program
// that uses the file would, until its standard input ends.
//
//   holdfile.exe <path>
//
// Prints "held\n" once the file is open; exit code 1 when it cannot be opened.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: holdfile.exe <path>\n");
    return 2;
  }
  const HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "error %lu\n", GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  CloseHandle(file);
  return 0;
}
