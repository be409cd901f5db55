#pragma once
// The simulated driver's control exports, by name, for tests: scripted answers override the
// simulation, one per CT_data call, in order.
#include <cstdint>

extern "C" {
// dad, sad and reportedLength: -1 leaves them as the simulation would (addresses untouched,
// lenr = responseLength).
using ZemtrakSimQueueAnswerFn = void(int rc, const unsigned char* response, unsigned responseLength, int dad,
                                     int sad, int reportedLength);
// A null text restores the default; otherwise length bytes (at most 120) are written as they are.
using ZemtrakSimSetVersionFn = void(const char* text, unsigned length);
// Copies the last command sent (at most capacity bytes) and returns its length, or -1 if none.
using ZemtrakSimLastCommandFn = int(unsigned char* buffer, unsigned capacity, unsigned* ctn,
                                    unsigned char* dad, unsigned char* sad);
// Closes every terminal and forgets scripts and the version text.
using ZemtrakSimResetFn = void();
}
