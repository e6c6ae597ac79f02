// Runs the composed editor; every argument names a feature switch to turn on
// ("Undo", "Log").
#include "Config.h"
#include "Editor.h"

#include <cstdio>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!Config::GetInstance().SetFeatureActive(argv[i], true)) {
            std::fprintf(stderr, "unknown feature: %s\n", argv[i]);
            return 2;
        }
    }
    Editor editor;
    editor.Type("Hello");
    editor.Type(", world");
    editor.Undo();
    std::printf("text: %s\n", editor.GetText().c_str());
    return 0;
}
