#pragma once

#include <QObject>
#include <QString>

class frmmain;
namespace platform {
class CommonDialog;
}

// The colors of the page at `path` (and its picture) become the window's, as
// when the page is chosen after Ctrl+O; a page that cannot be used is said so.
void openPageColors(frmmain &window, const QString &path);

// Ctrl+O in the main window: the colors of a page's first BODY tag (and its
// background image, when it lies beside the page) become the window's.
class OpenPage : public QObject {
    Q_OBJECT
public:
    explicit OpenPage(frmmain &window);

    // A page larger than this is not read.
    static constexpr qint64 largestPage = 10 * 1024 * 1024;

    // Asks for a page and takes its colors.
    void open();

private:
    frmmain &m;
    platform::CommonDialog *m_dialog;
};
