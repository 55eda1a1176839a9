#pragma once

// The program's own version: the resource script's version information and
// the "Installer version" line of the install log both come from here.
#define BRENNICK_VERSION_MAJOR 27
#define BRENNICK_VERSION_MINOR 0
#define BRENNICK_VERSION_PATCH 5
#define BRENNICK_VERSION_TEXT "27.0.5"

// The name the installer calls itself by in its messages.
#define BRENNICK_FAMILY_NAME "Brennick Setup"
