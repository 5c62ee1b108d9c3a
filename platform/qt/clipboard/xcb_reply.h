// xcb hands out replies and events in memory the caller frees.
#pragma once

#include <cstdlib>
#include <memory>

struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XPtr = std::unique_ptr<T, XcbFree>;
