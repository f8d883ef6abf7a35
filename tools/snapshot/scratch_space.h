#pragma once

#include <memory>
#include <string>

#include "platform/result.h"

namespace torvanik::snapshot {

// Where the snapshot tool works: a private temporary folder for the drives, the disks and
// the configuration, and /tmp/torvanik for the file that is split and joined, because
// the pictures show that path. Removes the private folder, bilde.bmp and ut/bilde.bmp in
// /tmp/torvanik, and /tmp/torvanik itself when it made it.
class ScratchSpace {
  public:
    // Fails, with a message, when /tmp/torvanik is not a folder of this user or a folder
    // cannot be made.
    static Result<std::unique_ptr<ScratchSpace>> Make();
    ~ScratchSpace();
    ScratchSpace(const ScratchSpace&) = delete;
    ScratchSpace& operator=(const ScratchSpace&) = delete;

    // A folder inside the private one, made if missing.
    std::string Folder(const std::string& name) const;
    // A path inside /tmp/torvanik.
    static std::string Shown(const std::string& name);

  private:
    ScratchSpace(std::string privateFolder, bool madeShownFolder);

    std::string privateFolder_;
    bool madeShownFolder_;
};

}  // namespace torvanik::snapshot
