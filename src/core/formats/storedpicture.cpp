#include "core/formats/storedpicture.h"

#include "core/graphics/iconreader.h"
#include "core/graphics/metafileplayer.h"

#include <QtEndian>

namespace Dayloom {

namespace {
constexpr qsizetype LengthBytes = 4;

// A graphic's file, whether or not a 4-byte length was put in front of it:
// a file that `looksLike` its kind is taken as it is, else one after the
// length. `plausibleLength` also takes the length form when the length
// agrees with the data (counting itself or not), so that data nothing
// recognises reads back as it was written.
QByteArray FileAfterOptionalLength(const QByteArray &data, bool (*looksLike)(const QByteArray &),
                                   bool plausibleLength)
{
    if (looksLike(data) || data.size() < LengthBytes)
        return data;
    const QByteArray after = data.mid(LengthBytes);
    const quint32 length = qFromLittleEndian<quint32>(data.constData());
    const bool agrees = length == quint64(data.size()) || length == quint64(after.size());
    return looksLike(after) || (plausibleLength && agrees) ? after : data;
}
} // namespace

bool StoredPicture::IsBitmap() const
{
    return m_graphicClass.compare("TBitmap", Qt::CaseInsensitive) == 0;
}

bool StoredPicture::IsMetafile() const
{
    return m_graphicClass.compare("TMetafile", Qt::CaseInsensitive) == 0;
}

bool StoredPicture::IsIcon() const
{
    return m_graphicClass.compare("TIcon", Qt::CaseInsensitive) == 0;
}

QByteArray StoredPicture::ToPictureData() const
{
    if (IsEmpty())
        return QByteArray();
    const QByteArray name = m_graphicClass.left(255);
    QByteArray data;
    data.append(static_cast<char>(name.size()));
    data.append(name);
    if (IsBitmap()) {
        data.append(ToBitmapData(m_fileBytes));
    } else if (IsMetafile()) {
        QByteArray length(LengthBytes, Qt::Uninitialized);
        qToLittleEndian(static_cast<quint32>(LengthBytes + m_fileBytes.size()), length.data());
        data.append(length);
        data.append(m_fileBytes);
    } else {
        data.append(m_fileBytes);
    }
    return data;
}

std::optional<StoredPicture> StoredPicture::FromPictureData(const QByteArray &data)
{
    if (data.isEmpty())
        return StoredPicture();
    const qsizetype nameSize = static_cast<unsigned char>(data.at(0));
    if (1 + nameSize > data.size())
        return std::nullopt;
    StoredPicture picture;
    picture.m_graphicClass = data.mid(1, nameSize);
    const QByteArray rest = data.mid(1 + nameSize);
    if (picture.IsMetafile()) {
        picture.m_fileBytes =
            FileAfterOptionalLength(rest, &MetafilePlayer::LooksLikeMetafile, true);
        return picture;
    }
    if (picture.IsIcon()) {
        picture.m_fileBytes = FileAfterOptionalLength(rest, &IconReader::LooksLikeIcon, false);
        return picture;
    }
    if (!picture.IsBitmap()) {
        picture.m_fileBytes = rest;
        return picture;
    }
    const std::optional<QByteArray> bmp = FromBitmapData(rest);
    if (!bmp)
        return std::nullopt;
    picture.m_fileBytes = *bmp;
    return picture;
}

QByteArray StoredPicture::ToBitmapData(const QByteArray &bmpFile)
{
    QByteArray data(LengthBytes, Qt::Uninitialized);
    qToLittleEndian(static_cast<quint32>(bmpFile.size()), data.data());
    data.append(bmpFile);
    return data;
}

std::optional<QByteArray> StoredPicture::FromBitmapData(const QByteArray &data)
{
    if (data.size() < LengthBytes)
        return std::nullopt;
    const quint32 size = qFromLittleEndian<quint32>(data.constData());
    if (size > quint64(data.size() - LengthBytes))
        return std::nullopt;
    return data.mid(LengthBytes, qsizetype(size));
}

} // namespace Dayloom
