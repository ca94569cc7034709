// Time for measurements finer than GetTickCount's steps of about 16 ms, and
// the median of a series of them.
#pragma once
#include <vector>

namespace harness {

// Milliseconds since an arbitrary start, from the performance counter.
double Milliseconds();

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);

}  // namespace harness
