// Stands in for the web browser while a test clicks a link: the shell's "open" of an
// address starts it with a record file and the address, and it appends the address to the
// file as one line.
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        return 1;
    }
    std::FILE* record = std::fopen(argv[1], "a");
    if (record == nullptr) {
        return 2;
    }
    std::fprintf(record, "%s\n", argv[2]);
    std::fclose(record);
    return 0;
}
