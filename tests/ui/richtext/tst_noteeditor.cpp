#include "core/richtext/notedocument.h"
#include "core/richtext/noterenderer.h"
#include "core/richtext/twprtfstorage.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"
#include "ui/richtext/textcolortable.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

using namespace Dayloom;

namespace {

const QString LongText =
    QStringLiteral("The quick brown fox jumps over the lazy dog while the cat sleeps on the warm "
                   "windowsill next to the garden door");

// A window holding a formatting bar, two note editors and a line edit.
struct Host
{
    Host()
    {
        auto *layout = new QVBoxLayout(&window);
        bar = new FormattingBar(&window);
        first = new NoteEditor(&window);
        second = new NoteEditor(&window);
        other = new QLineEdit(&window);
        for (QWidget *w : {static_cast<QWidget *>(bar), static_cast<QWidget *>(first),
                           static_cast<QWidget *>(second), static_cast<QWidget *>(other)})
            layout->addWidget(w);
        for (NoteEditor *editor : {first, second}) {
            editor->SetPageSizeTwips(QSize(NoteEditor::PixelsToTwips(200), 1500));
            editor->setMinimumHeight(100);
            bar->RegisterEditor(editor);
        }
        window.resize(500, 400);
    }

    bool Show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    QWidget window;
    FormattingBar *bar = nullptr;
    NoteEditor *first = nullptr;
    NoteEditor *second = nullptr;
    QLineEdit *other = nullptr;
};

// Types text, including characters beyond ASCII that QTest::keyClicks refuses.
void Type(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        const Qt::Key key = ch.unicode() < 128 ? Qt::Key(ch.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(ch), Qt::NoModifier);
    }
}

TWPRtfStorage MakeNote(const QString &text, int points = 10)
{
    NoteDocument doc;
    doc.InsertText(text, FontSpec(QStringLiteral("Arial"), points));
    doc.NewParagraph();
    doc.InsertText(QStringLiteral("Second paragraph"), FontSpec(QStringLiteral("Arial"), 12));
    TWPRtfStorage note;
    doc.StoreTo(note);
    return note;
}

// The stored note read back into a fresh document.
std::unique_ptr<QTextDocument> ReadBack(const NoteEditor &editor)
{
    TWPRtfStorage note;
    editor.StoreTo(note);
    auto doc = std::make_unique<QTextDocument>();
    if (!note.IsEmpty() && !note.LoadInto(*doc))
        return nullptr;
    return doc;
}

// The character attributes of the character at a position of a document.
FontSpec AttributesAt(const QTextDocument &doc, int position)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&doc));
    cursor.setPosition(position + 1);
    return NoteDocument::FontFromFormat(cursor.charFormat(), doc.defaultFont());
}

void SelectLast(NoteEditor &editor, int count)
{
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, count);
    editor.setTextCursor(cursor);
}

enum class Style
{
    Bold,
    Italic,
    Underline
};

bool HasStyle(const FontSpec &font, Style style)
{
    switch (style) {
    case Style::Bold:
        return font.Bold();
    case Style::Italic:
        return font.Italic();
    case Style::Underline:
        return font.Underline();
    }
    return false;
}

QAction *StyleAction(const FormattingBar &bar, Style style)
{
    switch (style) {
    case Style::Bold:
        return bar.BoldAction();
    case Style::Italic:
        return bar.ItalicAction();
    case Style::Underline:
        return bar.UnderlineAction();
    }
    return nullptr;
}

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 128;
}

QRect InkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

Q_DECLARE_METATYPE(Style)

class TestNoteEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typedTextStoresAsReadableRtf_data();
    void typedTextStoresAsReadableRtf();
    void loadingIsNotAnEdit_data();
    void loadingIsNotAnEdit();
    void styleFromBarAppliesToSelection_data();
    void styleFromBarAppliesToSelection();
    void barListsApplyAndReflectAttributes();
    void barFollowsTheFocus();
    void cellKeysAreSignalsNotText_data();
    void cellKeysAreSignalsNotText();
    void ctrlASelectsAllBeforeShortcuts();
    void lineBreaksMatchThePaintedNote_data();
    void lineBreaksMatchThePaintedNote();
    void showsTheNoteAsThePageDoes();
    void clickPlacesTheCursorAtAnyZoom_data();
    void clickPlacesTheCursorAtAnyZoom();
    void scrollsOnlyWhenTheTextOverflows_data();
    void scrollsOnlyWhenTheTextOverflows();
    void emptyEditorTypesInTheDefaultFont_data();
    void emptyEditorTypesInTheDefaultFont();
    void emptyEditorKeepsAttributesChosenInTheBar();
    void picturesAreStoredAsPng();
    void droppedPictureGoesToTheInsertionPoint();
    void colorTableLookups_data();
    void colorTableLookups();
};

void TestNoteEditor::typedTextStoresAsReadableRtf_data()
{
    QTest::addColumn<QStringList>("paragraphs");
    QTest::newRow("one line") << QStringList{QStringLiteral("Dentist at 10")};
    QTest::newRow("two paragraphs")
        << QStringList{QStringLiteral("Lunch"), QStringLiteral("Call Anna")};
    QTest::newRow("accents and euro")
        << QStringList{QStringLiteral("Caf\u00e9 \u20ac5"), QStringLiteral("\u00fcber")};
    QTest::newRow("braces and backslash") << QStringList{QStringLiteral("a{b}c\\d")};
}

void TestNoteEditor::typedTextStoresAsReadableRtf()
{
    QFETCH(QStringList, paragraphs);
    Host host;
    QVERIFY(host.Show());
    NoteEditor &editor = *host.first;
    editor.setFocus();
    QSignalSpy changes(&editor, &NoteEditor::noteChanged);
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            QTest::keyClick(&editor, Qt::Key_Return);
        Type(&editor, paragraphs[i]);
    }
    QVERIFY(changes.count() > 0);
    const auto doc = ReadBack(editor);
    QVERIFY(doc);
    QCOMPARE(doc->toPlainText(), paragraphs.join('\n'));
}

void TestNoteEditor::loadingIsNotAnEdit_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("text");
    QTest::newRow("note") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello}")
                          << true << QStringLiteral("Hello");
    QTest::newRow("empty note") << QByteArray() << true << QString();
    QTest::newRow("not rtf") << QByteArray("plain words") << false << QString();
}

void TestNoteEditor::loadingIsNotAnEdit()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, readable);
    QFETCH(QString, text);
    NoteEditor editor;
    QTest::keyClicks(&editor, QStringLiteral("old text"));
    QSignalSpy changes(&editor, &NoteEditor::noteChanged);
    TWPRtfStorage note;
    note.SetRtfText(rtf);
    QString error;
    QCOMPARE(editor.LoadFrom(note, &error), readable);
    QCOMPARE(error.isEmpty(), readable);
    QCOMPARE(editor.toPlainText(), text);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(editor.textCursor().position(), 0);
    // The loaded text is not undone to the text before it.
    QVERIFY(!editor.document()->isUndoAvailable());
    QTest::keyClicks(&editor, QStringLiteral("x"));
    QCOMPARE(changes.count(), 1);
}

void TestNoteEditor::styleFromBarAppliesToSelection_data()
{
    QTest::addColumn<Style>("style");
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("bold") << Style::Bold << QKeySequence();
    QTest::newRow("italic") << Style::Italic << QKeySequence();
    QTest::newRow("underline") << Style::Underline << QKeySequence();
    // The platform's keys for the three styles did nothing.
    QTest::newRow("bold by key") << Style::Bold << QKeySequence(QKeySequence::Bold);
    QTest::newRow("italic by key") << Style::Italic << QKeySequence(QKeySequence::Italic);
    QTest::newRow("underline by key") << Style::Underline
                                      << QKeySequence(QKeySequence::Underline);
}

