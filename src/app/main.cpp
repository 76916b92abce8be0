// kerbon: the editor. The first command-line argument is a DXF file to open.
#include <QApplication>

#include "gui/MainUnit.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kerbon");
    TMainForm::Setup setup;
    const QStringList all = QApplication::arguments();
    setup.args = all.mid(1);
    TMainForm w(setup);
    w.show();
    return app.exec();
}
