#include "FirstPaint.h"
#include "main_window/Application.h"
#include "main_window/frmMain.h"

// The real program, started as main() starts it, ending after its first paint.
int main(int argc, char *argv[])
{
    return runLablist(argc, argv, [](frmMain &window) { new FirstPaint(window); });
}
