#include "app/appsetup.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPixmap>
#include <QTranslator>

#include "ui/fonts.h"

namespace talik {

bool LoadQtJapanese(QCoreApplication& app)
{
    // Japanese whatever the desktop's language: every text of the program is.
    auto* translator = new QTranslator(&app);
    if (!translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const char* file : {":/talik/talik32-48.png", ":/talik/talik32-128.png"}) {
        // Read as the PNG it is: left to find the format itself, the reader asks every image plugin of
        // the system whether it knows the file, loading each.
        QImageReader reader(file, "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

void SetUpApplication(QApplication& app)
{
    QCoreApplication::setApplicationName("talik32");
    QApplication::setWindowIcon(ProgramIcon());
    // No display name: Qt would append it to every window title, and each title is the program's
    // own, exactly ("Rinmaro (Ver. 7.01) Mode 00").
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    UseWindowFont();
    LoadQtJapanese(app);
}

} // namespace talik
