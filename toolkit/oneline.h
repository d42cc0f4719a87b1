// One-line boxes hold one line: a line break typed or pasted into a QLineEdit
// (a spreadsheet cell copies with CR LF) is removed before the box takes it, so
// the box holds what it shows and a saved file keeps one value a line.
#pragma once

#include <QString>

class QWidget;

// Applies that to every edit box `window` shows, each keeping its own validator.
void keepboxesoneline(QWidget *window);

// The text without its line breaks (CR, LF, and the Unicode line and paragraph
// separators); `cursor` moves back by the breaks removed before it.
QString withoutlinebreaks(const QString &text, int *cursor = nullptr);
