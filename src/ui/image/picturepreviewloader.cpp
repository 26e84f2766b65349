#include "ui/image/picturepreviewloader.h"

#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>
#include <QWaitCondition>

namespace Dayloom {

namespace {
// How often the browser looks whether the worker is done, in milliseconds.
constexpr int PollIntervalMs = 15;
} // namespace

// One file being read; shared with the worker, which may outlive the loader.
struct PicturePreviewLoader::Read
{
    QString path;
    QMutex mutex;
    QWaitCondition finished;
    bool done = false;
    std::optional<Picture> picture;
    QString error;
};

PicturePreviewLoader::PicturePreviewLoader(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(PollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &PicturePreviewLoader::CheckRead);
}

std::atomic<int> PicturePreviewLoader::s_readsRunning = 0;

bool PicturePreviewLoader::AnyReadRunning()
{
    return s_readsRunning > 0;
}

// A read still running finishes on its own and its result is dropped.
PicturePreviewLoader::~PicturePreviewLoader() = default;

void PicturePreviewLoader::Load(const QString &path)
{
    if (m_reading)
        m_waiting = path;
    else
        Start(path);
}

bool PicturePreviewLoader::Busy() const
{
    return m_reading != nullptr;
}

void PicturePreviewLoader::Finish()
{
    while (m_reading) {
        {
            QMutexLocker lock(&m_reading->mutex);
            while (!m_reading->done)
                m_reading->finished.wait(&m_reading->mutex);
        }
        Deliver();
    }
}

void PicturePreviewLoader::Start(const QString &path)
{
    auto read = std::make_shared<Read>();
    read->path = path;
    m_reading = read;
    ++s_readsRunning;
    QThreadPool::globalInstance()->start([read] {
        QString error;
        std::optional<Picture> picture = Picture::FromFile(read->path, &error);
        if (picture && picture->GetKind() == Picture::Kind::Icon)
            picture = picture->AsBitmap();
        QMutexLocker lock(&read->mutex);
        read->picture = std::move(picture);
        read->error = error;
        read->done = true;
        read->finished.wakeAll();
        --s_readsRunning;
    });
    m_poll.start();
}

void PicturePreviewLoader::CheckRead()
{
    if (!m_reading) {
        m_poll.stop();
        return;
    }
    {
        QMutexLocker lock(&m_reading->mutex);
        if (!m_reading->done)
            return;
    }
    Deliver();
}

// Reports the finished read and starts the file that waited, if any.
void PicturePreviewLoader::Deliver()
{
    const std::shared_ptr<Read> read = std::move(m_reading);
    m_reading.reset();
    m_poll.stop();
    if (!m_waiting.isEmpty()) {
        Start(m_waiting);
        m_waiting.clear();
    }
    Q_EMIT loaded(read->path, read->picture, read->error);
}

} // namespace Dayloom
