#pragma once

#include <cstdio>

#include "engine/transfer_state.h"

namespace torvanik::testing {

// Closes what a transfer left open and puts the record back to its start.
inline void ResetTransferState() {
    for (std::FILE* stream : {transferState.sourceFile, transferState.destinationFile}) {
        if (stream != nullptr) {
            std::fclose(stream);
        }
    }
    transferState = TransferState{};
}

}  // namespace torvanik::testing
