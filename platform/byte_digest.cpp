#include "platform/byte_digest.h"

#include <xxhash.h>

#include "platform/xxh128_kernel_table.h"

namespace torvanik {
namespace {

const Xxh128Kernel& KernelOfThisProcessor() {
#ifdef TORVANIK_XXH128_AVX2
    if (__builtin_cpu_supports("avx2")) {
        return Avx2Xxh128();
    }
#endif
    return PortableXxh128();
}

const Xxh128Kernel& Kernel() {
    static const Xxh128Kernel& kernel = KernelOfThisProcessor();
    return kernel;
}

}  // namespace

const Xxh128Kernel& PortableXxh128() {
    return kThisBuildsXxh128;
}

struct ByteDigest::State {
    const Xxh128Kernel& kernel = Kernel();
    void* xxh = kernel.create();
    ~State() { kernel.destroy(xxh); }
};

ByteDigest::ByteDigest() : state_(std::make_unique<State>()) {
    Reset();
}

ByteDigest::~ByteDigest() = default;

void ByteDigest::Reset() {
    state_->kernel.reset(state_->xxh);
}

void ByteDigest::Update(const void* bytes, std::size_t size) {
    state_->kernel.update(state_->xxh, bytes, size);
}

Digest128 ByteDigest::Value() const {
    return state_->kernel.digest(state_->xxh);
}

Digest128 DigestOf(const void* bytes, std::size_t size) {
    ByteDigest digest;
    digest.Update(bytes, size);
    return digest.Value();
}

}  // namespace torvanik
