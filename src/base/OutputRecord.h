// The record of what the tool wrote into its output folder, kept in the file
// "mosac.record" there, and the one way output files land on disk.
//
// Every file is entered into the record before it is written (so a run that
// is killed leaves no file the record does not name), and is written under a
// temporary name beside it that is renamed over it only when every byte was
// written: a reader sees the old file or the new one, never a part of one.
// The record also keeps the options that shaped the outputs and whether the
// run that wrote it finished. A clean-up removes recorded files and nothing
// else, so a file the tool did not write survives every run.
//
// Record text, one entry a line: "state running", "state complete" or
// "state failed" (an output could not be written),
// "options <text>", "file <path below the folder>". A line without its line
// end (a write cut short) is not read.
#pragma once

#include "base/Str.h"
#include "base/StringArray.h"

#include <sys/types.h>

class OutputRecord {
public:
    static constexpr char FileName[] = "mosac.record";

    // Sets the output folder (absolute) and reads its record; writes
    // nothing. Opening the same folder again keeps what is known.
    static void Open(Str const& folder);
    static Str const& GetFolder();
    // A record was found in the folder when it was opened.
    static bool Found();
    // The run that wrote the record was stopped before it finished, or could
    // not write an output.
    static bool WasInterrupted();
    // The options recorded by the last run, and those of this run.
    static Str const& GetRecordedOptions();
    static void SetOptions(Str const& options);

    // Enters a file into the record before it is written; a path outside
    // the folder is not recorded. Marks it as made by this run.
    static void Add(char const* path);
    // The file is in the record / was entered by this run.
    static bool Contains(char const* path);
    static bool IsFromThisRun(char const* path);
    // Records the file, then writes the data under a temporary name beside
    // it and renames that over it; mode applies to a new file (an existing
    // one keeps its permissions). False, with errno set and the old file
    // untouched, when the data could not be written.
    static bool Write(char const* path, char const* data, size_t n, mode_t mode = 0666);
    // The temporary name a file is written under before it is renamed.
    static Str TemporaryName(char const* path);

    // Removes a recorded file (and a temporary left of it) and drops it from
    // the record; a file the record does not name stays. True when removed.
    static bool Remove(char const* path);
    // Removes every recorded file that this run did not make.
    static void RemoveAllButThisRun();
    // The recorded files that this run did not make, as absolute paths.
    static void GetFilesNotFromThisRun(StringArray& paths);

    // Rewrites the record with "state complete" (or "failed" after a failed
    // write); nothing when this run
    // wrote nothing into the folder. False after an error message when the
    // record could not be written.
    static bool Finish();
    // Forgets everything (tests).
    static void Reset();
};
