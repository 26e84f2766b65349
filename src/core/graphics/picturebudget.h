#pragma once

#include <QString>
#include <QtGlobal>

#include <limits>

namespace Dayloom {

// What the pictures decoded from outside bytes may cost together, in bytes:
// decoded pixels at 4 bytes each, and other data kept for a file (the
// rectangles of metafile regions).
//
// A budget lives as long as the work it bounds: one metafile playback (each
// GdiContext holds one), one RTF document's pictures, one picture of a note.
// While a Scope of it is open, every decoder on that thread draws from it
// and from the budgets of the scopes open around it, so that a metafile
// played for a picture in a note counts against the note too. Decoders
// claim before they allocate. What is taken is never given back: a budget
// bounds the work of a playback as well as its memory, whatever the file
// frees on the way.
//
// A claim that does not fit is refused with a reason, and the first
// refusal's reason stays with every open budget for the caller to show.
// With no scope open only the bounds of one picture (picturelimits.h)
// apply. A budget and its scopes belong to one thread.
class PictureBudget
{
public:
    // Decoded bytes one metafile playback may take in all.
    static constexpr qint64 PlaybackBytes = qint64(256) * 1024 * 1024;

    // A budget that refuses nothing itself: it only notes the refusals of
    // the budgets and picture bounds inside it (what a whole design lost).
    static constexpr qint64 Unbounded = std::numeric_limits<qint64>::max() / 2;

    explicit PictureBudget(qint64 bytes = PlaybackBytes);
    PictureBudget(const PictureBudget &) = delete;
    PictureBudget &operator=(const PictureBudget &) = delete;

    // Makes the budget the thread's innermost one until destroyed; scopes
    // end in the reverse order of their opening.
    class Scope
    {
    public:
        explicit Scope(PictureBudget &budget);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        friend class PictureBudget;
        PictureBudget &m_budget;
        const Scope *m_outer;
    };

    // A picture of width x height pixels about to be decoded: true when it
    // is within the bounds of one picture and fits every open budget, which
    // are then charged; false with the reason, charging nothing (the
    // refusal is noted in every open budget).
    static bool ClaimPixels(qint64 width, qint64 height, QString *error);
    // Other memory about to be kept for a file: the same without the bounds
    // of one picture.
    static bool ClaimBytes(qint64 bytes, QString *error);
    // Bytes the open budgets still allow (the least of them); -1 when no
    // budget is open.
    static qint64 Available();

    qint64 Limit() const { return m_limit; }
    qint64 Spent() const { return m_spent; }
    qint64 Left() const { return m_limit - m_spent; }
    int Refusals() const { return m_refusals; }
    // The reason of the first claim refused while this budget was open;
    // empty when none was.
    const QString &FirstRefusal() const { return m_firstRefusal; }

private:
    static bool Claim(qint64 bytes, const QString &what, QString *error);
    static void Refuse(const QString &reason);

    qint64 m_limit;
    qint64 m_spent = 0;
    int m_refusals = 0;
    QString m_firstRefusal;
};

} // namespace Dayloom
