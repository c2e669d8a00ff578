#pragma once
// What the address book sets on its application object before any window exists.
class QApplication;
class QCoreApplication;
class QIcon;

namespace talik {

// The address book's icon (48 and 128 pixels), built into the program: the same one the desktop
// menu shows from the installed icon theme.
QIcon ProgramIcon();

// Names the program, gives its windows the program's icon, keeps it alive while only the
// notification-area icon is left, puts the IPA fonts in place of the stored font names and makes
// Qt's own buttons and dialogs Japanese. Window titles are left exactly as each window sets them.
void SetUpApplication(QApplication& app);

// Loads Qt's own Japanese texts (standard buttons, file dialogs) into `app`. False when the
// translation file is missing: Qt's English texts then stay.
bool LoadQtJapanese(QCoreApplication& app);

} // namespace talik
