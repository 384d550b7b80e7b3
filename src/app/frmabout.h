#pragma once

#include <QDialog>

class QPushButton;

// The about window: program title, version, notice and the home page link.
class frmabout : public QDialog {
    Q_OBJECT
public:
    explicit frmabout(QWidget *owner);

    QPushButton *cmdok;
};
