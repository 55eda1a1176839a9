"""The dialog templates of the wizard pages as the program must have them:
size and every control's rectangle in dialog units (x, y, width, height).
The tests compare the windows the program shows against this table."""

BUTTONS = {1001: (116, 201, 78, 13), 1003: (198, 201, 78, 13), 66: (4, 196, 272, 1)}
BANNER = {1032: (0, 0, 280, 26), 1034: (81, 4, 199, 8), 1035: (85, 14, 195, 8)}
SIDE = {1021: (4, 4, 94, 188)}
FULL = (280, 218)


def _page(size, *parts):
    controls = {}
    for part in parts:
        controls.update(part)
    return {"size": size, "controls": controls}


TEMPLATES = {
    "ChooseDirDlg": _page(FULL, SIDE, {1009: (102, 20, 174, 24), 1015: (102, 48, 174, 12),
                                       1013: (198, 64, 78, 13), 1036: (102, 90, 174, 8),
                                       1037: (102, 98, 174, 8)}, BUTTONS),
    "ChooseDirDlg2": _page(FULL, {1009: (4, 12, 272, 16), 1015: (4, 32, 272, 12), 1013: (198, 48, 78, 13),
                                  1036: (4, 74, 272, 8), 1037: (4, 82, 272, 8)}, BUTTONS),
    "ChooseDirDlg3": _page(FULL, BANNER, {1009: (4, 38, 272, 16), 1015: (4, 58, 272, 12),
                                          1013: (198, 74, 78, 13), 1036: (4, 100, 272, 8),
                                          1037: (4, 108, 272, 8)}, BUTTONS),
    "StartMenuDlg": _page(FULL, SIDE, {1009: (102, 20, 174, 24), 1015: (102, 48, 174, 12),
                                       1013: (198, 64, 78, 13)}, BUTTONS),
    "StartMenuDlg2": _page(FULL, {1009: (4, 12, 272, 16), 1015: (4, 32, 272, 12), 1013: (198, 48, 78, 13)},
                           BUTTONS),
    "StartMenuDlg3": _page(FULL, BANNER, {1009: (4, 38, 272, 16), 1015: (4, 58, 272, 12),
                                          1013: (198, 74, 78, 13)}, BUTTONS),
    "GreetingDlg": _page(FULL, SIDE, {1009: (102, 24, 174, 168)}, BUTTONS),
    "GreetingDlg3": _page((280, 120), BANNER, {1009: (4, 30, 272, 64), 1001: (116, 103, 78, 13),
                                               1003: (198, 103, 78, 13), 66: (4, 98, 272, 1)}),
    "LanguageDlg": _page(FULL, SIDE, {1009: (102, 4, 174, 16), 1017: (102, 24, 174, 168)}, BUTTONS),
    "LanguageDlg3": _page(FULL, BANNER, {1009: (4, 30, 272, 16), 1017: (54, 50, 172, 138)}, BUTTONS),
    "SummaryDlg": _page(FULL, SIDE, {1009: (102, 4, 174, 24), 1001: (198, 201, 78, 13), 66: (4, 196, 272, 1)}),
    "SummaryDlg2": _page((280, 110), {1009: (4, 4, 272, 24), 1001: (198, 93, 78, 13), 66: (4, 89, 272, 1)}),
    "SummaryDlg3": _page(FULL, BANNER, {1009: (4, 30, 272, 24), 1001: (198, 201, 78, 13), 66: (4, 196, 272, 1)}),
    "EnterPassword": _page((269, 54), {1009: (3, 4, 263, 10), 1019: (3, 17, 263, 12), 66: (3, 33, 263, 1),
                                       1001: (106, 38, 78, 13), 1003: (188, 38, 78, 13)}),
    "MustUninstall": _page((269, 61), {1009: (3, 10, 263, 20), 66: (3, 40, 263, 1), 1001: (106, 45, 78, 13),
                                       1003: (188, 45, 78, 13)}),
    "ProgressDlg": _page(FULL, SIDE, {1009: (102, 4, 174, 24), 1007: (102, 32, 174, 9), 1011: (102, 61, 174, 24),
                                      66: (4, 196, 272, 1), 1003: (198, 201, 78, 13)}),
    "ProgressDlg2": _page((195, 73), {1009: (5, 4, 185, 8), 1007: (5, 16, 185, 9), 1011: (5, 30, 185, 16),
                                      1003: (60, 57, 75, 12)}),
    "ProgressDlg3": _page((225, 99), BANNER, {1009: (5, 30, 215, 8), 1007: (5, 42, 215, 9),
                                              1011: (5, 55, 215, 16), 1003: (75, 83, 75, 12)}),
}
for _name in ("License", "Readme"):
    TEMPLATES[_name + "Dlg"] = _page(FULL, SIDE, {1009: (102, 4, 174, 24), 1005: (102, 32, 174, 160)}, BUTTONS)
    TEMPLATES[_name + "Dlg2"] = _page(FULL, {1009: (4, 4, 272, 16), 1005: (4, 24, 272, 168)}, BUTTONS)
    TEMPLATES[_name + "Dlg3"] = _page(FULL, BANNER, {1009: (4, 30, 272, 16), 1005: (4, 50, 272, 138)}, BUTTONS)

SUFFIX = {0: "2", 1: "", 2: "3"}


def template_name(page: str, style: int) -> str:
    """The template a page shows in a style: 1 picture, 0 plain, others banner;
    the greeting and language pages have no plain one."""
    suffix = SUFFIX.get(style, "3")
    if page in ("GreetingDlg", "LanguageDlg") and suffix == "2":
        suffix = "3"
    return page + suffix
