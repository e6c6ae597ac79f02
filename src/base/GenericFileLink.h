// Links from a layer folder to another folder, kept in two forms: a symbolic
// link, and an own link file "<name>.link" that holds the target folder
// relative to the folder of the link file, as one word without a line end.
#pragma once

#include "base/Str.h"

#include <ctime>

class GenericFileLink {
public:
    // What reading an own link file found.
    enum OwnLinkState {
        link_resolved,       // the target folder exists
        link_unreadable,     // the file cannot be read
        link_empty,          // the file holds no word; only such a file may be removed
        link_target_missing  // the file names a folder that cannot be entered
    };

    // Makes sure both forms of the link dir/name exist: a missing symbolic
    // link is created to target; else a missing own link file is written.
    // An existing own link file is never rewritten. False when the missing
    // form could not be made.
    static bool UpdateLink(Str const& dir, Str const& name, Str target);

    // The absolute folder an own link file points to; empty unless the
    // state is link_resolved. The word is taken relative to the folder of
    // the link file, unless it is absolute.
    static Str ReadOwnLink(Str const& linkFile, OwnLinkState* state = nullptr);

    // Writes the own link file: the target, made absolute (a relative one
    // against dir) when it can be, relative to dir. A target whose path
    // contains white space cannot be stored and is refused. The time is not
    // used.
    static bool CreateOwnLink(Str const& linkFile, Str const& dir, Str const& target, time_t time);

    // Makes link a symbolic link whose text is target. The time is not used.
    static bool CreateOsLink(Str const& link, Str const& target, time_t time);

    static bool SetModiTime(Str const& path, time_t time, bool flag);
};
