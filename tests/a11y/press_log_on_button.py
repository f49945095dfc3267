#!/usr/bin/python3
"""What a screen reader does with the running program: find the page button
"Aanmelden..." by its accessible name, press it through its action, and see
the press answered; then close the program with "Afsluiten".

A name set in the user list's text field from outside runs none of the
program's handlers, so the password fields stay hidden. The log-on button's
handler ends with the status rules, which show them for the new name: that is
what tells that the press reached the program's click handler."""
import sys
import time

import pyatspi

APP_NAME = "Zernox 2"


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, probe, seconds=30.0):
    """Retries `probe` until it gives something: the tree is built while the
    program starts and changes under us."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except Exception:  # a node that went away meanwhile; look again
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            fail("waited %.0f s in vain for %s" % (seconds, what))
        time.sleep(0.25)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APP_NAME:
            return app
    return None


def showing(acc):
    acc.clearCache()
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def find(root, role, name=None):
    return pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and (name is None or a.name == name))


def press(button):
    action = button.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        fail("%s offers no press action, only %s" % (button.name, names))
    action.doAction(names.index("press"))


def main():
    app = wait_for("the application on the accessibility bus", application)
    # The intro window comes first; the main window's button shows after it.
    log_on = wait_for('a showing button "Aanmelden..."', lambda: (
        lambda b: b if b is not None and showing(b) else None)(
            find(app, pyatspi.ROLE_PUSH_BUTTON, "Aanmelden...")))
    users = wait_for('the list "Naam"', lambda: find(app, pyatspi.ROLE_COMBO_BOX, "Naam"))
    entry = wait_for("the list's text field", lambda: find(users, pyatspi.ROLE_TEXT))
    password = wait_for('the field "Wachtwoord"',
                        lambda: find(app, pyatspi.ROLE_PASSWORD_TEXT, "Wachtwoord"))
    if showing(password):
        fail("the password field shows before any name is given")

    entry.queryEditableText().setTextContents("Eva")
    wait_for("the name in the list's text field",
             lambda: entry.queryText().getText(0, -1) == "Eva", 10)
    time.sleep(0.5)
    if showing(password):
        fail("the name alone showed the password field; the press would prove nothing")

    press(log_on)
    wait_for("the password field after the press", lambda: showing(password), 10)
    if log_on.name != "Aanmelden...":
        fail("the press logged someone on: %s" % log_on.name)

    quit_button = wait_for('the button "Afsluiten"',
                           lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "Afsluiten"))
    press(quit_button)
    print('pressed "Aanmelden..." and "Afsluiten" through AT-SPI')


if __name__ == "__main__":
    main()
