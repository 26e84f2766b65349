#include "core/formats/storedpicture.h"

#include <QtEndian>

namespace Dayloom {

namespace {
constexpr qsizetype LengthBytes = 4;
}

bool StoredPicture::IsBitmap() const
{
    return m_graphicClass.compare("TBitmap", Qt::CaseInsensitive) == 0;
}

QByteArray StoredPicture::ToPictureData() const
{
    if (IsEmpty())
        return QByteArray();
    const QByteArray name = m_graphicClass.left(255);
    QByteArray data;
    data.append(static_cast<char>(name.size()));
    data.append(name);
    data.append(IsBitmap() ? ToBitmapData(m_fileBytes) : m_fileBytes);
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
