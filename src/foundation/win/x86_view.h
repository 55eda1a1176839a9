#pragma once

#include <string>

#include "foundation/win/win.h"

namespace brennick::win {

// The machine as the 32-bit program sees it on 64-bit Windows. The program
// for 64-bit Windows must change the machine exactly as the 32-bit one does
// there, so where the system's 32-bit subsystem redirects a 32-bit process,
// it applies the same rules itself, all of them here: the registry view, the
// program-files folders, the environment and the file-system redirector.
// In the 32-bit program every one of these is the system's own doing, and
// the functions below change nothing.

// True in the program for 64-bit Windows.
constexpr bool kEmulatesX86View = sizeof(void*) == 8;

// The registry view a 32-bit process gets when it names none: the flag to
// add to every open, create and delete that names no view of its own.
constexpr REGSAM kX86RegistryView = kEmulatesX86View ? KEY_WOW64_32KEY : 0;

// `view` where a caller names one (KEY_WOW64_64KEY for a 64-bit product),
// the 32-bit process's view otherwise.
constexpr REGSAM RegistryView(REGSAM view = 0) { return view != 0 ? view : kX86RegistryView; }

// The shell folder a 32-bit process gets for `csidl`: the program-files and
// common-files folders are the " (x86)" ones.
int X86ShellFolder(int csidl);

// Rewrites this process's environment to the one a 32-bit process starts
// with (ProgramFiles, CommonProgramFiles, PROCESSOR_ARCHITECTURE and
// PROCESSOR_ARCHITEW6432), so that expansions and the programs it starts see
// the same values. Called once, first thing.
void EnterX86Environment();

// The 32-bit system folder ("SysWOW64"); empty where the system has none.
std::wstring X86SystemFolder();

// The file-system redirector, on from the start as for a 32-bit process. A
// 64-bit product turns it off for the installation, as the 32-bit program
// does. False when it could not be turned off.
bool TurnOffFileSystemRedirection();
void RestoreFileSystemRedirection();

// The name under which a file is really opened: while the redirector is on,
// the system folder and its descendants (but those it leaves alone) are the
// 32-bit system folder, "Sysnative" the real system folder, and the Windows
// folder's regedit.exe the 32-bit one. Other names come back as they are.
std::wstring RedirectedPath(std::wstring path);

}  // namespace brennick::win
