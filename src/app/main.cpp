// kerbon: the editor.
#include <QApplication>

#include "gui/MainUnit.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kerbon");
    TMainForm w;
    w.show();
    return app.exec();
}
