#include "parser/AccessTypes.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(AccessTypes, ConvertsToKeywordTokenAndText)
{
    static struct {
        int access;
        int token;
        char const* text;
    } const cases[] = {
        {0, 83, "public"},   {1, 83, "public"}, {2, 79, "private"}, {3, 80, "protected"},
        {4, 135, "mixin"},   {7, 83, "public"}, {-1, 83, "public"},
    };
    for (auto const& c : cases) {
        AccessTypes access = static_cast<AccessTypes>(c.access);
        EXPECT_EQ(c.token, ConvertAccessTypeToCToken(access)) << c.access;
        EXPECT_STREQ(c.text, ConvertAccessTypeToString(access)) << c.access;
    }
    // Back from the keyword: public, private, protected and mixin; none otherwise.
    for (int access = ACCESS_PUBLIC; access <= ACCESS_MIXIN; ++access)
        EXPECT_EQ(access, ConvertCTokenToAccessType(ConvertAccessTypeToCToken(AccessTypes(access))));
    EXPECT_EQ(ACCESS_NONE, ConvertCTokenToAccessType(Lex::TOK_ID));
}
