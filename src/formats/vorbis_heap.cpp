// The Ogg Vorbis decoder compiled from the system's stb_vorbis source, with
// its malloc, realloc and free routed through a bounded, tracked heap.
#include "formats/vorbis_heap.h"

// Every header that declares malloc goes in before the names are redefined
// below. stb_vorbis takes alloca from <malloc.h> on Windows, which declares
// malloc too; <alloca.h>, its Linux source, declares nothing we rename.
#include <assert.h>
#include <limits.h>
#include <malloc.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <cstdint>

namespace {

// Each block starts with a link in the scope's list; 32 bytes keep the
// caller's pointer as aligned as malloc's own.
struct alignas(16) BlockHeader {
    BlockHeader* prev;
    BlockHeader* next;
    size_t size;
};

struct Heap {
    BlockHeader* blocks = nullptr;
    size_t used = 0;
    size_t limit = 0;
};

thread_local Heap* current = nullptr;

void Link(Heap& heap, BlockHeader* block) {
    block->prev = nullptr;
    block->next = heap.blocks;
    if (heap.blocks) heap.blocks->prev = block;
    heap.blocks = block;
    heap.used += block->size;
}

void Unlink(Heap& heap, BlockHeader* block) {
    if (block->prev)
        block->prev->next = block->next;
    else
        heap.blocks = block->next;
    if (block->next) block->next->prev = block->prev;
    heap.used -= block->size;
}

}  // namespace

// Outside a scope the decoder would run unbounded: refuse instead.
extern "C" void* BwVorbisMalloc(size_t size) {
    Heap* heap = current;
    if (!heap || size > heap->limit - heap->used) return nullptr;
    // Zeroed: on some error paths the decoder frees list entries it never set.
    auto* block = static_cast<BlockHeader*>(calloc(1, sizeof(BlockHeader) + size));
    if (!block) return nullptr;
    block->size = size;
    Link(*heap, block);
    return block + 1;
}

extern "C" void BwVorbisFree(void* p) {
    if (!p || !current) return;
    BlockHeader* block = static_cast<BlockHeader*>(p) - 1;
    Unlink(*current, block);
    free(block);
}

extern "C" void* BwVorbisRealloc(void* p, size_t size) {
    if (!p) return BwVorbisMalloc(size);
    Heap* heap = current;
    if (!heap) return nullptr;
    BlockHeader* block = static_cast<BlockHeader*>(p) - 1;
    if (size > block->size && size - block->size > heap->limit - heap->used) return nullptr;
    Unlink(*heap, block);
    auto* grown = static_cast<BlockHeader*>(realloc(block, sizeof(BlockHeader) + size));
    if (!grown) {
        Link(*heap, block);  // the old block stays valid, as realloc promises
        return nullptr;
    }
    grown->size = size;
    Link(*heap, grown);
    return grown + 1;
}

VorbisHeapScope::VorbisHeapScope(size_t limitBytes) {
    current = new Heap{nullptr, 0, limitBytes};
}

VorbisHeapScope::~VorbisHeapScope() {
    for (BlockHeader* block = current->blocks; block;) {
        BlockHeader* next = block->next;
        free(block);
        block = next;
    }
    delete current;
    current = nullptr;
}

// The C library headers are in already, so these names reach only the decoder.
#define malloc(size) BwVorbisMalloc(size)
#define realloc(p, size) BwVorbisRealloc(p, size)
#define free(p) BwVorbisFree(p)
#include <stb_vorbis.h>
