// Small blocks for the many objects that live until the end of a run
// (tokens, syntax nodes, infos, scopes, short texts): carved from large
// chunks, kept on a free list per size when deleted, never given back to the
// system. This saves a heap call per object, and the chunks can be backed by
// huge pages, which makes first touches of fresh memory far cheaper.
#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define LEX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEX_ADDRESS_SANITIZER 1
#endif
#endif

namespace Lex {

class BlockPool {
public:
    // Blocks up to this size come from the pool; larger ones from the heap.
    static constexpr std::size_t max_block = 512;

    // Under AddressSanitizer every block is a plain heap block, so that a
    // use of a deleted object is still reported.
    static void* Alloc(std::size_t size);
    // size is the one given to Alloc (sized delete passes it).
    static void Free(void* p, std::size_t size);

    // Byte buffers that are freed without their size (texts): a small
    // header keeps it. Large buffers come from malloc.
    static void* AllocBytes(std::size_t size);
    static void FreeBytes(void* p);

#ifdef LEX_ADDRESS_SANITIZER
    static constexpr bool recycles = false;
#else
    static constexpr bool recycles = true;
#endif
};

} // namespace Lex
