#pragma once
// TfsCheckBox: the check box of the option pages. Every one of them on any page of the
// main window is stored in the project's options under its object name, so the loading and
// saving of options find them by this class.

#include <QCheckBox>

class TfsCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
};
