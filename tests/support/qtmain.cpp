// The main of the form tests: the real widgets need an application object.
#include <QApplication>

#include <gtest/gtest.h>

#include "ui/fonts.h"

int main(int argc, char** argv)
{
    // Form tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    talik::InstallFontSubstitutions();
    talik::UseWindowFont(); // the windows as the program draws them
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
