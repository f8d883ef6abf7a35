// The copies the benchmarks hold the program against: what the machine does at its limit
// when every byte must be on the medium before the next disk is asked for.
//   torvanik_reference_copy copy SOURCE DESTINATION
//       1 MiB reads and writes, each finished megabyte sent on at once, then fsync.
//   torvanik_reference_copy commit FILE.tmp...
//       fsync and rename each FILE.tmp to FILE, one after the other (after `split`).
//   torvanik_reference_copy parts SOURCE FOLDER
//       1 MiB parts, each written whole, flushed and renamed before the next is begun,
//       as a disk must be before the next one is asked for.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

int Copy(const char* source, const char* destination) {
    const int in = open(source, O_RDONLY);
    const int out = open(destination, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        std::perror("open");
        return 1;
    }
    std::vector<char> buffer(static_cast<std::size_t>(kMegabyte));
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
            sync_file_range(out, before * kMegabyte, kMegabyte, SYNC_FILE_RANGE_WRITE);
        }
    }
    if (fsync(out) != 0 || close(out) != 0) {
        std::perror("fsync");
        return 1;
    }
    close(in);
    return 0;
}

int Parts(const char* source, const std::string& folder) {
    const int in = open(source, O_RDONLY);
    if (in < 0) {
        std::perror(source);
        return 1;
    }
    std::vector<char> buffer(static_cast<std::size_t>(kMegabyte));
    for (int part = 0;; ++part) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got <= 0) {
            close(in);
            return got < 0 ? 1 : 0;
        }
        const std::string final = folder + "/part_" + std::to_string(part);
        const std::string temporary = final + ".tmp";
        const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || !WriteAll(out, buffer.data(), static_cast<std::size_t>(got)) ||
            fsync(out) != 0 || close(out) != 0 || rename(temporary.c_str(), final.c_str()) != 0) {
            std::perror(temporary.c_str());
            return 1;
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
    if (mode == "copy" && argc == 4) {
        return Copy(argv[2], argv[3]);
    }
    if (mode == "commit") {
        return Commit(argc - 2, argv + 2);
    }
    if (mode == "parts" && argc == 4) {
        return Parts(argv[2], argv[3]);
    }
    std::fprintf(stderr,
                 "usage: %s copy SOURCE DESTINATION | commit FILE.tmp... | parts SOURCE FOLDER\n",
                 argv[0]);
    return 2;
}
