#include "base/Name.h"
#include "scanner/Token.h"

#include "../Captured.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The registries are process-wide: tests use texts of their own and compare
// counters before and after.
struct Counts {
    int32_t requests, allocations;
};

template <class T>
Counts Now()
{
    return {NameBase<T>::m_AllNames.m_Requests, NameBase<T>::m_AllNames.m_Allocations};
}

std::vector<std::string> Texts(Array<char const*, char const* const&> const& texts)
{
    std::vector<std::string> out;
    for (int i = 0; i < texts.GetCount(); ++i)
        out.push_back(texts[i]);
    return out;
}

TEST(Name, InterningCountsAndCase)
{
    Counts before = Now<Name>();
    Name* first = Name::GetName("NameTestFoo");
    Name* second = NameBase<Name>::GetName("NameTestFoo", nullptr);
    EXPECT_EQ(first, second);
    Counts after = Now<Name>();
    EXPECT_EQ(before.requests + 2, after.requests);
    EXPECT_EQ(before.allocations + 1, after.allocations);

    Name* lower = Name::GetName("nametestfoo");
    EXPECT_NE(first, lower);
    EXPECT_STREQ("NameTestFoo", first->c_str());
    EXPECT_STREQ("nametestfoo", first->GetLowerText());
    EXPECT_STREQ("nametestfoo", lower->GetLowerText());
    EXPECT_EQ(first->GetText().GetBuffer(), first->c_str());
    EXPECT_EQ(first, NameBase<Name>::m_AllNames.Find("NameTestFoo")->GetValue());

    Name* empty = Name::GetName("");
    EXPECT_STREQ("", empty->c_str());
    EXPECT_EQ(empty, Name::GetName(""));
}

TEST(Name, RecordsLocationOfEveryTokenRequest)
{
    Lex::Token token(Lex::TOK_ID, Lex::Token::identifier_id, "NameTestLoc");
    token.location = Lex::Location(Lex::Filename("a.h"), 12);

    Name* name = Name::GetName("NameTestLoc");
    EXPECT_EQ(0, name->m_Locations.GetCount());
    Name::GetName("NameTestLoc", &token);
    Name::GetName("NameTestLoc", &token);
    Name::GetName("NameTestLoc");
    ASSERT_EQ(2, name->m_Locations.GetCount());
    EXPECT_EQ(12, name->m_Locations[1].line());
    EXPECT_STREQ("a.h", name->m_Locations[1].filename().name());
}

TEST(QualName, ComponentsGiveTextAndBackLinks)
{
    Name* a = Name::GetName("QnA");
    Name* b = Name::GetName("QnB");
    Array<Name*, Name* const&> components;
    components.Add(a);
    components.Add(b);

    QualName* q = QualName::GetName(components);
    EXPECT_STREQ("::QnA::QnB", q->c_str());
    ASSERT_EQ(2, q->GetComponentCount());
    EXPECT_EQ(a, q->m_Components[0]);
    EXPECT_EQ(b, q->GetLastComponent());
    EXPECT_EQ(q, QualName::GetName(components));
    EXPECT_EQ(1, a->m_QualNames.GetCount());
    EXPECT_EQ(1, b->m_QualNames.GetCount());

    Counts names = Now<Name>();
    Counts quals = Now<QualName>();
    EXPECT_EQ(q, QualName::GetName("QnA::QnB"));
    EXPECT_EQ(names.requests + 2, Now<Name>().requests);
    EXPECT_EQ(names.allocations, Now<Name>().allocations);
    EXPECT_EQ(quals.requests + 1, Now<QualName>().requests);
    EXPECT_EQ(quals.allocations, Now<QualName>().allocations);
    EXPECT_EQ(1, a->m_QualNames.GetCount());
    EXPECT_EQ(0, q->m_Locations.GetCount());
}

TEST(QualName, TextsSplitAtRunsOfColons)
{
    QualName* q = QualName::GetName("QsA::QsB");
    for (char const* text : {"::QsA::QsB", "QsA:QsB", ":QsA:::QsB:"})
        EXPECT_EQ(q, QualName::GetName(text)) << text;
    EXPECT_STREQ("::QsA::QsB", q->c_str());
    EXPECT_EQ(2, q->GetComponentCount());

    QualName* empty = QualName::GetName("");
    EXPECT_STREQ("", empty->c_str());
    EXPECT_EQ(0, empty->GetComponentCount());
    EXPECT_EQ(nullptr, empty->GetLastComponent());
    EXPECT_EQ(empty, QualName::GetName(static_cast<char const*>(nullptr)));
    EXPECT_EQ(empty, QualName::GetName("::"));
}

TEST(QualName, ScopeName)
{
    struct Case { char const* text; char const* scope; };
    Case const cases[] = {
        {"::ScA::ScB::ScC", "::ScA::ScB"},
        {"::ScA::ScB", "::ScA"},
        {"::ScA", "::"},
        {"", "::"},
    };
    for (Case const& c : cases)
        EXPECT_STREQ(c.scope, QualName::GetName(c.text)->GetScopeName()) << c.text;
}

TEST(Name, QualNamesInRegistrationOrderBehindExistingEntries)
{
    QualName::GetName("GqA::GqB");
    QualName::GetName("GqB");
    QualName::GetName("GqA::GqB");
    Array<char const*, char const* const&> texts;
    texts.Add("kept");
    Name::GetName("GqB")->GetQualNames(texts);
    EXPECT_EQ((std::vector<std::string>{"kept", "::GqA::GqB", "::GqB"}), Texts(texts));
}

TEST(NameMap, StatisticsLine)
{
    NameMap<Name> registry;
    testutil::Captured captured;
    registry.PrintDebugInfo();
    EXPECT_EQ("namerequests: 0 / allocs: 0 (0kB)\n", captured.All());

    // Size estimate per entry: text, lower-case text and key, 11, and 8 per
    // recorded location.
    int32_t before = NameBase<Name>::m_AllNames.GetMemSize();
    Lex::Token token(Lex::TOK_ID, Lex::Token::identifier_id, "StatName");
    Name::GetName("StatName", &token);
    EXPECT_EQ(before + 3 * 8 + 11 + 8, NameBase<Name>::m_AllNames.GetMemSize());
}

} // namespace
