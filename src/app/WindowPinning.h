#pragma once
// Keeps a top-level window above the others without moving or resizing it,
// and keeps every modal box and dialog of the program above all its windows.
class QWidget;

namespace corvane {

void PinAboveOthers(QWidget& window, bool pinned);

// From now on every modal box or dialog of the program, whoever opens it,
// opens above every window of the program: it belongs to the window the user
// is in (else to a pinned one), is pinned itself while a pinned window is
// shown, and is raised and activated once it is up. A modal box hidden under
// a pinned window would block every window unseen. Installing twice is harmless.
void KeepModalsAboveProgram();

// The window a modal box now opening stacks over (nullptr: its own parent's).
QWidget* ModalStackingOwner(const QWidget& box);

}  // namespace corvane
