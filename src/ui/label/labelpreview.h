#pragma once

#include <QWidget>

namespace Dayloom {

class TGBaseLabel;

// Shows a label that lives outside any page (the 3D effects dialog's
// sample) on white, at the label's own size from the top left.
class LabelPreview : public QWidget
{
    Q_OBJECT

public:
    explicit LabelPreview(TGBaseLabel *label, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TGBaseLabel *m_label;
};

} // namespace Dayloom
