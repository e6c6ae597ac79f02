// A look-ahead iterator over the entries of one folder whose status can be
// read (links followed). Use: while GetName() is not empty, take the name,
// copy GetStat() into GetCurrentStat(), call ReadNext() and then examine the
// current record.
#pragma once

#include "base/Directory.h"
#include "base/FileStat.h"
#include "base/Str.h"

class PathIterator {
public:
    // Opens the folder and reads ahead the first entry; a folder that cannot
    // be opened yields nothing.
    explicit PathIterator(char const* folder);

    // Reads ahead the next entry whose status can be read; entries that fail
    // (dangling links) are skipped. The name becomes empty at the end.
    void ReadNext();

    // The bare name of the entry read ahead; empty when none is left.
    Str const& GetName() const { return m_NextName; }
    // The status of the entry read ahead (of what a link points to).
    FileStat const& GetStat() const { return m_NextStat; }
    // Whether the entry read ahead is itself a symbolic link.
    bool IsLink() const { return m_bNextIsLink; }
    Str const& GetFolder() const { return m_Folder; }

    // The record of the current entry, filled by the caller.
    FileStat& GetCurrentStat() { return m_CurStat; }

private:
    PathIterator(PathIterator const&) = delete;
    PathIterator& operator=(PathIterator const&) = delete;

    Str m_Folder;
    Str m_NextName;
    FileStat m_CurStat;
    FileStat m_NextStat;
    bool m_bNextIsLink;
    Directory m_Dir;
};
