#include "compose/FileStatistics.h"

#include "base/Diagnostics.h"
#include "base/Str.h"
#include "scanner/Token.h"


CodeStatistic FileStatistics::m_GlobalStat;

int CodeStatistic::Print()
{
    Str text;
    text.Format("%d files, %d LOC (%d netto + %d preproc + %d comment + %d blank)\n", m_Files,
                m_Netto + m_Preproc + m_Comment + m_Blank, m_Netto, m_Preproc, m_Comment, m_Blank);
    std::string line = text.GetBuffer();
    if (!Diagnostics::Report(DiagKind::Listing, DiagStream::Out, DiagFlush::None, line))
        return -1;
    return static_cast<int>(line.size());
}

FileStatistics::FileStatistics(int* total)
    : m_bCode(false), m_bComment(false), m_bPreproc(false), m_pTotal(total), m_Lines(0)
{
}

FileStatistics::~FileStatistics()
{
    OnLastToken();
    if (m_pTotal)
        *m_pTotal += m_Lines;
}

void FileStatistics::OnToken(Lex::Token& token)
{
    int breaks = token.get_line_breaks();
    if (breaks > 0) {
        // The token ends the current line, whatever its own kind.
        if (m_bPreproc) {
            ++m_Lines;
            ++m_GlobalStat.m_Preproc;
            m_GlobalStat.m_Blank += breaks - 1;
        } else if (m_bCode) {
            ++m_Lines;
            ++m_GlobalStat.m_Netto;
            m_GlobalStat.m_Blank += breaks - 1;
        } else if (m_bComment) {
            m_GlobalStat.m_Comment += breaks;
        } else {
            m_GlobalStat.m_Blank += breaks;
        }
        m_bCode = m_bComment = m_bPreproc = false;
        return;
    }
    if (token.flags & Lex::Token::comment_flag)
        m_bComment = true;
    else if (token.language == Lex::Token::pre_id || token.language == Lex::Token::dir_id
             || token.language == Lex::Token::macro_op_id)
        // Directive words, pragma/line/ident lines and # or ## on a
        // directive line all make a preprocessor line.
        m_bPreproc = true;
    else if (token.language != Lex::Token::white_id && !m_bPreproc)
        m_bCode = true;
}

void FileStatistics::OnLastToken()
{
    if (m_bPreproc) {
        ++m_Lines;
        ++m_GlobalStat.m_Preproc;
    } else if (m_bCode) {
        ++m_Lines;
        ++m_GlobalStat.m_Netto;
    } else if (m_bComment) {
        ++m_GlobalStat.m_Comment;
    }
    m_bCode = m_bComment = m_bPreproc = false;
}
