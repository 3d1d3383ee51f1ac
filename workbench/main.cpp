// folioset: the book preparation workbench.

#include "MainForm.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Листовик 2.0"));
    TMainForm form({QCoreApplication::applicationFilePath(), nullptr});
    form.show();
    return app.exec();
}
