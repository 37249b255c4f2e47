// xbtool: inspect, dump, generate and maintain xBase tables from the command line.
#include <cstdio>

int main() {
    std::puts("usage: xbtool info|dump|keys|gen-contacts|reindex|pack ...");
    return 0;
}
