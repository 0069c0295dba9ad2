#pragma once

#include <windows.h>

#include <cstdio>

// One figure of a benchmark: the best time of a few rounds, because wall-clock figures on a shared
// machine wander, with what the last round produced.
struct Figure {
    const char* what;
    double best = 0;
    int result = 0;

    template <typename Work>
    void Measure(Work work)
    {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        result = work();
        ::QueryPerformanceCounter(&end);
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        const double ms =
            1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        if (best == 0 || ms < best)
            best = ms;
    }

    // The time beside the bare cost it is judged against.
    void Report(double bare) const
    {
        std::printf("%-52s %9.1f ms  %5.2fx bare  (result %d)\n", what, best, best / bare, result);
    }
};
