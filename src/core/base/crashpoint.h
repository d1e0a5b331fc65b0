#pragma once

// Named points where the program can be made to die at once (SIGKILL, as a power cut does), for the
// tests that check what a restart finds. QUORVANTA_CRASH_AT="<point>[/<what>][@<n>]" kills the program
// the n-th time (1 when not given) it passes that point for that kind of document; unset, a point costs
// one comparison.
namespace CrashPoint {

void hit(const char* point, const char* what = "");

} // namespace CrashPoint
