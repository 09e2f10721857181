#!/usr/bin/python3
# Walks the running program as a screen reader sees it: the door screen, a message box,
# the login dialog with its input box, every window of each course up to the exercise,
# broken off by Escape and Enter, and the daily results. Fails for any control that takes
# the focus or can be pressed but has no name, for a window without a title, and when the
# keyboard is not back on a window after a course.
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

Atspi.set_timeout(3000, 10000)  # a press that opens a modal window answers late
faults, seen = [], set()


def program():
    for _ in range(100):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == 'GripsFix':
                return a
        time.sleep(0.2)
    sys.exit('The program did not appear on the accessibility bus.')


def walk(acc, path):
    state = acc.getState()
    if not state.contains(pyatspi.STATE_SHOWING):
        return
    path += '/' + acc.getRoleName()
    try:
        pressable = acc.queryAction().nActions > 0
    except NotImplementedError:
        pressable = False
    if (state.contains(pyatspi.STATE_FOCUSABLE) or pressable) and not acc.name.strip() \
            and path not in seen:
        faults.append(path)
    seen.add(path)
    for child in acc:
        if child is not None:
            walk(child, path + (" '%s'" % acc.name if acc.name else ''))


def windows():
    return [w for w in app if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)]


def look(what):
    time.sleep(1.0)
    for w in windows():
        walk(w, what)
        if not w.name.strip():
            faults.append(what + ': a window without a title')
    return windows()


def find(acc, name, role):
    if (name is None or acc.name == name) and acc.getRoleName() == role and \
            acc.getState().contains(pyatspi.STATE_SHOWING):
        return acc
    return next((hit for c in acc if c is not None
                 for hit in [find(c, name, role)] if hit is not None), None)


def press(name, role='push button'):
    for w in reversed(windows()):
        hit = find(w, name, role)
        if hit is not None:
            try:
                hit.queryAction().doAction(0)
            except GLib.GError:
                pass
            return True
    return False


def key(sym):
    pyatspi.Registry.generateKeyboardEvent(sym, None, pyatspi.KEY_SYM)


app = program()
time.sleep(2)
look('door screen')
press('Wort-Fahndung')  # no detective yet: a message
look('message box')
press('OK')
press('Benutzer')
look('login')
press('Neuer Benutzer')
for w in look('input box'):
    field = find(w, None, 'text')
    if field is not None:
        field.queryEditableText().setTextContents('Anna')
press('OK')
look('login with Anna')
press('OK')
for door in ('Wort-Fahndung', 'Bild-Fahndung', 'Telefonvermittler', 'Memo-Protokoll'):
    press(door)
    for step in range(6):
        shown = look('%s %d' % (door, step))
        if find(shown[-1], None, 'radio button') is not None:
            press(None, 'radio button')
        if not press('Weiter'):
            break
    key(0xff1b)  # Escape
    look(door + ' asking')
    key(0xff0d)  # Enter: "Ja"
    if not any(w.getState().contains(pyatspi.STATE_ACTIVE) for w in look(door + ' left')):
        faults.append(door + ': no window has the keyboard after the course')
press('Tagesergebnisse ')
look('daily results')

for f in faults:
    print('No name:', f)
print('%d checked, %d without a name' % (len(seen), len(faults)))
sys.exit(1 if faults else 0)
