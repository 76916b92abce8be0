// The one QApplication of a GUI test program, made on first use (offscreen platform).
#pragma once

#include <QApplication>

namespace kerbon::test {

inline QApplication& qtApp()
{
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "kerbon-test";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);  // lives until the program ends
    }
    return *qobject_cast<QApplication*>(QApplication::instance());
}

}  // namespace kerbon::test
