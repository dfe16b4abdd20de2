#!/usr/bin/python3
# A Qt 5 window for the application check: a find bar's editable combo box and a text edit, reporting
# {"event": "ready"} on standard output once shown, as the accessibility targets do.
import json
import sys

from PyQt5.QtCore import QTimer
from PyQt5.QtWidgets import QApplication, QComboBox, QTextEdit, QVBoxLayout, QWidget

app = QApplication(sys.argv)
window = QWidget()
window.setWindowTitle("Qt 5 notes")
layout = QVBoxLayout(window)
find = QComboBox()
find.setEditable(True)
find.setAccessibleName("Find")
find.lineEdit().setText("budget")
notes = QTextEdit()
notes.setAccessibleName("Notes")
notes.setPlainText("Hi Bo,\nFriday suits me fine.\nAda")
layout.addWidget(find)
layout.addWidget(notes)
window.resize(500, 300)
window.show()
find.setFocus()


def ready():
    print(json.dumps({"event": "ready"}), flush=True)


QTimer.singleShot(300, ready)
sys.exit(app.exec_())
