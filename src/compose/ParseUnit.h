// One slot of a module: a file that is scanned into a token list and parsed
// into a parse result. Empty names mean the slot holds no file.
#pragma once

#include "base/FileName.h"
#include "base/FileStat.h"
#include "compose/ParseUnitInfo.h"

#include <ctime>

namespace Lex {
class CScanner;
class ErrorSink;
class FileUnit;
}

class CTokenListener;
class ParseProject;
class SimpleCPPParser;
class SimpleTU;

class ParseUnit : public FileName {
public:
    // Takes the next id; binds the project's scanner and parser; no file.
    explicit ParseUnit(ParseProject& project);
    // The parse result and its token list are kept: nodes and tokens live
    // until the process ends.
    ~ParseUnit() override;
    ParseUnit(ParseUnit const&) = delete;
    ParseUnit& operator=(ParseUnit const&) = delete;

    bool HasFile() const { return !m_Path.IsEmpty(); }
    // Scans and parses the file; false when there is no file, it cannot be
    // read, the scan was aborted or the parser refused it.
    bool Parse(bool verbose);
    // Scans the file ahead of Parse, on any thread, with a scanner of the
    // project's settings. The token list is kept for Parse only when the
    // file was read and scanned without a message; otherwise Parse reads it
    // anew and reports what goes wrong, as without the early scan.
    void Prescan();
    // True when the file cannot be stat'ed or is strictly newer than t; the
    // time the layer's listing found, when it is set, stands for the file's.
    bool HasChanged(FileTimeNs t) const;
    // The modification time the listing of the file's folder found in this
    // run; 0 for none.
    void SetListedTime(FileTimeNs t) { m_ListedTime = t; }
    bool HasChanged() const { return HasChanged(m_Time); }
    // The modification time the file had when it was read; 0 before.
    FileTimeNs GetReadTime() const { return m_ReadTime; }
    // The file was read and has been modified (or removed) since: what was
    // composed from it is older than the file.
    bool ChangedSinceRead() const;
    ParseUnit* SetTokenListener(CTokenListener* listener);
    CTokenListener* GetTokenListener() const { return m_pTokenListener; }
    // Writes the unit's record; see ParseUnitInfo::SaveToFile.
    int SaveInfo(int fd);
    void PrintDebugInfo();

    // Null until a parse succeeded.
    SimpleTU* GetTU() const { return m_pTU; }
    // The scanned unit of the last parse (its token list); null before.
    Lex::FileUnit* GetUnit() const { return m_pScannedUnit; }
    ParseProject& GetProject() const { return *m_pProject; }
    int GetID() const { return m_Info.m_ID; }

private:
    CTokenListener* m_pTokenListener;
    SimpleTU* m_pTU;
    // Reads and scans the file into a new unit, telling errors what goes
    // wrong; null when it cannot be read or the scan stopped early.
    Lex::FileUnit* Scan(Lex::CScanner& scanner, Lex::ErrorSink& errors, FileTimeNs& readTime) const;

    // Set only while Parse runs.
    Lex::FileUnit* m_pUnit;
    // The unit Prescan made, with the file's time then; taken by Parse.
    Lex::FileUnit* m_pPrescanned;
    FileTimeNs m_PrescannedTime;
    // The unit of the last scan; kept with its tokens.
    Lex::FileUnit* m_pScannedUnit;
    Lex::CScanner* m_pScanner;
    SimpleCPPParser* m_pParser;
    time_t m_Time;
    FileTimeNs m_ReadTime;
    FileTimeNs m_ListedTime;
    ParseUnitInfo m_Info;
    ParseProject* m_pProject;
};
