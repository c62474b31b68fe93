/* The start-up benchmark's partner: a small C program that reads every file named on its
   command line whole, as the player reads them at start-up, and ends. */
#include <stdio.h>

int main(int argc, char** argv) {
    static char buf[1 << 16];
    for (int i = 1; i < argc; ++i) {
        FILE* f = fopen(argv[i], "rb");
        if (!f) continue;
        while (fread(buf, 1, sizeof buf, f) > 0) {
        }
        fclose(f);
    }
    return 0;
}
