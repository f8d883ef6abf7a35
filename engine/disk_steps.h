#pragma once

#include <cstdio>

#include "engine/engine_seams.h"

// The disk steps: one chunk per KLAR, onto a disk (split) or from it (join).
namespace torvanik {

// Opens sourcePath for a split (closing a source left open by an earlier split); reads
// its times into fileTimes and its size into sourceSize. None when it can't be opened.
std::FILE* OpenSource(const EngineSeams& seams);

// Creates destinationPath anew (closing a destination left open by an earlier join).
std::FILE* OpenDestination(const EngineSeams& seams);

// Reads INFO.FIL from the drive into joinTotal and joinName; shows notice 0 with 1 and
// fails when it is missing or unfit to join.
bool ReadInfoFile(Canvas& canvas, const EngineSeams& seams);

// Each returns 1 when the next KLAR is to handle disk + 1, else 0.
int WriteNextDisk(Canvas& canvas, const EngineSeams& seams, int disk);
int ReadNextDisk(Canvas& canvas, const EngineSeams& seams, int disk);

}  // namespace torvanik
