#include "scanner/BlockPool.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace Lex {

namespace {

constexpr std::size_t align = 16;
constexpr std::size_t size_classes = BlockPool::max_block / align;
// Chunks are aligned to and a multiple of the huge page size, so that the
// kernel can back them with huge pages: a full run touches hundreds of
// megabytes, and one fault per 4 KiB page costs a large share of it.
constexpr std::size_t huge_page = std::size_t(2) << 20;
constexpr std::size_t chunk_size = 2 * huge_page;

struct FreeBlock {
    FreeBlock* next;
};

// Per thread, so that threads never share a list; a block deleted by
// another thread simply joins that thread's list.
struct Pool {
    FreeBlock* free[size_classes] = {};
    char* next = nullptr;
    char* end = nullptr;

    void* Carve(std::size_t size)
    {
        if (static_cast<std::size_t>(end - next) < size) {
            void* chunk = std::aligned_alloc(huge_page, chunk_size);
            if (!chunk)
                throw std::bad_alloc();
            madvise(chunk, chunk_size, MADV_HUGEPAGE);
            next = static_cast<char*>(chunk);
            end = next + chunk_size;
        }
        void* block = next;
        next += size;
        return block;
    }
};

thread_local Pool pool;

std::size_t Rounded(std::size_t size) { return (size + align - 1) & ~(align - 1); }

} // namespace

void* BlockPool::Alloc(std::size_t size)
{
    if (recycles && size && size <= max_block) {
        size = Rounded(size);
        FreeBlock*& head = pool.free[size / align - 1];
        if (FreeBlock* block = head) {
            head = block->next;
            return block;
        }
        return pool.Carve(size);
    }
    return ::operator new(size);
}

void BlockPool::Free(void* p, std::size_t size)
{
    if (!p)
        return;
    if (recycles && size && size <= max_block) {
        FreeBlock* block = static_cast<FreeBlock*>(p);
        FreeBlock*& head = pool.free[Rounded(size) / align - 1];
        block->next = head;
        head = block;
        return;
    }
    ::operator delete(p);
}

// The header is one alignment unit, so that the buffer stays aligned; it
// holds the block size, 0 for a buffer from malloc.
void* BlockPool::AllocBytes(std::size_t size)
{
    if (!recycles) {
        void* p = std::malloc(size ? size : 1);
        if (!p)
            throw std::bad_alloc();
        return p;
    }
    std::size_t block = size + align;
    std::size_t* header;
    if (block <= max_block) {
        header = static_cast<std::size_t*>(Alloc(block));
        *header = block;
    } else {
        header = static_cast<std::size_t*>(std::malloc(block));
        if (!header)
            throw std::bad_alloc();
        *header = 0;
    }
    return reinterpret_cast<char*>(header) + align;
}

void BlockPool::FreeBytes(void* p)
{
    if (!recycles || !p) {
        std::free(p);
        return;
    }
    std::size_t* header = reinterpret_cast<std::size_t*>(static_cast<char*>(p) - align);
    if (*header)
        Free(header, *header);
    else
        std::free(header);
}

} // namespace Lex
