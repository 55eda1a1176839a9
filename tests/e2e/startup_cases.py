"""What the program says at start-up, written out in full: the tests compare
the real message boxes with these texts."""

USAGE_BODY = (
    " [/a] [/b1:\"commands\"] [/b2:\"commands\"] [/b3:\"commands\"] [/d:\"dir\"] [/n:\"name\"] [/u:\"name\"] "
    "[/r:\"program\"]\r\n\r\n"
    "/a                  \tAutomatic mode.\r\n"
    "/d:\"dir\"        \tOverride installation directory.\r\n"
    "/b1:\"commands\"\tAdd commands to the end of the Pre-Installation Batch.\r\n"
    "/b2:\"commands\"\tAdd commands to the end of the Post-Installation Batch.\r\n"
    "/b3:\"commands\"\tAdd commands to the end of the Installation-Exit Batch.\r\n"
    "/n:\"name\"\tOverride product name.\r\n"
    "/u:\"name\"\tUninstall product by name.\r\n"
    "/r:\"program\"\tRun the specified program after a successful installation.")

NO_PACKAGE = (
    "This program performs installations and uninstallations.\r\n"
    "There is no installation data present.\r\n"
    "No uninstallation parameters were specified.\r\n\r\n"
    "You should not delete this program or execute it directly.")


def usage(message: str, program: str = "brennick.exe") -> str:
    return message + "\r\n\r\nUsage:\r\n" + program + USAGE_BODY


def corrupt(code: int) -> str:
    return ("This installation program is corrupt.  This is usually caused by a faulty download, but it can also "
            "be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\n"
            "Delete the corrupted installer (to prevent caching), then re-download it.  If the problem persists, "
            "check your system for viruses.\r\n\r\nError code: %d" % code)
