// The copies the benchmarks hold the program against: what the machine does at its limit
// when every byte must be on the medium before the next disk is asked for.
//   torvanik_reference_copy copy SOURCE DESTINATION [CALL_BYTES]
//       1 MiB reads and writes (or CALL_BYTES), each finished megabyte sent on at once,
//       then fsync.
//   torvanik_reference_copy commit FILE.tmp...
//       fsync and rename each FILE.tmp to FILE, one after the other (after `split`).
//   torvanik_reference_copy parts SOURCE FOLDER [CALL_BYTES]
//       1 MiB parts, each written in 1 MiB calls (or CALL_BYTES), flushed, renamed and its
//       folder flushed before the next is begun, as a disk must be before the next one is
//       asked for.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr off_t kMegabyte = 1 << 20;

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The copy buffer, page-aligned as the program's is: the kernel copies between user memory
// and the page cache at half the speed when the two are not aligned alike.
class Buffer {
  public:
    explicit Buffer(std::size_t size)
        : size_(size), bytes_(static_cast<char*>(std::aligned_alloc(kPage, RoundUp(size)))) {}
    char* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }

  private:
    static constexpr std::size_t kPage = 4096;
    static std::size_t RoundUp(std::size_t size) { return (size + kPage - 1) / kPage * kPage; }
    struct Free {
        void operator()(char* bytes) const { std::free(bytes); }
    };
    std::size_t size_;
    std::unique_ptr<char, Free> bytes_;
};

// The size of each read and write: CALL_BYTES when given, else a megabyte.
std::size_t CallBytes(int argc, char** argv, int at) {
    const long long given = argc > at ? std::atoll(argv[at]) : 0;
    return given > 0 ? static_cast<std::size_t>(given) : static_cast<std::size_t>(kMegabyte);
}

int Copy(const char* source, const char* destination, std::size_t callBytes) {
    const int in = open(source, O_RDONLY);
    const int out = open(destination, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        std::perror("open");
        return 1;
    }
    Buffer buffer(callBytes);
    off_t written = 0;
    for (;;) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got < 0) {
            std::perror("read");
            return 1;
        }
        if (got == 0) {
            break;
        }
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(got))) {
            std::perror("write");
            return 1;
        }
        const off_t before = written / kMegabyte;
        written += got;
        if (written / kMegabyte > before) {
            const off_t sent = before * kMegabyte;
            sync_file_range(out, sent, written / kMegabyte * kMegabyte - sent,
                            SYNC_FILE_RANGE_WRITE);
        }
    }
    if (fsync(out) != 0 || close(out) != 0) {
        std::perror("fsync");
        return 1;
    }
    close(in);
    return 0;
}

// One part of up to a megabyte, written in calls of the buffer's size; false at the end of
// the source or on a failure, with `failed` set for the latter.
bool CopyPart(int in, int out, const Buffer& buffer, bool& failed, bool& wroteAny) {
    for (off_t left = kMegabyte; left > 0;) {
        const ssize_t got =
            read(in, buffer.data(), std::min(buffer.size(), static_cast<std::size_t>(left)));
        if (got <= 0) {
            failed = got < 0;
            return false;
        }
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(got))) {
            failed = true;
            return false;
        }
        wroteAny = true;
        left -= got;
    }
    return true;
}

int Parts(const char* source, const std::string& folder, std::size_t callBytes) {
    const int in = open(source, O_RDONLY);
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (in < 0 || folderFd < 0) {
        std::perror(source);
        return 1;
    }
    Buffer buffer(callBytes);
    for (int part = 0;; ++part) {
        const std::string final = folder + "/part_" + std::to_string(part);
        const std::string temporary = final + ".tmp";
        const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool failed = out < 0;
        bool wroteAny = false;
        const bool more = !failed && CopyPart(in, out, buffer, failed, wroteAny);
        if (!failed && !wroteAny) {
            close(out);
            unlink(temporary.c_str());
            return 0;
        }
        if (failed || fsync(out) != 0 || close(out) != 0 ||
            rename(temporary.c_str(), final.c_str()) != 0 || fsync(folderFd) != 0) {
            std::perror(temporary.c_str());
            return 1;
        }
        if (!more) {
            return 0;
        }
    }
}

int Commit(int count, char** files) {
    for (int i = 0; i < count; ++i) {
        const std::string temporary = files[i];
        const std::string final = temporary.substr(0, temporary.size() - std::strlen(".tmp"));
        const int fd = open(temporary.c_str(), O_WRONLY);
        if (fd < 0 || fsync(fd) != 0 || close(fd) != 0 ||
            rename(temporary.c_str(), final.c_str()) != 0) {
            std::perror(temporary.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "copy" && (argc == 4 || argc == 5)) {
        return Copy(argv[2], argv[3], CallBytes(argc, argv, 4));
    }
    if (mode == "commit") {
        return Commit(argc - 2, argv + 2);
    }
    if (mode == "parts" && (argc == 4 || argc == 5)) {
        return Parts(argv[2], argv[3], CallBytes(argc, argv, 4));
    }
    std::fprintf(stderr,
                 "usage: %s copy SOURCE DESTINATION [CALL_BYTES] | commit FILE.tmp... |"
                 " parts SOURCE FOLDER [CALL_BYTES]\n",
                 argv[0]);
    return 2;
}
