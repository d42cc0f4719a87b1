// What the program asks of the platform at start and of the process.
#pragma once

#include <QString>

class QApplication;

// Substitute faces for the fonts the window designs name, where a platform lacks them.
void installfontsubstitutes();
// Qt's own Chinese texts for the standard buttons of dialogs.
void loadchinesetranslation(QApplication &app);
