#include "engine/transfer_state.h"

namespace torvanik {

TransferState transferState;

}  // namespace torvanik
