#include "scanner/SB_Filter.h"
#include "scanner/ScanBuffer.h"

#include "MemorySource.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Lex::ScanBuffer;

std::string read_rest(ScanBuffer& b)
{
    std::string out;
    while (b.state() == ScanBuffer::has_more)
        out += static_cast<char>(b.next());
    return out;
}

// Each buffer kind over the same text; the sources live as long as the test.
struct Buffers {
    explicit Buffers(std::string const& text) : text(text), file_source(text), pipe_source(text)
    {
        pipe_source.chunks_of(1);
        auto* whole = new Lex::SB_WholeFile;
        EXPECT_EQ(Lex::SB_WholeFile::loaded, whole->load(file_source, file_source.size()));
        named.push_back({"string", std::unique_ptr<ScanBuffer>(new Lex::SB_String(this->text.data(), this->text.size()))});
        named.push_back({"whole file", std::unique_ptr<ScanBuffer>(whole)});
        named.push_back({"sequential", std::unique_ptr<ScanBuffer>(new Lex::SB_Sequential(pipe_source))});
    }
    std::string text;
    MemorySource file_source;
    MemorySource pipe_source;
    std::vector<std::pair<char const*, std::unique_ptr<ScanBuffer>>> named;
};

TEST(ScanBuffer, EveryKindReadsLooksAheadAndAcceptsAlike)
{
    Buffers buffers("abcdef");
    for (auto& [name, b] : buffers.named) {
        SCOPED_TRACE(name);
        b->reset();
        EXPECT_EQ('a', b->next());
        EXPECT_EQ('b', b->next());
        EXPECT_EQ('c', b->next());
        EXPECT_EQ(3, b->len());
        b->more(1);
        EXPECT_EQ('b', b->next());
        b->accept(2);
        EXPECT_EQ(0, b->len());
        EXPECT_EQ("cd", std::string(b->token(), 2));
        EXPECT_EQ("cdef", read_rest(*b));
        // At the end: no byte, no advance, whatever is asked.
        EXPECT_EQ(ScanBuffer::at_end, b->state());
        EXPECT_EQ(0, b->next());
        EXPECT_EQ(0, b->next());
        EXPECT_EQ(4, b->len());
        b->retry();
        EXPECT_EQ('c', b->next());
        b->more(99); // kept within the bytes there are
        EXPECT_EQ(4, b->len());
        b->accept(4);
        EXPECT_EQ(ScanBuffer::at_end, b->state());
        EXPECT_EQ(0, b->next());
        EXPECT_EQ(0, b->len());
    }
}

TEST(ScanBuffer, EmptyInputIsAtItsEndAtOnce)
{
    Buffers buffers("");
    for (auto& [name, b] : buffers.named) {
        SCOPED_TRACE(name);
        b->reset();
        EXPECT_EQ(ScanBuffer::at_end, b->state());
        EXPECT_EQ(0, b->next());
        EXPECT_EQ(0, b->len());
    }
}

TEST(ScanBuffer, NulAndHighBytesAreOrdinaryInput)
{
    std::string const text("a\0\xff" "b", 4);
    Buffers buffers(text);
    for (auto& [name, b] : buffers.named) {
        SCOPED_TRACE(name);
        b->reset();
        EXPECT_EQ(text, read_rest(*b));
    }
}

TEST(SB_Sequential, LongInputPassesThroughTheWindowPieceByPiece)
{
    std::string text(5000, 'x');
    text[4321] = 'y';
    MemorySource src(text);
    Lex::SB_Sequential b(src);
    b.reset();
    std::string seen;
    while (b.state() == ScanBuffer::has_more) {
        for (int i = 0; i < 100 && b.state() == ScanBuffer::has_more; ++i)
            b.next();
        seen.append(b.token(), static_cast<size_t>(b.len()));
        b.accept(b.len());
    }
    EXPECT_EQ(ScanBuffer::at_end, b.state());
    EXPECT_EQ(text, seen);
}

TEST(SB_Sequential, APieceThatFillsTheWindowIsAnError)
{
    MemorySource src(std::string(3000, 'x'));
    Lex::SB_Sequential b(src);
    b.reset();
    for (int i = 0; i < Lex::SB_Sequential::window_size - 1; ++i)
        b.next();
    EXPECT_EQ(ScanBuffer::has_more, b.state());
    b.next();
    EXPECT_EQ(ScanBuffer::in_error, b.state());
    EXPECT_EQ(0, b.next());
    EXPECT_EQ(Lex::SB_Sequential::window_size, b.len());
}

TEST(SB_Sequential, AFailedReadIsAnError)
{
    MemorySource src("abcdef");
    src.failing_at(2);
    Lex::SB_Sequential b(src);
    b.reset();
    EXPECT_EQ("ab", read_rest(b));
    EXPECT_EQ(ScanBuffer::in_error, b.state());
}

