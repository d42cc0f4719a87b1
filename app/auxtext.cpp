#include "app/auxtext.h"

#include "cipher/Des.h"
#include "cipher/auxfilekey.h"
#include "toolkit/gbk.h"
#include "toolkit/programfiles.h"
#include "toolkit/textfile.h"

Ttextreader openauxfile(const QString &programfolder, const QString &name)
{
    return Ttextreader::fromfile(datafile(programfolder, QStringLiteral("附属/") + name));
}

QString readauxline(Ttextreader &reader)
{
    return gbk::decode(Des::decipherfromhex(reader.readline(), auxfilekey));
}
