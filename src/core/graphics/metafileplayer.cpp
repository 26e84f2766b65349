#include "core/graphics/metafileplayer.h"

#include <QPainter>

namespace Dayloom {

bool MetafilePlayer::LooksLikeMetafile(const QByteArray &bytes)
{
    Q_UNUSED(bytes);
    return false;
}

bool MetafilePlayer::Load(const QByteArray &bytes, QString *error)
{
    Q_UNUSED(bytes);
    if (error)
        *error = QStringLiteral("metafiles cannot be read yet");
    return false;
}

void MetafilePlayer::Play(QPainter &painter, const QRectF &target) const
{
    Q_UNUSED(painter);
    Q_UNUSED(target);
}

} // namespace Dayloom
