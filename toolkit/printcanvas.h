// A printer canvas with the operations a print job uses, in device pixels: the
// layout draws onto it, the printer implements it, tests record it.
#pragma once

#include <QString>

class Tprintcanvas
{
public:
    virtual ~Tprintcanvas() = default;

    virtual void begindoc() = 0;
    // The printable area in device pixels, and the vertical resolution in dots
    // per inch, at which font sizes in points are set.
    virtual int pagewidth() const = 0;
    virtual int pageheight() const = 0;
    virtual int vertresolution() const = 0;
    virtual void selectfont(const QString &face, int points, bool bold, bool italic) = 0;
    virtual int textwidth(const QString &text) = 0;
    // Draws with the text's top-left corner at the point.
    virtual void drawtext(int x, int y, const QString &text) = 0;
    virtual void drawline(int x1, int y1, int x2, int y2) = 0;
    virtual void newpage() = 0;
    virtual void enddoc() = 0;
};
