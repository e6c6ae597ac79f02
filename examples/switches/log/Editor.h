// Prints what is typed.
#include <cstdio>
#include <string>

refines class Editor {
public:
    void Type(std::string const& text)
    {
        std::printf("log: typed \"%s\"\n", text.c_str());
        super::Type(text);
    }
};
