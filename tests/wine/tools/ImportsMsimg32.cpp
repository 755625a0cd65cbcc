// A program that imports msimg32.dll, as Pelmira32 once did: the planted-DLL
// tests show with it that their planted copy does load where a program
// imports the name.
#include <windows.h>

int main(int argc, char**) {
    // Imported, never called.
    if (argc > 99)
        TransparentBlt(nullptr, 0, 0, 0, 0, nullptr, 0, 0, 0, 0, 0);
    return 0;
}
