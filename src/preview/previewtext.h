#pragma once

#include <QObject>

class frmmain;

// The sample text and its font.
class PreviewText : public QObject {
    Q_OBJECT
public:
    explicit PreviewText(frmmain &window);

private:
    frmmain &m;
};
