#pragma once

#include "engine/engine_seams.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"

// The commands of the window's toolbar and menu, on the transfer their front end owns.
namespace torvanik {

StepOutcome OnSplitOut(Transfer& transfer, const EngineSeams& seams);   // UT
StepOutcome OnJoinIn(Transfer& transfer, const EngineSeams& seams);     // INN
StepOutcome OnDiskReady(Transfer& transfer, const EngineSeams& seams);  // KLAR
void OnCleanDisk(Transfer& transfer, const EngineSeams& seams);         // RYDDE
void OnSelectDrive(Transfer& transfer, const EngineSeams& seams);       // VELG

// Tells the front end the facts of the transfer as they stand, for its first picture.
void ReportFacts(const Transfer& transfer, const EngineSeams& seams);

}  // namespace torvanik
