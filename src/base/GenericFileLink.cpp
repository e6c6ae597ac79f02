#include "base/GenericFileLink.h"

#include "base/Directory.h"
#include "base/File.h"
#include "base/FileStat.h"
#include "base/TextFile.h"
#include "scanner/SysCall.h"

#include <cctype>

namespace {

bool HasWhiteSpace(char const* text)
{
    for (char const* p = text; *p; ++p)
        if (isspace(static_cast<unsigned char>(*p)))
            return true;
    return false;
}

} // namespace

bool GenericFileLink::UpdateLink(Str const& dir, Str const& name, Str target)
{
    Str linkPath = dir + "/" + name;
    Str ownFile = linkPath + ".link";
    FileStat linkStat;
    FileStat ownStat;
    bool haveLink = linkStat.stat(linkPath);
    bool haveOwn = ownStat.stat(ownFile);

    if (!haveLink)
        return CreateOsLink(linkPath, target, haveOwn ? ownStat.st_mtime : 0);
    if (!haveOwn)
        return CreateOwnLink(ownFile, dir, target, linkStat.st_mtime);
    return true;
}

Str GenericFileLink::ReadOwnLink(Str const& linkFile, OwnLinkState* state)
{
    OwnLinkState found = link_unreadable;
    Str result;
    TextFile file(linkFile);
    if (file.Load()) {
        // The first whitespace-separated word.
        char const* p = file.GetContent().GetBuffer();
        while (*p && isspace(static_cast<unsigned char>(*p)))
            ++p;
        char const* end = p;
        while (*end && !isspace(static_cast<unsigned char>(*end)))
            ++end;
        Str word;
        word.SetData(p, static_cast<size_t>(end - p));

        if (word.IsEmpty()) {
            found = link_empty;
        } else {
            if (word.GetBuffer()[0] == '/') {
                result = Directory::MakeAbsPath(word);
            } else {
                Str folder = File::ExtractFilePath(linkFile);
                if (folder.IsEmpty())
                    folder = File::LastSeparator(linkFile) == 0 ? "/" : ".";
                result = Directory::MakeAbsPath(folder, word);
            }
            found = result.IsEmpty() ? link_target_missing : link_resolved;
        }
    }
    if (state)
        *state = found;
    return result;
}

bool GenericFileLink::CreateOwnLink(Str const& linkFile, Str const& dir, Str const& target, time_t)
{
    // Both ends resolved the same way, so that the relative text does not
    // climb through folders that are reached by links.
    Str folder = Directory::MakeAbsPath(dir);
    if (folder.IsEmpty())
        folder = dir;
    bool isAbsolute = target.GetBuffer()[0] == '/';
    Str absolute = isAbsolute ? Directory::MakeAbsPath(target) : Directory::MakeAbsPath(folder, target);
    if (absolute.IsEmpty())
        absolute = target;
    // The file holds one word, so a path with white space cannot be stored.
    if (HasWhiteSpace(target) || HasWhiteSpace(absolute))
        return false;
    Str content = Directory::MakeRelPath(folder, absolute);
    TextFile file(linkFile);
    return file.Save(content, true, true);
}

bool GenericFileLink::CreateOsLink(Str const& link, Str const& target, time_t)
{
    return Lex::SysCall::createlink(link, target);
}

bool GenericFileLink::SetModiTime(Str const& path, time_t time, bool flag)
{
    return Lex::SysCall::SetFileTime(path, time, flag);
}
