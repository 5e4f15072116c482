"""Runs the Quarvel script inside Scribus the way Script > Execute Script
does, on a document opened at a page, and writes to LOG what the script did
and what Scribus holds afterwards, one tab-separated record a line:

  scribus VERSION            the Scribus that runs it
  call NAME ARGUMENT...      a scripter call the script made (the call still ran)
  message TEXT               a message box the script showed
  saved FILE                 a copy of the document as the script saved it
  edited NAME X              the unsaved change made before the script ran
  open NAME CHANGED          afterwards: the open document and whether it has unsaved changes
  pages N, current N         afterwards: its pages and the page shown
  item PAGE NAME TYPE X Y WIDTH HEIGHT ROTATION   every item, as the scripter lists it
  end

  scribus -g -ns -py scribus-driver.py SCRIPT DOCUMENT PAGE EDIT ANSWER LOG

EDIT "edit" moves the first item of page 1 ten points right as an
unsaved change, "none" changes nothing. ANSWER "default" lets Scribus answer
the script's questions (without its window: the default button), "cancel"
answers Cancel.
"""

import os
import runpy
import shutil
import sys

import scribus

script, document, page, edit, answer, log_path = sys.argv[1:7]
log = open(log_path, "w")


def record(*fields):
    log.write("\t".join(str(field).replace("\n", " ") for field in fields) + "\n")
    log.flush()


def recorded(name, call):
    def wrapper(*arguments, **options):
        record("call", name, *arguments)
        return call(*arguments, **options)
    return wrapper


real_message_box = scribus.messageBox


def message_box(caption, text, *arguments, **options):
    record("message", text)
    if answer == "cancel":
        return scribus.BUTTON_CANCEL
    return real_message_box(caption, text, *arguments, **options)


real_save = scribus.saveDoc


def save():
    record("call", "saveDoc")
    result = real_save()
    name = scribus.getDocName()
    copy = os.path.join(os.path.dirname(log_path), "saved-" + os.path.basename(name))
    shutil.copyfile(name, copy)
    record("saved", copy)
    return result


def title_marks_changes():
    return str(scribus.getProperty(scribus.mainWindow, "windowTitle")).rstrip().endswith("*]")


try:
    record("scribus", scribus.scribus_version)
    scribus.openDoc(document)
    scribus.gotoPage(int(page))
    if edit == "edit":
        item = scribus.getAllObjects(page=0)[0]
        scribus.moveObject(10, 0, item)
        scribus.docChanged(True)  # as an edit made by hand marks the document
        record("edited", item, scribus.getPosition(item)[0])
    go_to_page = scribus.gotoPage
    scribus.messageBox = message_box
    scribus.saveDoc = save
    for name in ("closeDoc", "openDoc", "gotoPage"):
        setattr(scribus, name, recorded(name, getattr(scribus, name)))
    runpy.run_path(script, run_name="__main__")

    if scribus.haveDoc():
        record("open", scribus.getDocName(), "yes" if title_marks_changes() else "no")
        record("pages", scribus.pageCount())
        record("current", scribus.currentPage())
        for number in range(1, scribus.pageCount() + 1):
            go_to_page(number)  # the scripter gives positions on the current page
            for name in scribus.getAllObjects(page=number - 1):
                x, y = scribus.getPosition(name)
                width, height = scribus.getSize(name)
                record("item", number, name, scribus.getObjectType(name), x, y, width, height,
                       scribus.getRotation(name))
    record("end")
except BaseException as error:
    record("error", repr(error))
log.close()
