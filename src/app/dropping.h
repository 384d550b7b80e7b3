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
    FileKind fileKind(const QString &path, bool fresh);
    // What a drop of `data` on `on` would do, run at once when `run` is set.
    bool takes(QWidget *on, const QMimeData &data, bool fresh, bool run);

    QWidget &m;
    ColorEditor &m_editor;
    BackgroundImage &m_image;
    OpenPage &m_openPage;
    // The last file looked at: a drag moving over one control asks again
    // and again, and the file is not read each time.
    QString m_seenPath;
    FileKind m_seenKind = FileKind::None;
};
