#include "output/JavaConstructor.h"

#include "base/ErrorLog.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "output/BaseTransform.h"
#include "scanner/Token.h"

namespace {

Array<Lex::Token*> ParamNames(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    return params ? params->GetParamNameTokens() : Array<Lex::Token*>();
}

char const* FileOf(Lex::Token const& t) { return t.location.empty() ? "" : t.location.filename().name(); }

// The `;` ending a leading `super(..);` or `this(..);` statement that begins
// after open; null when the body does not begin with one.
Lex::Token* LeadingCallEnd(Lex::Token& open)
{
    Lex::Token* word = BaseTransform::NextNonWhite(&open);
    Lex::Token* paren = word ? BaseTransform::NextNonWhite(word) : nullptr;
    if (!word || (word->type != Lex::TOK_SUPER && word->type != Lex::TOK_THIS) || !paren ||
        paren->type != Lex::TOK_OPEN_ROUND)
        return nullptr;
    int depth = 0;
    for (Lex::Token* t = paren; t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND || t->type == Lex::TOK_OPEN_CURLY)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND || t->type == Lex::TOK_CLOSE_CURLY)
            --depth;
        else if (t->type == Lex::TOK_SEMI_COLON && depth == 0)
            return t;
        if (depth < 0)
            return nullptr;
    }
    return nullptr;
}

// The tokens from first through last, in order.
Array<Lex::Token*> Range(Lex::Token* first, Lex::Token* last)
{
    Array<Lex::Token*> tokens;
    for (Lex::Token* t = first; t; t = t->next()) {
        tokens.Add(t);
        if (t == last)
            break;
    }
    return tokens;
}

// Moves the tokens, in order, behind pos; answers the last one moved.
Lex::Token* MoveAfter(Lex::Token* pos, Array<Lex::Token*> const& tokens)
{
    for (int i = 0; i < tokens.GetCount(); ++i) {
        BaseTransform::DeleteToken(*tokens[i]);
        pos = &pos->AddTokenAfter(*tokens[i]);
    }
    return pos;
}

// Unlinks the constructor's head: its modifiers and annotations back to the
// end of the member before it, and everything up to its body. Comments and
// line breaks stay.
void DropHead(NodeFuncDecl& decl, Lex::Token& open)
{
    Lex::Token* name = decl.GetToken();
    if (!name) {
        NodeID* id = decl.GetNameNode();
        name = id ? id->GetFirstToken() : nullptr;
    }
    if (!name)
        return;
    Lex::Token* first = name;
    for (Lex::Token* p = name->prev(); p; p = p->prev()) {
        if (p->type == Lex::TOK_SEMI_COLON || p->type == Lex::TOK_OPEN_CURLY || p->type == Lex::TOK_CLOSE_CURLY)
            break;
        if (!BaseTransform::IsSkipped(*p))
            first = p;
    }
    for (Lex::Token* t = first; t && t != &open;) {
        Lex::Token* next = t->next();
        if (!BaseTransform::IsSkipped(*t))
            BaseTransform::DeleteToken(*t);
        t = next;
    }
}

} // namespace

bool JavaConstructor::Compose(NodeFuncDef& refining, FuncInfo& refined)
{
    NodeFuncDef* lowDef = refined.GetDef();
    NodeFuncDecl* lowDecl = lowDef ? lowDef->GetDecl() : nullptr;
    NodeBlock* lowBody = lowDef ? lowDef->GetBody() : nullptr;
    NodeFuncDecl* decl = refining.GetDecl();
    NodeBlock* body = refining.GetBody();
    Lex::Token* lowOpen = lowBody ? lowBody->GetFirstToken() : nullptr;
    Lex::Token* lowClose = lowBody ? lowBody->GetLastToken() : nullptr;
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!lowDecl || !decl || !lowOpen || !lowClose || !open || lowOpen->type != Lex::TOK_OPEN_CURLY ||
        lowClose->type != Lex::TOK_CLOSE_CURLY || open->type != Lex::TOK_OPEN_CURLY)
        return false;

    // The lower body now runs inside the refining constructor: its uses of
    // its parameters take the refining constructor's names (looked up before
    // any is renamed: names may be swapped), and no other name of it may be
    // one of those parameters, which would take its place.
    Array<Lex::Token*> from = ParamNames(*lowDecl);
    Array<Lex::Token*> to = ParamNames(*decl);
    Array<Lex::Token*> uses;
    Array<int> positions;
    bool ok = true;
    for (Lex::Token* t = lowOpen->next(); t && t != lowClose; t = t->next()) {
        if (!BaseTransform::IsPlainName(*t))
            continue;
        int i = BaseTransform::FindName(from, *t);
        if (i >= 0 && i < to.GetCount() && to[i]) {
            uses.Add(t);
            positions.Add(i);
            continue;
        }
        Lex::Token* next = BaseTransform::NextNonWhite(t);
        if (i < 0 && BaseTransform::FindName(to, *t) >= 0 && !(next && next->type == Lex::TOK_OPEN_ROUND)) {
            Str text;
            text.Format("this constructor's body runs inside the constructor that refines it (%s:%d), where %s "
                        "names a parameter: give that parameter another name",
                        FileOf(*open), open->location.line(), t->text->text);
            ErrorLog::OnError(text, *t);
            ok = false;
        }
    }
    for (int k = 0; k < uses.GetCount(); ++k)
        uses[k]->text = to[positions[k]]->text;
    Lex::Token* lowLead = LeadingCallEnd(*lowOpen);
    Lex::Token* lead = LeadingCallEnd(*open);
    if (lowLead && lead) {
        Str text;
        Lex::Token* lowWord = BaseTransform::NextNonWhite(lowOpen);
        text.Format("this constructor and the one it refines both call super(..) or this(..), there at %s:%d: only "
                    "one layer may call it",
                    FileOf(*lowWord), lowWord->location.line());
        ErrorLog::OnError(text, *BaseTransform::NextNonWhite(open));
        ok = false;
    }
    if (!ok)
        return false;

    DropHead(*lowDecl, *lowOpen);
    Lex::Token* at = lead ? lead : open;
    if (lowLead)
        at = MoveAfter(at, Range(BaseTransform::NextNonWhite(lowOpen), lowLead));
    MoveAfter(at, Range(lowOpen, lowClose));
    return true;
}
