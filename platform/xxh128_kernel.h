#pragma once

#include <cstddef>

#include "platform/byte_digest.h"

// One build of the xxHash library's XXH128, behind plain functions, so that a build for
// wider vector instructions can stand beside the shared library's portable one.
namespace torvanik {

struct Xxh128Kernel {
    void* (*create)();
    void (*destroy)(void* state);
    void (*reset)(void* state);
    void (*update)(void* state, const void* bytes, std::size_t size);
    Digest128 (*digest)(const void* state);
};

// The shared library's.
const Xxh128Kernel& PortableXxh128();
// The library built for AVX2, from its header; for processors that have AVX2 only.
const Xxh128Kernel& Avx2Xxh128();

}  // namespace torvanik
