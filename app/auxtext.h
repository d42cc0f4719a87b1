// The producer text files beside the program: one enciphered hex line per label.
#pragma once

#include <QString>

class Ttextreader;

// Opens "附属/<name>" in the program's folder; fails with the file error.
Ttextreader openauxfile(const QString &programfolder, const QString &name);
// Reads the next line and deciphers it to the label's whole text.
QString readauxline(Ttextreader &reader);
