#pragma once

#include <QObject>
#include <QString>

class BackgroundImage;
class ColorEditor;
class OpenPage;
class QMimeData;
class QWidget;

// Drops on the main window: a picture file becomes the background image, a
// web page gives its colors (both anywhere on the window), and a color's text
// dropped on a target's swatch, hex box or preview element becomes that
// target's color. Anything else is refused.
class Dropping : public QObject {
    Q_OBJECT
public:
    Dropping(QWidget &window, ColorEditor &editor, BackgroundImage &image, OpenPage &openPage);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class FileKind { None, Picture, Page };
    static FileKind fileKind(const QString &path);
    // Whether a drag over `on` is taken, judged from its formats alone.
    bool offers(QWidget *on, const QMimeData &data) const;
    // Reads the dropped data and does what it asks; false when it cannot be used.
    bool take(QWidget *on, const QMimeData &data);

    QWidget &m;
    ColorEditor &m_editor;
    BackgroundImage &m_image;
    OpenPage &m_openPage;
};
