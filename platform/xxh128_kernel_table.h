#pragma once

#include "platform/xxh128_kernel.h"

// The kernel of whichever build of the xxHash library the including file has: it includes
// <xxhash.h> first, plain or with XXH_INLINE_ALL.
namespace torvanik {
namespace {

XXH3_state_t* StateOf(void* state) {
    return static_cast<XXH3_state_t*>(state);
}

constexpr Xxh128Kernel kThisBuildsXxh128{
    [] { return static_cast<void*>(XXH3_createState()); },
    [](void* state) { XXH3_freeState(StateOf(state)); },
    [](void* state) { XXH3_128bits_reset(StateOf(state)); },
    [](void* state, const void* bytes, std::size_t size) {
        XXH3_128bits_update(StateOf(state), bytes, size);
    },
    [](const void* state) {
        const XXH128_hash_t hash = XXH3_128bits_digest(static_cast<const XXH3_state_t*>(state));
        return Digest128{hash.high64, hash.low64};
    },
};

}  // namespace
}  // namespace torvanik
