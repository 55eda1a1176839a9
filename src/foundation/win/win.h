#pragma once

// The one place that includes <windows.h>. Settings are explicit so that every
// file sees the same declarations:
//  - the program runs on old systems too, so the headers declare what Windows
//    XP has; anything newer is looked up at run time;
//  - UNICODE stays undefined: every call names its A or W form explicitly,
//    because settings and messages are ANSI text and "|" paths are wide.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0501
#endif
#ifndef WINVER
#define WINVER 0x0501
#endif
#undef UNICODE
#undef _UNICODE

#include <windows.h>
// COM and OLE: left out by WIN32_LEAN_AND_MEAN, needed by the shell and OLE calls.
#include <ole2.h>