TEST(SB_WholeFile, LoadsExactlyTheSizeAskedFor)
{
    struct Case {
        char const* name;
        std::string data;
        std::function<void(MemorySource&)> setup;
        Lex::SB_WholeFile::Load expected;
        std::string text; // what the buffer then holds
    };
    using L = Lex::SB_WholeFile;
    Case const cases[] = {
        {"whole", "abc", [](MemorySource&) {}, L::loaded, "abc"},
        {"empty", "", [](MemorySource&) {}, L::loaded, ""},
        {"short reads", "abcdefg", [](MemorySource& s) { s.chunks_of(2); }, L::loaded, "abcdefg"},
        {"grown file", "abcdef", [](MemorySource& s) { s.reporting_size(3); }, L::loaded, "abc"},
        {"shrunk file", "abc", [](MemorySource& s) { s.reporting_size(5); }, L::read_failed, ""},
        {"read error", "abcdef", [](MemorySource& s) { s.chunks_of(2).failing_at(2); }, L::read_failed, ""},
        {"unknown size", "abc", [](MemorySource& s) { s.reporting_size(-1); }, L::no_size, ""},
        // A UTF-8 byte-order mark is passed over; only at the start.
        {"byte-order mark", "\xEF\xBB\xBF#x", [](MemorySource&) {}, L::loaded, "#x"},
        {"only a mark", "\xEF\xBB\xBF", [](MemorySource&) {}, L::loaded, ""},
        {"mark inside", "a\xEF\xBB\xBF", [](MemorySource&) {}, L::loaded, "a\xEF\xBB\xBF"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySource src(c.data);
        c.setup(src);
        Lex::SB_WholeFile b;
        EXPECT_EQ(c.expected, b.load(src, src.size()));
        if (c.expected == L::loaded) {
            EXPECT_EQ(c.text, read_rest(b));
            EXPECT_EQ(ScanBuffer::at_end, b.state());
            long mark = c.data.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
            EXPECT_LE(src.position(), static_cast<long>(c.text.size()) + mark);
        } else {
            EXPECT_EQ(ScanBuffer::in_error, b.state());
            EXPECT_EQ(0, b.next());
            EXPECT_EQ(0, b.len());
        }
    }
}

// The scanner's chain: continuation filter, location filter, buffer.
struct Chain {
    explicit Chain(std::string const& text) : text(text), buffer(this->text.data(), this->text.size())
    {
        loc.set_next(&buffer);
        cont.set_next(&loc);
        cont.reset();
    }
    std::vector<int> offsets() const
    {
        std::vector<int> out;
        for (int i = 0; i < cont.get_offsets().count(); ++i)
            out.push_back(cont.get_offsets()[i]);
        return out;
    }
    std::string text;
    Lex::SB_String buffer;
    Lex::SBF_LocManager loc;
    Lex::SBF_ContLines cont;
};

TEST(SBF_ContLines, HidesContinuationsAndRecordsTheirOffsets)
{
    struct Case {
        std::string text;
        std::string seen;        // what a recognizer reads
        std::vector<int> offsets;
    };
    Case const cases[] = {
        {"ab\\\ncd", "abcd", {2}},
        {"ab\\\r\ncd", "abcd", {2}},
        {"a\\\n\\\nb\\\nc", "abc", {1, 3, 6}},
        {"ab\\\n", "ab", {2}},          // behind the last byte: still skipped
        {"a\\b\\", "a\\b\\", {}},       // lone backslashes stay
        {"a\\\rb", "a\\\rb", {}},       // a carriage return alone is no continuation
        {"a\\ \nb", "a\\ \nb", {}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text);
        Chain chain(c.text);
        EXPECT_EQ(c.seen, read_rest(chain.cont));
        EXPECT_EQ(static_cast<int>(c.text.size()), chain.cont.len());
        EXPECT_EQ(c.offsets, chain.offsets());
    }
}

TEST(SBF_ContLines, RereadingRecordsNothingTwice)
{
    Chain chain("ab\\\ncd\\\nef");
    read_rest(chain.cont);
    chain.cont.more(1);
    EXPECT_EQ("bcdef", read_rest(chain.cont));
    EXPECT_EQ((std::vector<int>{2, 6}), chain.offsets());
    chain.cont.retry();
    EXPECT_TRUE(chain.offsets().empty());
    EXPECT_EQ("abcdef", read_rest(chain.cont));
    EXPECT_EQ((std::vector<int>{2, 6}), chain.offsets());
}

TEST(SBF_ContLines, AContinuationAtTheStartStaysHiddenWhenReadAgain)
{
    Chain chain("\\\nx");
    EXPECT_EQ('x', chain.cont.next());
    EXPECT_EQ(3, chain.cont.len());
    chain.cont.retry();
    EXPECT_EQ('x', chain.cont.next());
    EXPECT_EQ((std::vector<int>{0}), chain.offsets());
}

TEST(SBF_ContLines, NewlineFlagTellsWhetherTheAcceptedPieceHeldANewline)
{
    Chain chain("a\nb\\\nc\n");
    EXPECT_TRUE(chain.cont.new_line()); // after reset
    // Read "a\n" but take only "a": the newline was lookahead.
    chain.cont.next();
    chain.cont.next();
    chain.cont.accept(1);
    EXPECT_FALSE(chain.cont.new_line());
    chain.cont.next();
    chain.cont.accept(1);
    EXPECT_TRUE(chain.cont.new_line());
    // A continuation's newline is no newline of the text.
    chain.cont.next();
    chain.cont.next();
    chain.cont.accept(chain.cont.len());
    EXPECT_FALSE(chain.cont.new_line());
}

TEST(SBF_LocManager, CountsEveryPhysicalLine)
{
    Chain chain("ab\ncd\\\nef\ng");
    long line = 0;
    EXPECT_EQ(1, chain.loc.get_line());
    EXPECT_EQ(1, chain.loc.get_column());
    chain.cont.next();
    chain.cont.next();
    chain.cont.accept(2);
    EXPECT_EQ(1, chain.loc.get_line());
    EXPECT_EQ(3, chain.loc.get_column());
    read_rest(chain.cont);
    chain.cont.more(8); // "\ncd\\\nef\n"
    chain.cont.accept(8);
    line = chain.loc.get_line();
    EXPECT_EQ(4, line);
    EXPECT_EQ(1, chain.loc.get_column());
    chain.cont.accept(99); // kept within the input
    EXPECT_EQ(4, chain.loc.get_line());
    EXPECT_EQ(2, chain.loc.get_column());
    EXPECT_EQ(ScanBuffer::at_end, chain.cont.state());
}

} // namespace
