"""Reads and works Lablist through AT-SPI, the way a screen reader does.

Run by CTest in the D-Bus session of its fixture, on its X display
(ctest --preset default -R screenreader). Starts at-spi2-core's bus launcher and then the program, and checks:
every button, text box, the combo box (with its parts) and the list have their
role and a name; each box is labelled by its caption; every message box's text
can be read; the buttons work through the Action interface; the list's
selection can be made and read. Prints the tree of both windows. Exits non-zero
on the first failure.

Usage: screenreader.py <path to lablist>
"""

import importlib.util
import os
import subprocess
import sys
import time

if importlib.util.find_spec("pyatspi") is None:
    print("screenreader: python3-pyatspi is not installed", file=sys.stderr)
    # 77: skipped, unless every check must run.
    sys.exit(1 if os.environ.get("LABLIST_EXPECT_ALL") == "1" else 77)

import gi  # noqa: E402

gi.require_version("Atspi", "2.0")
gi.require_version("Gio", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

MAIN_TITLE = "Customer Information"
FORM_TITLE = "Generate Mailing Labels"


class Failure(Exception):
    pass


def wait_for(what, probe, seconds=20):
    """The first true result of probe(), polled; fails after seconds."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            result = probe()
        except GLib.Error:
            # An object went away while it was being read: look again.
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"no {what} after {seconds} s")
        time.sleep(0.1)


def start_bus_launcher():
    """at-spi2-core's launcher, once it owns its name on the session bus."""
    # The registry daemon it starts stays until the session bus ends, after
    # this check: it must not hold the check's output open.
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def owned():
        if launcher.poll() is not None:
            raise Failure(f"at-spi-bus-launcher ended with status {launcher.returncode}")
        reply = session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                  "org.freedesktop.DBus", "NameHasOwner",
                                  GLib.Variant("(s)", ("org.a11y.Bus",)),
                                  GLib.VariantType("(b)"), Gio.DBusCallFlags.NONE, -1, None)
        return reply.unpack()[0]

    wait_for("accessibility bus", owned)
    return launcher


def stop(process, name):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        print(f"screenreader: {name} did not stop; killing it", file=sys.stderr)
        process.kill()
        process.wait()


launcher = None
program = None


def main(program_path):
    global launcher, program
    launcher = start_bus_launcher()
    # Only now: pyatspi joins the accessibility bus when it is imported.
    import pyatspi

    program = subprocess.Popen([program_path])
    Reader(pyatspi, program).run()


