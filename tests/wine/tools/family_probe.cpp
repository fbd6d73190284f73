// Prints the Windows family code that GetWindowsFamily gives on the system
// it runs on, built for Windows from the product's own source.
#include <stdio.h>

#include "system/windows_family.h"

int main() {
    printf("%lu\n", (unsigned long)GetWindowsFamily());
    return 0;
}