void TestNoteEditor::styleFromBarAppliesToSelection()
{
    QFETCH(Style, style);
    QFETCH(QKeySequence, key);
    Host host;
    QVERIFY(host.Show());
    NoteEditor &editor = *host.first;
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("plain styled"));
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&editor, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(editor.textCursor().selectedText(), QStringLiteral("styled"));
    QAction *action = StyleAction(*host.bar, style);
    QVERIFY(!action->isChecked());
    if (key.isEmpty())
        action->trigger();
    else
        QTest::keySequence(&editor, key);

    const auto doc = ReadBack(editor);
    QVERIFY(doc);
    QCOMPARE(doc->toPlainText(), QStringLiteral("plain styled"));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(HasStyle(AttributesAt(*doc, i), style), i >= 6);

    // The bar shows the style of the text at the cursor.
    QTest::keyClick(&editor, Qt::Key_Home);
    QTest::keyClick(&editor, Qt::Key_Right);
    QVERIFY(!action->isChecked());
    QTest::keyClick(&editor, Qt::Key_End);
    QVERIFY(action->isChecked());
}

void TestNoteEditor::barListsApplyAndReflectAttributes()
{
    Host host;
    QVERIFY(host.Show());
    NoteEditor &editor = *host.first;
    FormattingBar &bar = *host.bar;
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("small BIG"));
    SelectLast(editor, 3);
    Q_EMIT bar.FontSizeBox()->textActivated(QStringLiteral("20"));
    Q_EMIT bar.FontColorBox()->activated(9); // red
    Q_EMIT bar.FontNameBox()->textActivated(QStringLiteral("DejaVu Serif"));
    QCOMPARE(QApplication::focusWidget(), &editor);
    bar.AlignCenterAction()->trigger();

    const auto doc = ReadBack(editor);
    QVERIFY(doc);
    const FontSpec big = AttributesAt(*doc, 7);
    QCOMPARE(big.Size(), 20);
    QCOMPARE(big.Color(), clRed);
    QCOMPARE(big.Name(), QStringLiteral("DejaVu Serif"));
    QVERIFY(AttributesAt(*doc, 1).Size() != 20);
    QCOMPARE(doc->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    QTest::keyClick(&editor, Qt::Key_Home);
    QTest::keyClick(&editor, Qt::Key_Right);
    QVERIFY(bar.FontSizeBox()->currentText() != QStringLiteral("20"));
    QCOMPARE(bar.FontColorBox()->currentIndex(), 0);
    QVERIFY(bar.AlignCenterAction()->isChecked());
    QTest::keyClick(&editor, Qt::Key_End);
    QCOMPARE(bar.FontSizeBox()->currentText(), QStringLiteral("20"));
    QCOMPARE(bar.FontColorBox()->currentIndex(), 9);
    QCOMPARE(bar.FontNameBox()->currentText(), QStringLiteral("DejaVu Serif"));

    // A typed size below the smallest offered one is refused.
    Q_EMIT bar.FontSizeBox()->textActivated(QStringLiteral("3"));
    QCOMPARE(editor.CurrentFontSize(), 20);
    QCOMPARE(bar.FontSizeBox()->currentText(), QStringLiteral("20"));
}

void TestNoteEditor::barFollowsTheFocus()
{
    Host host;
    FormattingBar &bar = *host.bar;
    QVERIFY(!bar.isEnabled());
    QVERIFY(host.Show());
    QSignalSpy bindings(&bar, &FormattingBar::editorChanged);

    host.first->SetCurrentFontSize(11);
    host.second->SetCurrentFontSize(26);
    host.first->setFocus();
    QVERIFY(bar.isEnabled());
    QCOMPARE(bar.Editor(), host.first);
    QCOMPARE(bar.FontSizeBox()->currentText(), QStringLiteral("11"));

    host.second->setFocus();
    QCOMPARE(bar.Editor(), host.second);
    QCOMPARE(bar.FontSizeBox()->currentText(), QStringLiteral("26"));
    bar.BoldAction()->trigger();
    QVERIFY(host.second->CurrentBold());
    QVERIFY(!host.first->CurrentBold());

    // Working in the bar's own lists keeps it bound.
    bar.FontSizeBox()->setFocus();
    QVERIFY(bar.isEnabled());
    QCOMPARE(bar.Editor(), host.second);

    host.other->setFocus();
    QVERIFY(!bar.isEnabled());
    QCOMPARE(bar.Editor(), nullptr);

    // An editor the bar does not know leaves it disabled.
    host.first->setFocus();
    bar.UnregisterEditor(host.first);
    QVERIFY(!bar.isEnabled());
    host.second->setFocus();
    host.first->setFocus();
    QVERIFY(!bar.isEnabled());

    // Regression: a hidden editor kept the focus, the bar and the keys typed.
    host.second->setFocus();
    QVERIFY(bar.isEnabled());
    host.second->hide();
    QVERIFY(!host.second->hasFocus());
    QVERIFY(!bar.isEnabled());
    const QString before = host.second->toPlainText();
    if (QWidget *focus = QApplication::focusWidget())
        QTest::keyClicks(focus, QStringLiteral("zz"));
    QCOMPARE(host.second->toPlainText(), before);

    // A destroyed editor unbinds the bar.
    host.first->show();
    bar.RegisterEditor(host.first);
    host.first->setFocus();
    QVERIFY(bar.isEnabled());
    delete host.first;
    QVERIFY(!bar.isEnabled());
    QCOMPARE(bar.Editor(), nullptr);
    QCOMPARE(bindings.last().at(0).value<NoteEditor *>(), nullptr);
}

