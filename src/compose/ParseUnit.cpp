#include "compose/ParseUnit.h"

#include "base/Diagnostics.h"
#include "base/DiskInterface.h"
#include "base/ErrorLog.h"
#include "compose/ParseProject.h"
#include "parser/SimpleCPPParser.h"
#include "parser/SimpleTU.h"
#include "scanner/CScanner.h"
#include "scanner/ErrorCollector.h"
#include "scanner/ErrorSink.h"
#include "scanner/FdSource.h"
#include "scanner/FileUnit.h"
#include "scanner/SysCall.h"

#include <fcntl.h>

ParseUnit::ParseUnit(ParseProject& project)
    : m_pTokenListener(nullptr), m_pTU(nullptr), m_pUnit(nullptr), m_pPrescanned(nullptr), m_PrescannedTime(0),
      m_pScannedUnit(nullptr),
      m_pScanner(&project.GetScanner()), m_pParser(&project.GetParser()), m_Time(0), m_ReadTime(0), m_ListedTime(0), m_pProject(&project)
{
    m_Info.m_ID = ParseUnitInfo::m_NextID++;
}

ParseUnit::~ParseUnit() {}

Lex::FileUnit* ParseUnit::Scan(Lex::CScanner& scanner, Lex::ErrorSink& errors, FileTimeNs& readTime) const
{
    int fd = Lex::SysCall::open(m_Path, O_RDONLY, &errors);
    if (fd < 0)
        return nullptr;
    // The source owns the descriptor and closes it once, when it goes.
    Lex::FileSource source(fd);
    Lex::FileInfo info;
    if (!Lex::SysCall::fstat(fd, info, &errors) || info.is_folder()) {
        errors << Lex::sev_error << "cannot read " << m_Path.GetBuffer() << Lex::endMessage;
        return nullptr;
    }

    Lex::FileUnit* unit = new Lex::FileUnit;
    unit->mtime = info.mod_time();
    readTime = DiskInterface::Get().ReadTime(m_Path, info);
    unit->name(m_Path);
    scanner.fill_unit(source, *unit);
    if (scanner.aborted()) {
        errors << Lex::sev_error << "scan of " << m_Path.GetBuffer() << " stopped before the end of the file"
               << Lex::endMessage;
        // Nothing is parsed from the partial token list: it goes.
        delete unit;
        return nullptr;
    }
    return unit;
}

void ParseUnit::Prescan()
{
    if (m_Path.IsEmpty() || m_pPrescanned)
        return;
    Lex::ErrorCollector errors;
    Lex::CScanner scanner(errors);
    scanner.same_settings(*m_pScanner);
    Lex::FileUnit* unit = Scan(scanner, errors, m_PrescannedTime);
    if (unit && errors.index() > 0)
        delete unit;
    else
        m_pPrescanned = unit;
}

bool ParseUnit::Parse(bool verbose)
{
    if (m_Path.IsEmpty())
        return false;
    if (verbose)
        Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, "%s\n",
                            ErrorLog::Escape(m_Name + "." + m_Ext).GetBuffer());
    // A binary file or a lost brace gives a few messages, not thousands.
    DiagnosticsLimit limit(ErrorLog::Escape(m_Path).GetBuffer());

    if (m_pPrescanned) {
        m_pUnit = m_pPrescanned;
        m_ReadTime = m_PrescannedTime;
        m_pPrescanned = nullptr;
    } else {
        m_pUnit = Scan(*m_pScanner, m_pProject->GetErrorStream(), m_ReadTime);
        if (!m_pUnit)
            return false;
    }

    m_pParser->SetTokenListener(m_pTokenListener);
    SimpleTU* tu = m_pParser->parse(*m_pUnit, *m_pProject);
    m_pParser->SetTokenListener(nullptr);
    // The tokens stay alive with the unit: nodes point into them.
    m_pScannedUnit = m_pUnit;
    m_pUnit = nullptr;
    m_pTU = tu;
    return tu != nullptr;
}

bool ParseUnit::HasChanged(FileTimeNs t) const
{
    if (m_ListedTime != 0 && !m_Path.IsEmpty())
        return m_ListedTime > t;
    FileTimeNs modified = 0;
    if (m_Path.IsEmpty() || !DiskInterface::Get().GetMTime(m_Path, modified))
        return true;
    return modified > t;
}

bool ParseUnit::ChangedSinceRead() const
{
    if (m_ReadTime == 0)
        return false;
    FileTimeNs modified = 0;
    return !DiskInterface::Get().GetMTime(m_Path, modified) || modified != m_ReadTime;
}

ParseUnit* ParseUnit::SetTokenListener(CTokenListener* listener)
{
    m_pTokenListener = listener;
    return this;
}

int ParseUnit::SaveInfo(int fd)
{
    m_Info.m_Time = m_Time;
    m_Info.m_Path = m_Path;
    return m_Info.SaveToFile(fd);
}

void ParseUnit::PrintDebugInfo()
{
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "\n**** %s ****\n", m_Name.GetBuffer());
    if (!m_pTU)
        Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "not parsed\n");
    else
        m_pTU->Print();
}
