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
        /** The offering program: its process where the side tells, else its connection;
            0 when the side does not tell. */
        std::uint64_t client = 0;
        /** It holds the clipboard manager's role. */
        bool manager = false;
        enum class Connected { Unknown, Yes, No };
        /** Whether that program was running when the last picture taken was read: a
            program started since is a new one, whatever name the side reuses for it. */
        Connected atLastTake = Connected::Unknown;
    } offerer;
    /** Another program than the offerer (and than this one) took the clipboard since the
        last picture taken was read: what a manager offers now it took from that copy. */
    bool anotherOwnerSinceTake = false;
    /** The offerer took the clipboard over from this program's own copy, with no other
        program and no press in between, and offers that same picture: a manager keeping it. */
    bool ourCopyHeld = false;
    /** Where the side tells of programs: the first half of ourCopyHeld, the picture aside. */
    bool overOurCopy = false;
    enum class Pressed { Unknown, Yes, No };
    /** For the first owner after our emptying: whether a key or mouse button was pressed
        between our emptying and its taking the clipboard. A person's copy follows a press;
        a manager's put-back follows only our emptying. */
    Pressed pressedSinceOurEmptying = Pressed::Unknown;
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
    /** Notes that taken was taken, as clearTaken does, but leaves it on the clipboard. */
    virtual void keepTaken(const ClipboardContent& taken) = 0;
    /** Puts the picture on as a bitmap; false when the clipboard refused it. */
    virtual bool setPicture(const Picture& picture) = 0;
    /** Called whenever the clipboard announces a change of content. */
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};