void TestNoteEditor::cellKeysAreSignalsNotText_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    QTest::newRow("tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers() << 1 << 0;
    QTest::newRow("shift tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0
                               << 1;
    QTest::newRow("backtab") << int(Qt::Key_Backtab) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                             << 0 << 1;
}

void TestNoteEditor::cellKeysAreSignalsNotText()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, next);
    QFETCH(int, previous);
    Host host;
    QVERIFY(host.Show());
    NoteEditor &editor = *host.first;
    editor.setFocus();
    QSignalSpy nextSpy(&editor, &NoteEditor::nextCellRequested);
    QSignalSpy previousSpy(&editor, &NoteEditor::previousCellRequested);
    QTest::keyClicks(&editor, QStringLiteral("ab"));
    QTest::keyClick(&editor, Qt::Key(key), modifiers);
    QTest::keyClicks(&editor, QStringLiteral("c"));
    QCOMPARE(nextSpy.count(), next);
    QCOMPARE(previousSpy.count(), previous);
    QCOMPARE(editor.toPlainText(), QStringLiteral("abc"));
    // The key does not move the focus on to the next widget either.
    QCOMPARE(QApplication::focusWidget(), &editor);
}

void TestNoteEditor::ctrlASelectsAllBeforeShortcuts()
{
    Host host;
    auto *shortcut = new QAction(&host.window);
    shortcut->setShortcut(QKeySequence::SelectAll);
    host.window.addAction(shortcut);
    QSignalSpy shortcutSpy(shortcut, &QAction::triggered);
    QVERIFY(host.Show());
    NoteEditor &editor = *host.first;
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("one"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("two"));
    QTest::keySequence(&editor, QKeySequence::SelectAll);
    QCOMPARE(shortcutSpy.count(), 0);
    QCOMPARE(editor.textCursor().selectionStart(), 0);
    QCOMPARE(editor.textCursor().selectionEnd(), 7);
}

void TestNoteEditor::lineBreaksMatchThePaintedNote_data()
{
    QTest::addColumn<int>("zoomPercent");
    QTest::addColumn<int>("shownWidth"); // pixels of the note area at that zoom
    QTest::newRow("60 %") << 60 << 120;
    QTest::newRow("50 %") << 50 << 75;
    QTest::newRow("100 %") << 100 << 180;
    QTest::newRow("20 %") << 20 << 40;
    // The base class lays text out at whole pixels; 121 / 0.6 is not one.
    QTest::newRow("60 %, width in fractions of a pixel") << 60 << 121;
}