class Reader:
    def __init__(self, pyatspi, program):
        self.at = pyatspi
        self.program = program
        self.desktop = pyatspi.Registry.getDesktop(0)
        self.app = None

    # -- reading the tree -------------------------------------------------

    def fresh(self, accessible):
        # pyatspi caches what it read; without an event loop here nothing tells
        # it what changed, so forget it and ask the program again.
        accessible.clear_cache()
        return accessible

    def descendants(self, accessible):
        for index in range(accessible.childCount):
            child = accessible.getChildAtIndex(index)
            if child is None:
                continue
            yield child
            yield from self.descendants(child)

    def showing(self, accessible):
        return accessible.getState().contains(self.at.STATE_SHOWING)

    def window(self, title, role=None):
        """The showing top-level window with this title (and role), or None."""
        self.fresh(self.app)
        for window in self.app:
            if window is not None and window.name == title and self.showing(window) \
                    and role in (None, window.getRole()):
                return window
        return None

    def wait_window(self, title, role):
        window = wait_for(f'window "{title}"', lambda: self.window(title))
        if window.getRole() != role:
            raise Failure(f'"{title}" reads as a {window.getRoleName()}, not a {role_name(role)}')
        return window

    def wait_gone(self, title, role):
        wait_for(f'closing of "{title}"', lambda: self.window(title, role) is None)

    def find(self, within, role, name):
        self.fresh(within)
        for accessible in self.descendants(within):
            if accessible.getRole() == role and accessible.name == name:
                return accessible
        raise Failure(f'"{within.name}" has no {role_name(role)} named "{name}"')

    def related(self, accessible, relation):
        targets = []
        for rel in accessible.getRelationSet():
            if rel.getRelationType() == relation:
                targets += [rel.getTarget(i) for i in range(rel.getNTargets())]
        return targets

    # -- acting ------------------------------------------------------------

    def press(self, button):
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            raise Failure(f'"{button.name}" offers no Press action, only {names}')
        action.doAction(names.index("Press"))

    def set_text(self, box, text):
        if not box.queryEditableText().setTextContents(text):
            raise Failure(f'"{box.name}" refused the text "{text}"')

    def text_of(self, box):
        return self.fresh(box).queryText().getText(0, -1)

    # -- checks ------------------------------------------------------------

    def check_controls(self, window, expected):
        """Each control has its role and name, and nothing that can be worked
        in the window is nameless."""
        for role, name in expected:
            self.find(window, role, name)
        worked = {self.at.ROLE_PUSH_BUTTON, self.at.ROLE_TEXT, self.at.ROLE_COMBO_BOX,
                  self.at.ROLE_LIST}
        for accessible in self.descendants(window):
            if accessible.getRole() in worked and not accessible.name:
                parent = accessible.parent
                raise Failure(f'a {accessible.getRoleName()} in "{parent.name}" '
                              f"({parent.getRoleName()}) has no name")

    def check_labelled_by(self, accessible, caption):
        names = [target.name for target in self.related(accessible, self.at.RELATION_LABELLED_BY)]
        if caption not in names:
            raise Failure(f'the {accessible.getRoleName()} "{accessible.name}" is not labelled '
                          f'by "{caption}" (labelled by {names})')

    def read_message(self, title, text):
        """The message box's text is there to read; then its OK closes it."""
        box = self.wait_window(title, self.at.ROLE_ALERT)
        texts = [a.name for a in self.descendants(self.fresh(box))
                 if a.getRole() == self.at.ROLE_LABEL and a.name]
        if text not in texts:
            raise Failure(f'the message "{title}" reads {texts}, not "{text}"')
        print(f'message "{title}": "{text}"')
        self.press(self.find(box, self.at.ROLE_PUSH_BUTTON, "OK"))
        self.wait_gone(title, self.at.ROLE_ALERT)

    def print_tree(self, window):
        print(f"  {window.getRoleName():<12} | {window.name}")
        for accessible in self.descendants(self.fresh(window)):
            depth = 0
            parent = accessible.parent
            while parent is not None and parent != window:
                depth += 1
                parent = parent.parent
            print(f"  {'  ' * depth}{accessible.getRoleName():<{12 - 2 * depth}} | "
                  f"{accessible.name}")

    # -- the session ---------------------------------------------------------

    def find_app(self):
        self.fresh(self.desktop)
        if self.program.poll() is not None:
            raise Failure(f"lablist ended with status {self.program.returncode}")
        for app in self.desktop:
            if app is not None and app.name == "Lablist" \
                    and app.get_process_id() == self.program.pid:
                return app
        return None

    def run(self):
        at = self.at
        self.app = wait_for("Lablist on the accessibility bus", self.find_app)

        main = self.wait_window(MAIN_TITLE, at.ROLE_FRAME)
        commands = ["Add Customer", "Remove Customer", "Display Customer", "Exit",
                    "Print Labels for All Customers"]
        self.check_controls(main, [(at.ROLE_PUSH_BUTTON, name) for name in commands]
                            + [(at.ROLE_LIST, "Account Numbers")])
        button = lambda name: self.find(main, at.ROLE_PUSH_BUTTON, name)  # noqa: E731
        customers = self.find(main, at.ROLE_LIST, "Account Numbers")

        # The main window's messages, on the empty list.
        self.press(button("Remove Customer"))
        self.read_message("Lablist", "Please Select Item from the list")
        self.press(button("Display Customer"))
        self.read_message("Lablist", "Please Select Item from list")
        self.press(button("Print Labels for All Customers"))
        self.read_message("Error", "No data to print")

        # Add Customer opens the form.
        self.press(button("Add Customer"))
        form = self.wait_window(FORM_TITLE, at.ROLE_DIALOG)
        boxes = ["Last Name:", "First Name:", "Street", "City:", "State:", "Zip Code:",
                 "Expiration Date:"]
        form_buttons = ["Ok", "Cancel", "Display Acct. No.", "Print Label"]
        self.check_controls(form, [(at.ROLE_TEXT, name) for name in boxes]
                            + [(at.ROLE_COMBO_BOX, "Catalog:")]
                            + [(at.ROLE_PUSH_BUTTON, name) for name in form_buttons]
                            + [(at.ROLE_LABEL, "Add New Customer Info")])
        for name in boxes:
            self.check_labelled_by(self.find(form, at.ROLE_TEXT, name), name)
        catalog = self.find(form, at.ROLE_COMBO_BOX, "Catalog:")
        self.check_labelled_by(catalog, "Catalog:")
        print('== the tree with the form open for "Add"')
        self.print_tree(main)
        self.print_tree(form)

        box = lambda name: self.find(form, at.ROLE_TEXT, name)  # noqa: E731
        self.press(self.find(form, at.ROLE_PUSH_BUTTON, "Ok"))
        self.read_message("Data Missing", "Enter Last Name")
        self.set_text(box("Last Name:"), "Smith")
        self.press(self.find(form, at.ROLE_PUSH_BUTTON, "Ok"))
        self.read_message("Data Missing", "Enter Full Zip Code")
        self.set_text(box("Zip Code:"), "01234")
        self.press(self.find(form, at.ROLE_PUSH_BUTTON, "Ok"))
        self.read_message("Data Missing", "Enter Expiration Date")
        self.set_text(box("Expiration Date:"), "12/31/04")
        catalog_text = [a for a in self.descendants(self.fresh(catalog))
                        if a.getRole() == at.ROLE_TEXT]
        if len(catalog_text) != 1:
            raise Failure(f"the catalogue box has {len(catalog_text)} text parts, not 1")
        self.set_text(catalog_text[0], "Solutions")

        # The account number is read with its caption.
        self.press(self.find(form, at.ROLE_PUSH_BUTTON, "Display Acct. No."))
        caption = self.find(form, at.ROLE_LABEL, "Account Number:")
        shown = wait_for("account number next to its caption",
                         lambda: [t for t in self.related(self.fresh(caption),
                                                          at.RELATION_LABEL_FOR)
                                  if self.fresh(t).name not in ("", caption.name)])
        number = shown[0].name
        self.check_labelled_by(shown[0], "Account Number:")
        print(f'"Account Number:" labels "{number}"')

        self.press(self.find(form, at.ROLE_PUSH_BUTTON, "Ok"))
        self.wait_gone(FORM_TITLE, at.ROLE_DIALOG)
        entry = self.find(customers, at.ROLE_LIST_ITEM, number)

        # The selection, made and read the ways this Qt offers.
        interfaces = at.listInterfaces(self.fresh(customers))
        table = customers.queryTable()
        if not table.addRowSelection(0):
            raise Failure("the list refused to select its entry")
        wait_for("selected entry", lambda: self.fresh(customers).queryTable().nSelectedRows == 1
                 and self.fresh(entry).getState().contains(at.STATE_SELECTED))
        if "Selection" in interfaces:
            selection = customers.querySelection()
            if selection.nSelectedChildren != 1 or selection.getSelectedChild(0).name != number:
                raise Failure("the list's Selection interface does not name the entry")
            print("the list offers the Selection interface")
        else:
            print(f"the list offers {', '.join(interfaces)}; its selection is read through "
                  "Table and the entry's state")

        self.press(button("Display Customer"))
        form = self.wait_window(FORM_TITLE, at.ROLE_DIALOG)
        self.find(form, at.ROLE_LABEL, "Customer Display")
        if self.text_of(box("Last Name:")) != "Smith":
            raise Failure(f'the displayed last name reads "{self.text_of(box("Last Name:"))}"')
        self.press(self.find(form, at.ROLE_PUSH_BUTTON, "Cancel"))
        self.wait_gone(FORM_TITLE, at.ROLE_DIALOG)

        self.press(button("Remove Customer"))
        form = self.wait_window(FORM_TITLE, at.ROLE_DIALOG)
        self.find(form, at.ROLE_LABEL, "Remove this record?")
        self.press(self.find(form, at.ROLE_PUSH_BUTTON, "Ok"))
        self.wait_gone(FORM_TITLE, at.ROLE_DIALOG)
        wait_for("empty list", lambda: self.fresh(customers).childCount == 0)

        self.press(button("Exit"))
        try:
            status = self.program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise Failure("Exit did not end the program")
        if status != 0:
            raise Failure(f"lablist ended with status {status}")
        print("lablist ended with status 0 after Exit")


def role_name(role):
    return Atspi.role_get_name(role)


if __name__ == "__main__":
    sys.stdout.reconfigure(line_buffering=True)
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    try:
        main(os.path.abspath(sys.argv[1]))
    except Failure as failure:
        print(f"screenreader: {failure}", file=sys.stderr)
        sys.exit(1)
    finally:
        stop(program, "lablist")
        stop(launcher, "at-spi-bus-launcher")
