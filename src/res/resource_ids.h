#pragma once

// Resource numbers shared by the resource script and the program.
#define IDI_PROGRAM 1