void TestNoteEditor::lineBreaksMatchThePaintedNote()
{
    QFETCH(int, zoomPercent);
    QFETCH(int, shownWidth);
    const TWPRtfStorage note = MakeNote(LongText);
    const double zoom = zoomPercent / 100.0;
    // The page lays its notes out at the shown size divided by the zoom.
    const double pageWidth = shownWidth / zoom;

    NoteRenderer renderer;
    renderer.SetPageSize(QSizeF(pageWidth, 150));
    const QList<NoteRenderer::LineRange> expected = renderer.Lines(note);
    QVERIFY2(expected.size() >= 4, "the sample wraps onto several lines");
    // The sample is one whose breaks change when laid out at the shown width.
    if (zoomPercent < 100) {
        QTextDocument naive;
        QVERIFY(note.LoadInto(naive));
        NoteRenderer::PrepareLayout(naive, shownWidth);
        QVERIFY(NoteRenderer::Lines(naive) != expected);
    }

    NoteEditor editor;
    editor.SetZoomPercent(zoomPercent);
    editor.SetPageSizeTwips(QSize(NoteEditor::PixelsToTwips(shownWidth), 1500));
    QVERIFY(editor.LoadFrom(note));
    editor.resize(editor.ShownSize());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.LayoutWidth(), pageWidth);
    QCOMPARE(editor.document()->textWidth(), pageWidth);
    QCOMPARE(NoteRenderer::Lines(*editor.document()), expected);

    // Typing keeps the breaks of the painted note.
    QTest::keyClicks(&editor, QStringLiteral("Also "));
    TWPRtfStorage edited;
    editor.StoreTo(edited);
    QCOMPARE(NoteRenderer::Lines(*editor.document()), renderer.Lines(edited));

    // A resize after loading does not change the layout width.
    editor.resize(editor.ShownSize() + QSize(13, 7));
    QCOMPARE(editor.document()->textWidth(), pageWidth);
}

void TestNoteEditor::showsTheNoteAsThePageDoes()
{
    const TWPRtfStorage note = MakeNote(LongText, 12);
    const int zoomPercent = 60;
    const QSize shown(120, 90);
    NoteEditor editor;
    editor.SetZoomPercent(zoomPercent);
    editor.SetPageSizeTwips(
        QSize(NoteEditor::PixelsToTwips(shown.width()), NoteEditor::PixelsToTwips(shown.height())));
    QVERIFY(editor.LoadFrom(note));
    editor.resize(editor.ShownSize());
    QCOMPARE(editor.size(), shown);
    const QImage seen = editor.grab().toImage();

    NoteRenderer renderer;
    renderer.SetZoom(zoomPercent / 100.0);
    renderer.SetPageSize(QSizeF(shown) / (zoomPercent / 100.0));
    QImage painted(shown, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::green);
    {
        QPainter painter(&painted);
        renderer.Paint(painter, QRectF(QPointF(), QSizeF(shown)), note);
    }
    const QRect seenInk = InkBox(seen);
    const QRect paintedInk = InkBox(painted);
    QVERIFY(!paintedInk.isEmpty());
    // Antialiasing may differ by a pixel between the widget and the scratch image.
    QVERIFY2(std::abs(seenInk.left() - paintedInk.left()) <= 1 &&
                 std::abs(seenInk.top() - paintedInk.top()) <= 1 &&
                 std::abs(seenInk.right() - paintedInk.right()) <= 1 &&
                 std::abs(seenInk.bottom() - paintedInk.bottom()) <= 1,
             qPrintable(QDebug::toString(seenInk) + " vs " + QDebug::toString(paintedInk)));
}

void TestNoteEditor::clickPlacesTheCursorAtAnyZoom_data()
{
    QTest::addColumn<int>("zoomPercent");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("offset"); // characters into the line
    QTest::newRow("60 %, start of the second line") << 60 << 1 << 0;
    QTest::newRow("60 %, inside the third line") << 60 << 2 << 4;
    QTest::newRow("100 %, inside the second line") << 100 << 1 << 3;
    QTest::newRow("50 %, inside the last line") << 50 << -1 << 2;
}

