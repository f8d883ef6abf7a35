#pragma once

#include "engine/engine_seams.h"

// The seven commands of the view. Each makes one canvas for its own duration.
namespace torvanik {

void OnSplitOut(const EngineSeams& seams);     // UT
void OnJoinIn(const EngineSeams& seams);       // INN
void OnDiskReady(const EngineSeams& seams);    // KLAR
void OnCleanDisk(const EngineSeams& seams);    // RYDDE
void OnSelectDrive(const EngineSeams& seams);  // VELG
void OnShowHelp(const EngineSeams& seams);     // Hjelp
// x and y in client pixels; the flags are ignored.
void OnLButtonDown(const EngineSeams& seams, unsigned flags, int x, int y);

}  // namespace torvanik
