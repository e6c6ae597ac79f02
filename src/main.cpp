// Entry point of mosa++.
#include <cstdio>

int main(int argc, char** argv)
{
    (void)argv;
    if (argc < 2) {
        std::printf("usage: mosa++ [options] <equation>\n");
        return 1;
    }
    return 0;
}
