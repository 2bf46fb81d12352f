#include <cstring>
#include <iostream>

// quillaby-cli: the headless face of the draft core.
int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::cout << "usage: quillaby-cli COMMAND [ARGS]\n";
        return argc < 2 ? 2 : 0;
    }
    std::cerr << "quillaby-cli: unknown command '" << argv[1] << "'\n";
    return 2;
}