void TestNoteEditor::clickPlacesTheCursorAtAnyZoom()
{
    QFETCH(int, zoomPercent);
    QFETCH(int, line);
    QFETCH(int, offset);
    const double zoom = zoomPercent / 100.0;
    NoteEditor editor;
    editor.SetZoomPercent(zoomPercent);
    editor.SetPageSizeTwips(QSize(NoteEditor::PixelsToTwips(int(150 * zoom)),
                                  NoteEditor::PixelsToTwips(int(200 * zoom))));
    QVERIFY(editor.LoadFrom(MakeNote(LongText)));
    editor.resize(editor.ShownSize());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    const QList<NoteRenderer::LineRange> lines = NoteRenderer::Lines(*editor.document());
    QVERIFY(lines.size() >= 4);
    const int target = lines.at(line < 0 ? lines.size() - 1 : line).start + offset;
    QTextCursor probe(editor.document());
    probe.setPosition(target);
    const QRectF caret = editor.cursorRect(probe); // page pixels
    const QPoint click = (caret.center() * zoom).toPoint();
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, click);
    QCOMPARE(editor.textCursor().position(), target);
}

void TestNoteEditor::scrollsOnlyWhenTheTextOverflows_data()
{
    QTest::addColumn<int>("zoomPercent");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("overflows");
    // Regression: scrolling as if the text were unscaled moved a note that
    // fits its area at 60 % out of sight.
    QTest::newRow("fits at 60 %") << 60 << 5 << false;
    QTest::newRow("fits at 100 %") << 100 << 5 << false;
    QTest::newRow("overflows at 60 %") << 60 << 14 << true;
    QTest::newRow("overflows at 100 %") << 100 << 14 << true;
}

void TestNoteEditor::scrollsOnlyWhenTheTextOverflows()
{
    QFETCH(int, zoomPercent);
    QFETCH(int, lines);
    QFETCH(bool, overflows);
    const double zoom = zoomPercent / 100.0;
    NoteEditor editor;
    editor.SetZoomPercent(zoomPercent);
    // 200 x 120 page pixels at zoom 1.
    editor.SetPageSizeTwips(QSize(NoteEditor::PixelsToTwips(int(200 * zoom)),
                                  NoteEditor::PixelsToTwips(int(120 * zoom))));
    editor.resize(editor.ShownSize());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.SetCurrentFontSize(10);
    for (int i = 0; i < lines; ++i) {
        if (i > 0)
            QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, QStringLiteral("line"));
    }
    QCOMPARE(editor.document()->size().height() > 120, overflows);
    QCOMPARE(editor.ScrollOffset() > 0, overflows);
    const QRectF caret = editor.cursorRect();
    QVERIFY((caret.bottom() - editor.ScrollOffset()) * zoom <= editor.height() + 0.5);

    QTest::keyClick(&editor, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(editor.ScrollOffset(), 0.0);
}

void TestNoteEditor::emptyEditorTypesInTheDefaultFont_data()
{
    QTest::addColumn<TColor>("color");
    QTest::addColumn<TColor>("expectedColor");
    QTest::addColumn<bool>("explicitCall");
    QTest::newRow("on getting the focus") << clRed << clRed << false;
    QTest::newRow("by SetDefaultFontNow") << clNavy << clNavy << true;
    QTest::newRow("colour outside the table becomes entry 0")
        << TColor(0x123456) << clBlack << false;
}

void TestNoteEditor::emptyEditorTypesInTheDefaultFont()
{
    QFETCH(TColor, color);
    QFETCH(TColor, expectedColor);
    QFETCH(bool, explicitCall);
    Host host;
    QVERIFY(host.Show());
    NoteEditor &editor = *host.first;
    FontSpec font(QStringLiteral("DejaVu Serif"), 14, true, color);
    font.SetItalic(true);
    if (!explicitCall)
        editor.SetDefaultFont(font);
    QVERIFY(editor.LoadFrom(TWPRtfStorage()));
    if (explicitCall) {
        editor.SetDefaultFont(font);
        editor.SetDefaultFontNow();
    }
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("xy"));
    const auto doc = ReadBack(editor);
    QVERIFY(doc);
    const FontSpec typed = AttributesAt(*doc, 0);
    QCOMPARE(typed.Name(), font.Name());
    QCOMPARE(typed.Size(), 14);
    QVERIFY(typed.Bold());
    QVERIFY(typed.Italic());
    QCOMPARE(typed.Color(), expectedColor);
}

