#pragma once

#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "ui/flatcalendar/flatcalendareditorservices.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace Dayloom {

class ColorSwatchButton;
class FlatCalendarPreview;

// "Floating Calendar Properties": every property of one floating calendar,
// edited on the preview calendar `Sample`. LoadFrom() copies an object's
// properties into the sample (at the object's size at zoom 1); every control
// writes straight into the sample, which repaints; SaveTo() copies them back
// into an object when the dialog ended with Ok. The object itself is never
// touched by the dialog.
//
// While `Loading` is set (from creation to the first activation) the
// controls' changes do not reach the sample. Each activation clears it and
// sets every control from the sample, so that they show it also after the
// font or colour dialog closed.
class TFlatCalendarEditor : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 40015;
    static constexpr int MinYear = 1950;
    static constexpr int MaxYear = 2500;

    explicit TFlatCalendarEditor(
        QWidget *parent = nullptr,
        const FlatCalendarEditorServices &services = FlatCalendarEditorServices::standard());

    // Copies the object's calendar properties into the sample through its
    // setters, and gives the sample the object's size at zoom 1.
    void LoadFrom(const TGFlatCalendar &object);
    // Copies the sample's calendar properties into the object through its
    // setters, as one change; the object keeps its size.
    void SaveTo(TGFlatCalendar &object) const;
    // The properties the editor copies in and back, from one calendar's
    // model into another's, through the setters.
    static void CopyProperties(const FlatCalendarModel &source, FlatCalendarModel &target);
    // An object's size at zoom 1: what its on-screen size divided by its
    // zoom stands for.
    static QSize ZoomOneSize(const TGGraphicControl &object);

    TGFlatCalendar &Sample();
    const TGFlatCalendar &Sample() const;
    FlatCalendarPreview *Preview() const { return m_preview; }
    bool Loading() const { return m_loading; }
    // The activation: clears Loading and sets every control from the sample.
    void Activate();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void BuildControls();
    void Connect();
    // Runs a setter of the sample unless loading.
    void Edit(const std::function<bool(FlatCalendarModel &)> &edit);
    void ChooseFont(const QString &title, const FontSpec &(FlatCalendarModel::*get)() const,
                    bool (FlatCalendarModel::*set)(const FontSpec &));
    void ChooseColor(ColorSwatchButton *button, TColor (FlatCalendarModel::*get)() const,
                     bool (FlatCalendarModel::*set)(TColor));
    // After a font or colour dialog opened by the editor has closed.
    void Reactivated();
    // Shows the year, widening the spinner's range for a year stored
    // outside it.
    void ShowYear(int year);

    FlatCalendarEditorServices m_services;
    bool m_loading = true;

    QComboBox *m_month = nullptr;
    QSpinBox *m_year = nullptr;
    QButtonGroup *m_weekStartsOn = nullptr;
    QCheckBox *m_showYear = nullptr;
    QComboBox *m_headersStyle = nullptr;
    QComboBox *m_language = nullptr;
    QPushButton *m_titleFont = nullptr;
    QPushButton *m_headerFont = nullptr;
    QPushButton *m_cellFont = nullptr;
    QComboBox *m_calendarBorder = nullptr;
    QComboBox *m_headerBorder = nullptr;
    QComboBox *m_cellBorder = nullptr;
    ColorSwatchButton *m_titleBackground = nullptr;
    ColorSwatchButton *m_headerBackground = nullptr;
    ColorSwatchButton *m_bodyBackground = nullptr;
    QCheckBox *m_transparent = nullptr;
    ColorSwatchButton *m_shadowColor = nullptr;
    QComboBox *m_shadowOrientation = nullptr;
    QSpinBox *m_shadowDepth = nullptr;
    QScrollArea *m_scrollBox = nullptr;
    FlatCalendarPreview *m_preview = nullptr;
    QToolButton *m_whatsThis = nullptr;
};

} // namespace Dayloom
