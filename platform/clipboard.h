#pragma once

#include "pictures/picture.h"

#include <QString>
#include <cstdint>
#include <functional>

/** What one look at the clipboard found. */
struct ClipboardContent {
    enum class State {
        NoBitmap,   // nothing that decodes to an image is offered
        Bitmap,     // an image was offered, and read when asked for
        Unreadable, // an image was offered but could not be read or decoded
    };
    State state = State::NoBitmap;
    Picture picture; // when read
    QString reason;  // when unreadable
    /** Identifies the owner and its moment of taking the clipboard, so that a
        later clear can tell whether the content is still the same; 0 when unknown. */
    std::uint64_t ownership = 0;
    /** The first owner after this program emptied the clipboard (clearTaken); emptyings
        by anyone in between do not end that. A manager that puts back what was emptied
        is always such an owner; a new copy may be one too. */
    bool firstAfterOurEmptying = false;
    /** For that first owner, how long after our emptying it took the clipboard, in
        milliseconds; -1 when unknown. */
    std::int64_t afterOurEmptyingMs = -1;
    /** Who offers it, as far as the side it came from tells. */
    struct Offerer {
        /** The offering program's connection; 0 when the side does not tell. */
        std::uint64_t client = 0;
        /** It holds the clipboard manager's role. */
        bool manager = false;
        enum class Connected { Unknown, Yes, No };
        /** Whether that connection existed when the last picture taken was read. */
        Connected atLastTake = Connected::Unknown;
    } offerer;
    /** When the owner took the clipboard, in milliseconds of a steady clock; -1 unknown. */
    std::int64_t offeredAtMs = -1;
    /** pixelFingerprint of the picture, made where it was decoded; 0 when not read. */
    std::uint64_t fingerprint = 0;
    /** The program's own content, put by setPicture and not replaced since. */
    bool own = false;
};

/** The system clipboard, bitmap side only. */
class IClipboard {
public:
    IClipboard() = default;
    IClipboard(const IClipboard&) = delete;
    IClipboard& operator=(const IClipboard&) = delete;
    virtual ~IClipboard() = default;
    /** Looks at the clipboard and reports once, later, on the caller's thread; a slow
        or vanished owner never blocks the caller. With readImage false an offered
        image is reported as Bitmap without a picture, and nothing is transferred. */
    virtual void look(bool readImage, std::function<void(ClipboardContent)> done) = 0;
    virtual void clear() = 0;
    /** Empties the clipboard unless another content has replaced the one that
        taken was read from, even one that arrives while the request is under way;
        emptying then would throw the newer content away. */
    virtual void clearTaken(const ClipboardContent& taken) = 0;
    /** Puts the picture on as a bitmap; false when the clipboard refused it. */
    virtual bool setPicture(const Picture& picture) = 0;
    /** Called whenever the clipboard announces a change of content. */
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};
