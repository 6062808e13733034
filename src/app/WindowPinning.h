#pragma once
// Keeps a top-level window above the others without moving or resizing it,
// and keeps every modal box and dialog of the program above all its windows.
class QWidget;

namespace corvane {

void PinAboveOthers(QWidget& window, bool pinned);

// From now on every modal box or dialog of the program, whoever opens it,
// opens above every window of the program: it belongs to a pinned window when
// one is shown (else to the window the user is in), is pinned itself then, and
// is raised whenever it is activated, also after a click on a blocked window. A modal box hidden under
// a pinned window would block every window unseen. Installing twice is harmless.
void KeepModalsAboveProgram();

// The window a modal box now opening stacks over (nullptr: its own parent's).
QWidget* ModalStackingOwner(const QWidget& box);

}  // namespace corvane