// Regression: a size chosen in an empty editor was reset to the default font
// when the focus came back from the bar's size list.
void TestNoteEditor::emptyEditorKeepsAttributesChosenInTheBar()
{
    Host host;
    QVERIFY(host.Show());
    NoteEditor &editor = *host.first;
    editor.SetDefaultFont(FontSpec(QStringLiteral("DejaVu Sans"), 10));
    QVERIFY(editor.LoadFrom(TWPRtfStorage()));
    editor.setFocus();
    host.bar->FontSizeBox()->setFocus();
    Q_EMIT host.bar->FontSizeBox()->textActivated(QStringLiteral("24"));
    QCOMPARE(QApplication::focusWidget(), &editor);
    QTest::keyClicks(&editor, QStringLiteral("big"));
    const auto doc = ReadBack(editor);
    QVERIFY(doc);
    QCOMPARE(AttributesAt(*doc, 0).Size(), 24);

    // A fresh empty note starts over in the default font.
    QVERIFY(editor.LoadFrom(TWPRtfStorage()));
    host.other->setFocus();
    editor.setFocus();
    QCOMPARE(editor.CurrentFontSize(), 10);
}

void TestNoteEditor::picturesAreStoredAsPng()
{
    NoteEditor editor;
    QSignalSpy changes(&editor, &NoteEditor::noteChanged);
    editor.InsertPicture(QImage());
    TWPRtfStorage note;
    editor.StoreTo(note);
    QVERIFY(note.IsEmpty());
    QCOMPARE(changes.count(), 0);

    QTest::keyClicks(&editor, QStringLiteral("Party "));
    QImage icon(10, 6, QImage::Format_ARGB32);
    icon.fill(Qt::blue);
    editor.InsertPicture(icon);
    QCOMPARE(changes.count(), 7);
    editor.StoreTo(note);
    QVERIFY(note.RtfText().contains("\\pngblip"));

    QTextDocument doc;
    QVERIFY(note.LoadInto(doc));
    QTextCursor cursor(&doc);
    cursor.setPosition(7);
    QVERIFY(cursor.charFormat().isImageFormat());
    const QTextImageFormat image = cursor.charFormat().toImageFormat();
    QCOMPARE(image.width(), 10.0);
    QCOMPARE(image.height(), 6.0);
}

void TestNoteEditor::droppedPictureGoesToTheInsertionPoint()
{
    NoteEditor editor;
    editor.SetPageSizeTwips(QSize(3000, 1500));
    editor.resize(editor.ShownSize());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QTest::keyClicks(&editor, QStringLiteral("abcd"));
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    QMimeData data;
    data.setImageData(icon);
    const QPoint start(1, 1);
    QDragEnterEvent enter(start, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(editor.viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(start, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(editor.viewport(), &drop);
    QVERIFY(drop.isAccepted());
    QTextCursor cursor(editor.document());
    cursor.setPosition(5);
    QVERIFY(cursor.charFormat().isImageFormat());
    QCOMPARE(editor.toPlainText().left(4), QStringLiteral("abcd"));
}

void TestNoteEditor::colorTableLookups_data()
{
    QTest::addColumn<TColor>("color");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("indexOrFirst");
    QTest::newRow("black") << clBlack << 0 << 0;
    QTest::newRow("red") << clRed << 9 << 9;
    QTest::newRow("white") << clWhite << 15 << 15;
    QTest::newRow("system window text resolves to black") << clWindowText << 0 << 0;
    QTest::newRow("not in the table") << TColor(0x123456) << -1 << 0;
}

void TestNoteEditor::colorTableLookups()
{
    QFETCH(TColor, color);
    QFETCH(int, index);
    QFETCH(int, indexOrFirst);
    QCOMPARE(TextColorTable::IndexOf(color), index);
    QCOMPARE(TextColorTable::IndexOrFirst(color), indexOrFirst);
    NoteEditor editor;
    QTest::keyClicks(&editor, QStringLiteral("word"));
    editor.selectAll();
    if (index >= 0) {
        editor.SetCurrentColorIndex(index);
        QCOMPARE(editor.CurrentColorIndex(), index);
        QCOMPARE(editor.CurrentAttributes().Color(), TextColorTable::ColorAt(index));
    }
}

QTEST_MAIN(TestNoteEditor)
#include "tst_noteeditor.moc"
