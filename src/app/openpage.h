#pragma once

#include <QObject>
#include <QString>

class frmmain;
namespace platform {
class CommonDialog;
}

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
    void apply(const QString &path);

    frmmain &m;
    platform::CommonDialog *m_dialog;
};
