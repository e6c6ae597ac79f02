// A file of the output folder that the layers' plain files are appended to,
// layer by layer, and the carrying of a layer's plain files into the output
// folder: files to append, copy files and the layer's own equation files.
//
// A target is opened (and truncated) by the first file appended in a run and closed
// after all layers have added theirs. Its old content is read before it is
// truncated; when the new content turns out the same, the file gets its old
// modification time back.
#pragma once

#include "base/File.h"
#include "base/Map.h"
#include "base/Str.h"

#include <cstddef>

class Layer;
class LayerStack;

class AppendFile {
public:
    // Records the target's time and old content, then opens it for writing
    // (created, truncated); warns "could not open file" when it cannot.
    explicit AppendFile(Str const& path);
    // Closes the descriptor if Close has not.
    ~AppendFile();
    AppendFile(AppendFile const&) = delete;
    AppendFile& operator=(AppendFile const&) = delete;

    // Writes all n bytes, retrying short writes. False when the target is
    // not open or a write fails; the target then counts as changed.
    bool Write(char const* data, size_t n);
    // Decides whether the content changed (unchanged only when the old and
    // the new content are non-empty and equal), closes the descriptor and
    // gives an unchanged file its old time back. Answers whether it changed.
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
    // m_bChanged has been decided.
    bool m_bChangeKnown;
    // The target path and its status recorded before it was opened.
    File m_File;
    // The descriptor; -1 when opening failed or after Close.
    int m_Fd;
    // The whole content of the target before it was opened; empty when it
    // did not exist.
    Str m_OldContent;
    // Bytes written in this run, and whether they still equal the start of
    // the old content (compared byte by byte as they are written).
    size_t m_Written;
    bool m_bSameSoFar;
};
