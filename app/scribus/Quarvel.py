"""Quarvel for Scribus: opens Quarvel on the active document at the current page.

Quarvel shows the press sheet drawn on the page, front and back, and on
Reflect Page writes the back side into the document as a new page. This
script lets Scribus and Quarvel share the document safely:

1. A document with unsaved changes is saved first, after asking (a new
   document gets Scribus's Save As dialog).
2. Quarvel opens on the saved file, at the current page; Scribus waits until
   its window closes.
3. When Quarvel changed the file (Reflect Page, or Just Duplicate), Scribus
   opens the document again and shows the new page. After Forget about it,
   or when Quarvel reports an error, the document stays open as it was, and
   the error is shown here too.

Run it from Script > Execute Script..., or put it in Scribus's script folder
to have it under Script > Scribus Scripts (see Quarvel's README). It finds
Quarvel beside its own installed place, else on the PATH; the environment
variable QUARVEL names another program.

Works with Scribus 1.5.8 and 1.6, plain and compressed (.sla.gz) documents.
"""

import hashlib
import os
import shutil
import subprocess
import sys

try:
    import scribus
except ImportError:
    sys.exit("This script runs inside Scribus: choose it under Script > Execute Script...")

CAPTION = "Quarvel"
# Where `cmake --install` puts the program, from this script's own folder.
PROGRAM_FROM_SCRIPT = "@QUARVEL_PROGRAM_FROM_SCRIPT@"
NO_DOCUMENT = "Please open a publication and try again."


class Stop(Exception):
    """Ends the script; its message, if any, is shown in Scribus."""


def quarvel_program():
    """The Quarvel program to run: $QUARVEL, the installed one, or the one on the PATH."""
    named = os.environ.get("QUARVEL")
    if named:
        return named
    here = globals().get("__file__")
    if here and not PROGRAM_FROM_SCRIPT.startswith("@"):
        installed = os.path.normpath(
            os.path.join(os.path.dirname(os.path.realpath(here)), PROGRAM_FROM_SCRIPT))
        if os.access(installed, os.X_OK):
            return installed
    found = shutil.which("quarvel")
    if found:
        return found
    raise Stop("Quarvel is not installed where this script looks for it (beside the script's "
               "installed place, or on the PATH). Install it, or set QUARVEL to the program.")


def has_unsaved_changes():
    """Whether the active document has changes that are not saved.

    The scripter has no call for it, but Scribus marks a changed document in
    its window title with an asterisk after the file name:
    "Scribus 1.5.8 - [/path/sheet.sla*]". A title that tells nothing counts
    as changed, so that the user is asked rather than changes lost.
    """
    try:
        title = str(scribus.getProperty(scribus.mainWindow, "windowTitle")).rstrip()
    except Exception:  # an older scripter without the property
        return True
    return not title.endswith("]") or title.endswith("*]")


def saved_document():
    """The active document's file, saved first when it has changes (after asking)."""
    name = scribus.getDocName()
    never_saved = not name or not os.path.isfile(name)
    if not never_saved and not has_unsaved_changes():
        return os.path.abspath(name)
    if never_saved:
        question = "This document has not been saved yet. Quarvel works on the saved file: save it now?"
    else:
        question = ("\u201c%s\u201d has changes that are not saved. Quarvel works on the saved "
                    "file: save them now?" % os.path.basename(name))
    answer = scribus.messageBox(CAPTION, question, scribus.ICON_WARNING,
                                scribus.BUTTON_YES | scribus.BUTTON_DEFAULT,
                                scribus.BUTTON_CANCEL | scribus.BUTTON_ESCAPE)
    if answer != scribus.BUTTON_YES:
        raise Stop(None)
    scribus.saveDoc()  # asks for a name first, as Scribus's Save does, when it has none
    name = scribus.getDocName()
    if not name or not os.path.isfile(name) or has_unsaved_changes():
        raise Stop("The document was not saved, so Quarvel did not start.")
    return os.path.abspath(name)


def fingerprint(path):
    """The file's contents as a digest; None when it cannot be read."""
    digest = hashlib.sha256()
    try:
        with open(path, "rb") as document:
            for block in iter(lambda: document.read(1 << 20), b""):
                digest.update(block)
    except OSError:
        return None
    return digest.digest()


def error_text(status, stderr):
    """What Quarvel reported, without its "quarvel: " prefix."""
    lines = [line[len("quarvel: "):] if line.startswith("quarvel: ") else line
             for line in stderr.decode("utf-8", "replace").splitlines() if line.strip()]
    if lines:
        return "\n".join(lines)
    if status < 0:
        return "Quarvel stopped unexpectedly (signal %d)." % -status
    return "Quarvel ended with status %d." % status


def run_quarvel(program, path, page):
    """Runs Quarvel on `path` and waits; returns its status, its error and whether the file changed."""
    before = fingerprint(path)
    scribus.statusMessage("Quarvel is open on %s" % os.path.basename(path))
    try:
        finished = subprocess.run([program, "--page", str(page), path],
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE, check=False)
    except OSError as error:
        raise Stop("Quarvel could not be started (%s): %s." % (program, error.strerror))
    finally:
        scribus.statusMessage("")
    error = error_text(finished.returncode, finished.stderr) if finished.returncode else None
    return error, fingerprint(path) != before


def reopen(path):
    """Opens the document again from its file and shows its last page, the newest."""
    scribus.closeDoc()
    try:
        scribus.openDoc(path)
    except Exception:
        raise Stop("Quarvel changed \u201c%s\u201d, but Scribus cannot open it again. "
                   "Open it with File > Open." % path)
    scribus.gotoPage(scribus.pageCount())


def main():
    try:
        if not scribus.haveDoc():
            raise Stop(NO_DOCUMENT)
        program = quarvel_program()
        path = saved_document()
        error, changed = run_quarvel(program, path, scribus.currentPage())
        if changed:
            reopen(path)
        if error:
            raise Stop(error)
    except Stop as stop:
        if stop.args and stop.args[0]:
            scribus.messageBox(CAPTION, stop.args[0], scribus.ICON_WARNING,
                               scribus.BUTTON_OK | scribus.BUTTON_DEFAULT)
    except Exception as fault:  # a fault of this script: still reported, never silent
        scribus.messageBox(CAPTION, "The Quarvel script failed: %s" % fault,
                           scribus.ICON_WARNING, scribus.BUTTON_OK | scribus.BUTTON_DEFAULT)


if __name__ == "__main__":
    main()
