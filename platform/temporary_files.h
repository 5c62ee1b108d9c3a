// The names of the program's own temporary files: hidden, so that Browse never takes a
// half-written one for a picture, and of one pattern, so that leftovers of a crash can be
// told from the user's files and removed.
#pragma once

#include <string_view>

/** A temporary name is the prefix, lower-case letters and digits, and the suffix. */
inline constexpr std::string_view kTemporaryPrefix = ".pictavo-";
inline constexpr std::string_view kTemporarySuffix = ".tmp";

/** True for a name of the program's own temporary pattern. */
constexpr bool isTemporaryName(std::string_view name) {
    if (name.size() <= kTemporaryPrefix.size() + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    name.remove_prefix(kTemporaryPrefix.size());
    name.remove_suffix(kTemporarySuffix.size());
    for (const char c : name) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}
