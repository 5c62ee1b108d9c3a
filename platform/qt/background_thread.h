// Work the user waits on less than on the window.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

/** Lets the calling thread, and the threads it starts, yield to the window's
    thread when cores are short. Within the user's session the kernel weighs
    this against the program's own threads, so the work is not slowed against
    other programs. */
inline void yieldToTheWindow() {
    constexpr int kNice = 5;
    // Per thread on Linux; a refusal only leaves the thread as it was.
    const int current = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    if (current < kNice)
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNice);
}
