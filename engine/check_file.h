#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_digest.h"

// The check file on every disk of a set: the XXH128 of the disk's chunk (and on disk 1 of
// INFO.FIL), in the lines `xxhsum -c` reads. Its name carries the set's identity, six hex
// digits drawn for each set: TV3F9A1C.XXH on every disk of that set.
namespace torvanik {

// Six upper-case hex digits, drawn at random.
std::string NewSetIdentity();

// "TV" + identity + ".XXH": 8.3, so that any disk's file system holds it as it is.
std::string CheckFileName(std::string_view identity);

// The identity in a check file's name, in upper case, whatever case the disk shows it in;
// none for any other name.
std::optional<std::string> IdentityInName(std::string_view fileName);

// "<32 hex digits>  <name>\n", the digest as xxhsum writes XXH128: high half first.
std::string CheckLine(const Digest128& digest, std::string_view fileName);

// What the check file `text` says of `fileName`. Every line of it must be one that
// `xxhsum -c` reads; a file listed twice must have the same digest in both lines.
struct CheckFileLine {
    enum class Found {
        kLine,         // `digest` is the file's
        kNoLine,       // the check file does not list it
        kTwoDigests,   // it is listed twice, with different digests
        kDamagedText,  // a line of the check file is not a check line
    };
    Found found = Found::kNoLine;
    Digest128 digest;
};
CheckFileLine DigestInCheckFile(std::string_view text, std::string_view fileName);

}  // namespace torvanik
