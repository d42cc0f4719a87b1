// What the program asks of the platform at start and of the process.
#pragma once

#include <QString>

class QApplication;
class QFont;
class QWidget;

// Substitute faces for the fonts the window designs name, where a platform lacks them.
void installfontsubstitutes();
// The width `text` takes in `font`, the slant of an italic's last glyph included.
int textwidth(const QFont &font, const QString &text);
// The stretch (100: as designed) at which `text` fits `width` in `font`, down to
// a face condensed to 75; a substitute face may be wider than the one designed for.
int stretchtofit(const QFont &font, const QString &text, int width);
// Condenses the face of every one-line label of `window` whose text would be cut
// at its edge; the label's place and size stay as designed.
void condenselabelstofit(QWidget *window);
// Qt's own Chinese texts for the standard buttons of dialogs.
void loadchinesetranslation(QApplication &app);
