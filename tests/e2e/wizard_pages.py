"""Wizard pages as the UI driver shows them: where a dialog's controls must be,
worked out from the dialog-unit rectangles of its template, and the driver's
commands that work a page as a user does.

A dialog made from a template gets its client size and its controls' places
from the template's dialog units and the base units of its font:
x and widths are MulDiv(v, bx, 4), y and heights MulDiv(v, by, 8), each
number on its own (a control's width is MulDiv(cx, bx, 4), not the
difference of its two mapped edges, which can be one pixel more). The test
knows the template; the base units it finds back from the client size.
Controls that size themselves keep their place but not their template size:
a list box without LBS_NOINTEGRALHEIGHT shrinks to whole items, a combo box
is as high as its closed field."""

from wine_env import UiDriver
from wizard_templates import TEMPLATES


def mul_div(a: int, b: int, c: int) -> int:
    """Windows' MulDiv: a * b / c rounded half away from zero; -1 when c is 0."""
    if c == 0:
        return -1
    product = a * b
    quotient, remainder = divmod(abs(product), abs(c))
    if 2 * remainder >= abs(c):
        quotient += 1
    return quotient if (product < 0) == (c < 0) else -quotient


def _base_unit(pixels: int, units: int, per: int, what: str) -> int:
    # MulDiv(units, b, per) grows by at least one pixel with each b when
    # units >= per, so at most one b fits.
    found = [b for b in range(1, per * (pixels + 1) // max(units, 1) + 2) if mul_div(units, b, per) == pixels]
    if len(found) != 1:
        raise AssertionError("%s: %d pixels for %d dialog units fit base units %r" % (what, pixels, units, found))
    return found[0]


def dialog_base_units(window: dict, template_size: tuple) -> tuple:
    """The base units (bx, by) that made `window` (as "windows" prints it)
    from a template of `template_size` (cx, cy) dialog units: the one pair
    with MulDiv(cx, bx, 4) == client width and MulDiv(cy, by, 8) == client
    height. Needs cx >= 4 and cy >= 8 to be unique."""
    width, height = window["client"]
    cx, cy = template_size
    return (_base_unit(width, cx, 4, "client width"), _base_unit(height, cy, 8, "client height"))


def expected_rect(du_rect: tuple, base_units: tuple) -> list:
    """The pixel rectangle [x, y, width, height] in the dialog's client area
    of a template rectangle (x, y, cx, cy) in dialog units, as the dialog
    manager places a control."""
    x, y, cx, cy = du_rect
    bx, by = base_units
    return [mul_div(x, bx, 4), mul_div(y, by, 8), mul_div(cx, bx, 4), mul_div(cy, by, 8)]


def control(window: dict, control_id: int) -> dict:
    """The one control of `window` with that id."""
    found = [c for c in window["controls"] if c["id"] == control_id]
    if len(found) != 1:
        raise AssertionError("%d controls with id %d in %r" % (len(found), control_id, window["caption"]))
    return found[0]


class PageChecks:
    """For a unittest.TestCase that reads wizard pages."""

    def assert_layout(self, window: dict, template: str) -> None:
        """Every control of the template where its dialog units put it, through
        the dialog's own base units."""
        table = TEMPLATES[template]
        units = dialog_base_units(window, table["size"])
        for control_id, rect in table["controls"].items():
            actual, expected = control(window, control_id)["rect"], expected_rect(rect, units)
            if control_id == 66:
                # Wine sizes the etched line's window to its edge: up to 2
                # pixels wider, and 2 pixels high whatever the template says.
                self.assertLessEqual(abs(actual[2] - expected[2]), 2, "%s separator %r" % (template, actual))
                self.assertEqual(actual[3], 2, "%s separator %r" % (template, actual))
                actual[2:] = expected[2:]
            self.assertEqual(actual, expected, "%s control %d" % (template, control_id))


# The driver's commands for working a page; each raises AssertionError when
# the driver fails (see tests/tools/uidriver.cpp for what each does).

def _window_options(wait_text: str = None, wait_class: str = None) -> list:
    options = []
    if wait_class:
        options += ["--wait-class", wait_class]
    if wait_text:
        options += ["--wait-text", wait_text]
    return options


def key(ui: UiDriver, pid: int, keys: str, wait_text: str = None, wait_class: str = None) -> dict:
    """Types `keys` ("TAB SHIFT+TAB ENTER ESC ALT+N SPACE DOWN UP", or text)
    into the process's active window, or the one with `wait_text`."""
    return ui._run("key", str(pid), keys, *_window_options(wait_text, wait_class))


def close(ui: UiDriver, pid: int, wait_text: str = None, wait_class: str = None) -> dict:
    """The Close command of the active window's title bar, or of the one with `wait_text`."""
    return ui._run("close", str(pid), *_window_options(wait_text, wait_class))


def wait_gone(ui: UiDriver, pid: int, text: str, timeout_ms: int = 20000) -> dict:
    """Waits until no window of the process shows `text`: {"gone": True},
    or until the process ended: {"ended": True}."""
    return ui._run("wait-gone", str(pid), "--wait-text", text, timeout_ms=timeout_ms)


def dblclick_item(ui: UiDriver, pid: int, control_id: int, entry: str) -> dict:
    return ui._run("dblclick-item", str(pid), str(control_id), entry)


def check(ui: UiDriver, pid: int, control_id: int, checked: bool) -> dict:
    """Clicks a check box until it is `checked`; returns its state as read back."""
    return ui._run("check", str(pid), str(control_id), "1" if checked else "0")
