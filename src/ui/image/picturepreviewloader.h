#pragma once

#include "core/graphics/picture.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

namespace Dayloom {

// Reads the pictures a browser previews on a worker thread (a shipped
// drawing can take a second to convert), so that the browser answers while
// the picture is read and the preview fills in when it is there. One file is
// read at a time; a file asked for meanwhile waits for its turn, replacing
// any file that waited before it (the user has moved on from that one).
// Icons arrive as bitmaps.
class PicturePreviewLoader : public QObject
{
    Q_OBJECT

public:
    explicit PicturePreviewLoader(QObject *parent = nullptr);
    ~PicturePreviewLoader() override;

    // Reads `path`; loaded() reports it.
    void Load(const QString &path);
    // True while a file is being read or waits.
    bool Busy() const;
    // Waits until the last file asked for is read and reported (OK pressed
    // before its preview came).
    void Finish();
    // True while any loader's read runs, also one whose browser has closed:
    // the program then need not wait for it when it ends.
    static bool AnyReadRunning();

Q_SIGNALS:
    // The picture of `path`, or none with the reason.
    void loaded(const QString &path, const std::optional<Picture> &picture, const QString &error);

private:
    struct Read;

    void Start(const QString &path);
    void CheckRead();
    void Deliver();

    std::shared_ptr<Read> m_reading;
    QString m_waiting;
    QTimer m_poll;
    static std::atomic<int> s_readsRunning;
};

} // namespace Dayloom
