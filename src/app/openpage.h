#pragma once

#include <QObject>
#include <QString>

class BackgroundImage;
class ColorEditor;
class UserActions;
class QWidget;
namespace platform {
class CommonDialog;
}

// Ctrl+O in the main window: the colors of a page's first BODY tag (and its
// background image, when it lies beside the page) become the window's.
class OpenPage : public QObject {
    Q_OBJECT
public:
    OpenPage(QWidget &window, ColorEditor &editor, BackgroundImage &image, UserActions &actions, QWidget *focusHome);

    // A page larger than this is not read.
    static constexpr qint64 largestPage = 10 * 1024 * 1024;

    // Asks for a page and takes its colors.
    void open();

    // The colors of the page at `path` (and its picture) become the window's,
    // as when the page is chosen after Ctrl+O; a page that cannot be used is
    // said so.
    void openColors(const QString &path);

private:
    QWidget &m_window;
    ColorEditor &m_editor;
    BackgroundImage &m_image;
    UserActions &m_actions;
    QWidget *m_focusHome;
    platform::CommonDialog *m_dialog;
};
