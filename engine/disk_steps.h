#pragma once

#include <cstdio>

#include "engine/engine_seams.h"
#include "engine/reasons.h"

// The disk steps: one chunk per KLAR, onto a disk (split) or from it (join).
namespace torvanik {

// Opens sourcePath for a split (closing a source left open by an earlier split); reads
// its times into fileTimes and its size into sourceSize. None, with `why`, when it can't
// be opened or is a file of the set on the drive.
std::FILE* OpenSource(const EngineSeams& seams, Why& why);

// Creates destinationPath anew (closing a destination left open by an earlier join).
// None, with `why`, when it can't be made or is a file of the set on the drive.
std::FILE* OpenDestination(const EngineSeams& seams, Why& why);

// Reads INFO.FIL from the drive into joinTotal and joinName; shows notice 0 with 1 and
// fails when it is missing or unfit to join.
bool ReadInfoFile(Canvas& canvas, const EngineSeams& seams);

// Each returns 1 when the next KLAR is to handle disk + 1, else 0. A disk is changed only
// by a step that succeeds.
int WriteNextDisk(Canvas& canvas, const EngineSeams& seams, int disk);
int ReadNextDisk(Canvas& canvas, const EngineSeams& seams, int disk);

}  // namespace torvanik
