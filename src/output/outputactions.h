#pragma once

#include <QObject>

class frmmain;

// The program's products: the BODY tag window, the single-color copies and
// the page generator.
class OutputActions : public QObject {
    Q_OBJECT
public:
    explicit OutputActions(frmmain &window);

private:
    frmmain &m;
};
