#include "main_window/Application.h"

int main(int argc, char *argv[])
{
    return runLablist(argc, argv);
}
