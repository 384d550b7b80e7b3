#pragma once

#include <QObject>
#include <QString>

class frmmain;
class PreviewBox;
class QLabel;

// The background image: load, tile over the preview, clear, save a copy.
class BackgroundImage : public QObject {
    Q_OBJECT
public:
    explicit BackgroundImage(frmmain &window);

    // Tiles the picture held by `theOriginalPic` over `theTiledPic`: the
    // holder's size is the whole picture's, its pixmap that or its top-left part.
    static void TilePicture(PreviewBox *theTiledPic, QLabel *theOriginalPic);

    // Loads the picture as "Load Image" does once a file is chosen; a file
    // that is no picture changes nothing.
    void loadPicture(const QString &path);
    // Clears the picture as "Clear Image" does.
    void clearPicture();

private:
    void cmdload_Click();
    void cmdclear_Click();
    void cmdsave_Click();

    frmmain &m;
};
