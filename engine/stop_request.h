#pragma once

// A request to end the running step as a failed one, made from a signal handler.
namespace torvanik {

// Safe to call from a signal handler.
void RequestStop();
bool StopRequested();

}  // namespace torvanik
