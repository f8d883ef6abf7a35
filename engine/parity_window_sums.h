#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/parity_volume.h"

// The sums of a recovery slice, one window of it at a time, the chunks' work shared out
// among the processor's cores.
namespace torvanik {

// The length of chunk `index` of the source: the slice size, less at the source's end.
std::uint64_t ChunkLengthOf(const VolumeSource& from, std::size_t index);

// `size` bytes of the source at `offset`, whole; reads at a position of their own, so that
// several may run at once.
Result<void> ReadSourceStretch(FileSystem& files, File& source, std::uint64_t offset,
                               std::uint8_t* into, std::size_t size);

// Each worker takes the next chunk no one has taken, reads the chunk's bytes in the window
// with a buffer of its own, hashes them and adds them times the chunk's factor into a sum
// of its own; the window's sums are those added together. The caller is one of the
// workers; the others are threads that live for one window.
class WindowSums {
  public:
    // `factors[i]` multiplies chunk i; windows are at most `window` bytes.
    WindowSums(FileSystem& files, const VolumeSource& from, std::vector<std::uint16_t> factors,
               std::size_t window);
    ~WindowSums();  // waits for the helpers of a window not finished
    WindowSums(const WindowSums&) = delete;
    WindowSums& operator=(const WindowSums&) = delete;

    // Sets the helpers to the window of `size` bytes (even) at `offset`; meanwhile the
    // caller is free to deal with the previous window's sums.
    void Start(std::uint64_t offset, std::size_t size);
    // Does the caller's share of the window, waits for the helpers and puts the window's
    // sums into `sum`; a failed read fails it, the first chunk's failure told.
    Result<void> Finish(std::uint8_t* sum);
    // The chunks' hashes, once every window is summed.
    std::vector<par2::InputFile> Hashes(const std::vector<std::string>& names);

  private:
    struct Failure {
        std::size_t chunk = 0;
        Why why;
    };
    struct Worker {
        std::vector<std::uint8_t> in, sum;
        bool summed = false;  // took a chunk of this window
        std::optional<Failure> failure;
    };

    void Work(Worker& worker);
    void JoinHelpers();

    FileSystem& files_;
    const VolumeSource& from_;
    const std::vector<std::uint16_t> factors_;
    std::vector<par2::ChunkHasher> hashers_;
    std::vector<Worker> workers_;  // the caller's first
    std::vector<std::thread> helpers_;
    std::atomic<std::size_t> nextChunk_ = 0;
    std::uint64_t offset_ = 0;
    std::size_t size_ = 0;
};

}  // namespace torvanik
