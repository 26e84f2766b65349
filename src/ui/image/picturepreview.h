#pragma once

#include "core/graphics/picture.h"

#include <QWidget>

namespace Dayloom {

// Shows a picture: stretched over the widget, or at its own size from the
// top left corner (metafiles as vectors either way).
class PicturePreview : public QWidget
{
public:
    explicit PicturePreview(QWidget *parent = nullptr);

    const Picture &GetPicture() const { return m_picture; }
    void SetPicture(const Picture &picture);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool stretch);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
    bool m_stretch = false;
};

} // namespace Dayloom
