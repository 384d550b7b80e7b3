#pragma once

#include "color/colortargets.h"
#include "color/contrast.h"

#include <QFrame>
#include <QString>

#include <array>

class ClickLabel;
class ColorEditor;
class QLabel;
class UserActions;

// The contrast strip in the free band at the bottom of the main window: one
// line that grades the text and the three link colors against the
// background (the worst pixel of a background image), marks links that lie
// too close to the text, and fixes a failing color by its lightness when its
// entry is clicked or its key (Alt+1 to Alt+4) pressed.
class ContrastStrip : public QFrame {
    Q_OBJECT
public:
    // Placed in `window`, below its controls; it judges the colors `editor`
    // shows over `preview`.
    ContrastStrip(QWidget &window, ColorEditor &editor, QWidget &preview, UserActions &actions);

    // What the strip shows for the colors as they are now.
    const contrast::Report &report();
    // The full sentence, also the strip's accessible description.
    QString sentence();

    // Reads the five colors again and shows them once the current event is
    // handled: one change of the selection moves a color several times, and
    // the strip need only show where it ends.
    void refresh();
    // Reads the five colors again and shows them at once.
    void refreshNow();
    // A picture was loaded into the preview (its file) or cleared (empty):
    // the preview's pixels are read again.
    void setPicture(const QString &file);

    // The preview's own pixels, without the sample labels and without any
    // color-vision simulation: what a page's text would stand on.
    static QImage previewPixels(QWidget *preview, const QColor &back);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fix(ColorTarget target);
    bool imageLoaded() const { return !m_picture.isEmpty(); }
    const contrast::Backdrop &backdrop();
    void showMessage(const QString &message);
    void placeEntries();

    ColorEditor &m_editor;
    QWidget &m_preview;
    UserActions &m_actions;
    QString m_picture;
    QLabel *m_lead;
    std::array<ClickLabel *, contrast::Graded> m_entries;
    QLabel *m_note;
    QLabel *m_message;
    contrast::Report m_report;
    QString m_sentence;
    bool m_pending = false;
    // The editor's notice, shown once the colors it came with are.
    QString m_notice;

    contrast::Backdrop m_plain;
    contrast::Backdrop m_image;
    // What the image scan was taken of; a different image or back color
    // asks for a new scan.
    QString m_scannedFile;
    contrast::Rgb m_scannedBack{-1, -1, -1};
};
