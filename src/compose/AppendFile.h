// A file of the output folder that the layers' plain files are appended to,
// layer by layer, and the carrying of a layer's plain files into the output
// folder: files to append, copy files and the layer's own equation files.
//
// A target is made by the first file appended in a run and written when all
// layers have added theirs, in one piece (under a temporary name renamed over
// the old file). Its old content is read first; when the new content turns
// out the same, the old file stays as it is, with its modification time.
#pragma once

#include "base/File.h"
#include "base/Map.h"
#include "base/Str.h"

#include <cstddef>
#include <string>

class Layer;
class LayerStack;

class AppendFile {
public:
    // Records the target's time and old content; touches no file.
    explicit AppendFile(Str const& path);
    ~AppendFile() = default;
    AppendFile(AppendFile const&) = delete;
    AppendFile& operator=(AppendFile const&) = delete;

    // Adds n bytes to the new content.
    bool Write(char const* data, size_t n);
    // Decides whether the content changed (unchanged only when the old and
    // the new content are non-empty and equal) and writes a changed one; an
    // unchanged file keeps its old time. A target that cannot be written is
    // an error ("could not write to file") and keeps its old content.
    // Answers whether it changed.
    bool Close();
    // The target's file name without folder and extension.
    Str GetBaseName() const;

    // The header line written before the content appended from sourcePath:
    // "\n", a marker by the file kind, "#line 1 \"<path>\"\n", every '\'
    // written as '/'; empty for kinds without a header.
    static Str GetHeader(Str const& sourcePath, bool noLine);
    // Whether the file name (name and extension) is one a composed class
    // writes: its declaration or implementation file, .cpp, .h or .dep.
    static bool IsComposedClassFile(LayerStack& stack, Str const& name, Str const& ext);

    // The target of the file name in the stack's table, made and opened in
    // the stack's output folder on first use.
    static AppendFile* Get(LayerStack& stack, char const* fileName);
    // Appends one file of the layer to the same-named target, preceded by
    // its header; a file a composed class writes is skipped.
    static void AppendFileData(Layer& layer, Str const& path);
    // Copies one file of the layer byte for byte into the layer's output
    // folder (made when missing); an identical copy is left alone.
    static bool CopyFile(Layer& layer, Str const& path);
    // The layer's copy files, then its files to append, in list order;
    // answers the number of files to append.
    static int ProcessNonSourceFiles(Layer& layer);
    // The layer's equation files appended; answers their number.
    static int ProcessEquationFiles(Layer& layer);
    // Closes and deletes every target of the table and empties it. Answers
    // the number of targets; changed counts the changed ones.
    static int CloseAll(MapStringTo<AppendFile*>& files, int& changed);

    // The content differs from the file it replaced.
    bool m_bChanged;
    // The target path and its status recorded before it was opened.
    File m_File;
    // The whole content of the target before this run; empty when it did
    // not exist.
    Str m_OldContent;
    // The content appended in this run.
    std::string m_NewContent;
    // Closed already.
    bool m_bClosed;
};
