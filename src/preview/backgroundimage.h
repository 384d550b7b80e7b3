#pragma once

#include <QObject>

class frmmain;

// The background image: load, tile over the preview, clear, save a copy.
class BackgroundImage : public QObject {
    Q_OBJECT
public:
    explicit BackgroundImage(frmmain &window);

private:
    frmmain &m;
};
