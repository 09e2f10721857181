#!/usr/bin/python3
# Walks the running program through a screen reader's eyes: the door screen, a message
# box, the login dialog, the first windows of every course and the daily results. Every
# control that takes the focus or can be pressed must carry a name.
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

# A press that opens a modal window answers only when that window closes.
Atspi.set_timeout(3000, 10000)

faults = []
seen = set()


def program():
    for _ in range(100):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == 'GripsFix':
                return a
        time.sleep(0.2)
    sys.exit('The program did not appear on the accessibility bus.')


def actions(acc):
    try:
        a = acc.queryAction()
        return [a.getName(i) for i in range(a.nActions)]
    except NotImplementedError:
        return []


def walk(acc, path):
    state = acc.getState()
    if not state.contains(pyatspi.STATE_SHOWING):
        return
    here = path + '/' + acc.getRoleName()
    if (state.contains(pyatspi.STATE_FOCUSABLE) or actions(acc)) and not acc.name.strip():
        if here not in seen:
            faults.append(here)
    seen.add(here)
    for child in acc:
        if child is not None:
            walk(child, here + (" '%s'" % acc.name if acc.name else ''))


def windows(app):
    return [w for w in app if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)]


def look(app, what):
    time.sleep(1.0)
    shown = windows(app)
    for w in shown:
        walk(w, what)
    for w in shown:
        if not w.name.strip():
            faults.append(what + ': a window without a title')
    return shown


def find(acc, name, role=None):
    if (name is None or acc.name == name) and (role is None or acc.getRoleName() == role) and \
            acc.getState().contains(pyatspi.STATE_SHOWING):
        return acc
    for child in acc:
        if child is not None:
            hit = find(child, name, role)
            if hit is not None:
                return hit
    return None


def press(app, name, role='push button'):
    for w in reversed(windows(app)):
        hit = find(w, name, role)
        if hit is not None:
            a = hit.queryAction()
            names = [a.getName(i) for i in range(a.nActions)]
            try:
                a.doAction(names.index('Press') if 'Press' in names else 0)
            except GLib.GError:
                pass
            return True
    return False


app = program()
time.sleep(2)
look(app, 'door screen')
# A door without a detective: the message box
press(app, 'Wort-Fahndung')
look(app, 'message box')
press(app, 'OK')
# The login dialog, and a new detective through the platform's input box
press(app, 'Benutzer')
look(app, 'login')
press(app, 'Neuer Benutzer')
shown = look(app, 'input box')
for w in shown:
    field = find(w, None, 'text')
    if field is not None:
        field.queryEditableText().setTextContents('Anna')
press(app, 'OK')
look(app, 'login with Anna')
if find(windows(app)[-1], 'Benutzer', 'dialog') is not None:
    press(app, 'OK')
# The first windows of every course, broken off again
for door in ('Wort-Fahndung', 'Bild-Fahndung', 'Telefonvermittler', 'Memo-Protokoll'):
    press(app, door)
    for step in range(6):
        shown = look(app, door + ' %d' % step)
        if find(shown[-1], None, 'radio button') is not None:
            press(app, None, 'radio button')
        if not press(app, 'Weiter'):
            break
        if windows(app)[-1].name == 'Achtung':
            sys.exit('Stopped by a message in ' + shown[-1].name)
    # broken off from the keyboard: Escape, then Enter for "Ja"
    pyatspi.Registry.generateKeyboardEvent(0xff1b, None, pyatspi.KEY_SYM)
    look(app, door + ' asking')
    pyatspi.Registry.generateKeyboardEvent(0xff0d, None, pyatspi.KEY_SYM)
    shown = look(app, door + ' left')
    # the door screen has the keyboard again, with or without a window manager
    if not any(w.getState().contains(pyatspi.STATE_ACTIVE) for w in shown):
        faults.append(door + ': no window has the keyboard after the course')
press(app, 'Tagesergebnisse ')
look(app, 'daily results')
press(app, 'Zurück')

for f in faults:
    print('No name:', f)
print('%d checked, %d without a name' % (len(seen), len(faults)))
sys.exit(1 if faults else 0)
