// The output folder of a composition: where it lies before it exists,
// whether the tool may write into it at all, opening it with the record of
// its files, and removing the outputs that no longer belong to the product
// line.
#pragma once

#include "base/Str.h"

class LayerStack;

class OutputFolder {
public:
    // The absolute path of a folder that may not exist yet, judged without
    // creating anything: the longest part of it that exists with its links
    // resolved, and the rest of its names after it ("." dropped, ".." taking
    // the name before it away). Empty when a relative path meets a current
    // folder that is gone.
    static Str Resolve(Str const& value);
    // False, after an error message that says why, for a folder the tool
    // must not write into: the file-system root, a folder that is or holds
    // the home folder, the source folder, a layer folder or the folder of
    // an equation file read, and the program's folder with every folder
    // above and below it. A folder that does not exist yet is judged by its
    // name.
    static bool IsSafe(LayerStack& stack, Str const& outDir);
    // Creates a folder of the outputs with its parents and answers its
    // absolute path; empty when it cannot be made or is the root, after one
    // message per folder when report is set.
    static Str Make(Str const& folder, bool report);

    // Takes the source folder (-src, else the equation's folder) and names
    // the output folder (-out, else "<source>/.output.<equation>"); false,
    // with an error, when one cannot be used.
    static bool InitDirectories(LayerStack& stack);
    // Makes the output folder, opens its record of written files and the
    // log in it.
    static bool Open(LayerStack& stack);
    // The options that shape the outputs, kept in the record: a run with
    // other options composes everything again.
    static Str GetOptions(LayerStack const& stack);
    // Removes the recorded outputs that this run did not write and no
    // composed class kept.
    static void RemoveDeadOutputs(LayerStack& stack);
    // Removes the recorded outputs of the class that this run did not write.
    static void RemoveClassOutputs(Str const& className);
    // The class an output file belongs to, by its name.
    static Str GetClassOfOutput(Str const& path);
};
