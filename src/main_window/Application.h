#pragma once

#include <functional>

class frmMain;

// Runs the program: the main window, printing to the default printer, until
// Exit. onShown, if given, is handed the main window just after it is shown,
// before any event is processed (a start-up probe watches for its first paint).
int runLablist(int &argc, char **argv, const std::function<void(frmMain &)> &onShown = {});
