#pragma once

#include <QObject>

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

private:
    void cmdload_Click();
    void cmdclear_Click();
    void cmdsave_Click();

    frmmain &m;
};
