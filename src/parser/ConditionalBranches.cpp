#include "parser/ConditionalBranches.h"

#include "scanner/CTokens.h"

#include <cstring>

void ConditionalBranches::Step(Lex::Token const& t)
{
    if (t.language == Lex::Token::pre_id) {
        m_bDirective = true;
        switch (t.type) {
        case Lex::PRE_IF:
        case Lex::PRE_IFDEF:
        case Lex::PRE_IFNDEF:
            m_Open.push_back(false);
            break;
        case Lex::PRE_ELIF:
        case Lex::PRE_ELSE:
            if (!m_Open.empty() && !m_Open.back()) {
                m_Open.back() = true;
                ++m_Later;
            }
            break;
        case Lex::PRE_ENDIF:
            if (!m_Open.empty()) {
                if (m_Open.back())
                    --m_Later;
                m_Open.pop_back();
            }
            break;
        default:
            break;
        }
    }
    m_bTokenInDirective = m_bDirective || t.language == Lex::Token::dir_id;
    if (m_bDirective && t.language == Lex::Token::white_id && strchr(t.text->text, '\n'))
        m_bDirective = false;
}
