#include "toolkit/platform.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

void installfontsubstitutes()
{
    // Chinese faces first: they carry both the CJK and the Latin glyphs.
    const QStringList cjksans{u"SimHei"_s, u"Microsoft YaHei"_s, u"WenQuanYi Zen Hei"_s, u"Noto Sans CJK SC"_s};
    const QStringList cjkserif{u"SimSun"_s, u"NSimSun"_s, u"WenQuanYi Zen Hei"_s, u"Noto Serif CJK SC"_s,
                               u"AR PL UMing CN"_s};
    QFont::insertSubstitutions(u"MS Sans Serif"_s, QStringList{u"Microsoft Sans Serif"_s, u"Tahoma"_s,
                                                              u"DejaVu Sans"_s} + cjksans);
    // SimHei's Latin letters are half as wide as its Chinese ones; so are the Mono face's.
    QFont::insertSubstitutions(u"黑体"_s, QStringList{u"SimHei"_s, u"WenQuanYi Zen Hei Mono"_s} + cjksans);
    QFont::insertSubstitutions(u"宋体"_s, cjkserif);
    QFont::insertSubstitutions(u"隶书"_s, QStringList{u"LiSu"_s, u"STLiti"_s} + cjksans);
    QFont::insertSubstitutions(u"录书"_s, QStringList{u"LiSu"_s, u"STLiti"_s} + cjksans);
    QFont::insertSubstitutions(u"华文中宋"_s, QStringList{u"STZhongsong"_s} + cjkserif);
}

void loadchinesetranslation(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || translator->load(u"qtbase_zh_CN"_s, QCoreApplication::applicationDirPath() + u"/translations"_s))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
